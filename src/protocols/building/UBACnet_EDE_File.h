#pragma once
#include <QString>

// Writes the BACnet EDE file of the open configuration. This gateway has no BACnet
// side, so it reports that the file cannot be made.
void Write_EDE_File(const QString& FileName);
