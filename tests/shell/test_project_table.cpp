#include "platform/Exception.h"
#include "support/TempDir.h"
#include "shell/UProjectTable.h"
#include "platform/XmlDoc.h"
#include "shell/ULanguage.h"

#include <gtest/gtest.h>
#include <functional>

using namespace shell;

namespace {
Project_File_Layout topicLayout()
{
    Table_Layout publish;
    publish.Container = QStringLiteral("MQTT_Publish");
    publish.Attributes = {QStringLiteral("Enable"), QStringLiteral("Topic"), QStringLiteral("QoS")};
    publish.Defaults = {QStringLiteral("Y"), QString(), QStringLiteral("0")};
    publish.Key_Column = 1;
    publish.Max_Rows = 4;
    Table_Layout subscribe = publish;
    subscribe.Container = QStringLiteral("MQTT_Subscribe");
    return {QStringLiteral("MQTT_Set_Topic"), QStringLiteral("1.006"), {publish, subscribe}, true};
}

class TableFile : public ::testing::Test {
protected:
    QString Path() const { return Dir.File(QStringLiteral("MQTT_Set_Topic.xml")); }
    TempDir Dir;
};
}  // namespace

TEST_F(TableFile, WritesUpToTheFirstBlankKeyAndReadsBack)
{
    const std::vector<Table_Rows> tables = {
        {{"Y", "a/b", "1"}, {"N", " c ", "2"}, {"Y", "  ", "0"}, {"Y", "lost", "0"}},
        {},
    };
    Write_Project_Table_File(Path(), topicLayout(), tables);
    EXPECT_EQ(Dir.Read(QStringLiteral("MQTT_Set_Topic.xml")),
              QByteArray("<MQTT_Set_Topic>\n"
                         "  <MQTT_Publish>\n"
                         "    <row Enable=\"Y\" Topic=\"a/b\" QoS=\"1\" />\n"
                         "    <row Enable=\"N\" Topic=\" c \" QoS=\"2\" />\n"
                         "  </MQTT_Publish>\n"
                         "  <MQTT_Subscribe />\n"
                         "</MQTT_Set_Topic>\n"
                         "<!--SW_VERSION = 1.006-->\n"));

    std::vector<Table_Rows> read;
    Read_Project_Table_File(Path(), topicLayout(), &read);
    ASSERT_EQ(read.size(), 2u);
    ASSERT_EQ(read[0].size(), 2u);
    EXPECT_EQ(read[0][1], QStringList({"N", " c ", "2"}));
    EXPECT_TRUE(read[1].empty());
}

TEST_F(TableFile, ReadsOtherRootsMissingAttributesAndCapsRows)
{
    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"),
              "<Another><MQTT_Publish><row Topic=\"t1\"/><x Topic=\"t2\" QoS=\"2\"/><row/><row/><row/></MQTT_Publish>"
              "<MQTT_Subscribe/></Another>");
    std::vector<Table_Rows> read;
    Read_Project_Table_File(Path(), topicLayout(), &read);
    ASSERT_EQ(read[0].size(), 4u);  // the fifth row has no room in the table
    EXPECT_EQ(read[0][0], QStringList({"Y", "t1", "0"}));
    EXPECT_EQ(read[0][1], QStringList({"Y", "t2", "2"}));
}

TEST_F(TableFile, BrokenFilesAreReportedWithWhatCouldBeRead)
{
    std::vector<Table_Rows> read;
    Read_Project_Table_File(Dir.File(QStringLiteral("none.xml")), topicLayout(), &read);
    EXPECT_EQ(read.size(), 2u);

    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\"/></MQTT_Publish>");
    EXPECT_THROW(Read_Project_Table_File(Path(), topicLayout(), &read), platform::Exception);

    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\"/></MQTT_Publish></MQTT_Set_Topic>");
    try {
        Read_Project_Table_File(Path(), topicLayout(), &read);
        FAIL() << "a missing container must be reported";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("MQTT_Subscribe")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("\"MQTT_Set_Topic.xml.damaged.2\""))) << e.message().toStdString();
    }
    ASSERT_EQ(read[0].size(), 1u);
    EXPECT_EQ(read[0][0][1], QStringLiteral("a"));
    // Both damaged versions are kept beside the file before anything replaces it.
    EXPECT_EQ(Dir.Read(QStringLiteral("MQTT_Set_Topic.xml.damaged")),
              QByteArray("<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\"/></MQTT_Publish>"));
    EXPECT_EQ(Dir.Read(QStringLiteral("MQTT_Set_Topic.xml.damaged.2")),
              QByteArray("<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\"/></MQTT_Publish></MQTT_Set_Topic>"));
}

// ---- The description: one table of columns gives the file, the checks and the in-place reader ----

namespace {

Table_Column Column(Cell_Editor kind, const char* attribute, const char* def = "", bool required = false,
                    const char* cleared = "")
{
    Table_Column c;
    c.Kind = kind;
    c.Attribute = attribute ? QString::fromLatin1(attribute) : QString();
    c.Default = QString::fromLatin1(def);
    c.Required = required;
    c.Cleared = QString::fromLatin1(cleared);
    return c;
}

// A family-like file: an Enable column, a key that is not the first attribute, an unstored column
// and a second table whose rows are spelled otherwise.
Project_File_Description accessFile()
{
    using K = Cell_Editor;
    Table_Description read;
    read.Container = QStringLiteral("Read");
    read.Columns = {
        Column(K::Row_Number, nullptr),
        Column(K::Check, "Enable", "Y", false, "Y"),
        Column(K::Text, "Slave_ID", "", true),
        Column(K::List, "Type", "", true),
        Column(K::Check, nullptr, "N"),  // not stored: every load gives its default
        Column(K::Text, "Mnemonic", "-"),
    };
    read.Key_Column = 2;
    read.Enable_Column = 1;
    read.Capacity = 3;
    Table_Description write = read;
    write.Container = QStringLiteral("Write");
    write.Row_Element = QStringLiteral("rule");
    return {QStringLiteral("Access"), QStringLiteral("1.110"), {read, write}, true};
}

class Description : public TableFile {
protected:
    void SetUp() override { Load_Default_Language(); }
};

}  // namespace

TEST_F(Description, FullRowsRoundTripThroughTheFile)
{
    const Project_File_Description file = accessFile();
    EXPECT_EQ(file.Tables[0].Cleared_Row(2), QStringList({"2", "Y", "", "", "", ""}));
    const std::vector<Table_Rows> rows = {
        {{"1", "Y", "7", "Coil", "Y", "a & <b>"}, {"2", "N", " 9 ", "Reg", "N", ""}, {"3", "Y", " ", "x", "", "lost"}},
        {{"1", "N", "1", "Reg", "", "w"}},
    };
    Write_Project_Tables(Path(), file, rows);
    EXPECT_EQ(Dir.Read(QStringLiteral("MQTT_Set_Topic.xml")),
              QByteArray("<Access>\n"
                         "  <Read>\n"
                         "    <row Enable=\"Y\" Slave_ID=\"7\" Type=\"Coil\" Mnemonic=\"a &amp; &lt;b>\" />\n"
                         "    <row Enable=\"N\" Slave_ID=\" 9 \" Type=\"Reg\" Mnemonic=\"\" />\n"
                         "  </Read>\n"
                         "  <Write>\n"
                         "    <rule Enable=\"N\" Slave_ID=\"1\" Type=\"Reg\" Mnemonic=\"w\" />\n"
                         "  </Write>\n"
                         "</Access>\n"
                         "<!--SW_VERSION = 1.110-->\n"));

    std::vector<Table_Rows> read;
    QStringList problems;
    Read_Project_Tables(Path(), file, &read, &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(read.size(), 2u);
    // Stored cells come back as written; the unstored column takes its default on every load.
    EXPECT_EQ(read[0], Table_Rows({{"1", "Y", "7", "Coil", "N", "a & <b>"}, {"2", "N", " 9 ", "Reg", "N", ""}}));
    EXPECT_EQ(read[1], Table_Rows({{"1", "N", "1", "Reg", "N", "w"}}));
}

TEST_F(Description, GuardedAttributesTakeDefaultsRequiredOnesAreNamed)
{
    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"),
              "<Other><Write/><Read><row Slave_ID=\"3\" Type=\"t\"/><row Enable=\"N\"/><row Slave_ID=\"4\" Type=\"t\"/>"
              "<row Slave_ID=\"5\" Type=\"t\"/></Read></Other>");
    std::vector<Table_Rows> read;
    QStringList problems;
    Read_Project_Tables(Path(), accessFile(), &read, &problems);
    ASSERT_EQ(read[0].size(), 3u) << "the capacity caps the rows";
    EXPECT_EQ(read[0][0], QStringList({"1", "Y", "3", "t", "N", "-"}));
    EXPECT_EQ(read[0][1], QStringList({"2", "N", "", "", "N", "-"}));
    EXPECT_EQ(problems, QStringList({"Row 2 of \"Read\" lacks \"Slave_ID\", \"Type\".",
                                     "\"Read\" holds 4 rows; only the first 3 are read."}));
}

TEST_F(Description, ChecksSkipDisabledRowsAndStopAtTheKey)
{
    const Project_File_Description file = accessFile();
    std::vector<std::pair<int, QString>> seen;
    Table_Checks checks;
    checks.Row_Prefix = 751;
    checks.Check_Row = [&](int table, const Checked_Row& row) -> std::optional<QString> {
        seen.emplace_back(table, row.Cell(5));
        const int64_t id = row.Number(2);
        if (row.Shown(2) && (id < 1 || id > 247))
            return QStringLiteral("!! Slave ID");
        return std::nullopt;
    };
    const std::vector<bool> shown(6, true);
    const Table_Rows good = {{"1", "Y", "$1F", "", "", "a"}, {"2", "N", "999", "", "", "off"}, {"3", "Y", " 0x10", "", "", "c"}};
    EXPECT_EQ(Check_Project_Tables(file, {{good, shown}, {good, shown}}, checks), std::nullopt);
    EXPECT_EQ(seen, (std::vector<std::pair<int, QString>>{{0, "a"}, {0, "c"}, {1, "a"}, {1, "c"}}))
        << "disabled rows are not checked";

    Table_Rows bad = good;
    bad[2][2] = QStringLiteral("16 ");  // a trailing blank is not a number
    EXPECT_EQ(Check_Project_Tables(file, {{good, shown}, {bad, shown}}, checks), Lang(751) + "3!! Slave ID");
    std::vector<bool> hidden = shown;
    hidden[2] = false;
    EXPECT_EQ(Check_Project_Tables(file, {{good, shown}, {bad, hidden}}, checks), std::nullopt);

    // The content ends at the first blank key; data below it is a fault only when the window says so.
    Table_Rows gap = {{"1", "Y", "1", "", "", ""}, {"2", "Y", " ", "", "", ""}, {"3", "Y", "", "", "Y", "kept?"}};
    EXPECT_EQ(Check_Project_Tables(file, {{gap, shown}, {{}, shown}}, checks), std::nullopt);
    checks.Data_After_End = [](int table, int end) { return QStringLiteral("!! table %1 ends at %2").arg(table).arg(end); };
    EXPECT_EQ(Check_Project_Tables(file, {{gap, shown}, {{}, shown}}, checks), Lang(751) + "3!! table 0 ends at 2");
}

TEST_F(Description, RowViewReadsInPlaceByColumn)
{
    Dir.Write(QStringLiteral("MQTT_Set_Topic.xml"),
              "<Access><Read><row Mnemonic=\"m\" Type=\"Coil\" Slave_ID=\"$10\" Enable=\"N\"/>"
              "<row Slave_ID=\"x\"/></Read><Write><rule Type=\"\"/></Write></Access>");
    platform::XmlDocument doc;
    doc.LoadFromFile(Path());
    const Project_File_Description file = accessFile();
    const Table_File_View view(doc.DocumentElement(), file, Path(), QStringLiteral("the test image"));
    ASSERT_EQ(view.Row_Count(0), 2u);
    ASSERT_EQ(view.Row_Count(1), 1u);

    const Table_Row_View first = view.Row(0, 0);
    EXPECT_EQ(first.Required_Int(2), 16) << "attributes out of the writer's order are found";
    EXPECT_EQ(first.Required(3), "Coil");
    EXPECT_EQ(first.Optional(1), std::optional<std::string_view>("N"));
    EXPECT_EQ(first.Optional(4), std::nullopt) << "an unstored column has no attribute";
    EXPECT_EQ(view.Row(1, 0).Optional(5), std::nullopt);
    EXPECT_EQ(view.Row(1, 0).Int(3, 7), 7) << "an empty text is no number";

    const Table_Row_View second = view.Row(0, 1);
    EXPECT_EQ(second.Int(2, -5), -5);
    const QString head = QStringLiteral("Cannot build the test image from the file \"%1\": ").arg(Path());
    const std::pair<std::function<void()>, QString> faults[] = {
        {[&] { second.Required(3); }, head + "row 2 of \"Read\": the attribute \"Type\" is missing."},
        {[&] { second.Required_Int(2); },
         head + "row 2 of \"Read\": the attribute \"Slave_ID\" holds \"x\", which is not a whole number."},
    };
    for (const auto& [read, message] : faults) {
        try {
            read();
            ADD_FAILURE() << message.toStdString();
        } catch (const platform::Exception& e) {
            EXPECT_EQ(e.message(), message);
        }
    }

    platform::XmlDocument noWrite;
    noWrite.LoadFromBytes("<Access><Read/></Access>");
    try {
        Table_File_View broken(noWrite.DocumentElement(), file, Path(), QStringLiteral("the test image"));
        FAIL() << "a missing container must be reported";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), head + "the container \"Write\" is missing.");
    }
}
