// The SNMP agent and manager windows, driven as a user drives them.
#include "protocols/building/USNMPManagerAccess.h"
#include "protocols/building/USNMP_MIB.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "protocols/fieldbus/setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QFile>
#include <QTabBar>
#include <QTabWidget>

namespace test_snmp_windows_suite {

namespace agent = building::snmp_agent;
namespace manager = building::snmp_manager;
namespace rd = building::snmp_agent::rd;
namespace wr = building::snmp_agent::wr;

namespace {

QStringList Headers(grid::TExtColumnGrid& g)
{
    QStringList headers;
    for (int c = 0; c < g.ColCount(); ++c)
        headers.append(g.Cells(c, 0));
    return headers;
}

// The driver's actions for the table of a given page.
template <typename Window>
class TablesTest : public SetupWindowTest<Window> {
protected:
    using Base = SetupWindowTest<Window>;
    using Base::Cell;
    void Page(int t)
    {
        QTabBar* bar = this->Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
        ASSERT_EQ(this->Form->Active_Index(), t);
    }
    void Click(int t, int realCol, int row)
    {
        QTest::mouseClick(this->Grid(t).viewport(), Qt::LeftButton, {}, this->Centre(this->Grid(t), realCol, row));
    }
    void Enter(int t, int realCol, int row, const QString& text)
    {
        Click(t, realCol, row);
        Base::Type(text);
        Base::Key(Qt::Key_Return);
    }
    void Pick(int t, int realCol, int row, int downs)
    {
        Click(t, realCol, row);
        Base::Key(Qt::Key_F2);
        for (int i = 0; i < downs; ++i)
            Base::Key(Qt::Key_Down);
        Base::Key(Qt::Key_Return);
    }
    QString Cell(int t, int realCol, int row) { return this->Grid(t).Cells(realCol, row); }
    // The first rows of a table, one line a row, cells joined by "|" from column 0 on.
    std::string Rows(int t, int count)
    {
        QStringList out;
        const shell::Table_Rows rows = this->Form->Rows(t);
        for (int r = 0; r < count && r < int(rows.size()); ++r)
            out.append(rows[size_t(r)].join(QLatin1Char('|')));
        return out.join(QLatin1Char('\n')).toStdString();
    }
};

using AgentWindow = TablesTest<TFSNMP_Trap_Access>;
using ManagerWindow = TablesTest<TFSNMPManagerAccess>;
constexpr int Read = agent::Read_Table;
constexpr int Write = agent::Write_Table;

QByteArray Agent_File(const QByteArray& read, const QByteArray& write = {})
{
    // As the window writes it: an empty container closes itself.
    const auto container = [](const QByteArray& name, const QByteArray& rows) {
        return rows.isEmpty() ? "<" + name + "/>" : "<" + name + ">" + rows + "</" + name + ">";
    };
    return "<SNMP_Trap>" + container("SNMP_Trap_Read", read) + container("SNMP_Trap_Write", write) +
           "</SNMP_Trap><!--SW_VERSION = 1.001-->";
}

QByteArray Agent_Row(const char* enable, const QByteArray& description, const QByteArray& mnemonic = {})
{
    return QByteArray("<row Enable=\"") + enable +
           "\" Community_Name=\"public\" Type=\"Int\" On_Change=\"N\" On_Command=\"N\" On_Timer=\"N\" Time=\"\" "
           "Position=\"0\" Bit=\"0\" NumBits=\"8\" Description=\"" + description +
           "\" IP_Address=\"192.168.1.20\" Conversion=\"None\" Mnemonic=\"" + mnemonic + "\"/>";
}

}  // namespace

TEST_F(AgentWindow, ShowsItsTwoPagesColumnsAndTexts)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Set SNMP Trap Access");
        EXPECT_EQ(Form->size(), QSize(1256, 337));
        ASSERT_NE(Form->PageControl1, nullptr);
        EXPECT_EQ(Form->PageControl1->tabText(0), "SNMP Read");
        EXPECT_EQ(Form->PageControl1->tabText(1), "SNMP Write");
        EXPECT_EQ(Form->Active_Index(), 0);
        EXPECT_EQ(Form->Btn_OK->Hint(), "Confirm and save the SNMP Trap List");
        EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
        EXPECT_EQ(Headers(Grid(Read)),
                  QStringList({"N", "Enable", "Community Name", "Type", "On Change", "On CMD", "On Timer", "Time (ms)",
                               "Position", "Start Bit", "Num Bits/Bytes", "Description", "IP Address", "Conversion",
                               "Mnemonic"}));
        EXPECT_EQ(Headers(Grid(Write)), QStringList({"N", "Enable", "Community Name", "Type", "Position", "Start Bit",
                                                     "Num Bits/Bytes", "Description", "Conversion", "Mnemonic"}));
        EXPECT_EQ(Grid(Read).RowCount(), 257);
        EXPECT_EQ(Grid(Write).RowCount(), 257);
        EXPECT_EQ(Grid(Read).ColWidths(rd::IP_Address), 120);
        EXPECT_EQ(Grid(Write).ColWidths(wr::Mnemonic), 500);
        EXPECT_EQ(Form->NByte_IN, 1440);
        const QStringList& positions = Grid(Write).Columns()[wr::Position]->ComboItems;
        ASSERT_EQ(positions.size(), 1440);
        EXPECT_EQ(positions.first(), "0");
        EXPECT_EQ(positions.last(), "1439");
        EXPECT_EQ(Grid(Read).Columns()[rd::Conversion]->ComboItems,
                  QStringList({"None", "Float", "Float * 10", "Float * 100", "Float / 10", "Float / 100"}));
        EXPECT_EQ(Grid(Read).Columns()[rd::Description]->EditLength, 15);
        // A cleared table: every row enabled, so every row numbered.
        EXPECT_EQ(Rows(Read, 2), "1|Y|||||||||||||\n2|Y|||||||||||||");
        QString hint;
        Form->GridHint(&Grid(Write), 0, wr::Bit, hint);
        EXPECT_EQ(hint, "Insert the Start Bit of Array where to Write the data");
        Form->GridHint(&Grid(Read), 0, rd::Conversion, hint);
        EXPECT_EQ(hint, "Select the Data Conversion from Float to Int");
        Form->GridHint(&Grid(Read), 2, rd::Conversion, hint);
        EXPECT_EQ(hint, "");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(AgentWindow, RowsTypedOnBothPagesAreSavedReopenedAndDescribedByTheMib)
{
    std::string read, write;
    const int result = Run([&] {
        Enter(Read, rd::Community_Name, 1, "public");
        Pick(Read, rd::Type, 1, 1);  // Int
        Click(Read, rd::On_Timer, 1);
        Enter(Read, rd::Time, 1, "5000");
        Pick(Read, rd::Position, 1, 11);  // "0" .. "10"
        Pick(Read, rd::Bit, 1, 1);
        Enter(Read, rd::NumBits, 1, "16");
        Enter(Read, rd::Description, 1, "temp");
        Enter(Read, rd::IP_Address, 1, "192.168.1.125");
        Pick(Read, rd::Conversion, 1, 1);  // None
        Enter(Read, rd::Mnemonic, 1, "Boiler & <pump>");
        // Row 2 stays disabled: no number, no checks.
        Click(Read, rd::Enable, 2);
        Enter(Read, rd::Community_Name, 2, "spare");
        EXPECT_EQ(Cell(Read, rd::N, 2), "");
        EXPECT_EQ(Cell(Read, rd::N, 3), "2");
        Enter(Read, rd::Community_Name, 3, "public");
        Pick(Read, rd::Type, 3, 2);  // String
        Pick(Read, rd::Position, 3, 21);
        Pick(Read, rd::Bit, 3, 1);
        Enter(Read, rd::NumBits, 3, "8");
        Enter(Read, rd::Description, 3, "name");
        Enter(Read, rd::IP_Address, 3, "10.0.0.1");
        Pick(Read, rd::Conversion, 3, 1);

        Page(Write);
        Enter(Write, wr::Community_Name, 1, "private");
        Pick(Write, wr::Type, 1, 1);
        Pick(Write, wr::Position, 1, 101);
        Pick(Write, wr::Bit, 1, 3);  // "2"
        Enter(Write, wr::NumBits, 1, "4");
        Enter(Write, wr::Description, 1, "setpoint");
        Pick(Write, wr::Conversion, 1, 2);  // Float
        // The description limit of 15 characters holds while typing.
        Enter(Write, wr::Mnemonic, 1, "set");
        read = Rows(Read, 4);
        write = Rows(Write, 2);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(read, "1|Y|public|Int|||Y|5000|10|0|16|temp|192.168.1.125|None|Boiler & <pump>\n"
                    "|N|spare||||||||||||\n"
                    "2|Y|public|String|||||20|0|8|name|10.0.0.1|None|\n"
                    "3|Y|||||||||||||");
    EXPECT_EQ(write, "1|Y|private|Int|100|2|4|setpoint|Float|set\n2|Y||||||||");
    EXPECT_EQ(Dir.Read("SNMP_Trap.xml"), ReadTestData("SNMP_Trap.xml"));

    Run([&] {
        EXPECT_EQ(Rows(Read, 4), read);
        EXPECT_EQ(Rows(Write, 2), write);
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();

    Load_MIB_Objects();
    EXPECT_EQ(shell::App_State.MIB_Read_Objects, QStringList({"temp", "name"}));
    EXPECT_EQ(shell::App_State.MIB_Write_Objects, QStringList({"setpoint"}));
}

TEST_F(AgentWindow, EnableClicksRenumberAndFaultsKeepTheWindowOpen)
{
    Dir.Write("SNMP_Trap.xml", Agent_File(Agent_Row("Y", "a") + Agent_Row("N", "b") + Agent_Row("Y", "c")));
    const QByteArray before = Dir.Read("SNMP_Trap.xml");
    Run([&] {
        EXPECT_EQ(Cell(Read, rd::N, 1) + "," + Cell(Read, rd::N, 2) + "," + Cell(Read, rd::N, 3), "1,,2");
        Click(Read, rd::Enable, 2);
        EXPECT_EQ(Cell(Read, rd::N, 2), "2");
        EXPECT_EQ(Cell(Read, rd::N, 3), "3");
        Click(Read, rd::Enable, 1);
        EXPECT_EQ(Cell(Read, rd::N, 1) + "," + Cell(Read, rd::N, 2) + "," + Cell(Read, rd::N, 3), ",1,2");
        // The row enabled now is checked: its description may not start with a digit.
        Enter(Read, rd::Description, 2, "9b");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 2!! [SNMP Read] Description is not correct (allowed characters are "
                                       "\"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter "
                                       "and must be lowercase");
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("SNMP_Trap.xml"), before);
}

TEST_F(AgentWindow, OkAsksBeforeDroppingRowsBelowAnEmptyCommunityName)
{
    const int result = Run([&] {
        Page(Write);
        Enter(Write, wr::Mnemonic, 2, "left below");
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtConfirmation);
        EXPECT_EQ(Messages.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_EQ(Messages.LastText(), "[SNMP Write] Row 2 holds data, but the Community Name of row 1 is empty: the "
                                       "table ends at row 1, so row 2 and every row after row 1 will not be saved. "
                                       "Save anyway?");
        EXPECT_TRUE(Form->isVisible());
        EXPECT_FALSE(QFile::exists(Path()));
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk);
    // Both tables empty: the root, two empty containers and the comment.
    EXPECT_EQ(Dir.Read("SNMP_Trap.xml"), "<SNMP_Trap><SNMP_Trap_Read/><SNMP_Trap_Write/></SNMP_Trap><!--SW_VERSION = 1.001-->");
}

TEST_F(AgentWindow, ARowCopiedOnOnePageDoesNotPasteOnTheOther)
{
    Dir.Write("SNMP_Trap.xml", Agent_File(Agent_Row("Y", "a")));
    Run([&] {
        Click(Read, rd::Community_Name, 1);
        Press(Form->Btn_CopyRow);
        Page(Write);
        Click(Write, wr::Community_Name, 1);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), "Error!!! Copy a valid row before Paste it");
        EXPECT_EQ(Cell(Write, wr::Community_Name, 1), "");
        Page(Read);
        Click(Read, rd::Community_Name, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Cell(Read, rd::Description, 2), "a");
        // The row buttons act on the active page's table.
        Messages.QueueAnswer(platform::mrYes);
        Click(Read, rd::Community_Name, 1);
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Messages.LastText(), "Are you sure to delete the Row number 1");
        EXPECT_EQ(Cell(Read, rd::Description, 1), "a");
        EXPECT_EQ(Cell(Read, rd::Community_Name, 2), "");
        Press(Form->Btn_Cancel);
    });
}

// Hostile files: each reported when the window opens, the rows that could be read shown, and the
// file replaced only after a question.
TEST_F(AgentWindow, HostileFilesAreReportedAndNothingIsLost)
{
    QByteArray many;
    for (int r = 0; r < 100000; ++r)
        many += "<row Enable=\"N\" Community_Name=\"c\" Description=\"d" + QByteArray::number(r) + "\"/>";
    const QByteArray huge(10 * 1024 * 1024, 'm');
    const QByteArray whole = Agent_File(Agent_Row("Y", "a") + Agent_Row("Y", "b"));
    struct Case {
        const char* Name;
        QByteArray File;
        const char* Says;  // nullptr: read whole, no message
        int Rows_Read;
    } cases[] = {
        {"not XML", "SNMP? no.", "could not be read whole", 0},
        {"cut short", whole.left(whole.indexOf("<row Enable=\"Y\" Community_Name=\"public\" Type=\"Int\"", 40) + 60),
         "could not be read whole", 1},
        {"100,000 rows", Agent_File(many), "holds 100000 rows; only the first 256 are read", 256},
        {"a 10 MB mnemonic", Agent_File(Agent_Row("Y", "a", huge)), nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Dir.Write("SNMP_Trap.xml", c.File);
        Messages.Clear();
        if (c.Says) {
            Messages.QueueAnswer(platform::mrOk);  // the report
            Messages.QueueAnswer(platform::mrNo);  // save anyway?
        }
        Run([&] {
            if (c.Says) {
                ASSERT_GE(Messages.Shown().size(), 1u);
                EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
                EXPECT_TRUE(Messages.Shown()[0].Text.contains(c.Says)) << Messages.Shown()[0].Text.toStdString();
            } else {
                EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
            }
            int filled = 0;
            for (int r = 1; r <= 256; ++r)
                filled += !Cell(Read, rd::Community_Name, r).isEmpty();
            EXPECT_EQ(filled, c.Rows_Read);
            if (c.Says) {
                Press(Form->Btn_OK);
                EXPECT_TRUE(Messages.LastText().contains("Save anyway?")) << Messages.LastText().toStdString();
                EXPECT_TRUE(Form->isVisible());
                Press(Form->Btn_Cancel);
            } else {
                EXPECT_EQ(Cell(Read, rd::Mnemonic, 1).size(), huge.size());
                Press(Form->Btn_OK);
            }
        });
        // Refused or cancelled: the file as it was; written again: the same bytes.
        EXPECT_EQ(Dir.Read("SNMP_Trap.xml"), c.File);
    }
}

// ---- The manager window -----------------------------------------------------------------------

TEST_F(ManagerWindow, ShowsItsColumnsAndTexts)
{
    Run([&] {
        EXPECT_EQ(Form->Caption(), "Set SNMP Manager Access");
        EXPECT_EQ(Form->L_SW_Desc->text(), "Set SNMP Manager Access");
        EXPECT_EQ(Form->size(), QSize(1230, 337));
        EXPECT_EQ(Form->PageControl1, nullptr);
        EXPECT_EQ(Form->Btn_DelRow->Hint(), "Cancel the selected row");
        EXPECT_EQ(Headers(Grid()),
                  QStringList({"N", "Enable", "IP Address", "Version", "Community Name", "OID", "Type", "Mode",
                               "OnChange", "OnCMD", "OnTimer", "Time", "Position", "Num Bytes", "Conversion", "Cancel",
                               "User", "Auth Pass", "Priv Pass", "Security Level", "Auth Mode", "Priv Mode",
                               "Mnemonic"}));
        EXPECT_EQ(Grid().RowCount(), 513);
        EXPECT_EQ(Grid().ColWidths(manager::Security_Level), 100);
        EXPECT_EQ(Cell(0, 512), "512");
        EXPECT_EQ(Grid().Columns()[manager::Position]->ComboItems.size(), 1440);
        EXPECT_EQ(Grid().Columns()[manager::Community_String]->ComboItems, QStringList({"Pebble", "Harbour"}));
        QString hint;
        Form->GridHint(&Grid(), 0, manager::Priv_Mode, hint);
        EXPECT_EQ(hint, "Select the Privacy Mode (only if Security Level is set to \"Auth Priv\"");
        Form->GridHint(&Grid(), 0, manager::Mnemonic, hint);
        EXPECT_EQ(hint, "Description of the SNMP Request");
        Press(Form->Btn_Cancel);
    });
}

TEST_F(ManagerWindow, RequestsTypedAreSavedWithTheirPasswordsAsTypedAndReopened)
{
    using namespace manager;
    const int t = 0;
    std::string typed;
    const int result = Run([&] {
        Enter(t, IP_Address, 1, "192.168.1.10");
        Pick(t, Version, 1, 2);  // 2
        Enter(t, Community_String, 1, "public");
        Enter(t, OID, 1, "1.3.6.1.2.1.1.1.0");
        Pick(t, manager::Type, 1, 1);  // String
        Pick(t, Mode, 1, 1);  // Get
        Click(t, On_Timer, 1);
        Enter(t, Time, 1, "1000");
        Pick(t, Position, 1, 1);  // 0
        Enter(t, Number_Bytes, 1, "32");
        Pick(t, ConvertFrom, 1, 1);
        Enter(t, Mnemonic, 1, "sysDescr");

        Enter(t, IP_Address, 2, "192.168.1.11");
        Pick(t, Version, 2, 3);
        Enter(t, Community_String, 2, "Harbour");
        Enter(t, OID, 2, "1.3.6.1.4.1.32473.1");
        Pick(t, manager::Type, 2, 2);  // Int
        Pick(t, Mode, 2, 2);  // Set
        Click(t, On_Change, 2);
        Pick(t, Position, 2, 33);  // 32
        Enter(t, Number_Bytes, 2, "4");
        Pick(t, ConvertFrom, 2, 3);  // Float * 10
        Click(t, Cancel, 2);
        Enter(t, User, 2, "operator1");
        Enter(t, Auth_Pass, 2, "authpass1");
        Enter(t, Priv_Pass, 2, "privpass1");
        // Auth Priv without a Priv Mode is refused first.
        Pick(t, Security_Level, 2, 3);
        Pick(t, Auth_Mode, 2, 2);  // SHA
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 2!! Priv Mode must be selected");
        Pick(t, Priv_Mode, 2, 2);  // AES
        typed = Rows(t, 3);
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(typed, "1|Y|192.168.1.10|2|public|1.3.6.1.2.1.1.1.0|String|Get|||Y|1000|0|32|None||||||||sysDescr\n"
                     "2|Y|192.168.1.11|3|Harbour|1.3.6.1.4.1.32473.1|Int|Set|Y||||32|4|Float * 10|Y|operator1|"
                     "authpass1|privpass1|Auth Priv|SHA|AES|\n"
                     "3|Y|||||||||||||||||||||");
    const QByteArray file = Dir.Read("SNMP_Manager.xml");
    EXPECT_EQ(file, ReadTestData("SNMP_Manager.xml"));
    // Stored as typed, in plain text (the README says so).
    EXPECT_TRUE(file.contains("Auth_Pass=\"authpass1\" Priv_Pass=\"privpass1\""));

    Messages.Clear();
    Run([&] {
        EXPECT_EQ(Rows(t, 3), typed);
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
}

TEST_F(ManagerWindow, AnEmptyOidAndAnOverlongRequestAreRefusedWithTheirRow)
{
    using namespace manager;
    Dir.Write("SNMP_Manager.xml",
              "<SNMP_Manager_Access><row Enable=\"Y\" IP_Address=\"10.0.0.1\" Version=\"1\" OID=\"\" Position=\"1439\" "
              "Number_Bytes=\"2\" ConvertFrom=\"None\"/></SNMP_Manager_Access><!--SW_VERSION = 1.003-->");
    const QByteArray before = Dir.Read("SNMP_Manager.xml");
    Run([&] {
        // Missing attributes take the column defaults.
        EXPECT_EQ(Rows(0, 1), "1|Y|10.0.0.1|1|||||N|N|N||1439|2|None|N|||||||");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), "Error row 1!! OID string can not be empty");
        Enter(0, OID, 1, "1.3.6");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "Error row 1!! Position 1439 with 2 bytes ends beyond the 1440-byte exchange area (last position 1439)");
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("SNMP_Manager.xml"), before);
}

TEST_F(ManagerWindow, MoreRowsThanTheTableHoldsAreReportedAndKeptUntilTheUserAgrees)
{
    QByteArray rows;
    for (int r = 1; r <= 600; ++r)
        rows += "<row Enable=\"N\" IP_Address=\"10.0.0." + QByteArray::number(r % 256) + "\" Mnemonic=\"m" +
                QByteArray::number(r) + "\"/>";
    const QByteArray file = "<SNMP_Manager_Access>" + rows + "</SNMP_Manager_Access><!--SW_VERSION = 1.003-->";
    Dir.Write("SNMP_Manager.xml", file);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        EXPECT_TRUE(Messages.LastText().contains("holds 600 rows; only the first 512 are read")) << Messages.LastText().toStdString();
        EXPECT_EQ(Cell(manager::Mnemonic, 512), "m512");
        Press(Form->Btn_OK);
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("SNMP_Manager.xml"), file);
}

}  // namespace test_snmp_windows_suite
