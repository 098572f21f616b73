// The CANopen EDS generator: the file built from the PDO and SDO server project files, read by
// configparser and by an object-list walk; its refusals; the save command.
#include "description_readers.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "protocols/fieldbus/UCANopen_Tables.h"
#include "protocols/fieldbus/UDescription_Files.h"
#include "protocols/fieldbus/UEds.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace fieldbus;
using namespace fieldbus::eds;
using namespace description_readers;

namespace {

const QDateTime Made_At(QDate(2024, 3, 7), QTime(9, 5));

// A PDO table row: COB-ID and Dimension as the file holds them.
struct PDO_Row {
    const char* COB_ID;
    const char* Dimension;
};
// An SDO server row: Index, SubIndex and NByte as the file holds them.
struct SDO_Row {
    const char* Index;
    const char* SubIndex;
    const char* NByte;
};

class EdsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.Path();
        shell::Set_Files();
    }
    void TearDown() override { shell::App_State = {}; }

    // Both project files written through their table descriptions, as the windows write them.
    void Write_PDO(const std::vector<PDO_Row>& rx, const std::vector<PDO_Row>& tx) const
    {
        std::vector<shell::Table_Rows> tables(2);
        for (int t = 0; t < 2; ++t)
            for (const PDO_Row& r : t == 0 ? rx : tx) {
                QStringList row = PDO_CANopen_Description().Tables[size_t(t)].Cleared_Row(int(tables[size_t(t)].size()) + 1);
                row[pdo_rx::COB_ID] = QLatin1String(r.COB_ID);
                row[pdo_rx::Dimension] = QLatin1String(r.Dimension);
                tables[size_t(t)].push_back(row);
            }
        shell::Write_Project_Tables(shell::App_State.File_PDO_CANopen, PDO_CANopen_Description(), tables);
    }
    void Write_SDO(const std::vector<SDO_Row>& read, const std::vector<SDO_Row>& write) const
    {
        std::vector<shell::Table_Rows> tables(2);
        for (int t = 0; t < 2; ++t)
            for (const SDO_Row& r : t == 0 ? read : write) {
                QStringList row =
                    SDO_Server_CANopen_Description().Tables[size_t(t)].Cleared_Row(int(tables[size_t(t)].size()) + 1);
                row[sdo_srv::Index] = QLatin1String(r.Index);
                row[sdo_srv::SubIndex] = QLatin1String(r.SubIndex);
                row[sdo_srv::NByte] = QLatin1String(r.NByte);
                tables[size_t(t)].push_back(row);
            }
        shell::Write_Project_Tables(shell::App_State.File_SDO_Server_CANopen, SDO_Server_CANopen_Description(), tables);
    }
    // The file for the project files as they stand, made at Made_At.
    static QByteArray Build()
    {
        EDS_Data data;
        Load_PDO_List(shell::App_State.File_PDO_CANopen, data);
        Load_SDO_Server_List(shell::App_State.File_SDO_Server_CANopen, data);
        Sort_SDO_Sub_Indexs(data.SDO_List);
        return descriptions::Text_File_Bytes(EDS_Lines(data, Made_At));
    }
    static ::testing::AssertionResult Read_By_Others(const QByteArray& eds)
    {
        if (auto r = Configparser_Reads(eds); !r)
            return r;
        return Eds_Objects_Consistent(eds);
    }
    static QStringList Section(const QByteArray& eds, const QString& name)
    {
        const QStringList lines = QString::fromLatin1(eds).split(QStringLiteral("\r\n"));
        const qsizetype at = lines.indexOf(QLatin1Char('[') + name + QLatin1Char(']'));
        if (at < 0)
            return {};
        QStringList keys;
        for (qsizetype k = at + 1; k < lines.size() && !lines[k].isEmpty() && !lines[k].startsWith(QLatin1Char('['));
             ++k)
            keys << lines[k];
        return keys;
    }
    TempDir Dir;
};

// No project files: the fixed sections only, the last fixed section directly followed by the
// final empty line.
TEST_F(EdsTest, WithoutProjectFilesTheFixedFileIsWritten)
{
    const QByteArray eds = Build();
    EXPECT_TRUE(MatchesGolden(eds, "eds_no_tables.eds"));
    EXPECT_TRUE(Read_By_Others(eds));
    EXPECT_TRUE(eds.startsWith("[FileInfo]\r\nFileName=CANopen_MQTT.eds\r\n"));
    EXPECT_TRUE(eds.contains("\r\nNrOfRXPDO=0\r\nNrOfTXPDO=0\r\n"));
    EXPECT_TRUE(eds.contains("[OptionalObjects]\r\nSupportedObjects=8\r\n1=0x1005\r\n"));
    EXPECT_TRUE(eds.contains("[ManufacturerObjects]\r\nSupportedObjects=0\r\n\r\n[1000]"));
    EXPECT_TRUE(eds.endsWith("[1280sub3]\r\nParameterName=Node ID of the SDO Server\r\nObjectType=0x07\r\n"
                             "DataType=0x0005\r\nAccessType=rw\r\nPDOMapping=0\r\n\r\n"));
    EXPECT_TRUE(eds.contains("CreationTime=09:05AM\r\nCreationDate=03-07-2024\r\n"));
}

// Two receive PDOs and one transmit PDO, and application objects: the PDO blocks, the mapping
// values, the byte names and the objects grouped by index with sub-indexes in hexadecimal.
TEST_F(EdsTest, PdosAndApplicationObjectsGiveTheirBlocks)
{
    Write_PDO({{"0x201", "3"}, {"$202", "2"}}, {{"385", "1"}});
    Write_SDO({{"0x2000", "3", "2"}, {"0x2001", "10", "1"}, {"0x3000", "0", "4"}}, {{"0x2000", "1", "4"}});
    const QByteArray eds = Build();
    EXPECT_TRUE(MatchesGolden(eds, "eds_tables.eds"));
    EXPECT_TRUE(Read_By_Others(eds));

    EXPECT_TRUE(eds.contains("NrOfRXPDO=2\r\nNrOfTXPDO=1\r\n"));
    EXPECT_TRUE(eds.contains("[OptionalObjects]\r\nSupportedObjects=17\r\n"));
    EXPECT_TRUE(eds.contains("9=0x1400\r\n10=0x1401\r\n11=0x1600\r\n12=0x1601\r\n13=0x1800\r\n14=0x1A00\r\n"
                             "15=0x7000\r\n16=0x7001\r\n17=0x7050\r\n\r\n"));
    EXPECT_TRUE(eds.contains("[ManufacturerObjects]\r\nSupportedObjects=3\r\n1=0x2000\r\n2=0x2001\r\n3=0x3000\r\n"));
    EXPECT_TRUE(Section(eds, "1400sub1").contains("DefaultValue=0x00000201"));
    EXPECT_TRUE(Section(eds, "1800sub1").contains("DefaultValue=0x00000181"));
    EXPECT_TRUE(Section(eds, "1600").contains("SubNumber=4"));
    EXPECT_TRUE(Section(eds, "1600sub0").contains("DefaultValue=0x03"));
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE(Section(eds, QStringLiteral("1600sub%1").arg(k)).contains(QStringLiteral("DefaultValue=0x70000%1").arg(k) + QStringLiteral("08")));
    EXPECT_TRUE(Section(eds, "1A00").contains("ParameterName=Transmit PDO Mapping Parameter 1"));
    EXPECT_TRUE(Section(eds, "1600").contains("ParameterName=Receive PDO Mapping Parameter"));
    EXPECT_EQ(Section(eds, "7000sub2").value(0), "ParameterName=b2");
    EXPECT_EQ(Section(eds, "7001sub1").value(0), "ParameterName=c1");
    EXPECT_TRUE(Section(eds, "7000sub1").contains("AccessType=rww"));
    EXPECT_TRUE(Section(eds, "7050sub0").contains("AccessType=rw"));
    EXPECT_TRUE(Section(eds, "7050sub1").contains("AccessType=rwr"));
    EXPECT_TRUE(Section(eds, "7050sub1").contains("ParameterName=l1"));

    // The object grouped from both tables, its entries sorted, a generated sub 0.
    EXPECT_EQ(Section(eds, "2000"), QStringList({"SubNumber=3", "ParameterName=App Vars", "ObjectType=0x9"}));
    EXPECT_TRUE(Section(eds, "2000sub0").contains("DefaultValue=0x03"));
    EXPECT_TRUE(Section(eds, "2000sub1").contains("DataType=0x0007"));
    EXPECT_TRUE(Section(eds, "2000sub1").contains("AccessType=rw"));
    EXPECT_TRUE(Section(eds, "2000sub3").contains("DataType=0x0006"));
    EXPECT_TRUE(Section(eds, "2000sub3").contains("AccessType=ro"));
    // Sub-index 10 is named in hexadecimal, as every EDS reader reads it.
    EXPECT_TRUE(Section(eds, "2001sub10").isEmpty());
    EXPECT_TRUE(Section(eds, "2001subA").contains("DataType=0x0005"));
    EXPECT_TRUE(Section(eds, "2001sub0").contains("DefaultValue=0x0A"));
    // A lone sub-index 0 is a plain variable.
    EXPECT_EQ(Section(eds, "3000"), QStringList({"ParameterName=Application Variable", "ObjectType=0x7",
                                                  "DataType=0x0007", "LowLimit=0x00000000", "HighLimit=0xFFFFFFFF",
                                                  "DefaultValue=0x00000000", "AccessType=ro", "PDOMapping=0"}));
}

// Thirty receive and thirty transmit PDOs of eight bytes: every byte name prefix in its place,
// and the largest file still reads as one.
TEST_F(EdsTest, FullPdoTablesNameTheirBytesByPosition)
{
    std::vector<PDO_Row> rows(Max_PDO, PDO_Row{"0x181", "8"});
    Write_PDO(rows, rows);
    const QByteArray eds = Build();
    EXPECT_TRUE(Read_By_Others(eds));
    EXPECT_TRUE(eds.contains("[OptionalObjects]\r\nSupportedObjects=188\r\n"));
    const std::pair<const char*, const char*> names[] = {{"7007sub1", "j1"}, {"7008sub1", "k1"}, {"7009sub8", "i8"},
                                                        {"700Asub1", "aa1"}, {"701Dsub1", "av1"}, {"7059sub1", "u1"},
                                                        {"705Asub1", "ca1"}, {"706Dsub8", "cv8"}};
    for (const auto& [section, name] : names)
        EXPECT_EQ(Section(eds, QLatin1String(section)).value(0), QStringLiteral("ParameterName=") + QLatin1String(name))
            << section;
    EXPECT_TRUE(Section(eds, "1A1D").contains("ParameterName=Transmit PDO Mapping Parameter 30"));
}

// Numbers the PDO file does not hold as numbers take their defaults.
TEST_F(EdsTest, UnreadablePdoNumbersTakeTheirDefaults)
{
    Write_PDO({{"abc", "x"}}, {});
    const QByteArray eds = Build();
    EXPECT_TRUE(Section(eds, "1400sub1").contains("DefaultValue=0x00000000"));
    EXPECT_TRUE(Section(eds, "1600").contains("SubNumber=9"));
    EXPECT_TRUE(Read_By_Others(eds));
}

TEST(EdsText, TimeOfDayOnTheTwelveHourClock)
{
    const std::pair<QTime, const char*> cases[] = {
        {QTime(0, 0), "12:00AM"},  {QTime(0, 15), "12:15AM"}, {QTime(9, 5), "09:05AM"},  {QTime(11, 59), "11:59AM"},
        {QTime(12, 0), "12:00PM"}, {QTime(12, 1), "12:01PM"}, {QTime(12, 30), "12:30PM"}, {QTime(13, 0), "01:00PM"},
        {QTime(23, 59), "11:59PM"}};
    for (const auto& [time, text] : cases)
        EXPECT_EQ(EDS_Time_Text(time), QLatin1String(text)) << time.toString().toStdString();
    EXPECT_EQ(EDS_Date_Text(QDate(2024, 3, 7)), "03-07-2024");
    EXPECT_EQ(EDS_Date_Text(QDate(2026, 12, 31)), "12-31-2026");
}

// Project files the description cannot be made from: the message names the row; an EDS already
// there stays as it was.
TEST_F(EdsTest, FaultyTablesAreRefusedNamingTheRow)
{
    struct Case {
        const char* Name;
        std::vector<SDO_Row> Read, Write;
        std::vector<PDO_Row> RX;
        const char* Expected;
    };
    const std::vector<PDO_Row> too_many(Max_PDO + 1, PDO_Row{"0x181", "1"});
    const Case cases[] = {
        {"duplicate in one table", {{"0x2000", "1", "1"}, {"0x2000", "$1", "2"}}, {}, {},
         "row 2 of \"SDO_Read\": Index 0x2000 SubIndex 1 is offered already in row 1 of \"SDO_Read\""},
        {"duplicate across tables", {{"0x2000", "1", "1"}}, {{"8192", "1", "1"}}, {},
         "row 1 of \"SDO_Write\": Index 0x2000 SubIndex 1 is offered already in row 1 of \"SDO_Read\""},
        {"sub 0 beside others", {{"0x2000", "1", "1"}}, {{"0x2000", "0", "1"}}, {},
         "row 1 of \"SDO_Write\": SubIndex 0 of Index 0x2000 holds the number"},
        {"NByte not a number", {{"0x2000", "1", "two"}}, {}, {},
         "row 1 of \"SDO_Read\": the attribute \"NByte\" holds \"two\", which is not a whole number"},
        {"Index not a number", {}, {{"0x2000", "1", "1"}, {"abc", "1", "1"}}, {}, "row 2 of \"SDO_Write\": the attribute \"Index\" holds \"abc\""},
        {"NByte 3", {{"0x2000", "1", "3"}}, {}, {}, "the NByte 3 is not 1, 2 or 4"},
        {"Index of a standard object", {{"0x1000", "1", "1"}}, {}, {}, "the Index 0x1000 is not an application object"},
        {"SubIndex beyond a byte", {{"0x2000", "256", "1"}}, {}, {}, "the SubIndex 256 is not 0 to 255"},
        {"Dimension 9", {}, {}, {{"0x181", "9"}}, "row 1 of \"Receive_PDO\": the Dimension 9 is not 1 to 8 bytes"},
        {"Dimension 0", {}, {}, {{"0x181", "8"}, {"0x182", "0"}}, "row 2 of \"Receive_PDO\": the Dimension 0"},
        {"31 PDOs", {}, {}, too_many, "row 31 of \"Receive_PDO\": the table holds 31 PDOs"},
    };
    const QString target = Dir.File(QStringLiteral("device.eds"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Write_SDO(c.Read, c.Write);
        Write_PDO(c.RX, {});
        Dir.Write(QStringLiteral("device.eds"), "before");
        QString message;
        try {
            Write_EDS_File(target);
        } catch (const platform::Exception& e) {
            message = e.message();
        }
        EXPECT_TRUE(message.contains(QLatin1String(c.Expected))) << message.toStdString();
        EXPECT_EQ(Dir.Read(QStringLiteral("device.eds")), "before");
    }
}

// The command: the save dialog in the configuration's folder, the file written where chosen, a
// question before an existing file is replaced, and a write failure shown in an error box.
TEST_F(EdsTest, SaveCommandAsksBeforeReplacing)
{
    Write_PDO({{"0x201", "1"}}, {});
    const QString target = Dir.File(QStringLiteral("gateway.eds"));
    {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(target);
        Save_EDS_File();
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Shown()[0].InitialFolder, Dir.Path());
        EXPECT_EQ(dialogs.Shown()[0].Filter, "Electronic Data Sheet (*.eds)|*.eds");
        EXPECT_FALSE(dialogs.Shown()[0].OverwritePrompt);
    }
    const QByteArray written = Dir.Read(QStringLiteral("gateway.eds"));
    EXPECT_TRUE(written.contains("NrOfRXPDO=1\r\n"));
    EXPECT_TRUE(Read_By_Others(written));

    Write_PDO({{"0x201", "1"}, {"0x202", "1"}}, {});
    for (const int answer : {int(platform::mrNo), int(platform::mrYes)}) {
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.QueueAnswer(target);
        messages.QueueAnswer(answer);
        Save_EDS_File();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].Text, shell::Lang(1103));
        EXPECT_EQ(messages.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_EQ(Dir.Read(QStringLiteral("gateway.eds")).contains("NrOfRXPDO=2\r\n"), answer == platform::mrYes);
    }

    ScriptedFileDialogs dialogs;
    ScriptedMessages messages;
    dialogs.QueueAnswer(Dir.File(QStringLiteral("no such folder/gateway.eds")));
    platform::Guarded([] { Save_EDS_File(); });
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    EXPECT_TRUE(messages.LastText().contains(QLatin1String("gateway.eds"))) << messages.LastText().toStdString();
}

// Cancel in the dialog writes nothing.
TEST_F(EdsTest, CancelWritesNothing)
{
    ScriptedFileDialogs dialogs;
    dialogs.QueueAnswer(QString());
    Save_EDS_File();
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), QStringList());
}

}  // namespace
