#include "platform/Windows1252.h"

#include <array>

namespace platform {

namespace {

// Bytes 0x80 .. 0x9F; 0 where the code page leaves the byte undefined.
constexpr std::array<char16_t, 32> High_Controls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QChar From_Windows_1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return High_Controls[byte - 0x80] ? QChar(High_Controls[byte - 0x80]) : QChar(QChar::ReplacementCharacter);
    return QChar(byte);
}

QString From_Windows_1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        out.append(From_Windows_1252(static_cast<unsigned char>(c)));
    return out;
}

std::optional<char> Windows_1252_Byte(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (size_t i = 0; i < High_Controls.size(); ++i)
        if (High_Controls[i] != 0 && High_Controls[i] == u)
            return char(0x80 + i);
    return std::nullopt;
}

std::optional<QChar> Not_In_Windows_1252(const QString& text)
{
    for (const QChar ch : text)
        if (!Windows_1252_Byte(ch))
            return ch;
    return std::nullopt;
}

QByteArray To_Windows_1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const std::optional<char> b = Windows_1252_Byte(ch);
        Q_ASSERT(b);
        out.append(b.value_or('?'));
    }
    return out;
}

}  // namespace platform
