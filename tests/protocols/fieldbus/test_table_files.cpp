// The CAN frame and DMX files and checks, without windows: golden files, the checks' messages,
// older and hostile files.
#include "platform/Exception.h"
#include "protocols/fieldbus/UDMXDefVal.h"
#include "protocols/fieldbus/UReceiveCAN.h"
#include "protocols/fieldbus/UTransmitCAN.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"
#include "table_file_fixture.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>

using shell::Table_Rows;

namespace {

namespace rx = fieldbus::receive_can;
namespace tx = fieldbus::transmit_can;
namespace dmx = fieldbus::dmx;

using TableFiles = TableFileTest;

// ---- Golden files: each layout read and written back byte for byte ---------------------------

struct Golden_Case {
    const char* File;
    const shell::Setup_Window_Description& (*Window)();
    Table_Rows Rows;  // as the table holds them after reading
};

class GoldenFiles : public TableFiles, public ::testing::WithParamInterface<Golden_Case> {};

TEST_P(GoldenFiles, ReadAndWrittenBackByteForByte)
{
    const Golden_Case& c = GetParam();
    const QByteArray golden = ReadTestData(c.File);
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write(c.File, golden);
    QStringList problems;
    const std::vector<Table_Rows> read = Read(c.Window(), Dir.File(c.File), &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], c.Rows);

    Table_Rows full = Full(c.Window(), c.Rows);
    const shell::Table_Description& table = c.Window().File.Tables[0];
    const QString out = Dir.File(QStringLiteral("out.xml"));
    if (table.Key_Column < 0)
        full.resize(c.Rows.size());  // a table without a key writes every row it has
    shell::Write_Project_Tables(out, c.Window().File, {full});
    EXPECT_EQ(Dir.Read(QStringLiteral("out.xml")), golden);
    // The layout by its words: no declaration, no indentation, the version comment after the root.
    EXPECT_FALSE(golden.startsWith("<?xml"));
    EXPECT_FALSE(golden.contains('\n'));
    EXPECT_TRUE(golden.endsWith("><!--SW_VERSION = 1.000-->"));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GoldenFiles,
    ::testing::Values(
        Golden_Case{"CAN_Rec_Frames.xml", rx::Window,
                    {{"1", "Y", "0x181", "2.0A (11 bits)", "8", "1000", "0", "1", "2", "3", "4", "5", "6", "7",
                      "Motor & pump <1>"},
                     {"2", "N", "$1FFFFFFF", "2.0B (29 bits)", "2", "0", "None", "1439", "", "", "", "", "", "",
                      QString::fromUtf8("Ventil «Süd» \"B\"")},
                     {"3", "Y", " 12", "", "1", "x10", "", "", "", "", "", "", "", "", ""}}},
        Golden_Case{"CAN_Send_Frames.xml", tx::Window,
                    {{"1", "Y", "0x201", "2.0A (11 bits)", "4", "Y", "N", "Y", "250", "10", "11", "None", "13", "",
                      "", "", "", "Setpoints"},
                     {"2", "N", "536870911", "2.0B (29 bits)", "8", "N", "Y", "N", "", "0", "1", "2", "3", "4", "5",
                      "6", "1439", "a&b"}}},
        Golden_Case{"DMX_Default_Values.xml", dmx::Window,
                    {{"1", "0", "Dimmer 1"}, {"2", "$FF", ""}, {"3", "0x80", "Pan <fine>"}, {"4", "255", "Tilt"}}}),
    [](const auto& info) { return std::string(QString::fromLatin1(info.param.File).section('.', 0, 0).toLatin1()); });

TEST_F(TableFiles, RowsEndAtTheFirstEmptyKeyAndAnEmptyTableIsAnEmptyRoot)
{
    Table_Rows rows = Full(rx::Window(), {});
    ASSERT_EQ(rows.size(), 512u);
    const QString path = Dir.File(QStringLiteral("a.xml"));
    shell::Write_Project_Tables(path, rx::Window().File, {rows});
    EXPECT_EQ(Dir.Read(QStringLiteral("a.xml")), QByteArray("<Receive_Frames/><!--SW_VERSION = 1.000-->"));

    rows[0][rx::COBID] = QStringLiteral("1");
    rows[1][rx::COBID] = QStringLiteral("   ");  // blanks end the table as an empty key does
    rows[2][rx::COBID] = QStringLiteral("3");
    shell::Write_Project_Tables(path, rx::Window().File, {rows});
    EXPECT_EQ(Read(rx::Window(), path)[0].size(), 1u);
}

// An older transmit file whose rows lack the format and the sending attributes.
TEST_F(TableFiles, OlderTransmitRowsTakeTheWindowWideSettings)
{
    Dir.Write("old.xml",
              "<Transmit_Frames><row COBID=\"5\" Dim=\"1\" Byte1=\"3\" Mnemonic=\"m\"/>"
              "<row COBID=\"6\" Dim=\"1\" OnTimer=\"Y\"/><row COBID=\"7\" Dim=\"1\" OnTimer=\"Y\" Time=\"90\"/>"
              "</Transmit_Frames>");
    QStringList problems;
    const Table_Rows rows = Read(tx::Window(), Dir.File("old.xml"), &problems)[0];
    EXPECT_TRUE(problems.isEmpty());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], QStringList({"1", "Y", "5", "2.0A (11 bits)", "1", "Y", "N", "N", "", "3", "", "", "", "", "",
                                    "", "", "m"}));
    // A row sent on timer without a period takes the window-wide period 0.
    EXPECT_EQ(rows[1][tx::Time], "0");
    EXPECT_EQ(rows[2][tx::Time], "90");

    // A receive row lacking everything: Enable checked, TimeOut 0, the rest empty.
    Dir.Write("rx.xml", "<Receive_Frames><row/></Receive_Frames>");
    EXPECT_EQ(Read(rx::Window(), Dir.File("rx.xml"))[0][0],
              QStringList({"1", "Y", "", "", "", "0", "", "", "", "", "", "", "", "", ""}));
    // A DMX row lacking its value: 0.
    Dir.Write("dmx.xml", "<X><Row Mnemonic=\"m\"/><Row/></X>");
    EXPECT_EQ(Read(dmx::Window(), Dir.File("dmx.xml"))[0], Table_Rows({{"1", "0", "m"}, {"2", "0", ""}}));
}

// ---- Hostile files: a message, the rows that could be read, the file kept ---------------------

TEST_F(TableFiles, HostileFilesGiveAMessageAndTheRowsThatCouldBeRead)
{
    const QString path = Dir.File(QStringLiteral("CAN_Rec_Frames.xml"));
    auto read = [&](QStringList* problems, QString* error) {
        std::vector<Table_Rows> tables;
        try {
            shell::Read_Project_Tables(path, rx::Window().File, &tables, problems);
        } catch (const platform::Exception& e) {
            *error = e.message();
        }
        return tables.at(0);
    };

    // Cut short in the third row: the two rows before it are read, the file is kept aside.
    const QByteArray golden = ReadTestData("CAN_Rec_Frames.xml");
    const QByteArray cut = golden.left(golden.indexOf("<row Enable=\"Y\" COBID=\" 12\"") + 20);
    Dir.Write("CAN_Rec_Frames.xml", cut);
    QStringList problems;
    QString error;
    Table_Rows rows = read(&problems, &error);
    EXPECT_TRUE(error.contains("not valid XML")) << error.toStdString();
    EXPECT_TRUE(error.contains("CAN_Rec_Frames.xml.damaged")) << error.toStdString();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1][rx::COBID], "$1FFFFFFF");
    EXPECT_EQ(Dir.Read("CAN_Rec_Frames.xml.damaged"), cut);

    // Not XML at all: no rows, a message, the file kept.
    Dir.Write("CAN_Rec_Frames.xml", QByteArray::fromHex("504b0304000102ff"));
    error.clear();
    rows = read(&problems, &error);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(error.contains("CAN_Rec_Frames.xml.damaged.2")) << error.toStdString();

    // 100,000 rows: the table's 512, and a word that the rest was not read.
    QByteArray many = "<Receive_Frames>";
    for (int r = 0; r < 100000; ++r)
        many += "<row COBID=\"" + QByteArray::number(r) + "\" Dim=\"1\"/>";
    many += "</Receive_Frames>";
    Dir.Write("CAN_Rec_Frames.xml", many);
    problems.clear();
    error.clear();
    rows = read(&problems, &error);
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(rows.size(), 512u);
    EXPECT_EQ(rows[511][rx::COBID], "511");
    EXPECT_EQ(problems, QStringList("\"Receive_Frames\" holds 100000 rows; only the first 512 are read."));

    // A 10 MB attribute is a text like any other: read whole.
    const QByteArray big(10 * 1024 * 1024, 'm');
    Dir.Write("CAN_Rec_Frames.xml", "<Receive_Frames><row COBID=\"1\" Mnemonic=\"" + big + "\"/></Receive_Frames>");
    problems.clear();
    rows = read(&problems, &error);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][rx::Mnemonic].size(), big.size());
    EXPECT_TRUE(problems.isEmpty());
}

// A file cut at any byte: never more rows than the whole file holds, and the rows before the cut
// row read as they stand.
TEST_F(TableFiles, AFileCutAtAnyByteGivesTheRowsBeforeTheCut)
{
    const QByteArray golden = ReadTestData("CAN_Rec_Frames.xml");
    const QString path = Dir.File(QStringLiteral("cut.xml"));
    const Table_Rows whole = Read(rx::Window(), Dir.File(QStringLiteral("none.xml")))[0];
    Dir.Write("whole.xml", golden);
    const Table_Rows all = Read(rx::Window(), Dir.File("whole.xml"))[0];
    ASSERT_EQ(all.size(), 3u);
    for (int n = 0; n < golden.size(); ++n) {
        const QByteArray cut = golden.left(n);
        Dir.Write("cut.xml", cut);
        std::vector<Table_Rows> tables;
        try {
            shell::Read_Project_Tables(path, rx::Window().File, &tables);
        } catch (const platform::Exception&) {
        }
        ASSERT_EQ(tables.size(), 1u);
        const Table_Rows& rows = tables[0];
        ASSERT_LE(rows.size(), all.size()) << n;
        // Every row but the last one read stood whole before the cut.
        for (size_t r = 0; r + 1 < rows.size(); ++r)
            EXPECT_EQ(rows[r], all[r]) << "cut at " << n;
        QFile::remove(path + QStringLiteral(".damaged"));
    }
    EXPECT_TRUE(whole.empty());
}

// ---- The checks: one table of cases per window, with the windows' own texts ------------------

struct Check_Case {
    const char* Name;
    std::map<int, QString> Cells;  // changes to a valid row 1
    QString Message;               // empty: the table passes
    int Row = 1;                   // the row that holds the cells
};

QStringList Valid_Receive_Row(int r)
{
    return {QString::number(r), "Y", "0x181", "2.0A (11 bits)", "8", "1000", "0", "1", "2", "3", "4", "5", "6", "7",
            "Motor"};
}

QStringList Valid_Transmit_Row(int r)
{
    return {QString::number(r), "Y", "0x201", "2.0A (11 bits)", "4", "Y", "N", "Y", "250", "10", "11", "12", "13",
            "", "", "", "", "Setpoints"};
}

// Rows 1 .. r with the changes in row r, the rest of the capacity cleared.
Table_Rows Case_Rows(const shell::Setup_Window_Description& window, QStringList (*valid)(int), const Check_Case& c)
{
    Table_Rows rows;
    const shell::Table_Description& table = window.File.Tables[0];
    for (int r = 1; r <= table.Capacity; ++r)
        rows.push_back(r <= c.Row ? valid(r) : table.Cleared_Row(r));
    for (const auto& [column, text] : c.Cells)
        rows[size_t(c.Row - 1)][column] = text;
    return rows;
}

class ReceiveChecks : public TableFiles, public ::testing::WithParamInterface<Check_Case> {};

TEST_P(ReceiveChecks, FirstFaultWithItsMessage)
{
    const Check_Case& c = GetParam();
    const std::optional<QString> fault = rx::Check({{Case_Rows(rx::Window(), Valid_Receive_Row, c), {}}}, 1440);
    EXPECT_EQ(fault.value_or(QString()), c.Message);
}

const QString Byte3_Fault = QStringLiteral("Error row 1!! Byte3 must be between 0 and 1439 or None");

INSTANTIATE_TEST_SUITE_P(
    Cases, ReceiveChecks,
    ::testing::Values(
        Check_Case{"Valid", {}, ""},
        Check_Case{"DisabledRowIsNotChecked", {{rx::Enable, "N"}, {rx::Dim, "99"}, {rx::Byte1, "5000"}}, ""},
        Check_Case{"LowerCaseEnableWithBlanksCounts", {{rx::Enable, " y "}, {rx::COBID, "2048"}},
                   "Error row 1!! CobID must be between 0 and 2047"},
        Check_Case{"HexCobIdAfterZeroX", {{rx::COBID, "0x7FF"}}, ""},
        Check_Case{"HexCobIdAfterDollar", {{rx::COBID, "$7FF"}}, ""},
        Check_Case{"HexCobIdAfterX", {{rx::COBID, "x7ff"}}, ""},
        Check_Case{"ElevenBitsEnd", {{rx::COBID, "2047"}}, ""},
        Check_Case{"ElevenBitsOver", {{rx::COBID, "2048"}}, "Error row 1!! CobID must be between 0 and 2047"},
        Check_Case{"TypeWithBlanksIsStill2A", {{rx::COBID, "2048"}, {rx::CAN_Type, " 2.0A (11 bits) "}},
                   "Error row 1!! CobID must be between 0 and 2047"},
        Check_Case{"TwentyNineBitsEnd", {{rx::CAN_Type, "2.0B (29 bits)"}, {rx::COBID, "536870911"}}, ""},
        Check_Case{"EmptyTypeTakes29Bits", {{rx::CAN_Type, ""}, {rx::COBID, "0x1FFFFFFF"}}, ""},
        Check_Case{"TwentyNineBitsOver", {{rx::CAN_Type, "2.0B (29 bits)"}, {rx::COBID, "0x20000000"}},
                   "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        Check_Case{"NegativeCobId", {{rx::CAN_Type, ""}, {rx::COBID, "-1"}},
                   "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        Check_Case{"LeadingBlankPasses", {{rx::COBID, " 12"}}, ""},
        Check_Case{"TrailingBlankIsNoNumber", {{rx::COBID, "12 "}}, "Error row 1!! CobID must be between 0 and 2047"},
        Check_Case{"DimensionZero", {{rx::Dim, "0"}}, "Error row 1!! Dimension must be between 1 and 8"},
        Check_Case{"DimensionNine", {{rx::Dim, "9"}}, "Error row 1!! Dimension must be between 1 and 8"},
        Check_Case{"DimensionEmpty", {{rx::Dim, ""}}, "Error row 1!! Dimension must be between 1 and 8"},
        Check_Case{"TimeOutEnd", {{rx::TimeOut, "100000000"}}, ""},
        Check_Case{"TimeOutOver", {{rx::TimeOut, "100000001"}},
                   "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
        Check_Case{"TimeOutEmpty", {{rx::TimeOut, ""}},
                   "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
        Check_Case{"BytesNoneEmptyAndLast", {{rx::Byte1, "None"}, {rx::Byte1 + 1, ""}, {rx::Byte1 + 2, "1439"}}, ""},
        Check_Case{"ByteOverTheArea", {{rx::Byte1, "1440"}},
                   "Error row 1!! Byte1 must be between 0 and 1439 or None"},
        Check_Case{"Byte8Named", {{rx::Byte8, "x"}}, "Error row 1!! Byte8 must be between 0 and 1439 or None"},
        Check_Case{"ByteBeyondDimensionNotChecked", {{rx::Dim, "3"}, {rx::Byte1 + 3, "5000"}}, ""},
        Check_Case{"ByteWithinDimension", {{rx::Dim, "3"}, {rx::Byte1 + 2, "5000"}}, Byte3_Fault},
        Check_Case{"RowNumberOfTheFault", {{rx::Byte1 + 2, "5000"}},
                   "Error row 4!! Byte3 must be between 0 and 1439 or None", 4},
        Check_Case{"EmptyKeyOfARowWithData", {{rx::COBID, ""}, {rx::Dim, "99"}, {rx::Mnemonic, ""}},
                   "Error row 1!! CobID of row 1 is empty: the table ends there and this row would not be saved"},
        Check_Case{"BlankKeyEndsTheTable", {{rx::COBID, "   "}, {rx::Mnemonic, ""}, {rx::CAN_Type, ""},
                                            {rx::Dim, ""}, {rx::TimeOut, ""}, {rx::Byte1, ""}, {rx::Byte1 + 1, ""},
                                            {rx::Byte1 + 2, ""}, {rx::Byte1 + 3, ""}, {rx::Byte1 + 4, ""},
                                            {rx::Byte1 + 5, ""}, {rx::Byte1 + 6, ""}, {rx::Byte8, ""}},
                   "", 3}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TableFiles, RowsWithDataBelowAnEmptyKeyAreRefusedNamingTheFirst)
{
    Table_Rows rows = Full(rx::Window(), {});
    ASSERT_EQ(rows.size(), 512u);
    EXPECT_EQ(rx::Check({{rows, {}}}, 1440), std::nullopt) << "an empty table passes";
    rows[0] = Valid_Receive_Row(1);
    rows[2][rx::Mnemonic] = QStringLiteral("kept?");
    rows[4] = Valid_Receive_Row(5);
    EXPECT_EQ(rx::Check({{rows, {}}}, 1440).value_or(QString()),
              "Error row 3!! CobID of row 2 is empty: the table ends there and this row would not be saved");
    // A row whose only content is its check box holds no data.
    rows[2] = rx::Window().File.Tables[0].Cleared_Row(3);
    rows[4] = rx::Window().File.Tables[0].Cleared_Row(5);
    rows[6][rx::Enable] = QStringLiteral("N");
    EXPECT_EQ(rx::Check({{rows, {}}}, 1440), std::nullopt);
}

class TransmitChecks : public TableFiles, public ::testing::WithParamInterface<Check_Case> {};

TEST_P(TransmitChecks, FirstFaultWithItsMessage)
{
    const Check_Case& c = GetParam();
    const std::optional<QString> fault =
        tx::Check({{Case_Rows(tx::Window(), Valid_Transmit_Row, c), {}}}, 1440, 1);
    EXPECT_EQ(fault.value_or(QString()), c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransmitChecks,
    ::testing::Values(
        Check_Case{"Valid", {}, ""},
        Check_Case{"DisabledRowIsNotChecked", {{tx::Enable, "N"}, {tx::Time, "-5"}}, ""},
        Check_Case{"ElevenBitsOver", {{tx::COBID, "$800"}}, "Error row 1!! CobID must be between 0 and 2047"},
        Check_Case{"TwentyNineBitsOver", {{tx::CAN_Type, "2.0B (29 bits)"}, {tx::COBID, "0x20000000"}},
                   "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        Check_Case{"DimensionOver", {{tx::Dim, "9"}}, "Error row 1!! Dimension must be between 1 and 8"},
        Check_Case{"TimeEmptyOnTimer", {{tx::Time, ""}},
                   "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
        Check_Case{"TimeOverOnTimer", {{tx::Time, "100000001"}},
                   "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
        Check_Case{"LowerCaseOnTimerCounts", {{tx::OnTimer, " y"}, {tx::Time, ""}},
                   "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
        Check_Case{"TimeNotCheckedWithoutTimer", {{tx::OnTimer, "N"}, {tx::Time, ""}}, ""},
        Check_Case{"TimeBeforeBytes", {{tx::Time, "x"}, {tx::Byte1, "2000"}},
                   "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
        Check_Case{"ByteOver", {{tx::Byte1 + 1, "1440"}}, "Error row 1!! Byte2 must be between 0 and 1439 or None"},
        Check_Case{"ByteBeyondDimension", {{tx::Byte1 + 4, "1440"}}, ""},
        Check_Case{"OnChangeOnCmdMnemonicUnchecked", {{tx::OnChange, "?"}, {tx::OnCMD, "?"}, {tx::Mnemonic, ""}},
                   ""},
        Check_Case{"DataBelowAnEmptyKey", {{tx::COBID, ""}},
                   "Error row 2!! CobID of row 2 is empty: the table ends there and this row would not be saved", 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TableFiles, TransmitTimeIsCheckedOnlyWithRowFormats)
{
    Check_Case c{"", {{tx::Time, ""}}, ""};
    EXPECT_EQ(tx::Check({{Case_Rows(tx::Window(), Valid_Transmit_Row, c), {}}}, 1440, 0), std::nullopt);
}

struct Dmx_Case {
    const char* Name;
    int Row;
    QString Value;
    QString Message;
};

class DmxChecks : public TableFiles, public ::testing::WithParamInterface<Dmx_Case> {};

TEST_P(DmxChecks, EveryChannelIsALevel)
{
    const Dmx_Case& c = GetParam();
    Table_Rows rows;
    for (int r = 1; r <= 24; ++r)
        rows.push_back({QString::number(r), "0", ""});
    rows[size_t(c.Row - 1)][dmx::Default_Value] = c.Value;
    EXPECT_EQ(dmx::Check({{rows, {}}}).value_or(QString()), c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DmxChecks,
    ::testing::Values(Dmx_Case{"Top", 1, "255", ""}, Dmx_Case{"HexDollar", 1, "$FF", ""},
                      Dmx_Case{"HexZeroX", 2, "0xFF", ""},
                      Dmx_Case{"Over", 1, "256", "Error row 1!! Default Value must be between 0 and 255"},
                      Dmx_Case{"Negative", 3, "-1", "Error row 3!! Default Value must be between 0 and 255"},
                      Dmx_Case{"EmptyFails", 2, "", "Error row 2!! Default Value must be between 0 and 255"},
                      Dmx_Case{"LastRowIsChecked", 24, "x", "Error row 24!! Default Value must be between 0 and 255"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- The number of DMX channels from ParGen.xml ---------------------------------------------------

struct Channels_Case {
    const char* Name;
    QByteArray ParGen;  // empty: no file
    int Count;
    bool Warned;
};

class DmxChannels : public TableFiles, public ::testing::WithParamInterface<Channels_Case> {};

TEST_P(DmxChannels, ClampedToOneTo512)
{
    const Channels_Case& c = GetParam();
    if (!c.ParGen.isEmpty())
        Dir.Write("ParGen.xml", c.ParGen);
    QString warning;
    EXPECT_EQ(dmx::Channel_Count(Dir.File("ParGen.xml"), &warning), c.Count);
    EXPECT_EQ(!warning.isEmpty(), c.Warned) << warning.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DmxChannels,
    ::testing::Values(Channels_Case{"NoFile", "", 512, false},
                      Channels_Case{"NoElement", "<Par_Gen><Other>3</Other></Par_Gen>", 512, false},
                      Channels_Case{"Set", "<Par_Gen><DMX_Num_Channels>24</DMX_Num_Channels></Par_Gen>", 24, false},
                      Channels_Case{"Hex", "<Par_Gen><DMX_Num_Channels>$10</DMX_Num_Channels></Par_Gen>", 16, false},
                      Channels_Case{"NotANumber", "<Par_Gen><DMX_Num_Channels>many</DMX_Num_Channels></Par_Gen>", 512,
                                    false},
                      Channels_Case{"Zero", "<Par_Gen><DMX_Num_Channels>0</DMX_Num_Channels></Par_Gen>", 1, true},
                      Channels_Case{"Negative", "<Par_Gen><DMX_Num_Channels>-5</DMX_Num_Channels></Par_Gen>", 1, true},
                      Channels_Case{"TooMany", "<Par_Gen><DMX_Num_Channels>600</DMX_Num_Channels></Par_Gen>", 512,
                                    true},
                      Channels_Case{"BrokenFile", "<Par_Gen><DMX_Num_Channels>24", 512, true}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
