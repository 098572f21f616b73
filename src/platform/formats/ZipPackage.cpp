#include "platform/formats/ZipPackage.h"

#include <QFile>
#include <zip.h>

#include "platform/Exception.h"

namespace platform {

TZipPackage::TZipPackage(const QString& path, TMode mode) : FPath(path)
{
    int flags = mode == zmRead ? ZIP_RDONLY : mode == zmCreate ? ZIP_CREATE | ZIP_TRUNCATE : 0;
    int error = 0;
    Zip = zip_open(QFile::encodeName(path).constData(), flags, &error);
    if (!Zip) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        const QString reason = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
        throw Exception(QStringLiteral("The file \"%1\" cannot be opened as a package: %2").arg(path, reason));
    }
}

TZipPackage::~TZipPackage()
{
    if (Zip)
        zip_discard(Zip);
}

void TZipPackage::Fail(const QString& what) const
{
    throw Exception(QStringLiteral("The file \"%1\" is damaged or too large: %2").arg(FPath, what));
}

bool TZipPackage::Has(const QString& name) const
{
    return zip_name_locate(Zip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QByteArray TZipPackage::Read(const QString& name, qint64 maxBytes) const
{
    const zip_int64_t index = zip_name_locate(Zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        Fail(QStringLiteral("the part \"%1\" is missing").arg(name));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(Zip, zip_uint64_t(index), 0, &st) != 0)
        Fail(QString::fromUtf8(zip_strerror(Zip)));
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxBytes))
        Fail(QStringLiteral("the part \"%1\" unpacks to more than %2 bytes").arg(name).arg(maxBytes));
    zip_file_t* file = zip_fopen_index(Zip, zip_uint64_t(index), 0);
    if (!file)
        Fail(QString::fromUtf8(zip_strerror(Zip)));
    QByteArray out;
    if (st.valid & ZIP_STAT_SIZE)
        out.reserve(qsizetype(st.size));
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            const QString reason = QString::fromUtf8(zip_file_strerror(file));
            zip_fclose(file);
            Fail(reason);
        }
        if (n == 0)
            break;
        // The declared size may lie: the cap holds for what really comes out.
        if (out.size() + n > maxBytes) {
            zip_fclose(file);
            Fail(QStringLiteral("the part \"%1\" unpacks to more than %2 bytes").arg(name).arg(maxBytes));
        }
        out.append(buffer, qsizetype(n));
    }
    zip_fclose(file);
    return out;
}

void TZipPackage::Put(const QString& name, QByteArray data)
{
    Pending.push_back(std::move(data));
    const QByteArray& kept = Pending.back();
    zip_source_t* source = zip_source_buffer(Zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!source)
        Fail(QString::fromUtf8(zip_strerror(Zip)));
    const QByteArray utf8 = name.toUtf8();
    const zip_int64_t index = zip_name_locate(Zip, utf8.constData(), ZIP_FL_NOCASE);
    const bool ok = index >= 0 ? zip_file_replace(Zip, zip_uint64_t(index), source, ZIP_FL_ENC_UTF_8) == 0
                               : zip_file_add(Zip, utf8.constData(), source, ZIP_FL_ENC_UTF_8) >= 0;
    if (!ok) {
        zip_source_free(source);
        Fail(QString::fromUtf8(zip_strerror(Zip)));
    }
}

void TZipPackage::Remove(const QString& name)
{
    const zip_int64_t index = zip_name_locate(Zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index >= 0)
        zip_delete(Zip, zip_uint64_t(index));
}

void TZipPackage::Commit()
{
    // The library writes a temporary file beside the target and renames it over the target.
    if (zip_close(Zip) != 0)
        throw Exception(QStringLiteral("The file \"%1\" cannot be written: %2")
                            .arg(FPath, QString::fromUtf8(zip_strerror(Zip))));
    Zip = nullptr;
    Pending.clear();
}

}  // namespace platform
