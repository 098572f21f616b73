#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

namespace platform {

bool FileExists(const QString& path);
bool DirectoryExists(const QString& path);
// Creates one folder level; false when it could not be made.
bool CreateDir(const QString& path);
// Joins a folder and a name with exactly one separator.
QString JoinPath(const QString& folder, const QString& name);

// Writes the whole file to a temporary file beside it and renames it over the target, so that a
// failure never leaves half a file. Throws Exception naming the file on failure.
void WriteFileAtomic(const QString& path, QByteArrayView contents);

// As WriteFileAtomic, with the contents handed over in parts: `produce` calls its argument once
// per part, so that a large file never stands whole in memory. When `produce` throws, the target
// stays as it was and the exception goes on.
using StreamedWrite = std::function<void(QByteArrayView part)>;
void WriteFileAtomicStreamed(const QString& path, const std::function<void(const StreamedWrite&)>& produce);

struct FileContents {
    QString Path;
    QByteArrayView Contents;
};

// Writes files that are only valid together: each is written whole beside its target first,
// then they replace their targets in the given order. When a replacement fails, the files
// already replaced get their previous contents back (or are removed when they were new), so
// either every target is new or every target is as it was. Throws Exception naming the file
// that failed; the message says so when a previous file could not be put back either.
void WriteFilesAtomic(const std::vector<FileContents>& files);

// Keeps a file that failed to load beside it before anything replaces it: a copy named
// "<name>.damaged" ("<name>.damaged.2", ".3" ... when that name holds other contents; an earlier
// copy is never overwritten, and one with the same contents is used again). Answers the sentence
// that tells the user where the file was kept, or that it could not be kept.
QString KeepDamagedFile(const QString& path);

// Reads a whole file; throws Exception naming the file when it cannot be read or is larger than maxBytes.
QByteArray ReadWholeFile(const QString& path, qint64 maxBytes = 64 * 1024 * 1024);

// The system's text for an errno value.
QString ErrnoText(int error);

}  // namespace platform
