#include "platform/FileUtil.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool FileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool DirectoryExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool CreateDir(const QString& path) { return QDir().mkdir(path); }

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

void WriteFileAtomic(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, file.errorString()));
    if (file.write(contents) != contents.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Exception(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, reason));
    }
    if (!file.commit())
        throw Exception(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, file.errorString()));
}

QByteArray ReadWholeFile(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot read the file \"%1\": %2").arg(path, file.errorString()));
    if (file.size() > maxBytes)
        throw Exception(QStringLiteral("The file \"%1\" is too large").arg(path));
    return file.readAll();
}

}  // namespace platform
