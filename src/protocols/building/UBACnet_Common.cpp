#include "protocols/building/UBACnet_Common.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"

#include <array>

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

namespace {

// Bytes 0x80 .. 0x9F of Windows-1252; 0 where the code page leaves the byte undefined.
constexpr std::array<char16_t, 32> High_Controls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> Byte_Of(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (size_t i = 0; i < High_Controls.size(); ++i)
        if (High_Controls[i] != 0 && High_Controls[i] == u)
            return char(0x80 + i);
    return std::nullopt;
}

}  // namespace

std::optional<QChar> Not_In_Windows_1252(const QString& text)
{
    for (const QChar ch : text)
        if (!Byte_Of(ch))
            return ch;
    return std::nullopt;
}

QByteArray To_Windows_1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const std::optional<char> b = Byte_Of(ch);
        Q_ASSERT(b);
        out.append(b.value_or('?'));
    }
    return out;
}

QString From_Windows_1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0)
            out.append(High_Controls[b - 0x80] ? QChar(High_Controls[b - 0x80]) : QChar(QChar::ReplacementCharacter));
        else
            out.append(QChar(b));
    }
    return out;
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
