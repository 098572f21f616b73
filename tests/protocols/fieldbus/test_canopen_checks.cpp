// The checks run before the CANopen PDO and SDO files are written: one table of cases per window,
// each with the whole message the user sees.
#include "protocols/fieldbus/UCANopen_Tables.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>
#include <map>

using namespace fieldbus;

namespace {

using TChanges = std::map<int, QString>;

// Rows that pass every check, by window and table; changes replace cells by real column.
const QStringList Good_Rows[3][2] = {
    {{"1", "0x181", "2", "0", "1", "", "", "", "", "", "", "100", "m"},
     {"1", "0x201", "1", "10", "", "", "", "", "", "", "", "1000", "Y", "m"}},
    {{"1", "5", "0x6000", "1", "2", "100", "0", "1", "", "", "m"},
     {"1", "5", "0x6200", "1", "1", "0", "N", "20", "", "", "", "m"}},
    {{"1", "0x2000", "0", "1", "5", "", "", "", "m"}, {"1", "0x2100", "0", "1", "6", "", "", "", "m"}},
};

enum Window { PDO, Client, Server };

QStringList Row(Window w, int table, int number, const TChanges& changes = {})
{
    QStringList row = Good_Rows[w][table];
    row[0] = QString::number(number);
    for (const auto& [c, v] : changes)
        row[c] = v;
    return row;
}

const shell::Project_File_Description& Description(Window w)
{
    return w == PDO ? PDO_CANopen_Description() : w == Client ? SDO_Client_CANopen_Description()
                                                                 : SDO_Server_CANopen_Description();
}

QString Fault(Window w, const shell::Table_Rows& first, const shell::Table_Rows& second = {})
{
    CANopen_Check_Input in;
    for (int t = 0; t < 2; ++t)
        in.Tables.push_back({t == 0 ? first : second, std::vector<bool>(Description(w).Tables[size_t(t)].Columns.size(), true)});
    const auto fault = w == PDO ? Check_PDO_Tables(in) : w == Client ? Check_SDO_Client_Tables(in) : Check_SDO_Server_Tables(in);
    return fault.value_or(QStringLiteral("accepted"));
}

class CANopenCheck : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

struct TCase {
    const char* Name;
    Window W;
    int Table;
    TChanges Changes;
    const char* Expected;  // "accepted" or the whole message for the case in row 3
};

TEST_F(CANopenCheck, EachRowCheckWithItsMessage)
{
    using namespace pdo_rx;
    const TCase cases[] = {
        // PDO receive.
        {"COB-ID 0x7FF", PDO, 0, {{COB_ID, "0x7FF"}}, "accepted"},
        {"COB-ID $7FF", PDO, 0, {{COB_ID, "$7FF"}}, "accepted"},
        {"COB-ID 2047 with a leading blank", PDO, 0, {{COB_ID, " 2047"}}, "accepted"},
        {"COB-ID 0x800", PDO, 0, {{COB_ID, "0x800"}}, "Error row 3!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
        {"COB-ID trailing blank", PDO, 0, {{COB_ID, "5 "}}, "Error row 3!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
        {"Dimension 0", PDO, 0, {{Dimension, "0"}}, "Error row 3!! [Receive PDO] Dimension must be between 1 and 8"},
        {"Dimension 9", PDO, 0, {{Dimension, "9"}}, "Error row 3!! [Receive PDO] Dimension must be between 1 and 8"},
        {"bytes past Dimension not checked", PDO, 0, {{Dimension, "3"}, {Add_B1 + 2, "7"}, {Add_B1 + 3, "junk"}}, "accepted"},
        {"Dimension 8 needs byte 8", PDO, 0, {{Dimension, "8"}, {Add_B1 + 2, "2"}, {Add_B1 + 3, "3"}, {Add_B1 + 4, "4"},
                                              {Add_B1 + 5, "5"}, {Add_B1 + 6, "6"}},
         "Error row 3!! [Receive PDO] Address Byte8 must be between 0 and 1439"},
        {"Add B1 1440", PDO, 0, {{Add_B1, "1440"}}, "Error row 3!! [Receive PDO] Address Byte1 must be between 0 and 1439"},
        {"Add B2 1439", PDO, 0, {{Add_B1 + 1, "1439"}}, "accepted"},
        {"TimeOut 65535", PDO, 0, {{TimeOut, "65535"}}, "accepted"},
        {"TimeOut 65536", PDO, 0, {{TimeOut, "65536"}}, "Error row 3!! [Receive PDO] TimeOut must be between 0 and 65535"},
        {"TimeOut empty", PDO, 0, {{TimeOut, ""}}, "Error row 3!! [Receive PDO] TimeOut must be between 0 and 65535"},
        // PDO transmit.
        {"tx COB-ID 0x800", PDO, 1, {{pdo_tx::COB_ID, "0x800"}}, "Error row 3!! [Transmit PDO] COB-ID must be between 0x000 and 0x7FF"},
        {"tx Dimension", PDO, 1, {{pdo_tx::Dimension, "x"}}, "Error row 3!! [Transmit PDO] Dimension must be between 1 and 8"},
        {"tx Add B1", PDO, 1, {{pdo_tx::Add_B1, "-1"}}, "Error row 3!! [Transmit PDO] Address Byte1 must be between 0 and 1439"},
        {"tx Send Time 100000000", PDO, 1, {{pdo_tx::Send_Time, "100000000"}}, "accepted"},
        {"tx Send Time 100000001", PDO, 1, {{pdo_tx::Send_Time, "100000001"}},
         "Error row 3!! [Transmit PDO] Send Time must be between 0 and 100000000"},
        {"tx Send Time empty", PDO, 1, {{pdo_tx::Send_Time, ""}}, "Error row 3!! [Transmit PDO] Send Time must be between 0 and 100000000"},
        {"tx On Change not checked", PDO, 1, {{pdo_tx::On_Change, "?"}}, "accepted"},
        // SDO client read.
        {"Device ID 0", Client, 0, {{sdo_rd::Device_ID, "0"}}, "Error row 3!! [SDO Read] Device ID must be between 1 and 127"},
        {"Device ID 128", Client, 0, {{sdo_rd::Device_ID, "128"}}, "Error row 3!! [SDO Read] Device ID must be between 1 and 127"},
        {"Device ID 127", Client, 0, {{sdo_rd::Device_ID, "127"}}, "accepted"},
        {"Index 0x0FFF", Client, 0, {{sdo_rd::Index, "0x0FFF"}}, "Error row 3!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
        {"Index 0x1000", Client, 0, {{sdo_rd::Index, "0x1000"}}, "accepted"},
        {"Index 0xFFFF", Client, 0, {{sdo_rd::Index, "0xFFFF"}}, "accepted"},
        {"SubIndex 256", Client, 0, {{sdo_rd::SubIndex, "256"}}, "Error row 3!! [SDO Read] SubIndex must be between 0x00 and 0xFF"},
        {"N Byte 3", Client, 0, {{sdo_rd::NByte, "3"}}, "Error row 3!! [SDO Read] N Byte must be 1 or 2 or 4"},
        {"read Poll Time 0", Client, 0, {{sdo_rd::Poll_Time, "0"}}, "Error row 3!! [SDO Read] Poll Time must be between 1 and 100000000"},
        {"N Byte 2 leaves bytes 3 and 4", Client, 0, {{sdo_rd::Add_B1 + 2, "9999"}, {sdo_rd::Add_B4, "x"}}, "accepted"},
        {"N Byte 2 checks byte 2", Client, 0, {{sdo_rd::Add_B1 + 1, ""}},
         "Error row 3!! [SDO Read] Address Byte2 must be between 0 and 1439"},
        {"N Byte 4 checks byte 4", Client, 0, {{sdo_rd::NByte, "4"}, {sdo_rd::Add_B1 + 2, "2"}},
         "Error row 3!! [SDO Read] Address Byte4 must be between 0 and 1439"},
        // SDO client write.
        {"write Poll Time 0", Client, 1, {{sdo_wr::Poll_Time, "0"}}, "accepted"},
        {"write Poll Time 100000001", Client, 1, {{sdo_wr::Poll_Time, "100000001"}},
         "Error row 3!! [SDO Write] Poll Time must be between 0 and 100000000"},
        {"write Device ID", Client, 1, {{sdo_wr::Device_ID, "200"}}, "Error row 3!! [SDO Write] Device ID must be between 1 and 127"},
        {"write N Byte 2, byte 2 at 1440", Client, 1, {{sdo_wr::NByte, "2"}, {sdo_wr::Add_B1 + 1, "1440"}},
         "Error row 3!! [SDO Write] Address Byte2 must be between 0 and 1439"},
        // SDO server.
        {"server Index 0x1FFF", Server, 0, {{sdo_srv::Index, "0x1FFF"}},
         "Error row 3!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {"server Index 0x5FFF", Server, 0, {{sdo_srv::Index, "0x5FFF"}}, "accepted"},
        {"server write Index 0x6000", Server, 1, {{sdo_srv::Index, "0x6000"}},
         "Error row 3!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
        {"server SubIndex", Server, 1, {{sdo_srv::SubIndex, "$100"}}, "Error row 3!! [SDO in Write] SubIndex must be between 0x00 and 0xFF"},
        {"server N Byte", Server, 0, {{sdo_srv::NByte, "8"}}, "Error row 3!! [SDO in Read] N Byte must be 1 or 2 or 4"},
        {"server byte 1", Server, 1, {{sdo_srv::Add_B1, "1440"}}, "Error row 3!! [SDO in Write] Address Byte1 must be between 0 and 1439"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Rows 1 and 2 of both tables are good, the case is row 3 of its table; the objects of
        // the server rows differ by sub-index.
        shell::Table_Rows tables[2];
        for (int t = 0; t < 2; ++t)
            for (int r = 1; r <= 3; ++r) {
                QStringList row = Row(c.W, t, r, t == c.Table && r == 3 ? c.Changes : TChanges{});
                if (c.W == Server && !(t == c.Table && r == 3 && c.Changes.count(sdo_srv::SubIndex)))
                    row[sdo_srv::SubIndex] = QString::number(r);
                tables[t].push_back(row);
            }
        EXPECT_EQ(Fault(c.W, tables[0], tables[1]), QLatin1String(c.Expected));
    }
}

TEST_F(CANopenCheck, TablesEndAtTheFirstEmptyKeyAndRowsBelowItAreRefused)
{
    // An empty first table is valid; the receive table is checked before the transmit table.
    EXPECT_EQ(Fault(PDO, {}, {}), "accepted");
    EXPECT_EQ(Fault(PDO, {Row(PDO, 0, 1, {{pdo_rx::Dimension, "0"}})}, {Row(PDO, 1, 1, {{pdo_tx::Dimension, "0"}})}),
              "Error row 1!! [Receive PDO] Dimension must be between 1 and 8");
    // A blank COB-ID ends the table: the broken row 3 is never checked, but it would be lost on
    // save, so the row holding data below the end is refused and named.
    QStringList blank(pdo_rx::Count);
    blank[0] = "2";
    blank[pdo_rx::COB_ID] = "  ";
    const shell::Table_Rows rows = {Row(PDO, 0, 1), blank, Row(PDO, 0, 3, {{pdo_rx::Dimension, "0"}})};
    EXPECT_EQ(Fault(PDO, rows), "Error row 3!! COB-ID of row 2 is empty: the table ends there and this row would not be saved");
    // Cleared rows below the end (On Change empty or "N") are not data.
    QStringList cleared(pdo_tx::Count);
    cleared[0] = "2";
    cleared[pdo_tx::On_Change] = "N";
    EXPECT_EQ(Fault(PDO, {}, {Row(PDO, 1, 1), cleared}), "accepted");
    EXPECT_EQ(Fault(Server, {}, {Row(Server, 1, 1), QStringList(sdo_srv::Count), Row(Server, 1, 3)}),
              "Error row 3!! Index of row 2 is empty: the table ends there and this row would not be saved");
}

TEST_F(CANopenCheck, ServerRefusesAnObjectOfferedTwiceNamingBothRows)
{
    using namespace sdo_srv;
    // Same object in one table, written differently.
    EXPECT_EQ(Fault(Server, {Row(Server, 0, 1), Row(Server, 0, 2, {{SubIndex, "1"}}),
                             Row(Server, 0, 3, {{Index, "8192"}, {SubIndex, "$0"}})}),
              "Error row 3!! [SDO in Read] Index 0x2000 SubIndex 0x00 is already used in row 1 of [SDO in Read]");
    // Across the tables: the read row comes first.
    EXPECT_EQ(Fault(Server, {Row(Server, 0, 1, {{SubIndex, "0xA"}})},
                    {Row(Server, 1, 1), Row(Server, 1, 2, {{Index, "0x2000"}, {SubIndex, "10"}})}),
              "Error row 2!! [SDO in Write] Index 0x2000 SubIndex 0x0A is already used in row 1 of [SDO in Read]");
    // The same sub-index of different objects is no conflict; neither is the client's pair.
    EXPECT_EQ(Fault(Server, {Row(Server, 0, 1), Row(Server, 0, 2, {{Index, "0x2001"}})}), "accepted");
    EXPECT_EQ(Fault(Client, {Row(Client, 0, 1), Row(Client, 0, 2)}), "accepted");
}

}  // namespace
