#include "protocols/fieldbus/UDescription_Files.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"
#include "shell/ULanguage.h"

namespace fieldbus::descriptions {

Profinet_Values Read_ParGen_Profinet(const QString& path)
{
    Profinet_Values values;
    if (!platform::FileExists(path))
        return values;
    platform::XmlDocument doc;
    doc.LoadFromFile(path);
    const platform::XmlNode root = doc.DocumentElement();
    auto element = [&](const char* name) { return root.ChildByName(QLatin1String(name)); };
    if (const platform::XmlNode e = element("PROFINET_NB_IN"))
        values.NB_IN = platform::Parse_Int32(e.Text());
    if (const platform::XmlNode e = element("PROFINET_NB_OUT"))
        values.NB_OUT = platform::Parse_Int32(e.Text());
    if (const platform::XmlNode e = element("PROFINET_NAME_STA"))
        values.Name_Station = e.Text();
    return values;
}

QByteArray Text_File_Bytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

bool Confirm_Replace(const QString& path, int question)
{
    return !platform::FileExists(path) ||
           platform::MessageDlg(shell::Lang(question), platform::TMsgDlgType::mtConfirmation,
                                platform::TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

}  // namespace fieldbus::descriptions
