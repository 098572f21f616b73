#include "comm_params/UParGenCheck.h"

#include <gtest/gtest.h>

using namespace comm_params;

TEST(ParGenCheck, RangesCountNonNumbersAsMinusOne)
{
    EXPECT_TRUE(In_Range(QStringLiteral("0"), 0, 255));
    EXPECT_TRUE(In_Range(QStringLiteral("$FF"), 0, 255));
    EXPECT_FALSE(In_Range(QStringLiteral("256"), 0, 255));
    EXPECT_FALSE(In_Range(QString(), 0, 255));
    EXPECT_TRUE(In_Range(QString(), -1, 0));  // an empty text reads as -1
    EXPECT_TRUE(In_Range(QStringLiteral("4294967295"), 0, 4294967295LL));
    EXPECT_FALSE(In_Range(QStringLiteral("4294967296"), 0, 4294967295LL));

    EXPECT_EQ(First_Bad_Byte({QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("0"), QStringLiteral("1")}),
              -1);
    EXPECT_EQ(First_Bad_Byte({QStringLiteral("192"), QStringLiteral("x"), QStringLiteral("300"), QStringLiteral("1")}),
              1);
    EXPECT_EQ(First_Bad_Byte({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()}), 3);
}

TEST(ParGenCheck, DeviceNameAllowsOnlyAsciiLettersAndDigits)
{
    EXPECT_EQ(Check_Device_Name(QString()), 0);
    EXPECT_EQ(Check_Device_Name(QStringLiteral("Gateway01")), 0);
    for (const char* bad : {"gate-way", "gate way", "gate_way", "caf\xC3\xA9"})
        EXPECT_EQ(Check_Device_Name(QString::fromUtf8(bad)), 1) << bad;
}

TEST(ParGenCheck, ModemTextCarriesAllFiveFields)
{
    EXPECT_EQ(Modem_Text(QStringLiteral("1234"), QStringLiteral("web"), QStringLiteral("PAP or CHAP"),
                         QStringLiteral("u"), QStringLiteral("p")),
              QStringLiteral("PIN=1234\r\nAPN=web\r\nAUTHTYPE=3\r\nUSERNAME=u\r\nPASSWORD=p\r\n"));
    const std::vector<std::pair<const char*, const char*>> codes = {
        {"None", "0"}, {"pap", "1"}, {"CHAP", "2"}, {"Pap Or Chap", "3"}, {"other", "0"}, {"", "0"}};
    for (const auto& [item, code] : codes)
        EXPECT_EQ(GSM_Auth_Type_Code(QLatin1String(item)), QLatin1String(code)) << item;
}
