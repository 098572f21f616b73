#pragma once
#include <QString>

// Writes the CANopen EDS file of the open configuration. This gateway has no CANopen
// side, so it reports that the file cannot be made.
void Write_EDS_File(const QString& FileName);
