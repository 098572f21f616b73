#pragma once
#include <QByteArray>
#include <QString>
#include <deque>

struct zip;

namespace platform {

// What one member of a package may unpack to: a member that claims more, or turns out to hold
// more while it unpacks (a zip bomb), is refused before the rest of it is read.
constexpr qint64 MaxZipMemberBytes = qint64(256) << 20;

// A zip package (the container of ".xlsx" and ".docx" files), read member by member with a size
// cap, and changed in place: changes are written to a temporary file beside it on Commit and
// renamed over it, so a failure leaves the file as it was. Every failure throws Exception naming
// the file.
class TZipPackage {
public:
    enum TMode { zmRead, zmModify, zmCreate };
    TZipPackage(const QString& path, TMode mode);
    ~TZipPackage();
    TZipPackage(const TZipPackage&) = delete;
    TZipPackage& operator=(const TZipPackage&) = delete;

    // Member names compare without regard to case, as package part names do.
    bool Has(const QString& name) const;
    // The whole member; throws when it is missing, damaged or larger than maxBytes.
    QByteArray Read(const QString& name, qint64 maxBytes = MaxZipMemberBytes) const;
    // Replaces the member or adds it; written on Commit.
    void Put(const QString& name, QByteArray data);
    void Remove(const QString& name);
    void Commit();

    const QString& Path() const { return FPath; }

private:
    [[noreturn]] void Fail(const QString& what) const;
    QString FPath;
    struct zip* Zip = nullptr;
    std::deque<QByteArray> Pending;  // the data of Put members, alive until Commit
};

}  // namespace platform
