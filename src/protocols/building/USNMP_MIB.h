#pragma once
#include <QString>

// Writes the SNMP MIB file of the open configuration. This gateway has no SNMP
// side, so it reports that the file cannot be made.
void Save_MIB_File();
