// The J1939 and NMEA 2000 frame files and checks, without windows: golden files, the checks'
// messages with their running byte totals, older and hostile files.
#include "platform/Exception.h"
#include "protocols/fieldbus/UReceiveJ1939.h"
#include "protocols/fieldbus/UReceiveNMEA.h"
#include "protocols/fieldbus/UTransmitJ1939.h"
#include "protocols/fieldbus/UTransmitNMEA.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"
#include "table_file_fixture.h"

#include <gtest/gtest.h>
#include <map>

using shell::Table_Rows;

namespace pgn_frames_test {

namespace jrx = fieldbus::receive_j1939;
namespace jtx = fieldbus::transmit_j1939;
namespace nrx = fieldbus::receive_nmea;
namespace ntx = fieldbus::transmit_nmea;

using PGNFiles = TableFileTest;

// ---- Golden files ------------------------------------------------------------------------------

struct PGN_Golden_Case {
    const char* File;
    const shell::Setup_Window_Description& (*Window)();
    const char* Version;
    Table_Rows Rows;  // as the table holds them after reading
};

class PGNGoldenFiles : public PGNFiles, public ::testing::WithParamInterface<PGN_Golden_Case> {};

TEST_P(PGNGoldenFiles, ReadAndWrittenBackByteForByte)
{
    const PGN_Golden_Case& c = GetParam();
    const QByteArray golden = ReadTestData(c.File);
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write(c.File, golden);
    QStringList problems;
    const std::vector<Table_Rows> read = Read(c.Window(), Dir.File(c.File), &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], c.Rows);

    shell::Write_Project_Tables(Dir.File("out.xml"), c.Window().File, {Full(c.Window(), c.Rows)});
    EXPECT_EQ(Dir.Read("out.xml"), golden);
    EXPECT_FALSE(golden.contains('\n'));
    EXPECT_TRUE(golden.endsWith(QByteArray("><!--SW_VERSION = ") + c.Version + "-->"));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PGNGoldenFiles,
    ::testing::Values(
        // A PGN of blanks does not end the table: the row is written back.
        PGN_Golden_Case{"J1939_Rec_Frames.xml", jrx::Window, "1.102",
                    {{"1", "0", "0xFEF1", "0", "N", "0", "8", "Y", "Y", "100", "Speed & cruise <1>"},
                     {"2", "1", "$FECA", "239", "Y", "1700", "85", "N", "N", "", QString::fromUtf8("DM1 «Süd» \"B\"")},
                     {"3", "7", "  ", "", "", "", "", "", "N", "1000", ""}}},
        PGN_Golden_Case{"J1939_Send_Frames.xml", jtx::Window, "1.102",
                    {{"1", "6", "0", "0xF004", "0", "8", "Y", "N", "Y", "100", "EEC1 & <x>"},
                     {"2", "3", "1", "131071", "255", "1440", "N", "Y", "N", "", QString::fromUtf8("Süd")}}},
        PGN_Golden_Case{"NMEA_Rec_Frames.xml", nrx::Window, "1.000",
                    {{"1", "127250", "0", "N", "N", "", "", "Y", "Heading"},
                     {"2", "0x1F805", "$EF", "N", "Y", "0", "43", "N", "GNSS & <fix>"},
                     {"3", "126464", "1", "Y", "Y", "300", "1485", "N", "\"PGN list\""}}},
        // The send file's root bears the receive file's name.
        PGN_Golden_Case{"NMEA_Send_Frames.xml", ntx::Window, "1.000",
                    {{"1", "2", "127250", "239", "N", "8", "N", "Y", "Y", "100", "Heading"},
                     {"2", "7", "0x1F805", "0", "Y", "43", "Y", "N", "N", "", QString::fromUtf8("Süd & Nord")}}}),
    [](const auto& info) { return std::string(QString::fromLatin1(info.param.File).section('.', 0, 0).toLatin1()); });

// Missing attributes take their defaults; the NMEA windows read any root.
TEST_F(PGNFiles, MissingAttributesTakeTheirDefaults)
{
    Dir.Write("rx.xml", "<Receive_J1939><row PGN=\"1\"/></Receive_J1939>");
    EXPECT_EQ(Read(jrx::Window(), Dir.File("rx.xml"))[0],
              Table_Rows({{"1", "", "1", "", "N", "", "", "N", "N", "1000", ""}}));
    Dir.Write("nrx.xml", "<Anything><row PGN=\"1\"/></Anything>");
    EXPECT_EQ(Read(nrx::Window(), Dir.File("nrx.xml"))[0], Table_Rows({{"1", "1", "", "N", "N", "", "", "N", ""}}));
    // A receive file over the send file loads by attribute name; its others are ignored.
    Dir.Write("ntx.xml", ReadTestData("NMEA_Rec_Frames.xml"));
    const Table_Rows tx = Read(ntx::Window(), Dir.File("ntx.xml"))[0];
    ASSERT_EQ(tx.size(), 3u);
    EXPECT_EQ(tx[1], QStringList({"2", "", "0x1F805", "$EF", "Y", "43", "N", "N", "N", "", "GNSS & <fix>"}));
}

// ---- Older transmit rows -----------------------------------------------------------------------

TEST_F(PGNFiles, OlderJ1939SendingModesReplaceTheCheckBoxes)
{
    Dir.Write("tx.xml",
              "<Transmit_J1939>"
              "<row PGN=\"1\" T_Type=\"oN tImEr\" On_Request=\"Y\" On_Data_Change=\"Y\" TP_NByte=\"4\"/>"
              "<row PGN=\"2\" T_Type=\"On Data Change\"/>"
              "<row PGN=\"3\" T_Type=\"cyclic\" On_Timer=\"Y\" TP_NByte=\"\"/>"
              "<row PGN=\"4\" On_Request=\"Y\" On_Timer=\"Y\"/>"
              "</Transmit_J1939>");
    Table_Rows rows = Full(jtx::Window(), Read(jtx::Window(), Dir.File("tx.xml"))[0]);
    jtx::Read_Older_Rows(Dir.File("tx.xml"), rows);
    auto modes = [&](int r) {
        return rows[size_t(r)].mid(jtx::TP_NByte, 4).join('|');
    };
    EXPECT_EQ(modes(0), "4|N|N|Y");
    EXPECT_EQ(modes(1), "8|N|Y|N");
    EXPECT_EQ(modes(2), "8|N|N|N");  // an empty count sends 8, an unknown mode nothing
    EXPECT_EQ(modes(3), "8|Y|N|Y");
    // Rows the file does not hold stay cleared, and a missing file changes nothing.
    EXPECT_EQ(rows[4], jtx::Window().File.Tables[0].Cleared_Row(5));
    const Table_Rows before = rows;
    jtx::Read_Older_Rows(Dir.File("none.xml"), rows);
    EXPECT_EQ(rows, before);
    // Written back without the older attribute.
    shell::Write_Project_Tables(Dir.File("out.xml"), jtx::Window().File, {rows});
    EXPECT_FALSE(Dir.Read("out.xml").contains("T_Type"));
}

// ---- Hostile files -----------------------------------------------------------------------------

TEST_F(PGNFiles, HostileFilesGiveAMessageAndTheRowsThatCouldBeRead)
{
    const QByteArray golden = ReadTestData("NMEA_Rec_Frames.xml");
    Dir.Write("NMEA_Rec_Frames.xml", golden.left(golden.indexOf("<row PGN=\"126464\"") + 12));
    std::vector<Table_Rows> tables;
    QString error;
    try {
        shell::Read_Project_Tables(Dir.File("NMEA_Rec_Frames.xml"), nrx::Window().File, &tables);
    } catch (const platform::Exception& e) {
        error = e.message();
    }
    EXPECT_TRUE(error.contains("NMEA_Rec_Frames.xml.damaged")) << error.toStdString();
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_GE(tables[0].size(), 2u);
    EXPECT_EQ(tables[0][1], QStringList({"2", "0x1F805", "$EF", "N", "Y", "0", "43", "N", "GNSS & <fix>"}));
    EXPECT_EQ(Dir.Read("NMEA_Rec_Frames.xml.damaged").size(), golden.indexOf("<row PGN=\"126464\"") + 12);

    // More rows than the table holds: the first 62 are read, the rest reported.
    QByteArray many = "<Receive_NMEA_2000>";
    for (int r = 1; r <= 70; ++r)
        many += "<row PGN=\"" + QByteArray::number(r) + "\"/>";
    Dir.Write("many.xml", many + "</Receive_NMEA_2000>");
    QStringList problems;
    const Table_Rows rows = Read(ntx::Window(), Dir.File("many.xml"), &problems)[0];
    EXPECT_EQ(rows.size(), 62u);
    EXPECT_EQ(rows.back().value(ntx::PGN), "62");
    EXPECT_FALSE(problems.isEmpty());
}

// ---- Checks ------------------------------------------------------------------------------------

struct PGN_Check_Case {
    const char* Name;
    std::map<int, QString> Cells;  // changes to valid row Row
    QString Message;               // empty: the table passes
    int Row = 1;                   // rows 1 .. Row are valid rows before the changes
};

using Valid_Row = QStringList (*)(int);

QStringList J1939_Rx_Row(int r) { return {QString::number(r), "0", "0xFEF1", "0", "N", "", "", "N", "N", "", "m"}; }
QStringList J1939_Tx_Row(int r)
{
    return {QString::number(r), "6", "0", "0xF004", "0", "8", "N", "Y", "N", "", "m"};
}
QStringList NMEA_Rx_Row(int r) { return {QString::number(r), "127250", "0", "N", "N", "", "", "N", "m"}; }
QStringList NMEA_Tx_Row(int r) { return {QString::number(r), "2", "127250", "0", "N", "8", "N", "Y", "N", "", "m"}; }

// Rows 1 .. Row valid, the changes in every one of them (so totals build up), the rest cleared.
Table_Rows Case_Rows(const shell::Setup_Window_Description& window, Valid_Row valid, const PGN_Check_Case& c)
{
    Table_Rows rows;
    const shell::Table_Description& table = window.File.Tables[0];
    for (int r = 1; r <= table.Capacity; ++r)
        rows.push_back(r <= c.Row ? valid(r) : table.Cleared_Row(r));
    for (int r = 0; r < c.Row; ++r)
        for (const auto& [column, text] : c.Cells)
            rows[size_t(r)][column] = text;
    return rows;
}

template <int Which>
class Checks : public PGNFiles, public ::testing::WithParamInterface<PGN_Check_Case> {
protected:
    std::optional<QString> Run()
    {
        const PGN_Check_Case& c = GetParam();
        switch (Which) {
        case 0: return jrx::Check({{Case_Rows(jrx::Window(), J1939_Rx_Row, c), {}}}, 1440);
        case 1: return jtx::Check({{Case_Rows(jtx::Window(), J1939_Tx_Row, c), {}}}, 1440);
        case 2: return nrx::Check({{Case_Rows(nrx::Window(), NMEA_Rx_Row, c), {}}}, 512);
        default: return ntx::Check({{Case_Rows(ntx::Window(), NMEA_Tx_Row, c), {}}}, 512);
        }
    }
};

auto Case_Name = [](const auto& info) { return std::string(info.param.Name); };

using J1939ReceiveChecks = Checks<0>;
TEST_P(J1939ReceiveChecks, FirstFaultWithItsMessage) { EXPECT_EQ(Run().value_or(QString()), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    Cases, J1939ReceiveChecks,
    ::testing::Values(
        PGN_Check_Case{"Valid", {}, ""},
        PGN_Check_Case{"AnyDataPageTextPasses", {{jrx::DP, "7"}}, ""},
        PGN_Check_Case{"EmptyDataPage", {{jrx::DP, ""}}, "Error in row 1!! Data Page must be 0 or 1"},
        PGN_Check_Case{"PgnOver", {{jrx::PGN, "0x10000"}}, "Error in row 1!! PGN must be between 0x0000 and 0xFFFF"},
        PGN_Check_Case{"BlankPgnIsCheckedNotTheEnd", {{jrx::PGN, "  "}},
                   "Error in row 1!! PGN must be between 0x0000 and 0xFFFF"},
        PGN_Check_Case{"SourceOver", {{jrx::SA, "240"}}, "Error in row 1!! Source Address must be between 0 and 239"},
        PGN_Check_Case{"OnlyStartGiven", {{jrx::TP_Start, "3"}},
                   "Error in row 1!! Start Byte and Number Bytes must be both compiled"},
        PGN_Check_Case{"SumOfEightPasses", {{jrx::TP_Start, "4"}, {jrx::TP_NByte, "4"}}, ""},
        PGN_Check_Case{"SumOfNine", {{jrx::TP_Start, "4"}, {jrx::TP_NByte, "5"}},
                   "Error in row 1!! The Number Bytes plus Start Byte must be minor of 9"},
        PGN_Check_Case{"NegativeStartInASingleFrame", {{jrx::TP_Start, "-3"}, {jrx::TP_NByte, "8"}},
                   "Error in row 1!! The Start Byte must be between 1 and 8"},
        PGN_Check_Case{"NegativeCountInASingleFrame", {{jrx::TP_Start, "0"}, {jrx::TP_NByte, "-1"}},
                   "Error in row 1!! The Number Bytes must be between 1 and 8"},
        PGN_Check_Case{"TransportUpTo1785", {{jrx::TP, "Y"}, {jrx::TP_Start, "1700"}, {jrx::TP_NByte, "85"}}, ""},
        PGN_Check_Case{"TransportSumOver", {{jrx::TP, "Y"}, {jrx::TP_Start, "1700"}, {jrx::TP_NByte, "86"}},
                   "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 1785"},
        PGN_Check_Case{"TransportStartOver", {{jrx::TP, "Y"}, {jrx::TP_Start, "1786"}, {jrx::TP_NByte, "0"}},
                   "Error in row 1!! Start Byte must be between 0 and 1785"},
        PGN_Check_Case{"LowerCaseTransportIsASingleFrame", {{jrx::TP, "y"}, {jrx::TP_Start, "1700"}, {jrx::TP_NByte, "85"}},
                   "Error in row 1!! The Number Bytes must be between 1 and 8"},
        // 16 rows of 90 bytes fill 1440; a 17th passes it, and the message names no row.
        PGN_Check_Case{"TotalOf1440Passes", {{jrx::TP, "Y"}, {jrx::TP_Start, "0"}, {jrx::TP_NByte, "90"}}, "", 16},
        PGN_Check_Case{"TotalOver1440", {{jrx::TP, "Y"}, {jrx::TP_Start, "0"}, {jrx::TP_NByte, "90"}},
                   "Error!! Too many bytes of data, the max number is 1440", 17},
        PGN_Check_Case{"RequestTimeBounds", {{jrx::OnRequest, "Y"}, {jrx::OnReq_Time, "10000000"}}, ""},
        PGN_Check_Case{"RequestTimeOver", {{jrx::OnRequest, "Y"}, {jrx::OnReq_Time, "10000001"}},
                   "Error in row 1!! Time(ms) must be between 0 and 10000000"},
        PGN_Check_Case{"RequestTimeEmpty", {{jrx::OnRequest, "Y"}, {jrx::OnReq_Time, ""}},
                   "Error in row 1!! Time(ms) must be between 0 and 10000000"},
        PGN_Check_Case{"TimeUncheckedWithoutRequest", {{jrx::OnReq_Time, "x"}}, ""}),
    Case_Name);

using J1939TransmitChecks = Checks<1>;
TEST_P(J1939TransmitChecks, FirstFaultWithItsMessage) { EXPECT_EQ(Run().value_or(QString()), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    Cases, J1939TransmitChecks,
    ::testing::Values(
        PGN_Check_Case{"Valid", {}, ""},
        PGN_Check_Case{"PriorityOver", {{jtx::Priority, "8"}}, "Error in row 1!! Priority must be between 0 and 7"},
        PGN_Check_Case{"EmptyDataPage", {{jtx::DP, ""}}, "Error in row 1!! Data Page must be 0 or 1"},
        PGN_Check_Case{"PgnEnd", {{jtx::PGN, "131071"}}, ""},
        PGN_Check_Case{"PgnOver", {{jtx::PGN, "131072"}}, "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        PGN_Check_Case{"SourceEnd", {{jtx::SA, "255"}}, ""},
        PGN_Check_Case{"SourceOver", {{jtx::SA, "256"}}, "Error in row 1!! Source Address must be between 0 and 255"},
        PGN_Check_Case{"NoBytes", {{jtx::TP_NByte, "0"}}, ""},
        PGN_Check_Case{"BytesOver", {{jtx::TP_NByte, "1441"}}, "Error in row 1!! Num Byte must be between 0 and 1440"},
        PGN_Check_Case{"TotalOver", {{jtx::TP_NByte, "500"}}, "Error!! Too many bytes of data, the max number is 1440", 3},
        PGN_Check_Case{"TimerZero", {{jtx::On_Timer, "Y"}, {jtx::SendTimer, "0"}},
                   "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
        PGN_Check_Case{"TimerEnd", {{jtx::On_Timer, "Y"}, {jtx::SendTimer, "65535"}}, ""}),
    Case_Name);

using NMEAReceiveChecks = Checks<2>;
TEST_P(NMEAReceiveChecks, FirstFaultWithItsMessage) { EXPECT_EQ(Run().value_or(QString()), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    Cases, NMEAReceiveChecks,
    ::testing::Values(
        PGN_Check_Case{"SixtyTwoWholeFramesTotal496", {}, "", 62},
        PGN_Check_Case{"PgnOver", {{nrx::PGN, "0x20000"}}, "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        PGN_Check_Case{"SourceOver", {{nrx::SA, "240"}}, "Error in row 1!! Source Address must be between 0 and 239"},
        PGN_Check_Case{"FastPacketUpTo223", {{nrx::FP, "Y"}, {nrx::TP_Start, "0"}, {nrx::TP_NByte, "223"}}, ""},
        PGN_Check_Case{"FastPacketOver", {{nrx::FP, "Y"}, {nrx::TP_Start, "0"}, {nrx::TP_NByte, "224"}},
                   "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 223"},
        PGN_Check_Case{"FastPacketStartOver", {{nrx::FP, "Y"}, {nrx::TP_Start, "224"}, {nrx::TP_NByte, "0"}},
                   "Error in row 1!! Start Byte must be between 0 and 223"},
        PGN_Check_Case{"ThreeFastPacketsPass512", {{nrx::FP, "Y"}, {nrx::TP_Start, "0"}, {nrx::TP_NByte, "223"}},
                   "Error!! Too many bytes of data, the max number is 512", 3},
        PGN_Check_Case{"BothBoxesTakeTheTransportRule",
                   {{nrx::TP, "Y"}, {nrx::FP, "Y"}, {nrx::TP_Start, "300"}, {nrx::TP_NByte, "10"}}, ""},
        PGN_Check_Case{"TransportSumOver", {{nrx::TP, "Y"}, {nrx::TP_Start, "1785"}, {nrx::TP_NByte, "1"}},
                   "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 1785"},
        PGN_Check_Case{"TransportStartOver", {{nrx::TP, "Y"}, {nrx::TP_Start, "1786"}, {nrx::TP_NByte, "0"}},
                   "Error in row 1!! Start Byte must be between 0 and 1785"},
        PGN_Check_Case{"SingleFramePart", {{nrx::TP_Start, "2"}, {nrx::TP_NByte, "6"}}, ""},
        PGN_Check_Case{"SingleFrameSumOver", {{nrx::TP_Start, "2"}, {nrx::TP_NByte, "7"}},
                   "Error in row 1!! The Number Bytes plus Start Byte must be minor of 9"},
        PGN_Check_Case{"SingleFrameHalf", {{nrx::TP_Start, "2"}}, "Error in row 1!! Start Byte and Number Bytes must be both compiled"},
        PGN_Check_Case{"NegativeStart", {{nrx::TP_Start, "-8"}, {nrx::TP_NByte, "8"}},
                   "Error in row 1!! The Start Byte must be between 1 and 8"},
        PGN_Check_Case{"NegativeCount", {{nrx::TP_Start, "4"}, {nrx::TP_NByte, "-4"}},
                   "Error in row 1!! The Number Bytes must be between 1 and 8"}),
    Case_Name);

using NMEATransmitChecks = Checks<3>;
TEST_P(NMEATransmitChecks, FirstFaultWithItsMessage) { EXPECT_EQ(Run().value_or(QString()), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    Cases, NMEATransmitChecks,
    ::testing::Values(
        PGN_Check_Case{"Valid", {}, ""},
        PGN_Check_Case{"PriorityOver", {{ntx::Priority, "8"}}, "Error in row 1!! Priority must be between 0 and 7"},
        PGN_Check_Case{"PgnOver", {{ntx::PGN, "131072"}}, "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        PGN_Check_Case{"SourceOver", {{ntx::SA, "240"}}, "Error in row 1!! Source Address must be between 0 and 239"},
        PGN_Check_Case{"NoBytes", {{ntx::TP_NByte, "0"}}, ""},
        PGN_Check_Case{"AllBytes", {{ntx::TP_NByte, "512"}}, ""},
        PGN_Check_Case{"BytesOver", {{ntx::TP_NByte, "513"}}, "Error in row 1!! Num Byte must be between 0 and 512"},
        PGN_Check_Case{"CountNotTiedToTheFrameType", {{ntx::FP, "N"}, {ntx::TP_NByte, "100"}}, ""},
        PGN_Check_Case{"TotalOver", {{ntx::TP_NByte, "200"}}, "Error!! Too many bytes of data, the max number is 512", 3},
        PGN_Check_Case{"TimerZero", {{ntx::On_Timer, "Y"}, {ntx::SendTimer, "0"}},
                   "Error in row 1!! Send Timer must be between 1 and 65535 ms"}),
    Case_Name);

// The checks and the writer end the transmit table at the same row: a row with a priority and no
// PGN ends both and is refused, so no row after it is saved unchecked.
TEST_F(PGNFiles, TransmitRowsAfterAMissingPgnAreNeitherCheckedNorWritten)
{
    Table_Rows rows = Full(jtx::Window(), {J1939_Tx_Row(1), J1939_Tx_Row(2), J1939_Tx_Row(3)});
    rows[1][jtx::PGN] = "";
    rows[2][jtx::Priority] = "99";
    const std::optional<QString> fault = jtx::Check({{rows, {}}}, 1440);
    ASSERT_TRUE(fault);
    EXPECT_TRUE(fault->startsWith("Error in row 2!! PGN of row 2 is empty")) << fault->toStdString();
    shell::Write_Project_Tables(Dir.File("out.xml"), jtx::Window().File, {rows});
    EXPECT_EQ(Dir.Read("out.xml").count("<row "), 1);
}

}  // namespace pgn_frames_test
