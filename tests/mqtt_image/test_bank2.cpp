// Bank 2: the packed MQTT image built from ParGen.xml and MQTT_Set_Topic.xml.
#include "platform/Exception.h"
#include "support/TempDir.h"
#include "mqtt_image/UBank1.h"
#include "mqtt_image/UBank2.h"
#include "mqtt_image/USaveBincc.h"
#include "test_bank_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace bank_test;
using mqtt_image::Compile_Bin_Banks;

namespace {

constexpr uint32_t Base = 0x80000;
constexpr uint32_t Empty = Base + 212;

// A project folder with the two files; a null ParGen leaves ParGen.xml out.
struct TProject {
    TempDir Dir;

    TProject(const TElements* parGen, const QByteArray& topics)
    {
        if (parGen)
            Dir.Write("ParGen.xml", ParGen_Xml(*parGen));
        if (!topics.isNull())
            Dir.Write("MQTT_Set_Topic.xml", topics);
    }
    QString ParGen() const { return Dir.File("ParGen.xml"); }
    QString Topics() const { return Dir.File("MQTT_Set_Topic.xml"); }
    std::vector<uint8_t> Bank2() const { return Compile_Bin_Banks(ParGen(), Topics()).Bank2; }
};

const TElements Broker{{"MQTT_Server_URL", "10.0.0.1"}, {"MQTT_Client_ID", "gw"}};

std::vector<uint8_t> Bank2_Of(const TElements& parGen, const std::vector<TElements>& publish,
                              const std::vector<TElements>& subscribe)
{
    return TProject(&parGen, Topic_Xml(publish, subscribe)).Bank2();
}

// Offsets of the entries in an image whose tables are where the header says.
size_t Publish_Entry(const std::vector<uint8_t>& image, size_t i) { return U32_At(image, 117) - Base + 49 * i; }
size_t Subscribe_Entry(const std::vector<uint8_t>& image, size_t i) { return U32_At(image, 109) - Base + 27 * i; }
size_t Filter_Entry(const std::vector<uint8_t>& image, size_t i) { return U32_At(image, 101) - Base + 12 * i; }

}  // namespace

TEST(Bank2Golden, WorkedExampleByteForByte)
{
    const auto images = Compile_Bin_Banks(Data_Path("worked_example/ParGen.xml"),
                                          Data_Path("worked_example/MQTT_Set_Topic.xml"));
    const auto expected = Read_Golden("worked_example/bank2.hex");
    EXPECT_EQ(images.Bank2, expected) << Describe_Differences(images.Bank2, expected);
}

TEST(Bank2Header, EveryHeaderStringInItsPlaceAndOrder)
{
    const TElements parGen{{"MQTT_Server_URL", "broker"},
                           {"MQTT_Client_ID", "client"},
                           {"MQTT_Will_Topic_Name", "will/topic"},
                           {"MQTT_Will_Message", "gone"},
                           {"MQTT_Username", "user"},
                           {"MQTT_Password", "pass"},
                           {"TLS_Server_Auth_Certificate", "-----SERVER-----\r\nAAAA\r\n"},
                           {"TLS_Client_Auth_Certificate", "client-cert"},
                           {"TLS_Client_Auth_Key", "client-key"},
                           {"TLS_Client_Auth_Key_Password", "keypass"},
                           {"NTP_Server_URL", "pool.ntp"},
                           {"MQTT_Connection_Topic_Name", "conn/topic"},
                           {"MQTT_Connection_Message", "hello"},
                           {"MQTT_Topic_DALI_Answer", "not/in/image"},
                           {"Working_Mode", "0"},
                           {"MQTT_Will_QoS", "2"},
                           {"MQTT_WillFlag", "1"},
                           {"MQTT_Will_Retained", "1"},
                           {"MQTT_PublishTopicConnection", "1"},
                           {"MQTT_Connection_Retained", "1"},
                           {"TLS_Enable", "1"},
                           {"TLS_En_Server_Auth", "1"},
                           {"TLS_En_Client_Auth", "1"},
                           {"MQTT_Server_Port", "8883"},
                           {"MQTT_ASync_Send_Time", "25"},
                           {"NTP_Poll_Time", "3600"}};
    const auto image = Bank2_Of(parGen, {}, {});

    // Strings from 213 on, in the header's order, each right after the previous one.
    struct Str {
        size_t field;     // address field
        int lengthField;  // -1 none, else offset of the length
        const char* text;
    };
    const Str strings[] = {{8, -1, "broker"},        {23, 27, "client"},        {47, 51, "will/topic"},
                           {59, 63, "gone"},         {73, 77, "user"},          {85, 89, "pass"},
                           {129, 133, "-----SERVER-----\r\nAAAA\r\n"},          {141, 145, "client-cert"},
                           {149, 153, "client-key"}, {161, -1, "keypass"},      {165, -1, "pool.ntp"},
                           {174, 178, "conn/topic"}, {186, 190, "hello"}};
    uint32_t expectedAddress = Base + 213;
    for (const Str& s : strings) {
        SCOPED_TRACE(s.text);
        EXPECT_EQ(U32_At(image, s.field), expectedAddress);
        EXPECT_EQ(String_At_Address(image, U32_At(image, s.field)), s.text);
        if (s.lengthField >= 0) {
            EXPECT_EQ(U32_At(image, size_t(s.lengthField)), std::strlen(s.text));
        }
        expectedAddress += uint32_t(std::strlen(s.text)) + 1;
    }
    // The MQTTString's third word repeats its address.
    EXPECT_EQ(U32_At(image, 31), U32_At(image, 23));
    // The DALI answer topic has no element: empty, and the image ends after the last string.
    EXPECT_EQ(Bytes_At(image, 200, 12), std::string(12, '\0'));
    EXPECT_EQ(image.size(), expectedAddress - Base);

    EXPECT_EQ(U32_At(image, 0), 2u);  // Working_Mode does not change the mode
    EXPECT_EQ(U32_At(image, 4), 25u);
    EXPECT_EQ(U16_At(image, 12), 8883);
    EXPECT_EQ(image[38], 1);  // will flag
    EXPECT_EQ(image[71], 1);  // will retained
    EXPECT_EQ(image[72], 2);  // will QoS
    EXPECT_EQ(U32_At(image, 121), 1u);
    EXPECT_EQ(U32_At(image, 125), 1u);
    EXPECT_EQ(U32_At(image, 137), 1u);
    EXPECT_EQ(U32_At(image, 157), 0u);  // key password flag has no element
    EXPECT_EQ(U32_At(image, 169), 3600u);
    EXPECT_EQ(image[173], 1);
    EXPECT_EQ(image[198], 1);
    EXPECT_EQ(image[199], 0);
    EXPECT_EQ(image[212], 0);
}

TEST(Bank2Header, EmptyTextsAndFallbacks)
{
    // Empty broker and client: the broker points at the empty string, the client is all zeros,
    // and the first string after the header starts at 213.
    const auto image = Bank2_Of({{"MQTT_Server_URL", ""}, {"MQTT_Client_ID", ""}, {"MQTT_Username", "u"}}, {}, {});
    EXPECT_EQ(U32_At(image, 8), Empty);
    EXPECT_EQ(Bytes_At(image, 23, 12), std::string(12, '\0'));
    EXPECT_EQ(U32_At(image, 73), Base + 213);
    EXPECT_EQ(image.size(), 215u);
    // Fallbacks of missing numbers, and of texts that are not numbers.
    EXPECT_EQ(U32_At(image, 4), 10u);
    EXPECT_EQ(U16_At(image, 12), 1883);
    EXPECT_EQ(U32_At(image, 169), 1000u);
    const auto words = Bank2_Of({{"MQTT_Server_Port", "port"}, {"NTP_Poll_Time", ""}, {"MQTT_Keep_Alive", "x"}}, {}, {});
    EXPECT_EQ(U16_At(words, 12), 1883);
    EXPECT_EQ(U32_At(words, 169), 1000u);
    EXPECT_EQ(U16_At(words, 35), 0);
    // No subscribe or publish rows: counts 0, table addresses all the base.
    for (const size_t field : {101u, 105u, 109u, 117u})
        EXPECT_EQ(U32_At(image, field), Base) << field;
    EXPECT_EQ(U32_At(image, 97), 0u);
    EXPECT_EQ(U32_At(image, 113), 0u);
}

TEST(Bank2Header, WithoutParGenTheModeIsZero)
{
    const TProject project(nullptr, QByteArray());
    const auto image = project.Bank2();
    ASSERT_EQ(image.size(), 213u);
    EXPECT_EQ(U32_At(image, 0), 0u);
    EXPECT_EQ(U32_At(image, 4), 0u);
    EXPECT_EQ(U32_At(image, 8), Empty);
    EXPECT_EQ(U16_At(image, 12), 0);
    EXPECT_EQ(Bytes_At(image, 14, 4), "MQTC");
    EXPECT_EQ(image[22], 4);
    EXPECT_EQ(Bytes_At(image, 39, 4), "MQTW");
    EXPECT_EQ(U32_At(image, 169), 0u);
}

TEST(Bank2Publish, RowConversions)
{
    struct Case {
        const char* name;
        TElements changes;
        uint8_t retained;
        uint32_t qos, timer, options, position;
        uint16_t length, type;
        std::string output;
    };
    const Case cases[] = {
        {"defaults of the test row", {}, 0, 0, 0, 1, 0, 2, 1, "$VALUE$"},
        {"retained, QoS 2", {{"Retained", "y"}, {"QoS", "2"}}, 1, 2, 0, 1, 0, 2, 1, "$VALUE$"},
        {"OnTimer off ignores the time", {{"OnTimer", "N"}, {"Time", "500"}}, 0, 0, 0, 1, 0, 2, 1, "$VALUE$"},
        {"OnTimer on, time trimmed", {{"OnTimer", "y"}, {"Time", " 250 "}}, 0, 0, 250, 5, 0, 2, 1, "$VALUE$"},
        {"OnTimer on, time not a number", {{"OnTimer", "Y"}, {"Time", "soon"}}, 0, 0, 0, 5, 0, 2, 1, "$VALUE$"},
        {"all options", {{"OnCMD", "Y"}, {"OnTimer", "Y"}, {"Time", "1"}}, 0, 0, 1, 7, 0, 2, 1, "$VALUE$"},
        {"options missing",
         {{"OnChange", Missing}, {"OnCMD", Missing}, {"OnTimer", Missing}},
         0, 0, 0, 0, 0, 2, 1, "$VALUE$"},
        {"lower-case data type, trimmed", {{"DataType", " sint "}}, 0, 0, 0, 1, 0, 2, 4, "$VALUE$"},
        {"unknown data type", {{"DataType", "Double"}}, 0, 0, 0, 1, 0, 2, 0, "$VALUE$"},
        {"layout attributes missing",
         {{"DataType", Missing}, {"Dimension", Missing}, {"Position", Missing}},
         0, 0, 0, 1, 0, 4, 0, "$VALUE$"},
        {"layout attributes not numbers", {{"Dimension", "x"}, {"Position", "y"}}, 0, 0, 0, 1, 0, 4, 1, "$VALUE$"},
        {"length beyond 16 bits", {{"Dimension", "65537"}, {"Position", "$5A0"}}, 0, 0, 0, 1, 1440, 1, 1, "$VALUE$"},
        {"template missing", {{"Template", Missing}}, 0, 0, 0, 1, 0, 2, 1, "$VALUE$"},
        {"template line breaks removed", {{"Template", "{\r\n\"v\":$VALUE$\n}"}}, 0, 0, 0, 1, 0, 2, 1, "{\"v\":$VALUE$}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = Bank2_Of(Broker, {Publish_Row("t", c.changes)}, {});
        const size_t e = Publish_Entry(image, 0);
        EXPECT_EQ(image[e + 16], c.retained);
        EXPECT_EQ(U32_At(image, e + 17), c.qos);
        EXPECT_EQ(U32_At(image, e + 21), Empty);  // input template always empty
        EXPECT_EQ(String_At_Address(image, U32_At(image, e + 25)), c.output);
        EXPECT_EQ(U32_At(image, e + 29), 0u);
        EXPECT_EQ(U32_At(image, e + 33), c.position);
        EXPECT_EQ(U16_At(image, e + 37), c.length);
        EXPECT_EQ(U16_At(image, e + 39), c.type);
        EXPECT_EQ(U32_At(image, e + 41), c.timer);
        EXPECT_EQ(U32_At(image, e + 45), c.options);
    }
}

TEST(Bank2Topics, TextsAsTheDeviceNeedsThem)
{
    const QString degrees = QString::fromUtf8("temp\xc3\xa9rature/\xc2\xb0" "C");  // 14 characters, 16 bytes
    const auto image = Bank2_Of(
        Broker,
        {Publish_Row("plant/\r\nline", {{"Mnemonic", "Boiler 1 <&>"}}), Publish_Row(degrees), Publish_Row("")},
        {Subscribe_Row("sub/\nset", {{"Template", "{\r\n\"v\":$VALUE$\n}"}}), Subscribe_Row(degrees)});

    // Publish topics lose their line breaks; the length counts UTF-8 bytes.
    size_t e = Publish_Entry(image, 0);
    EXPECT_EQ(String_At_Address(image, U32_At(image, e + 4)), "plant/line");
    EXPECT_EQ(U32_At(image, e + 8), 10u);
    EXPECT_EQ(U32_At(image, e + 12), U32_At(image, e + 4));
    EXPECT_EQ(String_At_Address(image, U32_At(image, e)), "Boiler 1 <&>");
    e = Publish_Entry(image, 1);
    EXPECT_EQ(String_At_Address(image, U32_At(image, e + 4)), degrees.toStdString());
    EXPECT_EQ(U32_At(image, e + 8), 16u);
    EXPECT_EQ(U32_At(image, e), Empty);  // empty mnemonic
    // An empty topic is an empty MQTT string: address and length 0.
    EXPECT_EQ(Bytes_At(image, Publish_Entry(image, 2) + 4, 12), std::string(12, '\0'));

    // Subscribe filters lose their line breaks; the subscribe template keeps them.
    EXPECT_EQ(String_At_Address(image, U32_At(image, Filter_Entry(image, 0))), "sub/set");
    EXPECT_EQ(U32_At(image, Filter_Entry(image, 1) + 4), 16u);
    const size_t s = Subscribe_Entry(image, 0);
    EXPECT_EQ(String_At_Address(image, U32_At(image, s + 12)), "{\r\n\"v\":$VALUE$\n}");
    EXPECT_EQ(U32_At(image, s + 16), Empty);
}

TEST(Bank2Subscribe, RowConversionsAndTableLayout)
{
    const auto image = Bank2_Of(Broker, {},
                                {Subscribe_Row("a", {{"QoS", "2"}, {"DataType", "float"}, {"Dimension", "8"},
                                                     {"Position", "100"}, {"Port", "502"}, {"IPAddress", "1.2.3.4"},
                                                     {"EthType", "TCP"}}),
                                 Subscribe_Row("bb", {{"DataType", Missing}, {"Dimension", "?"}, {"Position", Missing},
                                                      {"Template", Missing}, {"Retained", Missing},
                                                      {"Mnemonic", Missing}})});
    EXPECT_EQ(U32_At(image, 97), 2u);
    const uint32_t filters = U32_At(image, 101);
    // Filter table, then the filter strings, then the QoS words, then the subscribe table.
    EXPECT_EQ(U32_At(image, 105), filters + 24 + 2 + 3);
    EXPECT_EQ(U32_At(image, 109), U32_At(image, 105) + 8);
    EXPECT_EQ(U32_At(image, U32_At(image, 105) - Base), 2u);
    EXPECT_EQ(U32_At(image, U32_At(image, 105) - Base + 4), 0u);

    size_t s = Subscribe_Entry(image, 0);
    EXPECT_EQ(U32_At(image, s), 100u);
    EXPECT_EQ(U32_At(image, s + 4), 8u);
    EXPECT_EQ(U32_At(image, s + 8), 2u);
    // Address, port and protocol never enter the image.
    EXPECT_EQ(Bytes_At(image, s + 20, 7), std::string(7, '\0'));
    s = Subscribe_Entry(image, 1);
    EXPECT_EQ(U32_At(image, s), 0u);
    EXPECT_EQ(U32_At(image, s + 4), 4u);
    EXPECT_EQ(U32_At(image, s + 8), 0u);
    EXPECT_EQ(String_At_Address(image, U32_At(image, s + 12)), "$VALUE$");
    EXPECT_EQ(U32_At(image, 113), 0u);
    EXPECT_EQ(U32_At(image, 117), Base);
}

TEST(Bank2Mode, WithoutParGenTopicsEnterWithoutLayoutAndOneFilter)
{
    const TProject project(nullptr, Topic_Xml({Publish_Row("p", {{"DataType", "Float"}, {"Position", "8"}})},
                                              {Subscribe_Row("s1", {{"Position", "4"}}),
                                               // Not read at all: only the first filter enters.
                                               Subscribe_Row("s2", {{"QoS", "bad"}})}));
    const auto image = project.Bank2();
    EXPECT_EQ(U32_At(image, 0), 0u);
    EXPECT_EQ(U32_At(image, 97), 1u);
    const size_t s = Subscribe_Entry(image, 0);
    EXPECT_EQ(Bytes_At(image, s, 12), std::string(12, '\0'));
    const size_t p = Publish_Entry(image, 0);
    EXPECT_EQ(U32_At(image, p + 33), 0u);
    EXPECT_EQ(U16_At(image, p + 37), 0);
    EXPECT_EQ(U16_At(image, p + 39), 0);
}

// Every conversion failure stops the build with a message naming the file, the row and the attribute.
TEST(Bank2Errors, MessagesNameFileRowAndAttribute)
{
    struct Case {
        const char* name;
        QByteArray topics;
        QStringList mustName;
    };
    const auto ok = Publish_Row("ok");
    const auto okSub = Subscribe_Row("ok");
    const Case cases[] = {
        {"publish topic missing", Topic_Xml({ok, Publish_Row("", {{"Topic", Missing}})}, {}),
         {"MQTT_Publish", "row 2", "\"Topic\"", "missing"}},
        {"publish retained missing", Topic_Xml({Publish_Row("t", {{"Retained", Missing}})}, {}),
         {"row 1", "\"Retained\""}},
        {"publish QoS missing", Topic_Xml({Publish_Row("t", {{"QoS", Missing}})}, {}), {"row 1", "\"QoS\"", "missing"}},
        {"publish QoS empty", Topic_Xml({Publish_Row("t", {{"QoS", ""}})}, {}), {"row 1", "\"QoS\"", "whole number"}},
        {"publish QoS a word", Topic_Xml({ok, ok, Publish_Row("t", {{"QoS", "one"}})}, {}),
         {"row 3", "\"QoS\"", "\"one\""}},
        {"publish mnemonic missing", Topic_Xml({Publish_Row("t", {{"Mnemonic", Missing}})}, {}),
         {"row 1", "\"Mnemonic\""}},
        {"subscribe topic missing", Topic_Xml({ok}, {okSub, Subscribe_Row("", {{"Topic", Missing}})}),
         {"MQTT_Subscribe", "row 2", "\"Topic\""}},
        {"subscribe QoS not whole", Topic_Xml({}, {Subscribe_Row("t", {{"QoS", "1.5"}})}),
         {"MQTT_Subscribe", "row 1", "\"QoS\"", "\"1.5\""}},
        {"publish container missing", "<MQTT_Set_Topic><MQTT_Subscribe/></MQTT_Set_Topic>",
         {"\"MQTT_Publish\"", "missing"}},
        {"subscribe container missing", "<MQTT_Set_Topic><MQTT_Publish/></MQTT_Set_Topic>", {"\"MQTT_Subscribe\""}},
        {"not well formed", "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a></MQTT_Publish>", {"not valid XML"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TProject project(&Broker, c.topics);
        try {
            project.Bank2();
            ADD_FAILURE() << "no error";
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains(project.Topics())) << e.what();
            for (const QString& part : c.mustName)
                EXPECT_TRUE(e.message().contains(part)) << e.what() << " lacks " << part.toStdString();
        }
    }
}

TEST(Bank2Limit, ImageOfExactly512KiBIsBuiltOneByteMoreIsRefused)
{
    // No ParGen.xml and one publish row: header 213 + entry 49 + topic + 1 + "$VALUE$" and zero 8.
    const size_t fixedPart = 213 + 49 + 1 + 8;
    const size_t fitting = mqtt_image::Bank2_Max_Size - fixedPart;
    {
        const TProject project(nullptr, Topic_Xml({Publish_Row(QString(qsizetype(fitting), 'x'))}, {}));
        EXPECT_EQ(project.Bank2().size(), mqtt_image::Bank2_Max_Size);
    }
    const TProject project(nullptr, Topic_Xml({Publish_Row(QString(qsizetype(fitting + 1), 'x'))}, {}));
    try {
        project.Bank2();
        FAIL() << "an image over 512 KiB was built";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains("524289")) << e.what();
        EXPECT_TRUE(e.message().contains("524288")) << e.what();
        EXPECT_TRUE(e.message().contains(project.Topics())) << e.what();
    }
}

TEST(Bank2Limit, PutRefusesAnOversizedRecordOnItsOwn)
{
    mqtt_image::TMQTT mqtt;
    mqtt_image::Init_MQTT_Defaults(mqtt);
    mqtt.TLS_Server_Cert.Text = mqtt.Own(std::string(mqtt_image::Bank2_Max_Size, 'c'));
    EXPECT_THROW(mqtt_image::Put_Bank2_Image(mqtt, mqtt_image::Bank2_Base_Address), platform::Exception);
}

TEST(Bank2Errors, PercentSignsInTheFolderNameStayInTheMessage)
{
    TempDir dir;
    const QString folder = dir.File("plant %1 %2 %3");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString topics = folder + "/MQTT_Set_Topic.xml";
    QFile file(topics);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Topic_Xml({Publish_Row("t", {{"QoS", "x"}})}, {}));
    file.close();
    try {
        Compile_Bin_Banks(folder + "/ParGen.xml", topics);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(topics)) << e.what();
        EXPECT_TRUE(e.message().contains("row 1")) << e.what();
    }
}
