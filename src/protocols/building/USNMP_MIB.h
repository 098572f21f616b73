#pragma once
#include <QString>

// Writes the SNMP MIB file of the open configuration. Not built yet: the issue that builds the
// SNMP MIB generator replaces this; until then it reports that the file cannot be made.
void Save_MIB_File();
