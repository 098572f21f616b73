// Bank 1: the 2048-byte parameter block built from ParGen.xml.
#include "platform/Exception.h"
#include "support/TempDir.h"
#include "mqtt_image/UBank1.h"
#include "mqtt_image/USaveBincc.h"
#include "test_bank_support.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace bank_test;
using mqtt_image::Compile_Bin_Banks;

namespace {

std::vector<uint8_t> Bank1_From(const TElements& elements)
{
    TempDir dir;
    dir.Write("ParGen.xml", ParGen_Xml(elements));
    return Compile_Bin_Banks(dir.File("ParGen.xml"), dir.File("MQTT_Set_Topic.xml")).Bank1;
}

uint32_t Sum_Of_Payload(const std::vector<uint8_t>& block)
{
    return std::accumulate(block.begin(), block.begin() + 2044, uint32_t(0));
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string s;
    char buf[4];
    for (const uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x ", b);
        s += buf;
    }
    return s;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& image, size_t offset, size_t count)
{
    return {image.begin() + long(offset), image.begin() + long(offset + count)};
}

}  // namespace

// The whole block, byte for byte, against hand-made golden files.
TEST(Bank1Golden, MatchesTheGoldenFiles)
{
    struct Case {
        const char* name;
        QString parGen;  // empty: no ParGen.xml
        QString golden;
    };
    const Case cases[] = {
        {"no ParGen.xml", "", "bank1_defaults.hex"},
        {"access point, full file", "worked_example/ParGen.xml", "worked_example/bank1.hex"},
        {"station, partial file", "station/ParGen.xml", "station/bank1.hex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString parGen = c.parGen.isEmpty() ? QStringLiteral("/nonexistent/ParGen.xml") : Data_Path(c.parGen);
        const auto images = Compile_Bin_Banks(parGen, QStringLiteral("/nonexistent/MQTT_Set_Topic.xml"));
        const auto expected = Read_Golden(c.golden);
        EXPECT_EQ(images.Bank1, expected) << Describe_Differences(images.Bank1, expected);
        EXPECT_EQ(U32_At(images.Bank1, 2044), Sum_Of_Payload(images.Bank1));
    }
}

// Fields whose value depends on switches, missing elements and conversions; every case starts from
// an empty <Par_Gen/> (all elements missing) plus its own elements.
TEST(Bank1Fields, SwitchesFallbacksAndConversions)
{
    struct Check {
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    struct Case {
        const char* name;
        TElements elements;
        std::vector<Check> checks;
    };
    const TElements ethGateway{{"Ethernet_GAT1", "10"}, {"Ethernet_GAT2", "1"}, {"Ethernet_GAT3", "2"},
                               {"Ethernet_GAT4", "3"}};
    auto with = [](TElements base, const TElements& more) {
        base.insert(base.end(), more.begin(), more.end());
        return base;
    };
    const Case cases[] = {
        {"every element missing",
         {},
         {{40, {192, 168, 0, 10}},
          {44, {255, 255, 255, 0}},
          {48, {255, 255, 255, 255}},
          {54, {0xf6, 0x01, 0xf6, 0x01}},
          {388, {192, 168, 0, 5, 255, 255, 255, 0, 255, 255, 255, 255}},
          {1256, {0, 0, 0, 0}},
          {1260, {192, 168, 0, 200, 255, 255, 255, 0}},
          {1268, {0x80, 0x51, 0x01, 0x00}},
          {1272, {10, 0, 1, 0}},
          {1276, {192, 168, 0, 100, 255, 255, 255, 0}},
          {1284, std::vector<uint8_t>(16, 0)},
          {1340, {0, 0, 0, 0}},
          {1420, {0, 0, 0, 0}},
          {1424, {0x00, 0x00, 0x08, 0x00}}}},
        {"Ethernet gateway switched off", with(ethGateway, {{"Ethernet_EN_GAT", "0"}}), {{48, {255, 255, 255, 255}}}},
        {"Ethernet gateway switched on", with(ethGateway, {{"Ethernet_EN_GAT", "1"}}), {{48, {10, 1, 2, 3}}}},
        {"a switch must be exactly 1", with(ethGateway, {{"Ethernet_EN_GAT", "01"}}), {{48, {255, 255, 255, 255}}}},
        {"DNS off keeps stored addresses out",
         {{"Eth_Conn_Enable_DNS", "0"}, {"Eth_Conn_Primary_DNS1", "1"}, {"Eth_Conn_Secondary_DNS1", "9"}},
         {{1340, {0, 0, 0, 0}}, {1420, {0, 0, 0, 0}}}},
        {"DNS on with nothing stored", {{"Eth_Conn_Enable_DNS", "1"}}, {{1340, {8, 8, 4, 4}}, {1420, {8, 8, 8, 8}}}},
        {"channel 0 means automatic search", {{"WiFi_Channel", "0"}}, {{1274, {0, 1}}}},
        {"channel 11", {{"WiFi_Channel", "11"}}, {{1274, {11, 0}}}},
        {"maximum clients not a number", {{"WiFi_Max_Client", "many"}}, {{1272, {9}}}},
        {"station: access-point fields stay 0",
         {{"WiFi_Type", "1"}, {"WiFi_Secure_Type", "2"}, {"WiFi_EN_DHCP", "1"}, {"WiFi_Lease_Time", "60"},
          {"WiFi_Max_Client", "4"}, {"WiFi_Channel", "3"}},
         {{1258, std::vector<uint8_t>(15, 0)},
          {1273, {1, 0, 0}},
          {1284, {255, 255, 255, 255}},  // gateway switch missing: off
          {1288, {192, 168, 0, 110, 255, 255, 255, 0, 255, 255, 255, 255}}}},
        {"Wi-Fi type neither access point nor station",
         {{"WiFi_Type", "7"}, {"WiFi_Lease_Time", "60"}},
         {{1268, {0, 0, 0, 0}}, {1273, {7}}, {1284, std::vector<uint8_t>(16, 0)}}},
        {"port beyond 16 bits keeps its low bits", {{"Modbus_TCP_Slave_Port", "70000"}}, {{54, {0x70, 0x11, 0x70, 0x11}}}},
        {"hexadecimal port", {{"Modbus_TCP_Slave_Port", "0x1F6"}}, {{54, {0xf6, 0x01, 0xf6, 0x01}}}},
        // The window refuses what it cannot read as a number; the image must not take it either.
        {"x alone is no hexadecimal prefix", {{"Modbus_TCP_Slave_Port", "x10"}}, {{54, {0xf6, 0x01, 0xf6, 0x01}}}},
        {"hexadecimal with a dollar", {{"Modbus_TCP_Slave_Port", "$1F7"}}, {{54, {0xf7, 0x01, 0xf7, 0x01}}}},
        {"address byte beyond 8 bits keeps its low bits", {{"Ethernet_IP1", "300"}}, {{40, {44, 168, 0, 10}}}},
        {"negative address byte", {{"Ethernet_IP1", "-1"}}, {{40, {255, 168, 0, 10}}}},
        {"blank text is not a number", {{"Ethernet_IP1", ""}}, {{40, {192, 168, 0, 10}}}},
        {"lease time using all 32 bits", {{"WiFi_Lease_Time", "$FFFFFFFF"}}, {{1268, {255, 255, 255, 255}}}},
        {"lease time too large for 32 bits", {{"WiFi_Lease_Time", "4294967296"}}, {{1268, {0x80, 0x51, 0x01, 0x00}}}},
        {"DHCP flags", {{"Eth_Conn_DHCP_Cable", "1"}, {"Eth_Conn_DHCP_WiFi", "0"}}, {{1256, {1, 0}}}},
        {"DHCP server addresses are one 32-bit sum: a byte beyond 8 bits carries into the next",
         {{"WiFi_DHCP_First_IP1", "256"}, {"WiFi_DHCP_First_IP2", "1"}, {"WiFi_DHCP_SM1", "-1"}},
         {{1260, {0, 2, 0, 200}}, {1264, {255, 254, 255, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto block = Bank1_From(c.elements);
        ASSERT_EQ(block.size(), 2048u);
        for (const Check& check : c.checks)
            EXPECT_EQ(Hex(Slice(block, check.offset, check.bytes.size())), Hex(check.bytes)) << "at " << check.offset;
        EXPECT_EQ(U32_At(block, 2044), Sum_Of_Payload(block));
    }
}

TEST(Bank1Modem, TextWithAuthenticationCode)
{
    struct Case {
        QString authType;  // Missing: element left out
        char code;
    };
    const Case cases[] = {{"None", '0'}, {"PAP", '1'}, {"chap", '2'}, {"PAP or CHAP", '3'},
                          {"pap OR chap", '3'}, {"Kerberos", '0'}, {"", '0'}, {Missing, '0'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.authType.toStdString());
        TElements elements{{"GSM_GPRS_PIN", "1234"}, {"GSM_GPRS_APN", "apn"}, {"GSM_GPRS_USERNAME", "u"},
                           {"GSM_GPRS_PASSWORD", "p"}};
        if (c.authType != Missing)
            elements.emplace_back("GSM_GPRS_AUTHTYPE", c.authType);
        const auto block = Bank1_From(elements);
        const std::string expected =
            std::string("PIN=1234\r\nAPN=apn\r\nAUTHTYPE=") + c.code + "\r\nUSERNAME=u\r\nPASSWORD=p\r\n";
        EXPECT_EQ(Bytes_At(block, 532, expected.size() + 1), expected + '\0');
    }
}

// Texts: UTF-8 in the file, one byte per UTF-16 code unit in the block, never past the field.
TEST(Bank1Texts, DecodedPerCodeUnitAndKeptInsideTheirFields)
{
    const QString snowmanAndEmoji = QString::fromUtf8("\xc3\xa9\xe2\x98\x83\xf0\x9f\x98\x80");  // é ☃ 😀
    const auto block = Bank1_From({{"WiFi_SSID", snowmanAndEmoji}});
    // é -> E9, ☃ U+2603 -> 03, 😀 = D83D DE00 -> 3D 00.
    EXPECT_EQ(Hex(Slice(block, 1148, 5)), Hex({0xe9, 0x03, 0x3d, 0x00, 0x00}));

    const auto longTexts = Bank1_From({{"Eth_Conn_Device_Name", QString(40, 'N')},
                                       {"WiFi_SSID", QString(40, 'S')},
                                       {"WiFi_PWD", QString(70, 'P')},
                                       {"GSM_GPRS_APN", QString(600, 'A')}});
    // Device name: 31 characters and its zero.
    EXPECT_EQ(Bytes_At(longTexts, 1300, 32), std::string(31, 'N') + '\0');
    EXPECT_EQ(longTexts[1332], 0);
    // SSID fills its 32 bytes and stops where the password begins.
    EXPECT_EQ(Bytes_At(longTexts, 1148, 32), std::string(32, 'S'));
    EXPECT_EQ(Bytes_At(longTexts, 1180, 64), std::string(64, 'P'));
    EXPECT_EQ(Bytes_At(longTexts, 1244, 12), std::string(12, '\0'));
    // The modem text keeps its terminating zero inside its 512 bytes; the bytes after stay 0.
    EXPECT_EQ(Bytes_At(longTexts, 532, 24), "PIN=\r\nAPN=" + std::string(14, 'A'));
    EXPECT_NE(longTexts[1042], 0);
    EXPECT_EQ(longTexts[1043], 0);
    EXPECT_EQ(Bytes_At(longTexts, 1044, 104), std::string(104, '\0'));
    EXPECT_EQ(U32_At(longTexts, 2044), Sum_Of_Payload(longTexts));
}

TEST(Bank1Seal, ChecksumCoversBytesBeforeItWithoutOverflow)
{
    mqtt_image::TBank1_Parameter_Block block;
    block.Bytes.fill(0xFF);
    EXPECT_EQ(mqtt_image::Seal_Bank1(block), 2044u * 255u);
    EXPECT_EQ(U32_At({block.Bytes.begin(), block.Bytes.end()}, 2044), 2044u * 255u);

    mqtt_image::Init_Bank1_Defaults(block);
    const uint32_t sum = mqtt_image::Seal_Bank1(block);
    EXPECT_EQ(sum, 3466u);
    block.Bytes[100] = 1;  // a change without resealing no longer matches the stored sum
    const std::vector<uint8_t> changed(block.Bytes.begin(), block.Bytes.end());
    EXPECT_NE(U32_At(changed, 2044), Sum_Of_Payload(changed));
}

TEST(Bank1Errors, MalformedParGenNamesTheFile)
{
    TempDir dir;
    dir.Write("ParGen.xml", "<Par_Gen><Ethernet_IP1>192</Par_Gen>");
    try {
        Compile_Bin_Banks(dir.File("ParGen.xml"), dir.File("MQTT_Set_Topic.xml"));
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(dir.File("ParGen.xml"))) << e.what();
    }
}
