// The KNX rule table without its window: the file read and written back byte for byte, the
// defaults of a sparse file, and the checks with their exact messages.
#include "platform/Exception.h"
#include "protocols/building/UKNXAccess.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <gtest/gtest.h>
#include <map>

using shell::Table_Rows;
namespace knx = building::knx;

namespace knx_table_test {

class KnxTable : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    std::vector<Table_Rows> Read(const QString& path, QStringList* problems = nullptr)
    {
        std::vector<Table_Rows> tables;
        shell::Read_Project_Tables(path, knx::Window().File, &tables, problems);
        return tables;
    }
    TempDir Dir;
};

const Table_Rows Golden_Rows = {
    {"1", "Y", "1.1.20", "1/2/3", "Write", "Low", "Swap16", "0,5", "N", "Y", "N", "Y", "Y", "1000", "0", "No", "2",
     "5000", "Room & hall <1>"},
    {"2", "Y", "15.15.255", "31/2047", "read", "System", "Float16 to Int", "", "Y", "N", "Y", "N", "N", "", "1184", "7",
     "2040", "0", "group two"},
    {"3", "N", "0.0.0", "230.240", "1024", "Urgent", "None", "x", "N", "N", "N", "N", "N", "0", "1439", "No", "14", "",
     "disabled \"quoted\""},
};

TEST_F(KnxTable, GoldenFileReadAndWrittenBackByteForByte)
{
    const QByteArray golden = ReadTestData("KNX_SetAccess.xml");
    ASSERT_FALSE(golden.isEmpty());
    Dir.Write("KNX_SetAccess.xml", golden);
    QStringList problems;
    const std::vector<Table_Rows> read = Read(Dir.File("KNX_SetAccess.xml"), &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], Golden_Rows);

    // As the window holds them: 1024 rows, the rest cleared (enabled, no source address).
    const shell::Table_Description& table = knx::Window().File.Tables[0];
    EXPECT_EQ(table.Capacity, 1024);
    Table_Rows full = Golden_Rows;
    for (int r = 4; r <= table.Capacity; ++r)
        full.push_back(table.Cleared_Row(r));
    EXPECT_EQ(full[3], QStringList({"4", "Y", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(shell::Project_Tables_Bytes(knx::Window().File, {full}), golden);
    // The layout in its own words: the root, its container, the version comment after the root.
    EXPECT_TRUE(golden.startsWith("<BACnet_to_KNX><KNX_in_Write><row Enable=\"Y\" Source_Address="));
    EXPECT_TRUE(golden.endsWith("</KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.004-->"));
}

TEST_F(KnxTable, AnEmptyTableIsTheRootTheCommentAndAnEmptyContainer)
{
    const shell::Table_Description& table = knx::Window().File.Tables[0];
    Table_Rows cleared;
    for (int r = 1; r <= table.Capacity; ++r)
        cleared.push_back(table.Cleared_Row(r));
    EXPECT_EQ(shell::Project_Tables_Bytes(knx::Window().File, {cleared}),
              "<BACnet_to_KNX><KNX_in_Write/></BACnet_to_KNX><!--SW_VERSION = 1.004-->");
}

// Seven attributes have defaults; the eleven others are required: a row lacking one is read with
// the others and named in the problems.
TEST_F(KnxTable, SparseRowsTakeTheDefaultsAndMissingRequiredValuesAreNamed)
{
    Dir.Write("k.xml",
              "<X><KNX_in_Write><row Source_Address=\"1.1.1\" Destination_Address=\"1/1\" APCI=\"Read\" Extended=\"N\" "
              "ReTest=\"N\" On_Change=\"N\" Poll_Time=\"\" Position=\"5\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"m\"/>"
              "<row Source_Address=\"1.1.2\"/></KNX_in_Write></X>");
    QStringList problems;
    const Table_Rows rows = Read(Dir.File("k.xml"), &problems)[0];
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], QStringList({"1", "Y", "1.1.1", "1/1", "Read", "Normal", "None", "", "N", "N", "N", "N", "N", "",
                                    "5", "No", "1", "0", "m"}));
    EXPECT_EQ(rows[1][knx::Source_Address], "1.1.2");
    EXPECT_EQ(problems, QStringList("Row 2 of \"KNX_in_Write\" lacks \"Destination_Address\", \"APCI\", \"Extended\", "
                                    "\"ReTest\", \"On_Change\", \"Poll_Time\", \"Position\", \"Bit_Mode\", \"Length\", "
                                    "\"Mnemonic\"."));
}

TEST(KnxPriority, AValueOutsideTheListReadsAsNormal)
{
    EXPECT_EQ(knx::Normal_Priority("Low"), "Low");
    EXPECT_EQ(knx::Normal_Priority("low"), "Normal");
    EXPECT_EQ(knx::Normal_Priority(" Urgent"), "Normal");
    EXPECT_EQ(knx::Normal_Priority(""), "Normal");
}

// ---- Checks ------------------------------------------------------------------------------------

struct Check_Case {
    const char* Name;
    std::map<int, QString> Cells;  // changes to a valid rule
    const char* Message;           // "" when the rule passes
};

QStringList Valid_Rule()
{
    return {"1", "Y", "1.1.20", "1/2/3", "Write", "Normal", "None", "", "N", "N", "N", "N", "N", "", "0", "No", "2",
            "0", "m"};
}

class KnxChecks : public ::testing::TestWithParam<Check_Case> {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

TEST_P(KnxChecks, FirstFaultOfRowTwoWithItsText)
{
    QStringList rule = Valid_Rule();
    for (const auto& [column, text] : GetParam().Cells)
        rule[column] = text;
    rule[0] = "2";
    const Table_Rows rows = {Valid_Rule(), rule};
    const std::optional<QString> fault = knx::Check({{rows, {}}}, knx::MQTT_Array_Size, QLatin1Char('.'));
    EXPECT_EQ(fault.value_or(QString()), QString::fromUtf8(GetParam().Message));
}

const char* const Source_Fault = "Error row 2!! [KNX in Write] Source Address must be a valid KNX Address (Ex. 1.1.20)";
const char* const Dest_Individual_Fault =
    "Error row 2!! [KNX in Write] Destination Address must be a valid KNX Address (Ex. 1.1.20)";
const char* const Dest_Group_Fault =
    "Error row 2!! [KNX in Write] Destination Address must be a valid KNX Address (Ex. 230.240)";

INSTANTIATE_TEST_SUITE_P(
    Addresses, KnxChecks,
    ::testing::Values(
        // Individual addresses: area.line.device, the all-zero one allowed; one number 1..65535.
        Check_Case{"SourceThreeParts", {{knx::Source_Address, " 15.15.255 "}}, ""},
        Check_Case{"SourceAllZero", {{knx::Source_Address, "0.0.0"}}, ""},
        Check_Case{"SourceAreaTooBig", {{knx::Source_Address, "16.1.1"}}, Source_Fault},
        Check_Case{"SourceDeviceTooBig", {{knx::Source_Address, "1.1.256"}}, Source_Fault},
        Check_Case{"SourceFourParts", {{knx::Source_Address, "1.1.1.1"}}, Source_Fault},
        Check_Case{"SourceGroupForm", {{knx::Source_Address, "1/1/1"}}, Source_Fault},
        Check_Case{"SourceOneNumber", {{knx::Source_Address, "4660"}}, ""},
        Check_Case{"SourceNumberZero", {{knx::Source_Address, "0"}}, Source_Fault},
        Check_Case{"SourceLetters", {{knx::Source_Address, "one"}}, Source_Fault},
        // Two parts: two bytes, each 0 .. 255.
        Check_Case{"SourceTwoBytes", {{knx::Source_Address, "17.255"}}, ""},
        Check_Case{"SourceTwoBytesTooBig", {{knx::Source_Address, "1.256"}}, Source_Fault},
        Check_Case{"SourceTwoPartsLetters", {{knx::Source_Address, "a.b"}}, Source_Fault},
        // Destinations with a "." are individual, others group addresses in two or three levels.
        Check_Case{"DestIndividual", {{knx::Destination_Address, "1.2.3"}}, ""},
        Check_Case{"DestIndividualTooBig", {{knx::Destination_Address, "1.16.3"}}, Dest_Individual_Fault},
        Check_Case{"DestIndividualTwoBytes", {{knx::Destination_Address, "230.240"}}, ""},
        Check_Case{"DestIndividualTwoBytesTooBig", {{knx::Destination_Address, "230.999"}}, Dest_Individual_Fault},
        Check_Case{"DestThreeLevels", {{knx::Destination_Address, "31/7/255"}}, ""},
        Check_Case{"DestThreeLevelsMainTooBig", {{knx::Destination_Address, "32/7/255"}}, Dest_Group_Fault},
        Check_Case{"DestThreeLevelsMiddleTooBig", {{knx::Destination_Address, "1/8/0"}}, Dest_Group_Fault},
        Check_Case{"DestThreeLevelsAllZero", {{knx::Destination_Address, "0/0/0"}}, Dest_Group_Fault},
        Check_Case{"DestTwoLevels", {{knx::Destination_Address, "31/2047"}}, ""},
        Check_Case{"DestTwoLevelsSubTooBig", {{knx::Destination_Address, "1/2048"}}, Dest_Group_Fault},
        Check_Case{"DestOneNumber", {{knx::Destination_Address, "65535"}}, ""},
        Check_Case{"DestOneNumberTooBig", {{knx::Destination_Address, "65536"}}, Dest_Group_Fault},
        Check_Case{"DestEmpty", {{knx::Destination_Address, ""}}, Dest_Group_Fault},
        Check_Case{"DestFourLevels", {{knx::Destination_Address, "1/1/1/1"}}, Dest_Group_Fault}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Fields, KnxChecks,
    ::testing::Values(
        Check_Case{"ApciReadLowerCase", {{knx::APCI, "read"}}, ""},
        Check_Case{"ApciNumber", {{knx::APCI, "1023"}}, ""},
        Check_Case{"ApciTooBig", {{knx::APCI, "1024"}}, "Error row 2!! [KNX in Write] APCI must be between 0 and 1023 or use the value Read or Write"},
        Check_Case{"ApciBlankAfter", {{knx::APCI, "Write "}}, "Error row 2!! [KNX in Write] APCI must be between 0 and 1023 or use the value Read or Write"},
        Check_Case{"PriorityLowerCase", {{knx::Priority, "normal"}}, "Error row 2!! [KNX in Write] Priority must be System or Urgent or Normal or Low"},
        Check_Case{"FormatBlank", {{knx::Format, "  "}}, "Error row 2!! [KNX in Write] Format is not correct"},
        Check_Case{"FactorComma", {{knx::MultiplicationFactor, "2,5"}}, ""},
        Check_Case{"FactorPoint", {{knx::MultiplicationFactor, "2.5"}}, ""},
        Check_Case{"FactorLetters", {{knx::MultiplicationFactor, "two"}}, "Error row 2!! [KNX in Write] Mul. Factor must be a valid Float"},
        Check_Case{"PollTimeUncheckedWithTimerOff", {{knx::Poll_Time, "x"}}, ""},
        Check_Case{"PollTimeZeroWithTimer", {{knx::On_Timer, "Y"}, {knx::Poll_Time, "0"}}, "Error row 2!! [KNX in Write] Poll Time must be between 1 and 100000000"},
        Check_Case{"PollTimeWithTimer", {{knx::On_Timer, "y"}, {knx::Poll_Time, "100000000"}}, ""},
        Check_Case{"PositionTooBig", {{knx::Position, "1440"}}, "Error row 2!! [KNX in Write] Position must be between 0 and 1439"},
        Check_Case{"PositionEmpty", {{knx::Position, ""}}, "Error row 2!! [KNX in Write] Position must be between 0 and 1439"},
        Check_Case{"BitModeNoLowerCase", {{knx::Bit_Mode, "no"}, {knx::Length, "14"}}, ""},
        Check_Case{"BitModeEight", {{knx::Bit_Mode, "8"}}, "Error row 2!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7"},
        Check_Case{"ByteStandardLength15", {{knx::Length, "15"}}, "Error row 2!! [KNX in Write] Length must be between 1 and 14"},
        Check_Case{"ByteExtendedLength255", {{knx::Extended, "Y"}, {knx::Length, "255"}}, ""},
        Check_Case{"ByteExtendedLength256", {{knx::Extended, "Y"}, {knx::Length, "256"}}, "Error row 2!! [KNX in Write] Length must be between 1 and 255"},
        Check_Case{"BitStandardLength113", {{knx::Bit_Mode, "0"}, {knx::Length, "113"}}, "Error row 2!! [KNX in Write] Length must be between 1 and 112"},
        Check_Case{"LengthZero", {{knx::Length, "0"}}, "Error row 2!! [KNX in Write] Length must be between 1 and 14"},
        // Bit mode, extended, start bit 7, 2040 bits: 256 bytes from Position.
        Check_Case{"BitExtendedFitsAt1184", {{knx::Extended, "Y"}, {knx::Bit_Mode, "7"}, {knx::Length, "2040"}, {knx::Position, "1184"}}, ""},
        Check_Case{"BitExtendedPastTheEndAt1185", {{knx::Extended, "Y"}, {knx::Bit_Mode, "7"}, {knx::Length, "2040"}, {knx::Position, "1185"}}, "Error row 2!! [KNX in Write] Position plus Length must be minor or equal to 1440"},
        Check_Case{"BytesFitAt1426", {{knx::Length, "14"}, {knx::Position, "1426"}}, ""},
        Check_Case{"BytesPastTheEndAt1427", {{knx::Length, "14"}, {knx::Position, "1427"}}, "Error row 2!! [KNX in Write] Position plus Length must be minor or equal to 1440"},
        Check_Case{"TimeOutEmpty", {{knx::TimeOut, ""}}, "Error row 2!! [KNX in Write] TimeOut must be between 0 and 100000000 milliseconds"},
        Check_Case{"TimeOutHex", {{knx::TimeOut, "$10"}}, ""},
        // A disabled rule passes whatever it holds.
        Check_Case{"DisabledRule", {{knx::Enable, "N"}, {knx::Source_Address, "bad"}, {knx::Length, "0"}}, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// The checks end at the first row without a source address: a broken row below it is not examined.
TEST(KnxCheckEnd, RowsBelowTheFirstEmptySourceAreNotChecked)
{
    shell::Load_Default_Language();
    QStringList broken = Valid_Rule();
    broken[knx::Length] = "0";
    QStringList empty = Valid_Rule();
    empty[knx::Source_Address] = "  ";
    EXPECT_EQ(knx::Check({{{Valid_Rule(), empty, broken}, {}}}, knx::MQTT_Array_Size, QLatin1Char('.')), std::nullopt);
    EXPECT_TRUE(knx::Check({{{Valid_Rule(), broken}, {}}}, knx::MQTT_Array_Size, QLatin1Char('.')).has_value());
}

}  // namespace knx_table_test
