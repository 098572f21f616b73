#pragma once
#include <QByteArray>
#include <QString>

namespace platform {

bool FileExists(const QString& path);
bool DirectoryExists(const QString& path);
// Creates one folder level; false when it could not be made.
bool CreateDir(const QString& path);
// Joins a folder and a name with exactly one separator.
QString JoinPath(const QString& folder, const QString& name);

// Writes the whole file to a temporary file beside it and renames it over the target, so that a
// failure never leaves half a file. Throws Exception naming the file on failure.
void WriteFileAtomic(const QString& path, const QByteArray& contents);

// Reads a whole file; throws Exception naming the file when it cannot be read or is larger than maxBytes.
QByteArray ReadWholeFile(const QString& path, qint64 maxBytes = 64 * 1024 * 1024);

}  // namespace platform
