#include "platform/Exception.h"
#include "support/TempDir.h"
#include "shell/UProjectTable.h"

#include <gtest/gtest.h>

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
    return {QStringLiteral("MQTT_Set_Topic"), QStringLiteral("1.006"), {publish, subscribe}};
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
