// The SNMP agent and manager tables' checks: tables of cases with the exact texts the user reads.
#include "protocols/building/USNMPManagerAccess.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <map>

namespace test_snmp_checks_suite {

namespace agent = building::snmp_agent;
namespace manager = building::snmp_manager;

namespace {

using Cells = std::map<int, QString>;

// A row of count real columns: number, then the cells given.
QStringList Row(int count, int number, const Cells& cells)
{
    QStringList row;
    for (int c = 0; c < count; ++c)
        row.append(QString());
    row[0] = QString::number(number);
    for (const auto& [c, text] : cells)
        row[c] = text;
    return row;
}

// A valid integer read variable and a valid string write variable.
Cells Read_Variable(Cells changes = {})
{
    using namespace agent::rd;
    Cells cells = {{Enable, "Y"}, {Community_Name, "public"}, {Type, "Int"}, {On_Change, "N"}, {On_Command, "N"},
                   {On_Timer, "N"}, {Position, "10"}, {Bit, "0"}, {NumBits, "16"}, {Description, "temp"},
                   {IP_Address, "192.168.1.125"}, {Conversion, "None"}};
    for (const auto& [c, text] : changes)
        cells[c] = text;
    return cells;
}

Cells Write_Variable(Cells changes = {})
{
    using namespace agent::wr;
    Cells cells = {{Enable, "Y"}, {Community_Name, "private"}, {Type, "String"}, {Position, "20"},
                   {Bit, "0"}, {NumBits, "4"}, {Description, "label"}, {Conversion, "None"}};
    for (const auto& [c, text] : changes)
        cells[c] = text;
    return cells;
}

std::optional<QString> Check_Agent(const std::vector<Cells>& read, const std::vector<Cells>& write)
{
    std::vector<shell::Table_Check_Input> tables(2);
    for (size_t r = 0; r < read.size(); ++r)
        tables[0].Rows.push_back(Row(agent::rd::Count, int(r + 1), read[r]));
    for (size_t r = 0; r < write.size(); ++r)
        tables[1].Rows.push_back(Row(agent::wr::Count, int(r + 1), write[r]));
    return agent::Check(tables, 1440, 1440);
}

class SnmpChecks : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

struct Agent_Case {
    const char* Name;
    bool Write;  // the change goes to the write variable, else to the read one
    Cells Changes;
    const char* Message;  // nullptr: valid
};

const char* const Chars = "(allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\")";

}  // namespace

TEST_F(SnmpChecks, AgentRowsGiveTheirTextsInTheOrderOfTheChecks)
{
    using namespace agent;
    const std::string readDesc = std::string("Error row 1!! [SNMP Read] Description is not correct ") + Chars +
                                 ". First character must be a letter and must be lowercase";
    const std::vector<Agent_Case> cases = {
        {"valid", false, {}, nullptr},
        {"community with a blank", false, {{rd::Community_Name, "pub lic"}},
         "Error row 1!! [SNMP Read] Community Name is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\")"},
        {"no type", false, {{rd::Type, " "}}, "Error row 1!! [SNMP Read] Type must be selected"},
        {"timer with time 0", false, {{rd::On_Timer, "Y"}, {rd::Time, "0"}},
         "Error row 1!! [SNMP Read] Time must be between 1 and 1000000000 ms"},
        {"timer with the longest time", false, {{rd::On_Timer, "y"}, {rd::Time, "1000000000"}}, nullptr},
        {"timer beyond the longest time", false, {{rd::On_Timer, "Y"}, {rd::Time, "1000000001"}},
         "Error row 1!! [SNMP Read] Time must be between 1 and 1000000000 ms"},
        {"no timer, time not a number", false, {{rd::Time, "soon"}}, nullptr},
        {"no position", false, {{rd::Position, ""}}, "Error row 1!! [SNMP Read] Position must be selected"},
        {"no start bit", false, {{rd::Bit, ""}}, "Error row 1!! [SNMP Read] Start Bit must be selected"},
        {"string from bit 3", false, {{rd::Type, "String"}, {rd::Bit, "3"}, {rd::NumBits, "4"}},
         "Error row 1!! [SNMP Read] Start Bit must be 0 if Type is String"},
        {"int of 0 bits", false, {{rd::NumBits, "0"}}, "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 64 bits"},
        {"int of 65 bits", false, {{rd::NumBits, "65"}}, "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 64 bits"},
        {"int of 64 bits: no MIB type holds it", false, {{rd::NumBits, "64"}},
         "Error row 1!! [SNMP Read] Num Bits/Bytes of an Int must be between 1 and 32 bits: the MIB has no wider integer type"},
        {"int of 33 bits", false, {{rd::NumBits, "33"}},
         "Error row 1!! [SNMP Read] Num Bits/Bytes of an Int must be between 1 and 32 bits: the MIB has no wider integer type"},
        {"int of 32 bits", false, {{rd::NumBits, "32"}}, nullptr},
        {"type in any letter case", false, {{rd::Type, "iNT"}, {rd::NumBits, "32"}}, nullptr},
        {"string of 17 bytes", false, {{rd::Type, "String"}, {rd::NumBits, "17"}},
         "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 16 bytes"},
        {"start bit beyond 7 from a file", false, {{rd::Bit, "8"}}, "Error row 1!! [SNMP Read] Start Bit must be between 0 and 7"},
        {"last byte of the area", false, {{rd::Position, "1439"}, {rd::NumBits, "8"}}, nullptr},
        {"two bytes from the last position", false, {{rd::Position, "1439"}, {rd::NumBits, "16"}},
         "Error row 1!! [SNMP Read] Position 1439 with 2 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"bit 1 pushes 8 bits into a second byte", false, {{rd::Position, "1439"}, {rd::Bit, "1"}, {rd::NumBits, "8"}},
         "Error row 1!! [SNMP Read] Position 1439 with 2 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"string of 16 bytes near the end", false, {{rd::Type, "String"}, {rd::Position, "1430"}, {rd::NumBits, "16"}},
         "Error row 1!! [SNMP Read] Position 1430 with 16 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"position 1440 from a file", false, {{rd::Position, "1440"}}, "Error row 1!! [SNMP Read] Position must be between 0 and 1439"},
        {"description starting upper case", false, {{rd::Description, "Temp"}}, readDesc.c_str()},
        {"description starting with a digit", false, {{rd::Description, "9temp"}}, readDesc.c_str()},
        {"empty description", false, {{rd::Description, ""}}, nullptr},
        {"description of a fixed object", false, {{rd::Description, "countin"}},
         "Error row 1!! [SNMP Read] Description \"countin\" is a name the MIB gives to one of its own objects"},
        {"description of a made name", false, {{rd::Description, "trapval3"}},
         "Error row 1!! [SNMP Read] Description \"trapval3\" is a name the MIB gives to one of its own objects"},
        {"description of the imported node", false, {{rd::Description, "enterprises"}},
         "Error row 1!! [SNMP Read] Description \"enterprises\" is a name the MIB gives to one of its own objects"},
        {"address of three parts", false, {{rd::IP_Address, "192.168.1"}},
         "Error row 1!! [SNMP Read] IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"no conversion", false, {{rd::Conversion, ""}}, "Error row 1!! [SNMP Read] Conversion must be selected"},
        {"disabled row with faults", false, {{rd::Enable, "N"}, {rd::Type, ""}, {rd::IP_Address, "x"}}, nullptr},
        {"write: community with a blank", true, {{wr::Community_Name, "a b"}},
         "Error row 1!! [SNMP Write] Community Name is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\")"},
        {"write: no type", true, {{wr::Type, ""}}, "Error row 1!! [SNMP Write] Type must be selected"},
        {"write: no position", true, {{wr::Position, ""}}, "Error row 1!! [SNMP Write] Position must be selected"},
        {"write: no start bit", true, {{wr::Bit, ""}}, "Error row 1!! [SNMP Write] Start Bit must be selected"},
        {"write: string from bit 3", true, {{wr::Bit, "3"}}, "Error row 1!! [SNMP Write] Start Bit must be 0 if Type is String"},
        {"write: int of 65 bits", true, {{wr::Type, "Int"}, {wr::NumBits, "65"}},
         "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 64 bits"},
        {"write: int of 64 bits", true, {{wr::Type, "Int"}, {wr::NumBits, "64"}},
         "Error row 1!! [SNMP Write] Num Bits/Bytes of an Int must be between 1 and 32 bits: the MIB has no wider integer type"},
        {"write: string of 0 bytes", true, {{wr::NumBits, "0"}}, "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 16 bytes"},
        {"write: beyond the area", true, {{wr::Position, "1437"}},
         "Error row 1!! [SNMP Write] Position 1437 with 4 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"write: description", true, {{wr::Description, "La bel"}},
         "Error row 1!! [SNMP Write] Descrtiption is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter and must be lowercase"},
        {"write: made name", true, {{wr::Description, "bufferoutval2"}},
         "Error row 1!! [SNMP Write] Description \"bufferoutval2\" is a name the MIB gives to one of its own objects"},
        {"write: no conversion", true, {{wr::Conversion, " "}}, "Error row 1!! [SNMP Write] Conversion must be selected"},
    };
    for (const Agent_Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto fault = c.Write ? Check_Agent({Read_Variable()}, {Write_Variable(c.Changes)})
                                   : Check_Agent({Read_Variable(c.Changes)}, {Write_Variable()});
        if (c.Message)
            EXPECT_EQ(fault.value_or("valid"), QString::fromUtf8(c.Message));
        else
            EXPECT_EQ(fault, std::nullopt) << fault->toStdString();
    }
}

TEST_F(SnmpChecks, AgentDescriptionsAreAllDifferentAcrossBothTables)
{
    using namespace agent;
    const QString differents = "Error!! The Descriptions must be all differents";
    // The same description on both pages.
    EXPECT_EQ(Check_Agent({Read_Variable()}, {Write_Variable({{wr::Description, "temp"}})}).value_or("valid"), differents);
    // Two empty descriptions pass the character rule but are the same.
    EXPECT_EQ(Check_Agent({Read_Variable({{rd::Description, ""}}), Read_Variable({{rd::Description, ""}, {rd::Position, "30"}})}, {})
                  .value_or("valid"),
              differents);
    // Letter case tells descriptions apart; a disabled row does not count.
    EXPECT_EQ(Check_Agent({Read_Variable(), Read_Variable({{rd::Description, "tEmp"}})},
                          {Write_Variable({{wr::Description, "temp"}, {wr::Enable, "N"}})}),
              std::nullopt);
    // A row fault is told before the uniqueness, with its table's own row number.
    EXPECT_EQ(Check_Agent({Read_Variable()}, {Write_Variable({{wr::Description, "temp"}}), Write_Variable({{wr::Type, ""}})})
                  .value_or("valid"),
              "Error row 2!! [SNMP Write] Type must be selected");
    // Both tables empty: valid.
    EXPECT_EQ(Check_Agent({}, {}), std::nullopt);
}

TEST_F(SnmpChecks, AgentContentEndsAtTheFirstEmptyCommunityName)
{
    using namespace agent;
    // Row 3, below the empty key of row 2, is not checked here: OK asks about it instead.
    EXPECT_EQ(Check_Agent({Read_Variable(), Read_Variable({{rd::Community_Name, "  "}}), Read_Variable({{rd::Type, ""}})}, {}),
              std::nullopt);
}

TEST_F(SnmpChecks, CommunityAndDescriptionCharacterRule)
{
    struct Case {
        const char* Text;
        int Type0, Type1;
    } cases[] = {{"", 0, 0},       {"public", 0, 0}, {"Public9", 0, 1}, {"9lives", 0, 1}, {"a b", 1, 1},
                 {" a", 1, 1},     {"a_b", 1, 1},    {"caffè", 1, 1},   {"z", 0, 0},      {"Z", 0, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(agent::Check_Error_CommName_Desc(QString::fromUtf8(c.Text), 0), c.Type0) << c.Text;
        EXPECT_EQ(agent::Check_Error_CommName_Desc(QString::fromUtf8(c.Text), 1), c.Type1) << c.Text;
    }
}

// ---- The manager table ------------------------------------------------------------------------

namespace {

Cells Request(Cells changes = {})
{
    using namespace manager;
    Cells cells = {{Enable, "Y"},       {IP_Address, "192.168.1.10"}, {Version, "2"},   {Community_String, "public"},
                   {OID, "1.3.6.1.2.1.1.1.0"}, {Type, "String"},      {Mode, "Get"},    {On_Change, "N"},
                   {On_Command, "N"},  {On_Timer, "N"},               {Position, "0"},  {Number_Bytes, "16"},
                   {ConvertFrom, "None"}, {Cancel, "N"}};
    for (const auto& [c, text] : changes)
        cells[c] = text;
    return cells;
}

// A valid SNMPv3 request at the given security level.
Cells V3_Request(const char* level, Cells changes = {})
{
    using namespace manager;
    Cells cells = Request({{Version, "3"}, {User, "operator1"}, {Auth_Pass, "authpass1"}, {Priv_Pass, "privpass1"},
                           {Security_Level, level}, {Auth_Mode, "SHA"}, {Priv_Mode, "AES"}});
    for (const auto& [c, text] : changes)
        cells[c] = text;
    return cells;
}

std::optional<QString> Check_Manager(const std::vector<Cells>& rows)
{
    std::vector<shell::Table_Check_Input> tables(1);
    for (size_t r = 0; r < rows.size(); ++r)
        tables[0].Rows.push_back(Row(manager::Count, int(r + 1), rows[r]));
    return manager::Check(tables, 1440);
}

struct Manager_Case {
    const char* Name;
    Cells Row;
    const char* Message;  // after "Error row 1"; nullptr: valid
};

}  // namespace

TEST_F(SnmpChecks, ManagerRequestsGiveTheirTextsInTheOrderOfTheChecks)
{
    using namespace manager;
    const QString oid61 = QStringLiteral("1.").repeated(30) + QStringLiteral("1");
    const QString oid62 = oid61 + QStringLiteral("1");
    ASSERT_EQ(oid61.size(), 61);
    const std::vector<Manager_Case> cases = {
        {"valid", Request(), nullptr},
        {"address of three parts", Request({{IP_Address, "192.168.1"}}),
         "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"address part 256", Request({{IP_Address, "192.168.1.256"}}),
         "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"empty OID", Request({{OID, ""}}), "!! OID string can not be empty"},
        {"OID of 61 characters", Request({{OID, oid61}}), nullptr},
        {"OID of 62 characters", Request({{OID, oid62}}), "!! OID string is too much length"},
        {"OID with a letter", Request({{OID, "1.3.a"}}), "!! OID string can contains only number and \".\""},
        {"OID with a blank", Request({{OID, " 1.3"}}), "!! OID string can contains only number and \".\""},
        {"OID starting with a dot", Request({{OID, ".1.3"}}), "!! OID string cannot start with a \".\""},
        {"OID ending with a dot", Request({{OID, "1.3."}}), "!! OID string cannot finish with a \".\""},
        {"OID with two dots in a row", Request({{OID, "1..3"}}), "!! OID string cannot contains two or more consecutive \".\""},
        {"OID component 4294967296", Request({{OID, "1.4294967296"}}),
         "!! OID string cannot contains number major of $FFFFFFFF between two \".\""},
        {"OID component of 20 digits", Request({{OID, "1.99999999999999999999.2"}}),
         "!! OID string cannot contains number major of $FFFFFFFF between two \".\""},
        {"OID component 4294967295", Request({{OID, "1.4294967295"}}), nullptr},
        {"timer with time 0", Request({{On_Timer, "Y"}, {Time, "0"}}), "!! Time must be between 1 and 100000000 ms"},
        {"timer with the longest time", Request({{On_Timer, "Y"}, {Time, "100000000"}}), nullptr},
        {"no timer, no time", Request({{Time, "x"}}), nullptr},
        {"0 bytes", Request({{Number_Bytes, "0"}}), nullptr},
        {"1025 bytes", Request({{Number_Bytes, "1025"}}), "!! Number bytes must be between 0 and 1024"},
        {"bytes not a number", Request({{Number_Bytes, ""}}), "!! Number bytes must be between 0 and 1024"},
        {"last byte of the area", Request({{Position, "1439"}, {Number_Bytes, "1"}}), nullptr},
        {"two bytes from the last position", Request({{Position, "1439"}, {Number_Bytes, "2"}}),
         "!! Position 1439 with 2 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"1024 bytes from 417", Request({{Position, "417"}, {Number_Bytes, "1024"}}),
         "!! Position 417 with 1024 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {"no position", Request({{Position, ""}}), "!! Position must be between 0 and 1439"},
        {"no conversion", Request({{ConvertFrom, ""}}), "!! Conversion not selected"},
        {"version 1 needs no user", Request({{Version, "1"}}), nullptr},
        {"v3 without user", V3_Request("Auth Priv", {{User, ""}}), "!! User string can not be empty"},
        {"v3 user of 16", V3_Request("Auth Priv", {{User, "abcdefghijklmnop"}}), "!! User string is too much length"},
        {"v3 user of one letter", V3_Request("Auth Priv", {{User, "a"}}), nullptr},
        {"v3 user with a blank", V3_Request("Auth Priv", {{User, "op 1"}}),
         "!! User string can contains only number and letters"},
        {"v3 auth pass of 7", V3_Request("Auth Priv", {{Auth_Pass, "abcdefg"}}),
         "!! Auth Pass string must have at least 8 characters"},
        {"v3 auth pass of 16", V3_Request("Auth Priv", {{Auth_Pass, "abcdefghijklmnop"}}),
         "!! Auth Pass string is too much length"},
        {"v3 auth pass with a dash", V3_Request("Auth Priv", {{Auth_Pass, "auth-pass"}}),
         "!! Auth Pass string can contains only number and letters"},
        {"v3 priv pass empty", V3_Request("Auth Priv", {{Priv_Pass, ""}}),
         "!! Priv Pass string must have at least 8 characters"},
        {"v3 priv pass of 16", V3_Request("Auth Priv", {{Priv_Pass, "abcdefghijklmnop"}}),
         "!! Priv Pass string is too much length"},
        {"v3 priv pass with a dot", V3_Request("Auth Priv", {{Priv_Pass, "priv.pass"}}),
         "!! Priv Pass string can contains only number and letters"},
        {"v3 passwords of 8 and 15", V3_Request("Auth Priv", {{Auth_Pass, "12345678"}, {Priv_Pass, "ABCDEFGHIJKLMNO"}}), nullptr},
        {"v3 without a level", V3_Request(""), "!! Security Level must be selected"},
        {"v3 NoAuth NoPriv needs no modes", V3_Request("NoAuth NoPriv", {{Auth_Mode, ""}, {Priv_Mode, ""}}), nullptr},
        {"v3 NoAuth NoPriv still needs passwords", V3_Request("NoAuth NoPriv", {{Priv_Pass, ""}}),
         "!! Priv Pass string must have at least 8 characters"},
        {"v3 Auth NoPriv without auth mode", V3_Request("Auth NoPriv", {{Auth_Mode, ""}, {Priv_Mode, ""}}),
         "!! Auth Mode must be selected"},
        {"v3 Auth NoPriv needs no priv mode", V3_Request("Auth NoPriv", {{Priv_Mode, ""}}), nullptr},
        {"v3 Auth Priv without priv mode", V3_Request("Auth Priv", {{Priv_Mode, " "}}), "!! Priv Mode must be selected"},
        {"v3 level in another case", V3_Request(" auth priv ", {{Priv_Mode, ""}}), "!! Priv Mode must be selected"},
        {"disabled row with faults", Request({{Enable, "N"}, {OID, ""}, {Number_Bytes, "x"}}), nullptr},
        {"enable must be exactly Y", Request({{Enable, "y"}, {OID, ""}}), nullptr},
    };
    for (const Manager_Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto fault = Check_Manager({c.Row});
        if (c.Message)
            EXPECT_EQ(fault.value_or("valid"), QStringLiteral("Error row 1") + QString::fromUtf8(c.Message));
        else
            EXPECT_EQ(fault, std::nullopt) << fault->toStdString();
    }
}

TEST_F(SnmpChecks, ManagerRefusesTheSameAgentVersionAndOidTwice)
{
    using namespace manager;
    const QString same = "Error in rows 1 and 3!! Same IP Address, Version and OID used";
    EXPECT_EQ(Check_Manager({Request(), Request({{OID, "1.3.6.1.2.1.1.5.0"}}), Request({{Mode, "Set"}})}).value_or("valid"), same);
    // Blanks around the address do not tell requests apart.
    EXPECT_EQ(Check_Manager({Request(), Request({{OID, "1.3.6.1.2.1.1.5.0"}}), Request({{IP_Address, " 192.168.1.10 "}})})
                  .value_or("valid"),
              same);
    // Another version, or one of the two disabled: valid.
    EXPECT_EQ(Check_Manager({Request(), Request({{Version, "1"}})}), std::nullopt);
    EXPECT_EQ(Check_Manager({Request(), Request({{Enable, "N"}})}), std::nullopt);
    // A row fault is told first.
    EXPECT_EQ(Check_Manager({Request(), Request(), Request({{OID, ""}})}).value_or("valid"),
              "Error row 3!! OID string can not be empty");
}

}  // namespace test_snmp_checks_suite
