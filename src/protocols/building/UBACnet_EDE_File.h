#pragma once
#include <QString>

// Writes the BACnet EDE file of the open configuration. Not built yet: the issue that builds the
// BACnet EDE generator replaces this; until then it reports that the file cannot be made.
void Write_EDE_File(const QString& FileName);
