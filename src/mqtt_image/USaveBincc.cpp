#include "mqtt_image/USaveBincc.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "mqtt_image/UBank1.h"
#include "mqtt_image/UBank2.h"
#include "mqtt_image/UBankInput.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace mqtt_image {

namespace {

QString Errno_Text(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void Cannot_Write(const QString& path, const QString& reason)
{
    throw platform::Exception(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, reason));
}

// One image written whole under a temporary name beside its target; the temporary is removed
// again unless Commit has renamed it over the target.
class TStaged_File {
public:
    TStaged_File(const QString& folder, const QString& name, const std::vector<uint8_t>& bytes)
        : Target(platform::JoinPath(folder, name))
    {
        QTemporaryFile file(platform::JoinPath(folder, QStringLiteral(".") + name + QStringLiteral(".XXXXXX")));
        file.setAutoRemove(false);
        if (!file.open())
            Cannot_Write(Target, file.errorString());
        Temp = file.fileName();
        const QFileDevice::Permissions permissions =
            QFile::exists(Target) ? QFile::permissions(Target)
                                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                        QFileDevice::ReadOther;
        const auto size = qint64(bytes.size());
        bool ok = file.write(reinterpret_cast<const char*>(bytes.data()), size) == size && file.flush();
        QString reason = file.errorString();
        if (ok && ::fsync(file.handle()) != 0) {
            ok = false;
            reason = Errno_Text(errno);
        }
        file.close();
        if (ok && file.error() != QFileDevice::NoError) {
            ok = false;
            reason = file.errorString();
        }
        if (!ok) {
            QFile::remove(Temp);
            Cannot_Write(Target, reason);
        }
        QFile::setPermissions(Temp, permissions);
    }

    ~TStaged_File()
    {
        if (!Committed && !Temp.isEmpty())
            QFile::remove(Temp);
    }

    TStaged_File(const TStaged_File&) = delete;
    TStaged_File& operator=(const TStaged_File&) = delete;

    // Replaces the target in one step.
    void Commit()
    {
        if (std::rename(QFile::encodeName(Temp).constData(), QFile::encodeName(Target).constData()) != 0)
            Cannot_Write(Target, Errno_Text(errno));
        Committed = true;
    }

    const QString& Target_Path() const { return Target; }
    const QString& Temp_Path() const { return Temp; }

private:
    QString Target;
    QString Temp;
    bool Committed = false;
};

// Keeps what a file held before it is replaced, so that the replacement can be undone.
class TPrevious_File {
public:
    TPrevious_File(const QString& target, const QString& keepPath) : Target(target)
    {
        // Only a file's contents are kept; anything else in its place makes the rename fail anyway.
        if (!QFileInfo(target).isFile())
            return;
        // A second name for the same data costs nothing; a copy serves where links are not allowed.
        if (::link(QFile::encodeName(target).constData(), QFile::encodeName(keepPath).constData()) != 0 &&
            !QFile::copy(target, keepPath))
            Cannot_Write(target, QStringLiteral("its previous contents cannot be kept while it is replaced"));
        Kept = keepPath;
    }

    ~TPrevious_File()
    {
        if (!Kept.isEmpty())
            QFile::remove(Kept);
    }

    TPrevious_File(const TPrevious_File&) = delete;
    TPrevious_File& operator=(const TPrevious_File&) = delete;

    // Puts the previous contents back, or removes the target when there was none; false when
    // neither could be done.
    bool Restore()
    {
        if (!Kept.isEmpty()) {
            if (std::rename(QFile::encodeName(Kept).constData(), QFile::encodeName(Target).constData()) == 0) {
                Kept.clear();
                return true;
            }
        }
        return ::unlink(QFile::encodeName(Target).constData()) == 0 || errno == ENOENT;
    }

private:
    QString Target;
    QString Kept;
};

}  // namespace

TBin_Banks Compile_Bin_Banks(const QString& parGenPath, const QString& topicPath)
{
    TBank1_Parameter_Block block;
    Init_Bank1_Defaults(block);
    TMQTT mqtt;
    Init_MQTT_Defaults(mqtt);

    if (platform::FileExists(parGenPath)) {
        auto parGen = TXml_Source::Load(parGenPath);
        Load_ParGen_For_Bank1(block, TParGen_Reader(parGen->Root()));
        Load_ParGen_For_MQTT(mqtt, std::move(parGen));
    }
    Load_Topics_For_Bank2(mqtt, topicPath);

    const size_t length = Assign_Bank2_Offsets(mqtt);
    if (length > Bank2_Max_Size)
        throw platform::Exception(
            QStringLiteral("The MQTT settings and topics (files \"%1\" and \"%2\") make a device image of %3 "
                           "bytes, but the gateway holds at most %4 bytes. Remove rows, or shorten topics, "
                           "templates, mnemonics or certificates.")
                .arg(parGenPath, topicPath, QString::number(length), QString::number(Bank2_Max_Size)));

    TBin_Banks images;
    images.Bank2 = Put_Bank2_Image(mqtt, Bank2_Base_Address);
    Seal_Bank1(block);
    images.Bank1.assign(block.Bytes.begin(), block.Bytes.end());
    return images;
}

void Write_Bin_Banks(const QString& projectFolder, const TBin_Banks& images)
{
    if (images.Bank1.size() != Bank1_Size || images.Bank2.size() < Bank2_Header_Size ||
        images.Bank2.size() > Bank2_Max_Size)
        throw platform::Exception(QStringLiteral("The device images are not complete; nothing was written."));
    if (!platform::DirectoryExists(projectFolder))
        throw platform::Exception(
            QStringLiteral("The configuration folder \"%1\" does not exist; the device images were not written.")
                .arg(projectFolder));
    const QString binFolder = platform::JoinPath(projectFolder, QStringLiteral("bin"));
    if (!platform::DirectoryExists(binFolder) && !platform::CreateDir(binFolder))
        throw platform::Exception(
            QStringLiteral("Cannot create the folder \"%1\"; the device images were not written.").arg(binFolder));

    TStaged_File bank1(binFolder, QStringLiteral("bank1.bin"), images.Bank1);
    TStaged_File bank2(binFolder, QStringLiteral("bank2.bin"), images.Bank2);
    TPrevious_File previous1(bank1.Target_Path(), bank1.Temp_Path() + QStringLiteral(".old"));
    bank1.Commit();
    try {
        bank2.Commit();
    } catch (const platform::Exception& e) {
        // A new bank 1 beside an old bank 2 would be loaded as a pair: undo bank 1.
        if (!previous1.Restore())
            throw platform::Exception(e.message() +
                                      QStringLiteral("\nThe new \"%1\" could not be taken back either; update "
                                                     "the device only after both files were written.")
                                          .arg(bank1.Target_Path()));
        throw;
    }
}

}  // namespace mqtt_image
