// The checks of the DALI rule tables with their exact messages: functions (conditions of the
// input events, values, next functions), then access rules (types, ranges, function references,
// position and its fit in the exchange area).
#include "protocols/building/UDALI_Access.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>
#include <map>

using shell::Table_Rows;
namespace dali = building::dali;
namespace acc = building::dali::acc;
namespace fun = building::dali::fun;

namespace dali_checks_test {

Table_Rows Valid_Functions()
{
    return {{"1", "Set Out", "When Equal to Value", "Short Press", "DALI Channel 3", "254", "2", "f1"},
            {"2", "Dim Up", "No Condition", "2.5", "DALI Group 1", "", "0", "f2"},
            {"3", "Toggle", "NAND Logic with Value", "Vacant", "DALI Broadcast", "0", "", "f3"},
            {"4", "", "", "", "", "", "", ""}};
}

Table_Rows Valid_Rules()
{
    return {{"1", "Y", "Device", "Dimmer", "3", "0", "144", "1000", "5000", "1 - f1", "10", "1", "r1"},
            {"2", "Y", "Sensor", "Light Sensor", "63", "31", "255", "100000000", "0", "0 - None", "1438", "2", "r2"},
            {"3", "Y", "", "", "", "", "", "", "", "", "", "", ""}};
}

struct Check_Case {
    const char* Name;
    int Table;                     // whose row 2 changes
    std::map<int, QString> Cells;  // the changes
    const char* Message;           // "" when the tables pass
};

class DaliChecks : public ::testing::TestWithParam<Check_Case> {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

TEST_P(DaliChecks, FirstFaultWithItsText)
{
    std::vector<Table_Rows> tables = {Valid_Functions(), Valid_Rules()};
    for (const auto& [column, text] : GetParam().Cells)
        tables[size_t(GetParam().Table)][1][column] = text;
    EXPECT_EQ(dali::Check(tables, QLatin1Char('.')).value_or(QString()), QString::fromUtf8(GetParam().Message));
}

constexpr int F = dali::Functions_Table;
constexpr int A = dali::Access_Table;

INSTANTIATE_TEST_SUITE_P(
    Functions, DaliChecks,
    ::testing::Values(
        Check_Case{"ConditionEmpty", F, {{fun::Condition, " "}}, "Functions - Error Row 2!! Condition cannot be empty"},
        Check_Case{"PushButtonWithAnd", F, {{fun::Value, "Short Press"}, {fun::Condition, "AND Logic with Value"}},
                   "Functions - Error Row 2!! A Button Value needs the Condition When Equal to Value"},
        Check_Case{"PushButtonWithEqual", F, {{fun::Value, " Button Stuck "}, {fun::Condition, "When Equal to Value"}}, ""},
        Check_Case{"NandEventWithAnd", F, {{fun::Value, "Presence Sensor"}, {fun::Condition, "AND Logic with Value"}},
                   "Functions - Error Row 2!! A Value of No Movement, Vacant or Presence Sensor needs the Condition NAND "
                   "Logic with Value"},
        Check_Case{"AndEventWithNand", F, {{fun::Value, "Movement"}, {fun::Condition, "NAND Logic with Value"}},
                   "Functions - Error Row 2!! A Value of Movement, Still Vacant, Occupied, Still Occupied or Movement "
                   "Sensor needs the Condition AND Logic with Value"},
        Check_Case{"AndEventWithAnd", F, {{fun::Value, "Still Occupied"}, {fun::Condition, "AND Logic with Value"}}, ""},
        Check_Case{"NumberWithComma", F, {{fun::Value, "2,5"}}, ""},
        Check_Case{"NegativeNumber", F, {{fun::Value, "-7"}}, ""},
        Check_Case{"ValueLetters", F, {{fun::Value, "two"}}, "Functions - Error Row 2!! Value must be a valid float value"},
        Check_Case{"ValueEmpty", F, {{fun::Value, ""}}, "Functions - Error Row 2!! Value must be a valid float value"},
        Check_Case{"EventInAnotherCase", F, {{fun::Value, "short press"}},
                   "Functions - Error Row 2!! Value must be a valid float value"},
        Check_Case{"NextFunctionLast", F, {{fun::Next_Function, "3"}}, ""},
        Check_Case{"NextFunctionBeyond", F, {{fun::Next_Function, "4"}},
                   "Functions - Error Row 2!! Next Function must be between 0 and 3"},
        Check_Case{"NextFunctionLetters", F, {{fun::Next_Function, "x"}},
                   "Functions - Error Row 2!! Next Function must be between 0 and 3"}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    AccessRules, DaliChecks,
    ::testing::Values(
        Check_Case{"SensorWithDeviceType", A, {{acc::Type, "Dimmer"}},
                   "Set Access - Error Row 2!! The Type selected is not compatible with the Sensor"},
        Check_Case{"DeviceWithSensorType", A, {{acc::DeviceSensor, "Device"}, {acc::Type, "Push Button"}},
                   "Set Access - Error Row 2!! The Type selected is not compatible with the Device"},
        Check_Case{"OtherKindTakesSensorTypes", A, {{acc::DeviceSensor, "Lamp"}, {acc::Type, "Push Button"}}, ""},
        Check_Case{"ChannelBeyond", A, {{acc::ChannelNumber, "64"}},
                   "Set Access - Error Row 2!! Channel Number Must be Between 0 and 63"},
        Check_Case{"ChannelHex", A, {{acc::ChannelNumber, "$3F"}}, ""},
        Check_Case{"InstanceEmpty", A, {{acc::Instance, ""}},
                   "Set Access - Error Row 2!! Instance Must be Between 0 and 31"},
        Check_Case{"CommandBeyond", A, {{acc::Command, "256"}},
                   "Set Access - Error Row 2!! Command Must be Between 0 and 255"},
        Check_Case{"TimeSendBeyond", A, {{acc::TimeSend, "100000001"}},
                   "Set Access - Error Row 2!! Time Send Must be Between 0 and 100000000 milliseconds"},
        Check_Case{"TimeOutNegative", A, {{acc::TimeOut, "-1"}},
                   "Set Access - Error Row 2!! TimeOut Must be Between 0 and 100000000 milliseconds"},
        Check_Case{"FunctionLast", A, {{acc::Function, "3 - f3"}}, ""},
        Check_Case{"FunctionBeyond", A, {{acc::Function, "4 - gone"}},
                   "Set Access - Error Row 2!! Function Must be between 0 and 3"},
        Check_Case{"FunctionLetters", A, {{acc::Function, "none"}},
                   "Set Access - Error Row 2!! Function Must be between 0 and 3"},
        Check_Case{"FunctionEmpty", A, {{acc::Function, ""}}, ""},
        Check_Case{"PositionLastByte", A, {{acc::Position, "1439"}, {acc::NumBytes, "1"}}, ""},
        Check_Case{"PositionPastTheArea", A, {{acc::Position, "1440"}, {acc::NumBytes, "1"}},
                   "Set Access - Error Row 2!! Position Must be Between 0 and 1439"},
        Check_Case{"TwoBytesAtTheLastByte", A, {{acc::Position, "1439"}},
                   "Set Access - Error Row 2!! Position plus Num Bytes must be lower or equal to 1440"},
        Check_Case{"DeviceTakesOneByte", A, {{acc::DeviceSensor, "Device"}, {acc::Type, "Led Lamp"}, {acc::Position, "1439"}}, ""},
        Check_Case{"DisabledRuleWithEmptyCells", A,
                   {{acc::Enable, "N"}, {acc::Type, ""}, {acc::Instance, ""}, {acc::Position, ""}}, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DaliCheckOrder, EveryFunctionsConditionBeforeAnyNextFunctionAndTheTablesEndAtTheirKeys)
{
    shell::Load_Default_Language();
    std::vector<Table_Rows> tables = {Valid_Functions(), Valid_Rules()};
    tables[F][0][fun::Next_Function] = "9";
    tables[F][2][fun::Condition] = "";
    EXPECT_EQ(dali::Check(tables, QLatin1Char('.')), "Functions - Error Row 3!! Condition cannot be empty");

    // Below the first function without a Function and the first rule without a Dev/Sen, nothing is checked.
    tables = {Valid_Functions(), Valid_Rules()};
    tables[F].push_back({"5", "Toggle", "", "", "", "", "", ""});
    tables[A].push_back({"4", "Y", "Sensor", "Dimmer", "", "", "", "", "", "", "", "", ""});
    EXPECT_EQ(dali::Check(tables, QLatin1Char('.')), std::nullopt);
    // With no functions defined, a rule's function must be 0.
    tables = {{}, Valid_Rules()};
    EXPECT_EQ(dali::Check(tables, QLatin1Char('.')), "Set Access - Error Row 1!! Function Must be between 0 and 0");
}

TEST(DaliHelpers, FunctionChoicesConditionsAndBytes)
{
    EXPECT_EQ(dali::Function_Choices(Valid_Functions()),
              QStringList({"0 - None", "1 - f1", "2 - f2", "3 - f3", "4 - "}));
    EXPECT_EQ(dali::Condition_For_Event("Long Press Repeat"), "When Equal to Value");
    EXPECT_EQ(dali::Condition_For_Event("No Movement"), "NAND Logic with Value");
    EXPECT_EQ(dali::Condition_For_Event("Movement Sensor"), "AND Logic with Value");
    EXPECT_EQ(dali::Condition_For_Event("12"), "");
    EXPECT_EQ(dali::Rule_Bytes(Valid_Rules()[1]), 2);
    EXPECT_EQ(dali::Rule_Bytes(Valid_Rules()[0]), 1);
}

}  // namespace dali_checks_test
