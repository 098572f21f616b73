#pragma once
#include <QString>

// Writes the CANopen EDS file of the open configuration. Not built yet: the issue that builds the
// CANopen EDS generator replaces this; until then it reports that the file cannot be made.
void Write_EDS_File(const QString& FileName);
