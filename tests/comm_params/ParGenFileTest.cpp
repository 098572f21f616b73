#include "platform/Exception.h"
#include "support/TempDir.h"
#include "shell/UParGenFile.h"
#include "shell/UTextChecks.h"

#include "support/TestData.h"

#include <QFile>
#include <gtest/gtest.h>
#include <set>

using namespace shell;

namespace {

std::vector<QString> defaults(bool fileMissing)
{
    std::vector<QString> v;
    for (int i = 0; i < ParGen_Element_Count; ++i)
        v.push_back(ParGen_Default(i, fileMissing));
    return v;
}

}  // namespace

TEST(ParGenElements, NamesAreUniqueAndKeepTheirPositions)
{
    std::set<std::string> names;
    for (const TParGenElement& e : ParGen_Elements())
        names.insert(e.Name);
    EXPECT_EQ(names.size(), 117u);

    // Positions (from 1) that the bank compiler and older files rely on.
    const std::vector<std::pair<int, const char*>> spots = {
        {1, "Select_Device"},    {14, "MQTT_Server_URL"},      {30, "MQTT_ASync_Send_Time"},
        {35, "Ethernet_IP1"},    {47, "Ethernet_EN_GAT"},      {57, "WiFi_EN_Gateway"},
        {75, "WiFi_SSID"},       {89, "WiFi_Channel"},         {90, "TLS_Enable"},
        {99, "Modbus_TCP_Slave_IP1"}, {112, "Modbus_TCP_Slave_Port"}, {117, "GSM_GPRS_PASSWORD"}};
    for (const auto& [pos, name] : spots)
        EXPECT_STREQ(ParGen_Elements()[static_cast<size_t>(pos - 1)].Name, name) << pos;

    int checkNumbers = 0;
    for (const TParGenElement& e : ParGen_Elements())
        checkNumbers += e.Encoding == TParGenEncoding::CheckNumber;
    EXPECT_EQ(checkNumbers, 6);
}

TEST(ParGenElements, OnlyTheSendTimeDiffersWhenTheFileIsMissing)
{
    for (int i = 0; i < ParGen_Element_Count; ++i) {
        if (ParGen_Elements()[static_cast<size_t>(i)].Name == std::string("MQTT_ASync_Send_Time")) {
            EXPECT_EQ(ParGen_Default(i, false), QString());
            EXPECT_EQ(ParGen_Default(i, true), QStringLiteral("10"));
        } else {
            EXPECT_EQ(ParGen_Default(i, false), ParGen_Default(i, true)) << i;
        }
    }
}

TEST(ParGenFormat, DefaultsDocumentMatchesTheGoldenFile)
{
    const QByteArray bytes = ParGen_Build(defaults(true));
    const QByteArray expected = ReadTestData("ParGen_defaults.xml");
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(bytes, expected);
    EXPECT_FALSE(bytes.startsWith("<?xml"));
    // The version comment follows the root at document level.
    EXPECT_TRUE(bytes.trimmed().endsWith("</Par_Gen>\n<!--SW_VERSION = 1.006-->"));
}

TEST(ParGenFormat, ParseReadsByNameWhateverTheRootAndOrder)
{
    const QByteArray file = "<Other><WiFi_SSID>b</WiFi_SSID><Select_Device>2</Select_Device>"
                            "<WiFi_SSID>second</WiFi_SSID><Unknown>x</Unknown></Other>";
    const TParGenTexts t = ParGen_Parse(file, QStringLiteral("f"));
    ASSERT_EQ(t.size(), 117u);
    EXPECT_EQ(t[0], QStringLiteral("2"));
    EXPECT_EQ(t[static_cast<size_t>(ParGen_Element_Index(QStringLiteral("WiFi_SSID")))], QStringLiteral("b"));
    EXPECT_FALSE(t[1].has_value());

    // In the writer's order too, the first of two elements of one name counts.
    const TParGenTexts ordered = ParGen_Parse("<Par_Gen><Select_Device>1</Select_Device><Select_Device>2</Select_Device>"
                                              "<Eth_Conn_Device_Name>gw</Eth_Conn_Device_Name></Par_Gen>",
                                              QStringLiteral("f"));
    EXPECT_EQ(ordered[Index_Of(TParGen_Id::Select_Device)], QStringLiteral("1"));
    EXPECT_EQ(ordered[Index_Of(TParGen_Id::Eth_Conn_Device_Name)], QStringLiteral("gw"));
}

TEST(ParGenFormat, MalformedOrMissingFileThrowsWithTheFileName)
{
    TempDir dir;
    dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><Select_Device>1</Par_Gen>");
    try {
        ParGen_Read_File(dir.File(QStringLiteral("ParGen.xml")));
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ParGen.xml")));
    }
    EXPECT_THROW(ParGen_Read_File(dir.File(QStringLiteral("none.xml"))), platform::Exception);
}

TEST(ParGenFormat, EveryValueSurvivesWriteReadWrite)
{
    // Texts that an XML writer or reader could alter.
    const QStringList samples = {QString(),
                                 QStringLiteral(" lead and trail "),
                                 QStringLiteral("a&b<c>d\"e'f"),
                                 QStringLiteral("line1\nline2\n"),
                                 QStringLiteral("Zürich €"),
                                 QStringLiteral("$VALUE$"),
                                 QStringLiteral("   "),
                                 QStringLiteral("]]>"),
                                 QStringLiteral("cr\r\nlf\rend")};
    std::vector<QString> values;
    for (int i = 0; i < ParGen_Element_Count; ++i)
        values.push_back(i < samples.size() ? samples[i] : samples[i % samples.size()] + QString::number(i));

    TempDir dir;
    const QString path = dir.File(QStringLiteral("ParGen.xml"));
    ParGen_Write_File(path, values);
    const QByteArray first = dir.Read(QStringLiteral("ParGen.xml"));
    const TParGenTexts back = ParGen_Read_File(path);
    std::vector<QString> again;
    for (size_t i = 0; i < back.size(); ++i) {
        ASSERT_TRUE(back[i].has_value()) << i;
        EXPECT_EQ(*back[i], values[i]) << ParGen_Elements()[i].Name;
        again.push_back(*back[i]);
    }
    EXPECT_EQ(ParGen_Build(again), first);
}

TEST(ParGenDecode, IntegerParser)
{
    const std::vector<std::pair<const char*, std::optional<qint64>>> cases = {
        {"0", 0},         {"255", 255},    {"-1", -1},          {"+7", 7},           {"  12", 12},
        {"$FF", 255},     {"0x1f", 31},    {"0X10", 16},        {"4294967295", 4294967295LL},
        {"", std::nullopt}, {" ", std::nullopt}, {"12 ", std::nullopt}, {"1.5", std::nullopt},
        {"abc", std::nullopt}, {"$", std::nullopt}, {"0x", std::nullopt}, {"-", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"١٢", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        // Typed texts and file values read alike.
        EXPECT_EQ(Parse_Integer(QString::fromUtf8(text)), expected) << text;
        EXPECT_EQ(Parse_Integer(std::string_view(text)), expected) << text;
    }
    EXPECT_EQ(Parse_Int32(QStringLiteral("4294967296")), std::nullopt);
    EXPECT_EQ(Parse_Int32(std::string_view("$FFFFFFFF")), -1);
    EXPECT_EQ(Parse_Integer(std::string_view("x10")), std::nullopt);
}

TEST(ParGenDecode, ChecksListsAndItemTexts)
{
    for (const char* t : {"0", "01", "1 ", " 1", "yes", "", "true"})
        EXPECT_FALSE(Decode_Check(QLatin1String(t))) << t;
    EXPECT_TRUE(Decode_Check(QStringLiteral("1")));

    for (const char* t : {"1", "01", "$1", "+1"})
        EXPECT_TRUE(Decode_Check_Number(QLatin1String(t))) << t;
    for (const char* t : {"0", "2", "-1", "word", ""})
        EXPECT_FALSE(Decode_Check_Number(QLatin1String(t))) << t;

    // Positions outside the list take the element's default, as a text that is no number does.
    const std::vector<std::tuple<const char*, int, int, int>> lists = {
        {"1", 2, 0, 1}, {"7", 2, 0, 0}, {"-1", 2, 0, 0}, {"2", 2, 1, 1}, {"x", 12, 1, 1}, {"11", 12, 1, 11}};
    for (const auto& [text, count, def, expected] : lists)
        EXPECT_EQ(Decode_Index(QLatin1String(text), count, def), expected) << text;

    const QStringList auth = {QStringLiteral("None"), QStringLiteral("PAP"), QStringLiteral("CHAP"),
                              QStringLiteral("PAP or CHAP")};
    EXPECT_EQ(Decode_Item_Text(QStringLiteral("pap"), auth), 1);
    EXPECT_EQ(Decode_Item_Text(QStringLiteral("pap OR chap"), auth), 3);
    EXPECT_EQ(Decode_Item_Text(QStringLiteral("PAP "), auth), 0);
    EXPECT_EQ(Decode_Item_Text(QString(), auth), 0);
}
