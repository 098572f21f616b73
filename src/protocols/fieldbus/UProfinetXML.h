#pragma once
#include <QString>

// Writes the PROFINET GSDML file of the open configuration. Not built yet: the issue that builds the
// PROFINET GSDML generator replaces this; until then it reports that the file cannot be made.
void Save_PROFINET_XML(const QString& Name_File_XML);
