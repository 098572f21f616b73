#include "platform/FileUtil.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <cerrno>
#include <functional>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

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

QString KeepDamagedFile(const QString& path)
{
    const QString shown = QFileInfo(path).fileName();
    QFile source(path);
    QByteArray contents;
    if (source.open(QIODevice::ReadOnly))
        contents = source.readAll();
    if (source.error() == QFileDevice::NoError) {
        for (int n = 1; n < 1000; ++n) {
            QString kept = path + QStringLiteral(".damaged");
            if (n > 1)
                kept += QLatin1Char('.') + QString::number(n);
            const QFileInfo info(kept);
            if (info.exists() || info.isSymLink()) {
                QFile earlier(kept);
                if (info.isFile() && earlier.open(QIODevice::ReadOnly) && earlier.readAll() == contents)
                    return QStringLiteral("The damaged file is kept as \"%1\".").arg(info.fileName());
                continue;
            }
            // Written under a temporary name and linked to the kept name: link() never replaces.
            QTemporaryFile staged(kept + QStringLiteral(".XXXXXX"));
            if (!staged.open() || staged.write(contents) != contents.size() || !staged.flush())
                break;
            if (::link(QFile::encodeName(staged.fileName()).constData(), QFile::encodeName(kept).constData()) == 0)
                return QStringLiteral("The damaged file is kept as \"%1\".").arg(info.fileName());
            if (errno != EEXIST)
                break;
        }
    }
    return QStringLiteral("The damaged file \"%1\" could not be kept aside; it is replaced at the next save.").arg(shown);
}

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

namespace {

[[noreturn]] void cannotWrite(const QString& path, const QString& reason)
{
    throw Exception(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, reason));
}

bool renameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The file a path names: a link is replaced through, not by the new file.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// One file written whole under a temporary name beside its target; the temporary is removed again
// unless Commit has renamed it over the target.
class StagedFile {
public:
    StagedFile(const QString& path, QByteArrayView bytes)
        : StagedFile(path, [bytes](const StreamedWrite& write) { write(bytes); })
    {
    }

    // The contents come in parts from `produce`; when it throws, the temporary file goes.
    StagedFile(const QString& path, const std::function<void(const StreamedWrite&)>& produce)
        : Target(resolvedTarget(path))
    {
        const QFileInfo info(Target);
        QTemporaryFile file(JoinPath(info.path(), QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
        file.setAutoRemove(false);
        if (!file.open())
            cannotWrite(path, file.errorString());
        Temp = file.fileName();
        const QFileDevice::Permissions permissions =
            info.isFile() ? QFile::permissions(Target)
                          : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                QFileDevice::ReadOther;
        bool ok = true;
        try {
            produce([&](QByteArrayView part) {
                if (ok && file.write(part.data(), part.size()) != part.size())
                    ok = false;
            });
        } catch (...) {
            file.close();
            QFile::remove(Temp);
            throw;
        }
        ok = ok && file.flush();
        QString reason = file.errorString();
        if (ok && ::fsync(file.handle()) != 0) {
            ok = false;
            reason = ErrnoText(errno);
        }
        file.close();
        if (ok && file.error() != QFileDevice::NoError) {
            ok = false;
            reason = file.errorString();
        }
        if (!ok) {
            QFile::remove(Temp);
            cannotWrite(path, reason);
        }
        QFile::setPermissions(Temp, permissions);
        Shown = path;
    }

    ~StagedFile()
    {
        if (!Committed && !Temp.isEmpty())
            QFile::remove(Temp);
    }

    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Replaces the target in one step.
    void Commit()
    {
        if (!renameFile(Temp, Target))
            cannotWrite(Shown, ErrnoText(errno));
        Committed = true;
    }

    const QString& TargetPath() const { return Target; }
    const QString& TempPath() const { return Temp; }
    const QString& ShownPath() const { return Shown; }

private:
    QString Target;
    QString Temp;
    QString Shown;
    bool Committed = false;
};

// Keeps what a file held before it is replaced, so that the replacement can be undone.
class PreviousFile {
public:
    PreviousFile(const QString& target, const QString& keepPath, const QString& shown) : Target(target)
    {
        // Only a file's contents are kept; anything else in its place makes the rename fail anyway.
        if (!QFileInfo(target).isFile())
            return;
        // A second name for the same data costs nothing; a copy serves where links are not allowed.
        if (::link(QFile::encodeName(target).constData(), QFile::encodeName(keepPath).constData()) != 0 &&
            !QFile::copy(target, keepPath))
            cannotWrite(shown, QStringLiteral("its previous contents cannot be kept while it is replaced"));
        Kept = keepPath;
    }

    ~PreviousFile()
    {
        if (!Kept.isEmpty())
            QFile::remove(Kept);
    }

    PreviousFile(const PreviousFile&) = delete;
    PreviousFile& operator=(const PreviousFile&) = delete;

    // Puts the previous contents back, or removes the target when there was none; false when
    // neither could be done.
    bool Restore()
    {
        if (!Kept.isEmpty() && renameFile(Kept, Target)) {
            Kept.clear();
            return true;
        }
        return ::unlink(QFile::encodeName(Target).constData()) == 0 || errno == ENOENT;
    }

private:
    QString Target;
    QString Kept;
};

}  // namespace

void WriteFileAtomic(const QString& path, QByteArrayView contents) { WriteFilesAtomic({{path, contents}}); }

void WriteFileAtomicStreamed(const QString& path, const std::function<void(const StreamedWrite&)>& produce)
{
    StagedFile(path, produce).Commit();
}

void WriteFilesAtomic(const std::vector<FileContents>& files)
{
    // Every file is written before any target changes.
    std::vector<std::unique_ptr<StagedFile>> staged;
    for (const FileContents& f : files)
        staged.push_back(std::make_unique<StagedFile>(f.Path, f.Contents));

    std::vector<std::unique_ptr<PreviousFile>> previous;
    for (size_t i = 0; i < staged.size(); ++i) {
        StagedFile& file = *staged[i];
        // The last file needs no way back: nothing is replaced after it.
        if (i + 1 < staged.size())
            previous.push_back(std::make_unique<PreviousFile>(file.TargetPath(), file.TempPath() + QStringLiteral(".old"),
                                                              file.ShownPath()));
        try {
            file.Commit();
        } catch (const Exception& e) {
            // A new file beside old ones would be read as a set: undo the ones replaced.
            QStringList notRestored;
            for (size_t k = 0; k < i; ++k)
                if (!previous[k]->Restore())
                    notRestored << staged[k]->ShownPath();
            if (notRestored.isEmpty())
                throw;
            throw Exception(e.message() + QStringLiteral("\nThe new \"%1\" could not be taken back either; use "
                                                         "these files only after all of them were written.")
                                              .arg(notRestored.join(QStringLiteral("\", \""))));
        }
    }
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
