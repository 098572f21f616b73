#include "protocols/building/UBACnet_Common.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"

namespace building::bacnet {

std::optional<QString> ParGen_Text(const QString& parGenPath, const QString& element)
{
    if (!platform::FileExists(parGenPath))
        return std::nullopt;
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(parGenPath);
    } catch (const platform::Exception&) {
        return std::nullopt;
    }
    const platform::XmlNode root = doc.DocumentElement();
    const platform::XmlNode node = root ? root.ChildByName(element) : platform::XmlNode();
    if (!node)
        return std::nullopt;
    return node.Text();
}

bool Desc_Chars_Limit(const QString& parGenPath)
{
    return ParGen_Text(parGenPath, QStringLiteral("BACnet_Desc_Chars_Limit")) == QStringLiteral("1");
}

QString EDE_Field_Fault(const QString& text)
{
    if (text.contains(QLatin1Char(';')))
        return QStringLiteral("holds \";\", which separates the fields of the EDE file");
    for (const QChar ch : text)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return QStringLiteral("holds a control character such as a line break");
    if (const std::optional<QChar> ch = Not_In_Windows_1252(text))
        return QStringLiteral("holds \"%1\" (U+%2), which the EDE file's code page (Windows-1252) cannot hold")
            .arg(*ch, QString::number(ch->unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return {};
}

}  // namespace building::bacnet
