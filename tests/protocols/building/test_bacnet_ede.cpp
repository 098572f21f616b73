// The EDE file: written from the server table's file (golden files, Windows-1252, CR LF, refusals)
// and read back by the import's parser, hostile files included.
#include "platform/Exception.h"
#include "protocols/building/UBACnet_Common.h"
#include "protocols/building/UBACnet_EDE_File.h"
#include "protocols/building/UImportEDEFile.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace test_bacnet_ede_suite {

using namespace building::bacnet;

namespace {

const QDateTime Time(QDate(2026, 3, 4), QTime(7, 8, 9));

QByteArray ParGen(const QByteArray& elements) { return "<Par_Gen>" + elements + "</Par_Gen>"; }

QByteArray Row(const QByteArray& type, const QByteArray& unit, const QByteArray& mnemonic)
{
    return "<row Data_Type=\"" + type + "\" Eng_Unit=\"" + unit + "\" Position=\"0\" Bit=\"0\" Length=\"4\" Swap=\"N\" "
           "Mnemonic=\"" + mnemonic + "\"/>";
}

QByteArray Slave(const QByteArray& readRows, const QByteArray& writeRows)
{
    return "<BACnet_to_Modbus><BACnet_in_Read>" + readRows + "</BACnet_in_Read><BACnet_in_Write>" + writeRows +
           "</BACnet_in_Write></BACnet_to_Modbus><!--SW_VERSION = 1.006-->";
}

class EdeWriter : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    QByteArray Make(const QByteArray& parGen, const QByteArray& slave, const QString& conf = QStringLiteral("Plant"))
    {
        Dir.Write("ParGen.xml", parGen);
        if (!slave.isEmpty())
            Dir.Write("BACnet_Slave_SetAccess.xml", slave);
        return Make_EDE_File(Dir.File("BACnet_Slave_SetAccess.xml"), Dir.File("ParGen.xml"), conf, Time);
    }
    QString Fault(const QByteArray& parGen, const QByteArray& slave)
    {
        try {
            Make(parGen, slave);
        } catch (const platform::Exception& e) {
            return e.message();
        }
        return QStringLiteral("(no fault)");
    }
    TempDir Dir;
};

}  // namespace

// The example line of the format, and the header lines as they stand.
TEST_F(EdeWriter, TheFormatsExampleLineAndHeader)
{
    const QByteArray file = Make(ParGen("<BACnet_DEV_IDE>1234</BACnet_DEV_IDE>"),
                                 Slave(Row("Analog Input", "62", "Room temperature sensor 1"), ""), QString());
    EXPECT_EQ(file, "PROJECT_NAME; www.kelvor.example--;;;;;;\r\n"
                    "VERSION_OF_REFERENCEFILE;1.0;;;;;;\r\n"
                    "TIMESTAMP_OF_LAST_CHANGE;07:08:09 04/03/2026;;;;;;\r\n"
                    "AUTHOR_OF_LAST_CHANGE;www.kelvor.example;;;;;;\r\n"
                    "VERSION_OF_LAYOUT;2;;;;;;\r\n"
                    "# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;\r\n"
                    "# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;\r\n"
                    "1234_Room temperature sensor 1_0;1234;Room temperature;0;0;Room temperature;62;\r\n");
}

// Golden files: every type of both tables, instance counters per type shared by the tables,
// names cut at 16 and at 32 characters, Windows-1252 bytes.
TEST_F(EdeWriter, GoldenFilesForBothNameLimits)
{
    const QByteArray slave = ReadTestData("BACnet_Slave_SetAccess.xml");
    ASSERT_FALSE(slave.isEmpty());
    const QByteArray cut16 = Make(ParGen("<BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>4100</BACnet_DEV_IDE>"), slave);
    EXPECT_EQ(cut16, ReadTestData("ede_names16.csv"));
    const QByteArray cut32 = Make(ParGen("<BACnet_Type>1</BACnet_Type><BACnet_DEV_IDE>4100</BACnet_DEV_IDE>"
                                         "<BACnet_Ser_DEV_IDE>77</BACnet_Ser_DEV_IDE>"
                                         "<BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit>"),
                                  slave);
    EXPECT_EQ(cut32, ReadTestData("ede_names32.csv"));

    // What the golden files must hold, checked apart from them.
    const QList<QByteArray> lines = cut16.split('\n');
    ASSERT_EQ(lines.size(), 7 + 17 + 1);
    for (const QByteArray& line : lines.mid(0, lines.size() - 1))
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
    // Three multi-state values (two read, one write): type 19, instances 0, 1, 2.
    EXPECT_TRUE(cut16.contains("4100_MSV one_0;4100;MSV one;19;0;MSV one;95;"));
    EXPECT_TRUE(cut16.contains("4100_MSV two_1;4100;MSV two;19;1;MSV two;95;"));
    EXPECT_TRUE(cut16.contains("4100_MSV three_2;4100;MSV three;19;2;MSV three;95;"));
    // Binary outputs count from 0 apart from the binary inputs.
    EXPECT_TRUE(cut16.contains("4100_Pump_0;4100;Pump;4;0;Pump;95;"));
    // A Data_Type in lower case with blanks around maps all the same.
    EXPECT_TRUE(cut16.contains("4100_lower case_1;4100;lower case;0;1;lower case;98;"));
    // Forty characters: 16 or 32 in name and description, all of them in the keyname; the degree
    // sign is one byte of Windows-1252.
    const QByteArray forty = "Supply air temperature \xB0""C of AHU 1 North";
    ASSERT_EQ(forty.size(), 40);
    EXPECT_TRUE(cut16.contains("4100_" + forty + "_2;4100;" + forty.left(16) + ";0;2;" + forty.left(16) + ";62;"));
    EXPECT_TRUE(cut32.contains("77_" + forty + "_2;77;" + forty.left(32) + ";0;2;" + forty.left(32) + ";62;"));
}

TEST_F(EdeWriter, KeynamesStayUniqueAcrossTypes)
{
    // An analog input and an analog value of one Mnemonic are both instance 0 of their type.
    const QByteArray file = Make(ParGen("<BACnet_DEV_IDE>9</BACnet_DEV_IDE>"),
                                 Slave(Row("Analog Input", "1", "Flow") + Row("Analog Value", "1", "Flow") +
                                           Row("Binary Input", "1", "Flow_0_2"),
                                       Row("Analog Value", "1", "Flow")));
    EXPECT_TRUE(file.contains("\n9_Flow_0;9;Flow;0;0;"));
    EXPECT_TRUE(file.contains("\n9_Flow_0_2;9;Flow;2;0;"));
    // A Mnemonic that spells the next choice takes it first; the later object gets a number.
    EXPECT_TRUE(file.contains("\n9_Flow_0_2_0;9;Flow_0_2;3;0;"));
    EXPECT_TRUE(file.contains("\n9_Flow_1;9;Flow;2;1;"));
}

TEST_F(EdeWriter, WhatTheFileCannotHoldIsRefusedNamingTheRow)
{
    const QByteArray dev = ParGen("<BACnet_DEV_IDE>5</BACnet_DEV_IDE>");
    struct Case {
        QByteArray ParGen, Slave;
        const char* Fault;
    } cases[] = {
        {ParGen(""), Slave(Row("Analog Input", "1", "a"), ""),
         "The BACnet device instance is empty: set it in the \"Set Communication\" section (ParGen.xml "
         "\"BACnet_DEV_IDE\") before writing the EDE file."},
        {ParGen("<BACnet_Type>1</BACnet_Type><BACnet_DEV_IDE>5</BACnet_DEV_IDE>"), Slave("", ""),
         "The BACnet device instance is empty: set it in the \"Set Communication\" section (ParGen.xml "
         "\"BACnet_Ser_DEV_IDE\") before writing the EDE file."},
        {dev, Slave(Row("Analog Input", "1", "a") + Row("Analog Input", "1", "b;c"), ""),
         "row 2 of \"BACnet_in_Read\": the attribute \"Mnemonic\" holds \";\", which separates the fields of the EDE file."},
        {dev, Slave("", Row("Analog Out", "1", "line&#10;break")),
         "row 1 of \"BACnet_in_Write\": the attribute \"Mnemonic\" holds a control character such as a line break."},
        {dev, Slave(Row("Analog Input", "1", "\xE2\x82\xAC ok") + Row("Analog Input", "1", "\xCE\xA9"), ""),
         "row 2 of \"BACnet_in_Read\": the attribute \"Mnemonic\" holds \"\xCE\xA9\" (U+03A9), which the EDE file's code "
         "page (Windows-1252) cannot hold."},
        {dev, Slave("<row Data_Type=\"Analog Input\" Mnemonic=\"x\"/>", ""),
         "row 1 of \"BACnet_in_Read\": the attribute \"Eng_Unit\" is missing."},
        {dev, "<BACnet_to_Modbus><BACnet_in_Read/></BACnet_to_Modbus>", "the container \"BACnet_in_Write\" is missing."},
    };
    for (const Case& c : cases) {
        const QString fault = Fault(c.ParGen, c.Slave);
        EXPECT_TRUE(fault.endsWith(QString::fromUtf8(c.Fault))) << fault.toStdString();
    }
}

TEST_F(EdeWriter, TheStepReportsSuccessAndFailure)
{
    shell::App_State.Project_Folder = Dir.Path();
    shell::Set_Files();
    shell::App_State.Active_Conf_Name = QStringLiteral("Plant");
    Dir.Write("ParGen.xml", ParGen("<BACnet_DEV_IDE>5</BACnet_DEV_IDE>"));
    Dir.Write("BACnet_Slave_SetAccess.xml", Slave(Row("Analog Input", "1", "a") + Row("Binary Input", "1", "b"), ""));
    {
        ScriptedMessages messages;
        Write_EDE_File(Dir.File("out.csv"));
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), "The EDE file \"" + Dir.File("out.csv") + "\" was written with 2 BACnet objects.");
    }
    EXPECT_TRUE(Dir.Read("out.csv").endsWith("5_b_0;5;b;3;0;b;1;\r\n"));
    // A folder that does not exist: an exception for the caller's guard, no success box.
    ScriptedMessages messages;
    EXPECT_THROW(Write_EDE_File(Dir.File("missing/out.csv")), platform::Exception);
    EXPECT_TRUE(messages.Shown().empty());
    shell::App_State = {};
}

// ---- The parser ----------------------------------------------------------------------------------

namespace {

// A standard file: six header lines, the "# mandatory" line 7, the column line 8, data from 9.
QString Standard(const QStringList& objects)
{
    QStringList lines = {"PROJECT_NAME;x", "VERSION_OF_REFERENCEFILE;1", "TIMESTAMP_OF_LAST_CHANGE;t",
                         "AUTHOR_OF_LAST_CHANGE;a", "VERSION_OF_LAYOUT;2", "",
                         "#mandatory;mandatory;mandatory;mandatory;mandatory;optional",
                         "# keyname;device obj.-instance;object-name;object-type;object-instance;description"};
    return (lines + objects).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace

TEST(EdeParser, ReadsWhatTheWriterWrites)
{
    TempDir dir;
    dir.Write("ParGen.xml", ParGen("<BACnet_DEV_IDE>7</BACnet_DEV_IDE>"));
    dir.Write("BACnet_Slave_SetAccess.xml",
              Slave(Row("Analog Input", "62", "T1") + Row("Device", "1", "not listed"), Row("Binary Out", "95", "Pump")));
    dir.Write("out.csv", Make_EDE_File(dir.File("BACnet_Slave_SetAccess.xml"), dir.File("ParGen.xml"), "c", Time));
    const EDE_Load load = Load_EDE(dir.File("out.csv"));
    EXPECT_TRUE(load.Problems.isEmpty()) << load.Problems.join('\n').toStdString();
    // An unknown type is written as 0 and read back as an analog input.
    ASSERT_EQ(load.Vars.size(), 3u);
    const TBACnet_Var& pump = load.Vars[2];
    EXPECT_EQ(pump.keyname, "7_Pump_0");
    EXPECT_EQ(pump.device_obj_instance, 7);
    EXPECT_EQ(pump.object_type, 4);
    EXPECT_EQ(pump.object_instance, 0);
    EXPECT_EQ(pump.description, "Pump");
    // Seven fields: the unit code lands in present_value_default and nothing is commandable.
    EXPECT_EQ(pump.present_value_default, "95");
    EXPECT_FALSE(pump.commandable);
    EXPECT_TRUE(pump.import && pump.read && !pump.write);
}

TEST(EdeParser, FieldsHeaderLinesAndTypes)
{
    const QString full = "k;12;Name;1;3;Desc;0.0;-5;5;y;N;90;10;st;62;vendor;addr;";
    EDE_Load load = Parse_EDE_Text(Standard({full, "k2;12;Dev;8;1;device", "k3;12;Sched;17;1;schedule",
                                             "   ", "k4;12;LSZ;22;2;zone;;;;N"}));
    EXPECT_TRUE(load.Problems.isEmpty());
    ASSERT_EQ(load.Vars.size(), 2u);
    const TBACnet_Var& v = load.Vars[0];
    EXPECT_EQ(v.object_name, "Name");
    EXPECT_EQ(v.max_present_value, "5");
    EXPECT_TRUE(v.commandable);
    EXPECT_TRUE(v.write);
    EXPECT_FALSE(v.support_COV);
    EXPECT_EQ(v.hi_limit, "90");
    EXPECT_EQ(v.unit_code, "62");
    // One trailing ';' is dropped; those before it stay.
    EXPECT_EQ(v.vendor_specific_address, "vendor;addr");
    EXPECT_EQ(load.Vars[1].object_type, 22);

    // Without a "# mandatory" line 7, the last such line anywhere decides; the data starts two lines below.
    const QString twoHeaders = "a\nb\n# mandatory\nx\nk;1;first;0;0;d\n#  mandatory;\ncolumns\nk;1;second;0;1;d\nz\n";
    load = Parse_EDE_Text(twoHeaders);
    ASSERT_EQ(load.Vars.size(), 1u);
    EXPECT_EQ(load.Vars[0].object_name, "second");
    // "Mandatory" is not the word: nothing is listed, and the user is told.
    load = Parse_EDE_Text("1\n2\n3\n4\n5\n# Mandatory\n7\nk;1;n;0;0;d\n");
    EXPECT_TRUE(load.Vars.empty());
    EXPECT_EQ(load.Problems.value(0), "The file has no \"# mandatory\" header line, so its object lines cannot be found. "
                                      "Nothing is listed.");
}

TEST(EdeParser, TextEncodings)
{
    const QString text = Standard({QStringLiteral("k;1;Temp \u00B0C \u20AC;0;0;d")});
    const QString name = QStringLiteral("Temp \u00B0C \u20AC");
    for (const QByteArray& bytes : {To_Windows_1252(text), "\xEF\xBB\xBF" + text.toUtf8(),
                                    QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                                                        text.size() * 2)}) {
        const EDE_Load load = Parse_EDE_Text(Decode_EDE_Bytes(bytes));
        ASSERT_EQ(load.Vars.size(), 1u);
        EXPECT_EQ(load.Vars[0].object_name, name);
    }
    // Lines end at CR alone too.
    EXPECT_EQ(Parse_EDE_Text(QString(text).replace("\r\n", "\r")).Vars.size(), 1u);
}

// Hostile files: a message, and never a crash or an object read from half a field.
TEST(EdeParser, HostileFiles)
{
    TempDir dir;
    struct Case {
        const char* Name;
        QByteArray Bytes;
        size_t Listed;
        const char* Problem;  // the start of the first problem
    };
    const QByteArray longLine = "k;1;" + QByteArray(10 * 1024 * 1024, 'x') + ";0;0;d";
    QByteArray many = To_Windows_1252(Standard({}));
    for (int i = 0; i < 100000; ++i)
        many += "k" + QByteArray::number(i) + ";1;n;2;" + QByteArray::number(i) + ";d\r\n";
    const Case cases[] = {
        {"empty", "", 0, "The file has 0 lines; an EDE file has at least seven"},
        {"six lines", "a\nb\nc\nd\ne\n# mandatory\n", 0, "The file has 6 lines; an EDE file has at least seven"},
        {"ten-megabyte line", To_Windows_1252(Standard({"k;1;ok;0;0;d"})) + longLine + "\r\n", 1,
         "1 line(s) longer than 4096 characters, the first at line 10, are not listed."},
        {"100000 lines", many, 512, "The file holds 99488 more objects than the 512 that can be listed"},
        {"fields missing", To_Windows_1252(Standard({"k", "k;1", "k;1;n;0", "k;1;n;0;5;d"})), 1,
         "3 line(s) without an object-type number, the first at line 9, are not listed."},
        {"not numbers", To_Windows_1252(Standard({"k;x;n;zero;0;d", "k;1;n;0;-3;d", "k;1;n;0;99999999999;d",
                                                  "k;1;n;0;$10;d"})),
         1, "1 line(s) without an object-type number, the first at line 9, are not listed."},
        {"binary noise", QByteArray(8, '\0') + QByteArray("\xFF\xFF\x00\n", 4) + QByteArray(300, '\x01'), 0,
         "The file has 2 lines"},
    };
    for (const Case& c : cases) {
        dir.Write("f.csv", c.Bytes);
        const EDE_Load load = Load_EDE(dir.File("f.csv"));
        EXPECT_EQ(load.Vars.size(), c.Listed) << c.Name;
        EXPECT_TRUE(load.Problems.value(0).startsWith(QString::fromUtf8(c.Problem)))
            << c.Name << ": " << load.Problems.join('\n').toStdString();
    }
    // Instances outside 0 .. 4294967295 are named too; "$10" reads as 16.
    dir.Write("f.csv", cases[5].Bytes);
    const EDE_Load load = Load_EDE(dir.File("f.csv"));
    EXPECT_EQ(load.Problems.value(1), "2 line(s) without an object instance 0 .. 4294967295, the first at line 10, are not listed.");
    EXPECT_EQ(load.Vars.at(0).object_instance, 16);
    // A file larger than the bound is not read at all.
    dir.Write("big.csv", QByteArray(Max_EDE_File_Bytes + 1, 'a'));
    EXPECT_TRUE(Load_EDE(dir.File("big.csv")).Problems.value(0).endsWith("Nothing is listed."));
    EXPECT_TRUE(Load_EDE(dir.File("none.csv")).Problems.value(0).endsWith("Nothing is listed."));
}

TEST(Windows1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all.append(char(b));
    const QString text = From_Windows_1252(all);
    EXPECT_FALSE(Not_In_Windows_1252(text));
    EXPECT_EQ(To_Windows_1252(text), all);
    EXPECT_EQ(From_Windows_1252("\x80\x9F"), QStringLiteral("\u20AC\u0178"));
    EXPECT_EQ(Not_In_Windows_1252(QStringLiteral("ab\u0100")), QChar(0x100));
    // An independent decoder agrees (iconv reads the bytes the writer produced).
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("WINDOWS-1252"), QStringLiteral("-t"),
                                          QStringLiteral("UTF-8")});
    if (!iconv.waitForStarted())
        GTEST_SKIP() << "iconv is not available";
    iconv.write(all);
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(iconv.readAllStandardOutput()), text);
}

}  // namespace test_bacnet_ede_suite
