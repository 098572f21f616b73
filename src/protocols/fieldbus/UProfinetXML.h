#pragma once
#include <QString>

// Writes the PROFINET GSDML file of the open configuration. This gateway has no PROFINET
// side, so it reports that the file cannot be made.
void Save_PROFINET_XML(const QString& Name_File_XML);
