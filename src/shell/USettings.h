#pragma once
#include <QString>

// The program settings file "Bricolator.xml" beside the program.
namespace shell {

inline const QString Settings_File_Name = QStringLiteral("Bricolator.xml");

// Reads the settings into the shared state, value by value, with the defaults for what is missing.
// A file that exists but cannot be read or is not well-formed gives the defaults, is kept aside
// (platform::KeepDamagedFile) and answers its error text; an empty text means nothing was lost.
QString Read_Settings(const QString& path);

// Writes the settings from the shared state, replacing the file whole; throws Exception on failure.
void Write_Settings(const QString& path);

// A configuration name that can name a direct sub-folder of PROJECTS: not empty, not "." or "..",
// no separator ("/" or "\"), no control characters, and no longer than a file name may be.
bool Is_Plain_Conf_Name(const QString& name);

}  // namespace shell
