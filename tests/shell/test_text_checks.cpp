#include "support/TempDir.h"
#include "shell/UTextChecks.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

using namespace shell;

namespace {

TEST(TextChecks, ParseIntReadsDecimalAndHexadecimal)
{
    struct Case {
        const char* Text;
        bool Ok;
        int Value;
    };
    const Case cases[] = {
        {"12", true, 12},     {"  12", true, 12},    {"-7", true, -7},           {"+7", true, 7},
        {"$FF", true, 255},   {"0x1f", true, 31},    {"$FFFFFFFF", true, -1},     {"2147483647", true, 2147483647},
        {"", false, 0},       {"12 ", false, 0},     {"1.5", false, 0},           {"$", false, 0},
        {"0x", false, 0},     {"abc", false, 0},     {"2147483648", false, 0},    {"99999999999", false, 0},
        {"- 1", false, 0},    {"１２", false, 0},       {"x10", false, 0},           {"-$10", true, -16},
    };
    for (const Case& c : cases) {
        int v = 0;
        EXPECT_EQ(Parse_Int(QString::fromUtf8(c.Text), v), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(v, c.Value) << c.Text;
        }
    }
}

TEST(TextChecks, SplitIpAddress)
{
    struct Case {
        const char* Text;
        bool Valid;
        const char* Parts[4];
    };
    const Case cases[] = {
        {" 192.168.1.10 ", true, {"192", "168", "1", "10"}},
        {"10 . 0 . 0 . 1", true, {"10", "0", "0", "1"}},
        {"0.0.0.0", true, {"0", "0", "0", "0"}},
        {"192.168.1", false, {"192", "168", "", ""}},
        {"1.2.3.4.5", false, {"1", "2", "3", "4.5"}},
        {"256.1.1.1", false, {"256", "1", "1", "1"}},
        {"1.2.3.x", false, {"1", "2", "3", "x"}},
        {"1..2.3", false, {"1", "", "2", "3"}},
        {"-1.2.3.4", false, {"-1", "2", "3", "4"}},
        {"", false, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        QString p[4];
        EXPECT_EQ(Split_IP_Address(QString::fromLatin1(c.Text), p[0], p[1], p[2], p[3]), c.Valid) << c.Text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(p[i], QLatin1String(c.Parts[i])) << c.Text << " part " << i + 1;
    }
}

TEST(TextChecks, IpAddressToBytesAnswersTrueOnError)
{
    struct Case {
        const char* Text;
        bool Error;
        uint8_t Bytes[4];
    };
    const Case cases[] = {
        {"192.168.0.5", false, {192, 168, 0, 5}},
        {"10.0.0.300", true, {10, 0, 0, 0}},
        {"10.0.0", true, {10, 0, 0, 0}},     // the third part has no dot after it
        {"1.2.3.4.5", true, {1, 2, 3, 0}},   // the fourth part "4.5" is not a byte
        {"a.2.3.4", true, {0, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        uint8_t b[4] = {9, 9, 9, 9};
        EXPECT_EQ(IP_Address_To_Bytes(QString::fromLatin1(c.Text), b[0], b[1], b[2], b[3]), c.Error) << c.Text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(b[i], c.Bytes[i]) << c.Text << " byte " << i + 1;
    }
    uint8_t b[4] = {9, 9, 9, 9};
    EXPECT_TRUE(IP_Address_To_Bytes(QString(), b[0], b[1], b[2], b[3]));
    EXPECT_EQ(b[0], 9);  // the empty text writes nothing
    EXPECT_EQ(b[3], 9);
}

TEST(TextChecks, IpPortToBytes)
{
    struct Case {
        const char* Text;
        int Result;
        uint8_t Bytes[4];
        uint16_t Port;
    };
    const Case cases[] = {
        {"192.168.0.5:502", 1, {192, 168, 0, 5}, 502},
        {" 192 . 168 . 0 . 15 : 47808 ", 1, {192, 168, 0, 15}, 47808},
        {"0.0.0.0:0", 1, {0, 0, 0, 0}, 0},
        {"1.2.3.4:65535", 1, {1, 2, 3, 4}, 65535},
        {"192.168.0.5", 0, {0, 0, 0, 0}, 0},
        {"1.2.3.4:65536", 0, {0, 0, 0, 0}, 0},
        {"1.2.3.256:80", 0, {0, 0, 0, 0}, 0},
        {"1.2.3:80", 0, {0, 0, 0, 0}, 0},
        {"1.2.3.4.5:80", 0, {0, 0, 0, 0}, 0},
        {"1.2.3.4:80:1", 0, {0, 0, 0, 0}, 0},
        {"", 0, {0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        uint8_t b[4] = {9, 9, 9, 9};
        uint16_t port = 9;
        EXPECT_EQ(IP_Port_To_Bytes(QString::fromLatin1(c.Text), b[0], b[1], b[2], b[3], port), c.Result) << c.Text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(b[i], c.Bytes[i]) << c.Text << " byte " << i + 1;
        EXPECT_EQ(port, c.Port) << c.Text;
    }
}

TEST(TextChecks, KnxAddresses)
{
    struct Case {
        const char* Text;
        bool Group;
        bool AllowZero;
        int Result;
    };
    const Case cases[] = {
        {"1.1.20", false, false, 0},  {"0.0.0", false, false, 1},   {"0.0.0", false, true, 0},
        {"1.1", false, false, 0},     {"230.240", false, false, 0}, {"16.1.1", false, false, 1},
        {"15.15.255", false, false, 0}, {"1.1.256", false, false, 1}, {"1.1.1.1", false, false, 1},
        {"1/1", false, false, 1},     {"1. 1 .x", false, false, 1},
        {"31/7/255", true, false, 0}, {"0/0", true, false, 1},      {"0/0/0", true, false, 1},
        {"4/2047", true, false, 0},   {"32/1", true, false, 1},     {"1/2/3/4", true, false, 1},
        {"1/8/0", true, false, 1},    {"1/2048", true, false, 1},   {" 3 / 5 ", true, false, 0},
        {"1.2", true, false, 1},
        {"65535", false, false, 0},   {"65535", true, false, 0},    {"0", false, false, 1},
        {"0", true, false, 1},        {"65536", true, false, 1},    {"", true, false, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check_KNX_Address(QString::fromLatin1(c.Text), c.Group, c.AllowZero), c.Result)
            << c.Text << (c.Group ? " group" : " individual");
    EXPECT_TRUE(Is_KNX_Group_Address(QStringLiteral("1/2/3")));
    EXPECT_TRUE(Is_KNX_Group_Address(QStringLiteral("100")));
    EXPECT_FALSE(Is_KNX_Group_Address(QStringLiteral("1.1.1")));
}

TEST(TextChecks, SnmpObjectIdentifier)
{
    struct Case {
        QString Text;
        int Result;
    };
    const Case cases[] = {
        {"1.3.6.1.2.1", 0},
        {"1.4294967295", 0},
        {"1.00000000000004294967295", 0},  // leading zeros do not make a number larger
        {".1.3", 3},
        {"1.3.", 4},
        {"1..3", 5},
        {"1.3.a", 2},
        {"1.3 ", 2},
        {"1.4294967296", 6},
        {"1.99999999999999999999999", 6},  // too long to convert counts as too large
        {QString(62, QLatin1Char('1')), 1},
        {QString(61, QLatin1Char('1')), 6},
        {"", 2},
        {".", 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check_SNMP_OID(c.Text), c.Result) << c.Text.toStdString();
}

TEST(TextChecks, SnmpPasswordsAndSecurityLevels)
{
    struct Case {
        const char* Text;
        bool AllowShort;
        int Result;
    };
    const Case cases[] = {
        {"abcdefg", false, 2},          {"abcdefgh", false, 0},         {"abcdefghijklmno", false, 0},
        {"abcdefghijklmnop", false, 1}, {"u", true, 0},                 {"", true, 2},
        {"pass word1", false, 3},       {"päss0000", false, 3},         {"x-y", true, 3},
        {"ABCdef123", false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check_SNMP_Password(QString::fromUtf8(c.Text), c.AllowShort), c.Result) << c.Text;

    EXPECT_EQ(Get_SNMP_Security_Level(QStringLiteral(" auth priv ")), 3);
    EXPECT_EQ(Get_SNMP_Security_Level(QStringLiteral("Auth NoPriv")), 1);
    EXPECT_EQ(Get_SNMP_Security_Level(QStringLiteral("No Auth No Priv")), 0);
    EXPECT_EQ(Get_SNMP_Security_Level(QStringLiteral("   ")), -1);
    EXPECT_EQ(Get_SNMP_Security_Level(QString()), -1);
}

TEST(TextChecks, DecimalSeparatorOfTheNumberFormat)
{
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::English, QLocale::UnitedStates)), QLatin1Char('.'));
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::German, QLocale::Germany)), QLatin1Char(','));
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::Italian, QLocale::Italy)), QLatin1Char(','));
    // Arabic writes the Arabic decimal separator: neither "," nor ".".
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::Arabic, QLocale::Egypt)), QLatin1Char(','));
    const QChar system = Get_Decimal_Separator();
    EXPECT_TRUE(system == QLatin1Char(',') || system == QLatin1Char('.'));
}

TEST(TextChecks, FloatsTypedWithEitherSeparator)
{
    const QLocale dot(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::German, QLocale::Germany);
    struct Case {
        const char* Text;
        const QLocale* Locale;
        QChar Separator;
        bool Ok;
        float Value;
    };
    const Case cases[] = {
        {"1,5", &dot, QLatin1Char('.'), true, 1.5f},
        {"1.5", &dot, QLatin1Char('.'), true, 1.5f},
        {"1.5", &comma, QLatin1Char(','), true, 1.5f},
        {"1,5", &comma, QLatin1Char(','), true, 1.5f},
        {" -0,25 ", &dot, QLatin1Char('.'), true, -0.25f},
        {"1e3", &dot, QLatin1Char('.'), true, 1000.0f},
        {"12", &comma, QLatin1Char(','), true, 12.0f},
        {"abc", &dot, QLatin1Char('.'), false, 1.0f},
        {"", &dot, QLatin1Char('.'), false, 1.0f},
        {"1.000.000", &comma, QLatin1Char(','), false, 1.0f},  // never read as a grouped thousand
        {"1,5", &comma, QLatin1Char('.'), false, 1.0f},        // "1.5" is not a German number
        {"1e40", &dot, QLatin1Char('.'), false, 1.0f},         // beyond a 32-bit float
        {"inf", &dot, QLatin1Char('.'), false, 1.0f},
        {"nan", &dot, QLatin1Char('.'), false, 1.0f},
    };
    for (const Case& c : cases) {
        float v = 7.0f;
        EXPECT_EQ(Str_To_Float_Sep(QString::fromLatin1(c.Text), c.Separator, v, *c.Locale), c.Ok) << c.Text;
        EXPECT_FLOAT_EQ(v, c.Value) << c.Text;
    }
}

TEST(TextChecks, ComPortNumbersAndDevices)
{
    EXPECT_EQ(COM_Port_Device(1, QStringLiteral("/d")), QStringLiteral("/d/ttyS0"));
    EXPECT_EQ(COM_Port_Device(64, QStringLiteral("/d")), QStringLiteral("/d/ttyS63"));
    EXPECT_EQ(COM_Port_Device(65, QStringLiteral("/d")), QStringLiteral("/d/ttyUSB0"));
    EXPECT_EQ(COM_Port_Device(130, QStringLiteral("/d")), QStringLiteral("/d/ttyACM1"));
    EXPECT_EQ(COM_Port_Device(256, QStringLiteral("/d")), QStringLiteral("/d/ttyAMA63"));
    EXPECT_TRUE(COM_Port_Device(0).isEmpty());
    EXPECT_TRUE(COM_Port_Device(257).isEmpty());

    // Files stand in for the devices: one that opens, one that may not be opened, and names that
    // are no port at all.
    TempDir dir;
    dir.Write(QStringLiteral("ttyS2"), "");
    dir.Write(QStringLiteral("ttyUSB0"), "");
    dir.Write(QStringLiteral("ttyACM0"), "");
    dir.Write(QStringLiteral("ttyS99"), "");
    dir.Write(QStringLiteral("ttyX1"), "");
    QFile::setPermissions(dir.File(QStringLiteral("ttyACM0")), QFileDevice::ReadOwner);
    const QStringList ports = List_COM_Ports(dir.Path());
    // ttyACM0 is listed whether or not this user may open it (root may).
    EXPECT_EQ(ports, (QStringList{QStringLiteral("3"), QStringLiteral("65"), QStringLiteral("129")}));
    EXPECT_TRUE(List_COM_Ports(dir.File(QStringLiteral("missing"))).isEmpty());
}

}  // namespace
