// MQTT_Set_Topic.xml as the topic tables read and write it, and the checks run before a write.
#include "mqtt_image/UBank2.h"
#include "mqtt_image/UMQTT_Topic_File.h"
#include "platform/Exception.h"
#include "shell/ULanguage.h"
#include "support/TempDir.h"
#include "test_bank_support.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

using namespace mqtt_image;

namespace {

using TChanges = std::map<int, QString>;

// A full table row that passes every check; changes replace cells by real column.
QStringList Row(TTopic_Side side, const QString& topic, const TChanges& changes = {})
{
    QStringList row;
    if (side == Topic_Publish)
        row = {"1", topic, "N", "0", "Int", "2", "0", "", "N", "", "$VALUE$", "Y", "N", "N", "", "", "N", "N", "m"};
    else
        row = {"1", topic, "N", "1", "Float", "4", "10", "", "", "", "", "N", "$VALUE$", "N", "N", "s"};
    for (const auto& [c, v] : changes)
        row[c] = v;
    return row;
}

TTopic_Check_Input Input(const TTopic_Rows& publish, const TTopic_Rows& subscribe = {})
{
    TTopic_Check_Input in;
    in.Tables = {publish, subscribe};
    for (int s = 0; s < 2; ++s)
        for (const TTopic_Column& column : Topic_Columns(TTopic_Side(s)))
            in.Shown[size_t(s)].push_back(column.Shown);
    return in;
}

QString Fault(const TTopic_Check_Input& in) { return Check_Topic_Tables(in).value_or(QStringLiteral("accepted")); }

class TopicCheck : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

struct TRowCase {
    const char* Name;
    TTopic_Side Side;
    TChanges Changes;
    const char* Expected;  // "accepted" or the whole message
};

TEST_F(TopicCheck, EachRowCheckWithItsMessage)
{
    const TRowCase cases[] = {
        {"Int needs 1, 2, 4 or 8", Topic_Publish, {{pub::DataType, "Int"}, {pub::Dimension, "3"}},
         "Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"SInt takes any positive size", Topic_Publish, {{pub::DataType, "SInt"}, {pub::Dimension, "3"}}, "accepted"},
        {"Float needs 4 or 8", Topic_Publish, {{pub::DataType, "Float"}, {pub::Dimension, "2"}},
         "Error row 1!! [MQTT Publish] Dimension must be equal to 4 or 8"},
        {"String needs at least 1", Topic_Publish, {{pub::DataType, "String"}, {pub::Dimension, "0"}},
         "Error row 1!! [MQTT Publish] Dimension must be major of 0"},
        {"type read trimmed and in any case", Topic_Publish, {{pub::DataType, " float "}, {pub::Dimension, "8"}},
         "accepted"},
        {"no type whatever the size", Topic_Publish, {{pub::DataType, ""}, {pub::Dimension, "4"}},
         "Error row 1!! [MQTT Publish] Data Type must be selected"},
        {"last position", Topic_Publish, {{pub::Dimension, "1"}, {pub::Position, "1439"}}, "accepted"},
        {"position past the area, limit run together", Topic_Publish, {{pub::Position, "1440"}},
         "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"position not a number", Topic_Publish, {{pub::Position, "abc"}},
         "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"position with a trailing blank is not a number", Topic_Publish, {{pub::Position, "5 "}},
         "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"hexadecimal position", Topic_Publish, {{pub::Position, "0x10"}}, "accepted"},
        {"value ends on the last byte", Topic_Publish, {{pub::Dimension, "4"}, {pub::Position, "1436"}}, "accepted"},
        {"value runs past the area", Topic_Publish, {{pub::Dimension, "4"}, {pub::Position, "1438"}},
         "Error row 1!! [MQTT Publish] Position + Dimension must not exceed 1440"},
        {"long string runs past the area", Topic_Subscribe,
         {{sub::DataType, "String"}, {sub::Dimension, "100"}, {sub::Position, "1400"}},
         "Error row 1!! [MQTT Subscribe] Position + Dimension must not exceed 1440"},
        {"one dollar sign", Topic_Publish, {{pub::Template, "{\"v\":$VALUE}"}},
         "Error row 1!! [MQTT Publish] Template not Correct, Check the Keywords"},
        {"two keywords, one unknown", Topic_Publish, {{pub::Template, "$VALUE$ at $WHEN$"}}, "accepted"},
        {"timer off, no time", Topic_Publish, {{pub::OnTimer, "N"}, {pub::Time, ""}}, "accepted"},
        {"timer on, no time", Topic_Publish, {{pub::OnTimer, "Y"}, {pub::Time, ""}},
         "Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000"},
        {"timer on, time 0", Topic_Publish, {{pub::OnTimer, "Y"}, {pub::Time, "0"}},
         "Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000"},
        {"largest time", Topic_Publish, {{pub::OnTimer, "Y"}, {pub::Time, " 999999999 "}}, "accepted"},
        {"time too large", Topic_Publish, {{pub::OnTimer, "Y"}, {pub::Time, "1000000000"}},
         "Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000"},
        {"no QoS", Topic_Publish, {{pub::QoS, ""}}, "Error row 1!! [MQTT Publish] QoS must be selected (0, 1 or 2)"},
        {"QoS outside the list", Topic_Subscribe, {{sub::QoS, "3"}},
         "Error row 1!! [MQTT Subscribe] QoS must be selected (0, 1 or 2)"},
        {"hidden columns are not checked", Topic_Publish, {{pub::IPAddress, "not an address"}, {pub::InputTemplate, "$"}},
         "accepted"},
        {"subscribe Int size", Topic_Subscribe, {{sub::DataType, "Int"}, {sub::Dimension, "3"}},
         "Error row 1!! [MQTT Subscribe] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"subscribe position", Topic_Subscribe, {{sub::Position, "-1"}},
         "Error row 1!! [MQTT Subscribe] Position must be beetween 0 and 1439"},
        {"subscribe template", Topic_Subscribe, {{sub::Template, "$$$"}},
         "Error row 1!! [MQTT Subscribe] Template not Correct, Check the Keywords"},
    };
    for (const TRowCase& k : cases) {
        SCOPED_TRACE(k.Name);
        TTopic_Rows publish = {Row(Topic_Publish, "p/1")};
        TTopic_Rows subscribe = {Row(Topic_Subscribe, "s/1")};
        TTopic_Rows& target = k.Side == Topic_Publish ? publish : subscribe;
        target[0] = Row(k.Side, target[0][1], k.Changes);
        EXPECT_EQ(Fault(Input(publish, subscribe)), QString::fromUtf8(k.Expected));
    }
}

TEST_F(TopicCheck, HiddenColumnsAreCheckedWhenShown)
{
    TTopic_Check_Input in = Input({}, {Row(Topic_Subscribe, "s", {{sub::IPAddress, "10.0.0.1"}, {sub::Port, "70000"}})});
    in.Shown[Topic_Subscribe][sub::IPAddress] = true;
    EXPECT_EQ(Fault(in), "accepted");
    in.Shown[Topic_Subscribe][sub::Port] = true;
    EXPECT_EQ(Fault(in), "Error row 1!! [MQTT Subscribe] Port must be between 0 and 65535");
    in.Tables[Topic_Subscribe][0][sub::IPAddress] = "10.0.0";
    in.Shown[Topic_Subscribe][sub::IPAddress] = true;
    EXPECT_EQ(Fault(in),
              "Error row 1!! [MQTT Subscribe] IP Address must be a Valid IP Address (Ex. 192.168.2.167)");
}

TEST_F(TopicCheck, FirstFaultWinsPublishBeforeSubscribeRowsInOrder)
{
    const TTopic_Rows publish = {Row(Topic_Publish, "a"), Row(Topic_Publish, "b", {{pub::Position, "2000"}}),
                                 Row(Topic_Publish, "c", {{pub::DataType, ""}})};
    const TTopic_Rows subscribe = {Row(Topic_Subscribe, "s", {{sub::DataType, ""}})};
    EXPECT_EQ(Fault(Input(publish, subscribe)), "Error row 2!! [MQTT Publish] Position must be beetween 0 and 1439");
    EXPECT_EQ(Fault(Input({publish[0]}, subscribe)), "Error row 1!! [MQTT Subscribe] Data Type must be selected");
}

// A table ends at its first row without a topic; data below that row would be dropped silently.
TEST_F(TopicCheck, DataBelowTheFirstRowWithoutTopicIsRefused)
{
    const QStringList blank = Row(Topic_Publish, "", {{pub::Retained, ""},
                                                     {pub::QoS, ""},
                                                     {pub::DataType, ""},
                                                     {pub::Dimension, ""},
                                                     {pub::Position, ""},
                                                     {pub::Hex, ""},
                                                     {pub::Template, ""},
                                                     {pub::OnChange, ""},
                                                     {pub::Swap, ""},
                                                     {pub::SwapWord, ""},
                                                     {pub::Mnemonic, ""}});
    const QStringList ok = Row(Topic_Publish, "ok");
    // Rows after the gap are not checked, only found: row 4's bad position is not the message.
    const QStringList later = Row(Topic_Publish, "later", {{pub::Position, "9999"}});
    EXPECT_EQ(Fault(Input({ok, ok, blank, later})),
              "Error row 4!! [MQTT Publish] Topic of row 3 is empty: the table ends there and this row would not be "
              "saved");
    // The row without a topic may itself hold the data.
    EXPECT_EQ(Fault(Input({ok, Row(Topic_Publish, "  ", {{pub::Mnemonic, ""}})})),
              "Error row 2!! [MQTT Publish] Topic of row 2 is empty: the table ends there and this row would not be "
              "saved");
    // Ticked or cleared check boxes and blanks alone are not data.
    QStringList checks = blank;
    checks[pub::OnTimer] = "Y";
    checks[pub::Retained] = "N";
    checks[pub::Mnemonic] = "   ";
    EXPECT_EQ(Fault(Input({ok, blank, checks, blank})), "accepted");
    EXPECT_EQ(Fault(Input({}, {Row(Topic_Subscribe, "s"), Row(Topic_Subscribe, ""), Row(Topic_Subscribe, "t")})),
              "Error row 2!! [MQTT Subscribe] Topic of row 2 is empty: the table ends there and this row would not be "
              "saved");
}

TEST(TopicTemplate, OddDollarCountIsAnError)
{
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"plain", false}, {"$", true}, {"$VALUE$", false}, {"$VALUE", true},
        {"$A$B$", true}, {"$A$ and $B$", false}, {"$$", false},
    };
    for (const auto& [text, error] : cases)
        EXPECT_EQ(Error_In_Topic_Template(QString::fromUtf8(text)), error) << text;
}

// ---------------------------------------------------------------------------------------------
// The file

class TopicFile : public ::testing::Test {
protected:
    QString Path() const { return Dir.File("MQTT_Set_Topic.xml"); }
    TTopic_Tables Read(QStringList* problems = nullptr)
    {
        TTopic_Tables tables;
        QStringList ignored;
        Read_Topic_File(Path(), &tables, problems ? problems : &ignored);
        return tables;
    }
    TempDir Dir;
};

TEST_F(TopicFile, WritesAttributesInOrderUpToTheFirstRowWithoutTopic)
{
    const TTopic_Tables tables = {
        TTopic_Rows{Row(Topic_Publish, "a/b", {{pub::IPAddress, "10.0.0.9"}, {pub::Channel, "TAB001"},
                                               {pub::Template, "{\"v\":$VALUE$}"}, {pub::Mnemonic, " m "}}),
                    Row(Topic_Publish, " "), Row(Topic_Publish, "lost")},
        TTopic_Rows{Row(Topic_Subscribe, "c/#", {{sub::Port, "502"}, {sub::EthType, "UDP"}})},
    };
    Write_Topic_File(Path(), tables);
    EXPECT_EQ(Dir.Read("MQTT_Set_Topic.xml"),
              QByteArray("<MQTT_Set_Topic>\n"
                         "  <MQTT_Publish>\n"
                         "    <row Topic=\"a/b\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" "
                         "Position=\"0\" IPAddress=\"10.0.0.9\" FormatHex=\"N\" InputTemplate=\"\" "
                         "Template=\"{&quot;v&quot;:$VALUE$}\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" "
                         "Mnemonic=\" m \" />\n"
                         "  </MQTT_Publish>\n"
                         "  <MQTT_Subscribe>\n"
                         "    <row Topic=\"c/#\" Retained=\"N\" QoS=\"1\" DataType=\"Float\" Dimension=\"4\" "
                         "Position=\"10\" IPAddress=\"\" Port=\"502\" EthType=\"UDP\" InputTemplate=\"\" "
                         "FormatHex=\"N\" Template=\"$VALUE$\" Mnemonic=\"s\" />\n"
                         "  </MQTT_Subscribe>\n"
                         "</MQTT_Set_Topic>\n"
                         "<!--SW_VERSION = 1.006-->\n"));
}

TEST_F(TopicFile, ReadsBackWhatItWroteLineBreaksAndMarkUpIncluded)
{
    const TTopic_Tables tables = {
        TTopic_Rows{Row(Topic_Publish, "<b>t</b> & \"q\"", {{pub::Template, "{\r\n  \"v\": $VALUE$,\n\t\"t\": $TIME$\n}"}}),
                    Row(Topic_Publish, "two")},
        TTopic_Rows{Row(Topic_Subscribe, "x/+", {{sub::Template, "line 1\nline 2"}})},
    };
    Write_Topic_File(Path(), tables);
    TTopic_Tables expected = tables;
    expected[Topic_Publish][1][pub::N] = "2";
    EXPECT_EQ(Read(), expected);
}

TEST_F(TopicFile, MissingAttributesTakeTheirDefaultsAndUnstoredColumnsTheirLoadValues)
{
    Dir.Write("MQTT_Set_Topic.xml",
              "<Other><MQTT_Publish><row Topic=\"t\" Retained=\"Y\" QoS=\"2\" Mnemonic=\"m\" Channel=\"5\"/></MQTT_Publish>"
              "<MQTT_Subscribe><row Topic=\"s\" Retained=\"N\" QoS=\"0\" Mnemonic=\"n\"/></MQTT_Subscribe></Other>");
    QStringList problems;
    const TTopic_Tables tables = Read(&problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();
    EXPECT_EQ(tables[Topic_Publish],
              TTopic_Rows({{"1", "t", "Y", "2", "", "", "", "", "N", "", "", "N", "N", "N", "", "", "N", "N", "m"}}));
    EXPECT_EQ(tables[Topic_Subscribe],
              TTopic_Rows({{"1", "s", "N", "0", "", "", "", "", "", "", "", "N", "", "N", "N", "n"}}));

    // The Channel attribute of another tool is not carried over.
    Write_Topic_File(Path(), tables);
    EXPECT_FALSE(Dir.Read("MQTT_Set_Topic.xml").contains("Channel"));
}

TEST_F(TopicFile, RowsLackingRequiredAttributesAreReadAndNamed)
{
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml({bank_test::Publish_Row("a"),
                                                         bank_test::Publish_Row("b", {{"QoS", bank_test::Missing},
                                                                                      {"Mnemonic", bank_test::Missing}}),
                                                         bank_test::Publish_Row("c")},
                                                        {bank_test::Subscribe_Row("", {{"Topic", bank_test::Missing}})}));
    QStringList problems;
    const TTopic_Tables tables = Read(&problems);
    EXPECT_EQ(problems, QStringList({"Row 2 of \"MQTT_Publish\" lacks \"QoS\", \"Mnemonic\".",
                                     "Row 1 of \"MQTT_Subscribe\" lacks \"Topic\"."}));
    ASSERT_EQ(tables[Topic_Publish].size(), 3u);
    EXPECT_EQ(tables[Topic_Publish][1][pub::Topic], "b");
    EXPECT_EQ(tables[Topic_Publish][1][pub::QoS], "");
    EXPECT_EQ(tables[Topic_Publish][2][pub::Topic], "c");
    ASSERT_EQ(tables[Topic_Subscribe].size(), 1u);
    EXPECT_EQ(tables[Topic_Subscribe][0][sub::DataType], "Int");
}

TEST_F(TopicFile, RowsBeyondTheTableAreNamed)
{
    std::vector<bank_test::TElements> rows;
    for (int i = 0; i < Topic_Table_Rows + 2; ++i)
        rows.push_back(bank_test::Publish_Row(QStringLiteral("t%1").arg(i)));
    Dir.Write("MQTT_Set_Topic.xml", bank_test::Topic_Xml(rows, {}));
    QStringList problems;
    const TTopic_Tables tables = Read(&problems);
    EXPECT_EQ(tables[Topic_Publish].size(), size_t(Topic_Table_Rows));
    EXPECT_EQ(problems, QStringList({"\"MQTT_Publish\" holds 1026 rows; only the first 1024 are read."}));
}

TEST_F(TopicFile, BrokenFileThrowsWithWhatCouldBeRead)
{
    Dir.Write("MQTT_Set_Topic.xml", "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\" QoS=\"1\"/></MQTT_Publish></MQTT_Set_Topic>");
    TTopic_Tables tables;
    QStringList problems;
    EXPECT_THROW(Read_Topic_File(Path(), &tables, &problems), platform::Exception);
    ASSERT_EQ(tables[Topic_Publish].size(), 1u);
    EXPECT_EQ(tables[Topic_Publish][0][pub::QoS], "1");

    Dir.Write("MQTT_Set_Topic.xml", "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a");
    EXPECT_THROW(Read_Topic_File(Path(), &tables, &problems), platform::Exception);
}

}  // namespace

// The bank compiler reads the file through the window's description: what the window writes it
// reads back field by field, and another writer's attribute order builds the same image.
TEST_F(TopicFile, TheCompilerReadsWhatTheDescriptionWrote)
{
    const TTopic_Tables tables = {
        TTopic_Rows{Row(Topic_Publish, "a/b", {{pub::Retained, "Y"}, {pub::QoS, "2"}, {pub::Position, "$20"},
                                               {pub::OnTimer, "Y"}, {pub::Time, " 250 "}, {pub::Mnemonic, "pm"}})},
        TTopic_Rows{Row(Topic_Subscribe, "c/#", {{sub::DataType, "Base64"}, {sub::Dimension, "12"},
                                                 {sub::Template, "x\n$VALUE$"}})},
    };
    Write_Topic_File(Path(), tables);
    auto compile = [&] {
        TMQTT mqtt;
        mqtt.Mode = 2;
        Load_Topics_For_Bank2(mqtt, Path());
        return mqtt;
    };
    const TMQTT mqtt = compile();
    ASSERT_EQ(mqtt.Publish_Data.size(), 1u);
    const TMQTT_Publish_Data& p = mqtt.Publish_Data[0];
    EXPECT_EQ(p.Publish_Topic.CString, "a/b");
    EXPECT_EQ(p.Retained, 1);
    EXPECT_EQ(p.QoS, 2);
    EXPECT_EQ(p.Position, 32u);
    EXPECT_EQ(p.Length, 2u);
    EXPECT_EQ(p.Type_Data, 1u);
    EXPECT_EQ(p.Options, 1u + 4u);
    EXPECT_EQ(p.Timer, 250u);
    EXPECT_EQ(p.Output_Template.Text, "$VALUE$");
    EXPECT_EQ(p.Description.Text, "pm");
    ASSERT_EQ(mqtt.Subscribe_Data.size(), 1u);
    EXPECT_EQ(mqtt.Topic_Filters[0].CString, "c/#");
    EXPECT_EQ(mqtt.Topic_Filter_QoS[0], 1);
    EXPECT_EQ(mqtt.Subscribe_Data[0].Type_SubData, 3u);
    EXPECT_EQ(mqtt.Subscribe_Data[0].Length, 12u);
    EXPECT_EQ(mqtt.Subscribe_Data[0].Input_Template.Text, "x\n$VALUE$");

    TMQTT first = compile();
    const std::vector<uint8_t> image = Put_Bank2_Image(first, 0x80000);
    // The same rows with every row's attributes in reverse order.
    QByteArray reversed = Dir.Read("MQTT_Set_Topic.xml");
    QRegularExpression rowPattern(QStringLiteral("<row (.*?) />"));
    QString text = QString::fromUtf8(reversed);
    QRegularExpression attribute(QStringLiteral("\\w+=\"[^\"]*\""));
    for (auto m = rowPattern.globalMatch(text); m.hasNext();) {
        const auto match = m.next();
        QStringList attributes;
        for (auto a = attribute.globalMatch(match.captured(1)); a.hasNext();)
            attributes.prepend(a.next().captured(0));
        text.replace(match.captured(0), QStringLiteral("<row ") + attributes.join(' ') + QStringLiteral(" />"));
    }
    ASSERT_NE(text.toUtf8(), reversed);
    Dir.Write("MQTT_Set_Topic.xml", text.toUtf8());
    TMQTT second = compile();
    EXPECT_EQ(Put_Bank2_Image(second, 0x80000), image);
}
