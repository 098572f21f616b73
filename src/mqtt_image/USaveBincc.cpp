#include "mqtt_image/USaveBincc.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "mqtt_image/UBank1.h"
#include "mqtt_image/UBank2.h"
#include "mqtt_image/UBankInput.h"

namespace mqtt_image {

namespace {
QByteArrayView As_Bytes(const std::vector<uint8_t>& image) { return QByteArrayView(image.data(), qsizetype(image.size())); }
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

    platform::WriteFilesAtomic({{platform::JoinPath(binFolder, QStringLiteral("bank1.bin")), As_Bytes(images.Bank1)},
                                {platform::JoinPath(binFolder, QStringLiteral("bank2.bin")), As_Bytes(images.Bank2)}});
}

}  // namespace mqtt_image
