// The DALI files without the window: both golden files read and written back byte for byte, the
// fallbacks of sparse files, and hostile device files.
#include "platform/Exception.h"
#include "protocols/building/UDALI_Files.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using shell::Table_Rows;
namespace dali = building::dali;
namespace dev = building::dali::dev;
namespace acc = building::dali::acc;
namespace fun = building::dali::fun;

namespace dali_files_test {

class DaliFiles : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    static Table_Rows Cleared_Devices()
    {
        Table_Rows rows;
        for (int r = 1; r <= dali::Device_Count; ++r)
            rows.push_back(dali::Device_Table().Cleared_Row(r));
        return rows;
    }
    static Table_Rows Full(Table_Rows rows, int table)
    {
        const shell::Table_Description& description = dali::Rules_File().Tables[size_t(table)];
        for (int r = int(rows.size()) + 1; r <= description.Capacity; ++r)
            rows.push_back(description.Cleared_Row(r));
        return rows;
    }
    // Reads a device file; the message of a failure goes to *error.
    Table_Rows Devices(const QByteArray& contents, QString* error = nullptr)
    {
        Dir.Write("DALI_Access.xml", contents);
        Table_Rows rows = Cleared_Devices();
        try {
            dali::Read_Device_File(Dir.File("DALI_Access.xml"), &rows);
        } catch (const platform::Exception& e) {
            if (error)
                *error = e.message();
            else
                ADD_FAILURE() << e.message().toStdString();
        }
        return rows;
    }
    TempDir Dir;
};

TEST_F(DaliFiles, GoldenDeviceFileReadAndWrittenBackByteForByte)
{
    const QByteArray golden = ReadTestData("DALI_Access.xml");
    ASSERT_FALSE(golden.isEmpty());
    const Table_Rows rows = Devices(golden);
    ASSERT_EQ(rows.size(), 64u);
    EXPECT_EQ(rows[0], QStringList({"1", "Y", "", "Normal", "N", "None"}));
    EXPECT_EQ(rows[1], QStringList({"2", "N", "", "Normal", "N", "None"}));
    EXPECT_EQ(rows[5], QStringList({"6", "Y", "", "Normal", "Y", "Recall Min-Max Level for Switch"}));
    EXPECT_EQ(rows[63], QStringList({"64", "Y", "", "Normal", "N", "Recall Old Value Level for Switch"}));
    EXPECT_EQ(dali::Device_File_Bytes(rows), golden);
    // In the file's own words: the three elements of device 0 first, device 63's last, the comment after the root.
    EXPECT_TRUE(golden.startsWith("<DALI_Access><DALI_ID_DEVICE_0>1</DALI_ID_DEVICE_0><DALI_ID_DEVICE_0_MIN_MAN_VALUE>0"
                                  "</DALI_ID_DEVICE_0_MIN_MAN_VALUE><DALI_ID_DEVICE_0_RECALL_LEVEL>None"));
    EXPECT_TRUE(golden.endsWith("<DALI_ID_DEVICE_63_RECALL_LEVEL>Recall Old Value Level for Switch"
                                "</DALI_ID_DEVICE_63_RECALL_LEVEL></DALI_Access><!--SW_VERSION = 1.305-->"));
}

const Table_Rows Golden_Functions = {
    {"1", "Set Out", "When Equal to Value", "Short Press", "DALI Channel 3", "254", "2", "Hall light on"},
    {"2", "Dim Up", "No Condition", "2,5", "DALI Group 1", "", "0", "Dim & hold"},
    {"3", "Toggle", "NAND Logic with Value", "Vacant", "DALI Broadcast", "0", "", " spaced "},
};
const Table_Rows Golden_Rules = {
    {"1", "Y", "Device", "Dimmer", "3", "0", "144", "1000", "5000", "1 - Hall light on", "10", "1", "Lamp <3>"},
    {"2", "N", "Sensor", "Push Button", "4", "1", "0", "", "", "", "1439", "2", "off"},
    {"3", "Y", "Sensor", "Light Sensor", "63", "31", "255", "100000000", "0", "0 - None", "1438", "2", "lux"},
};

TEST_F(DaliFiles, GoldenRulesFileReadAndWrittenBackByteForByte)
{
    const QByteArray golden = ReadTestData("DALI2_Access.xml");
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write("DALI2_Access.xml", golden);
    std::vector<Table_Rows> tables;
    QStringList problems;
    dali::Read_Rules_File(Dir.File("DALI2_Access.xml"), &tables, &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[dali::Functions_Table], Golden_Functions);
    EXPECT_EQ(tables[dali::Access_Table], Golden_Rules);
    EXPECT_EQ(dali::Rules_File_Bytes({Full(Golden_Functions, dali::Functions_Table), Full(Golden_Rules, dali::Access_Table)}),
              golden);
    EXPECT_TRUE(golden.startsWith("<DALI2_Access><DALI2_Functions_Rules><row Function=\"Set Out\" Condition="));
    EXPECT_TRUE(golden.endsWith("</DALI2_SetAccess_Rules></DALI2_Access><!--SW_VERSION = 1.305-->"));
}

TEST_F(DaliFiles, EmptyTablesAreTwoEmptyContainersAndEveryDeviceIsWritten)
{
    EXPECT_EQ(dali::Rules_File_Bytes({Full({}, dali::Functions_Table), Full({}, dali::Access_Table)}),
              "<DALI2_Access><DALI2_Functions_Rules/><DALI2_SetAccess_Rules/></DALI2_Access><!--SW_VERSION = 1.305-->");
    const QByteArray devices = dali::Device_File_Bytes(Cleared_Devices());
    EXPECT_EQ(devices.count("<DALI_ID_DEVICE_"), 192);
    EXPECT_TRUE(devices.contains("<DALI_ID_DEVICE_42>0</DALI_ID_DEVICE_42><DALI_ID_DEVICE_42_MIN_MAN_VALUE>0"
                                 "</DALI_ID_DEVICE_42_MIN_MAN_VALUE><DALI_ID_DEVICE_42_RECALL_LEVEL>None"
                                 "</DALI_ID_DEVICE_42_RECALL_LEVEL>"));
}

TEST_F(DaliFiles, SparseDeviceFilesFallBackValueByValue)
{
    // No Min-Max elements: the devices are still enabled; the root's name is not examined.
    Table_Rows rows = Devices("<Other><DALI_ID_DEVICE_1>1</DALI_ID_DEVICE_1><DALI_ID_DEVICE_2>yes</DALI_ID_DEVICE_2>"
                              "<DALI_ID_DEVICE_3_RECALL_LEVEL>none</DALI_ID_DEVICE_3_RECALL_LEVEL>"
                              "<DALI_ID_DEVICE_4_RECALL_LEVEL>Recall Old Value Level for Switch"
                              "</DALI_ID_DEVICE_4_RECALL_LEVEL><DALI_ID_DEVICE_4_MIN_MAN_VALUE>1"
                              "</DALI_ID_DEVICE_4_MIN_MAN_VALUE><DALI_ID_DEVICE_01>1</DALI_ID_DEVICE_01>"
                              "<DALI_ID_DEVICE_64>1</DALI_ID_DEVICE_64><DALI_ID_DEVICE_1>0</DALI_ID_DEVICE_1></Other>");
    auto device = [&](int n) { return rows[size_t(n)].mid(1).join('|'); };
    EXPECT_EQ(device(1), "Y||Normal|N|None");
    EXPECT_EQ(device(2), "N||Normal|N|None");
    EXPECT_EQ(device(3), "N||Normal|N|None");  // "none" in lower case reads as "None"
    EXPECT_EQ(device(4), "N||Normal|Y|Recall Old Value Level for Switch");
    // "01" and "64" name no device; the first of two elements of a name counts.
    for (int n = 0; n < 64; ++n) {
        if (n != 1)
            EXPECT_EQ(rows[size_t(n)][dev::Enable], "N") << n;
    }
}

TEST_F(DaliFiles, SparseRulesFilesAndRowsBelowTheEnd)
{
    Dir.Write("r.xml", "<DALI2_Access><DALI2_SetAccess_Rules><row DeviceSensor=\"Device\"/><row Enable=\"N\" "
                       "DeviceSensor=\"Sensor\"/><row Enable=\"n\" DeviceSensor=\"Sensor\"/></DALI2_SetAccess_Rules>"
                       "<DALI2_Functions_Rules><a Function=\"Toggle\"/><b Mnemonic=\"no function\"/>"
                       "<c Function=\"Dim Up\"/></DALI2_Functions_Rules></DALI2_Access>");
    std::vector<Table_Rows> tables;
    QStringList problems;
    dali::Read_Rules_File(Dir.File("r.xml"), &tables, &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    // A missing Enable checks the rule, "N" alone unchecks it.
    ASSERT_EQ(tables[dali::Access_Table].size(), 3u);
    EXPECT_EQ(tables[dali::Access_Table][0][acc::Enable], "Y");
    EXPECT_EQ(tables[dali::Access_Table][1][acc::Enable], "N");
    EXPECT_EQ(tables[dali::Access_Table][2][acc::Enable], "Y");
    // Children are taken in order whatever their names; missing attributes leave cells empty.
    ASSERT_EQ(tables[dali::Functions_Table].size(), 3u);
    EXPECT_EQ(tables[dali::Functions_Table][1], QStringList({"2", "", "", "", "", "", "", "no function"}));
    // Written back: the functions end at the row without a Function.
    const QByteArray out = dali::Rules_File_Bytes(
        {Full(tables[dali::Functions_Table], dali::Functions_Table), Full(tables[dali::Access_Table], dali::Access_Table)});
    EXPECT_EQ(out.count("<row Function="), 1);
    EXPECT_EQ(out.count("<row Enable="), 3);
}

TEST_F(DaliFiles, MoreRulesThanTheTablesHoldAreNamed)
{
    QByteArray many = "<DALI2_Access><DALI2_Functions_Rules>";
    for (int r = 0; r < 300; ++r)
        many += "<row Function=\"Toggle\"/>";
    many += "</DALI2_Functions_Rules><DALI2_SetAccess_Rules/></DALI2_Access>";
    Dir.Write("r.xml", many);
    std::vector<Table_Rows> tables;
    QStringList problems;
    dali::Read_Rules_File(Dir.File("r.xml"), &tables, &problems);
    EXPECT_EQ(tables[dali::Functions_Table].size(), 250u);
    EXPECT_EQ(problems, QStringList("\"DALI2_Functions_Rules\" holds 300 rows; only the first 250 are read."));
}

// ---- Hostile device files --------------------------------------------------------------------

TEST_F(DaliFiles, HostileDeviceFilesGiveAMessageAndTheValuesBeforeTheFault)
{
    const QByteArray golden = ReadTestData("DALI_Access.xml");
    // Cut inside device 6: devices 0 .. 5 are read, the file is kept aside.
    const QByteArray cut = golden.left(golden.indexOf("<DALI_ID_DEVICE_6>") + 12);
    QString error;
    Table_Rows rows = Devices(cut, &error);
    EXPECT_TRUE(error.contains("DALI_Access.xml.damaged")) << error.toStdString();
    EXPECT_EQ(rows[5][dev::Recall_Level], "Recall Min-Max Level for Switch");
    EXPECT_EQ(rows[0][dev::Enable], "Y");
    EXPECT_EQ(Dir.Read("DALI_Access.xml.damaged"), cut);

    error.clear();
    rows = Devices(QByteArray::fromHex("00ff00ff"), &error);
    EXPECT_TRUE(error.contains("DALI_Access.xml.damaged.2")) << error.toStdString();
    EXPECT_EQ(rows, Cleared_Devices());

    // 100,000 elements: one pass; the first of each name counts.
    QByteArray many = "<DALI_Access>";
    for (int i = 0; i < 100000; ++i)
        many += "<DALI_ID_DEVICE_" + QByteArray::number(i % 70) + ">1</DALI_ID_DEVICE_" + QByteArray::number(i % 70) + ">";
    many += "</DALI_Access>";
    rows = Devices(many);
    for (int n = 0; n < 64; ++n)
        EXPECT_EQ(rows[size_t(n)][dev::Enable], "Y");

    // A 10 MB text is no recall level.
    const QByteArray big(10 * 1024 * 1024, 'R');
    rows = Devices("<DALI_Access><DALI_ID_DEVICE_7_RECALL_LEVEL>" + big + "</DALI_ID_DEVICE_7_RECALL_LEVEL></DALI_Access>");
    EXPECT_EQ(rows[7][dev::Recall_Level], "None");
}

}  // namespace dali_files_test
