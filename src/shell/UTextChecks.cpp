#include "shell/UTextChecks.h"

#include "shell/ULanguage.h"

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <type_traits>
#include <unistd.h>

namespace shell {

namespace {

// A part that is not a number reads as the given value, which then fails the caller's range test.
int numberOr(const QString& text, int fallback)
{
    int v = 0;
    return Parse_Int(text, v) ? v : fallback;
}

bool inRange(int v, int low, int high) { return v >= low && v <= high; }

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool isAsciiAlnum(QChar c)
{
    return isAsciiDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// Cuts the text before its first occurrence of sep into part; false when sep is not there.
bool cutAt(QString& rest, QChar sep, QString& part)
{
    const qsizetype pos = rest.indexOf(sep);
    if (pos < 0)
        return false;
    part = rest.left(pos);
    rest = rest.mid(pos + 1);
    return true;
}

}  // namespace

bool Split_IP_Address(const QString& text, QString& part1, QString& part2, QString& part3, QString& part4)
{
    part1.clear();
    part2.clear();
    part3.clear();
    part4.clear();
    QString rest = Trim_Blanks(text);
    QString* parts[3] = {&part1, &part2, &part3};
    for (QString* part : parts) {
        if (!cutAt(rest, QLatin1Char('.'), *part))
            return false;
        *part = Trim_Blanks(*part);
        rest = Trim_Blanks(rest);
    }
    part4 = rest;
    for (const QString* part : {&part1, &part2, &part3, &part4})
        if (!inRange(numberOr(*part, 1000), 0, 255))
            return false;
    return true;
}

bool IP_Address_To_Bytes(const QString& text, uint8_t& byte1, uint8_t& byte2, uint8_t& byte3, uint8_t& byte4)
{
    if (text.isEmpty())
        return true;
    uint8_t* bytes[4] = {&byte1, &byte2, &byte3, &byte4};
    bool error = false;
    QString rest = text;
    for (int i = 0; i < 4; ++i) {
        QString part;
        if (i == 3)
            part = rest;
        else if (!cutAt(rest, QLatin1Char('.'), part))
            part.clear();  // a missing dot leaves this part empty and the rest as it is
        const int v = numberOr(part, -1);
        if (inRange(v, 0, 255)) {
            *bytes[i] = uint8_t(v);
        } else {
            *bytes[i] = 0;
            error = true;
        }
    }
    return error;
}

int IP_Port_To_Bytes(const QString& text, uint8_t& byte1, uint8_t& byte2, uint8_t& byte3, uint8_t& byte4,
                     uint16_t& port)
{
    byte1 = byte2 = byte3 = byte4 = 0;
    port = 0;
    QString rest = text;
    QString parts[4];
    for (int i = 0; i < 3; ++i)
        if (!cutAt(rest, QLatin1Char('.'), parts[i]))
            return 0;
    if (!cutAt(rest, QLatin1Char(':'), parts[3]))
        return 0;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = numberOr(Trim_Blanks(parts[i]), -1);
        if (!inRange(values[i], 0, 255))
            return 0;
    }
    const int p = numberOr(Trim_Blanks(rest), -1);
    if (!inRange(p, 0, 65535))
        return 0;
    byte1 = uint8_t(values[0]);
    byte2 = uint8_t(values[1]);
    byte3 = uint8_t(values[2]);
    byte4 = uint8_t(values[3]);
    port = uint16_t(p);
    return 1;
}

int Check_KNX_Address(const QString& text, bool group, bool allow_zero)
{
    const QChar sep = group ? QLatin1Char('/') : QLatin1Char('.');
    const QChar foreign = group ? QLatin1Char('.') : QLatin1Char('/');
    if (text.contains(foreign))
        return 1;
    const QStringList parts = text.split(sep);
    auto part = [&](int i) { return numberOr(Trim_Blanks(parts.at(i)), -1); };
    switch (parts.size()) {
    case 1:
        return inRange(numberOr(text, -1), 1, 65535) ? 0 : 1;
    case 2:
        if (!group)
            return 0;  // the two-byte individual form ("230.240") is taken as it stands
        {
            const int main = part(0), sub = part(1);
            return inRange(main, 0, 31) && inRange(sub, 0, 2047) && (main != 0 || sub != 0) ? 0 : 1;
        }
    case 3: {
        const int a = part(0), b = part(1), c = part(2);
        const bool allZero = a == 0 && b == 0 && c == 0;
        if (group)
            return inRange(a, 0, 31) && inRange(b, 0, 7) && inRange(c, 0, 255) && !allZero ? 0 : 1;
        return inRange(a, 0, 15) && inRange(b, 0, 15) && inRange(c, 0, 255) && (allow_zero || !allZero) ? 0 : 1;
    }
    default:
        return 1;
    }
}

bool Is_KNX_Group_Address(const QString& text) { return !text.contains(QLatin1Char('.')); }

int Check_SNMP_OID(const QString& text)
{
    if (text.size() > 61)
        return 1;
    if (text.isEmpty())
        return 2;
    for (const QChar c : text)
        if (!isAsciiDigit(c) && c != QLatin1Char('.'))
            return 2;
    if (text.startsWith(QLatin1Char('.')))
        return 3;
    if (text.endsWith(QLatin1Char('.')))
        return 4;
    if (text.contains(QLatin1String("..")))
        return 5;
    for (const QString& component : text.split(QLatin1Char('.'))) {
        qsizetype first = 0;
        while (first < component.size() - 1 && component.at(first) == QLatin1Char('0'))
            ++first;
        const QString digits = component.mid(first);
        if (digits.size() > 10 || digits.toULongLong() > 4294967295ULL)
            return 6;
    }
    return 0;
}

int Check_SNMP_Password(const QString& text, bool allow_short)
{
    if (text.size() > 15)
        return 1;
    if (text.size() < (allow_short ? 1 : 8))
        return 2;
    for (const QChar c : text)
        if (!isAsciiAlnum(c))
            return 3;
    return 0;
}

int8_t Get_SNMP_Security_Level(const QString& text)
{
    const QString level = Trim_Blanks(text.toUpper());
    if (level.isEmpty())
        return -1;
    if (level == QLatin1String("AUTH NOPRIV"))
        return 1;
    if (level == QLatin1String("AUTH PRIV"))
        return 3;
    return 0;
}

QChar Get_Decimal_Separator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    if (point == QLatin1String(",") || point == QLatin1String("."))
        return point.at(0);
    return QLatin1Char(',');
}

bool Str_To_Float_Sep(const QString& text, QChar separator, float& value, const QLocale& locale)
{
    QString s = text;
    if (separator == QLatin1Char('.'))
        s.replace(QLatin1Char(','), QLatin1Char('.'));
    else
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    QLocale reader = locale;
    reader.setNumberOptions(reader.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = reader.toDouble(Trim_Blanks(s), &ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max())) {
        value = 1.0f;
        return false;
    }
    value = float(v);
    return true;
}

QString COM_Port_Device(int n, const QString& device_folder)
{
    static const char* const families[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"};
    if (n < 1 || n > 256)
        return {};
    const int family = (n - 1) / 64;
    return device_folder + QLatin1Char('/') + QLatin1String(families[family]) + QString::number((n - 1) % 64);
}

QStringList List_COM_Ports(const QString& device_folder)
{
    QStringList ports;
    for (int n = 1; n <= 256; ++n) {
        const QByteArray path = COM_Port_Device(n, device_folder).toLocal8Bit();
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            ports.append(QString::number(n));
        } else if (errno == EACCES || errno == EBUSY || errno == EPERM) {
            ports.append(QString::number(n));
        }
    }
    return ports;
}

}  // namespace shell
