#pragma once
#include <QString>

// Writes the PROFIBUS GSD file of the open configuration. This gateway has no PROFIBUS
// side, so it reports that the file cannot be made.
void Save_GSD_File();
