// The BACnet client table: its checks as tables of cases with the exact texts, the EDE import
// into its tables, its file, and the window with the import dialog driven as a user drives them.
#include "protocols/building/UBACnetAccess.h"
#include "protocols/building/UImportEDEFile.h"
#include "protocols/fieldbus/setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QLineEdit>

namespace test_bacnet_client_suite {

namespace client = building::bacnet::client;
using building::bacnet::TBACnet_Var;

namespace {

// Read row: Enable, Address, Object Type, Instance, Property, NByte, En Dest, D Net, D Len, D Add,
// Poll Time, Max Err, Position, Start Bit, Swap, Convertion, Mnemonic.
QStringList Read(const QString& address, const QString& type, const QString& instance, const QString& property,
                 const QString& nbyte = "4", const QStringList& dest = {"N", "", "", ""}, const QString& poll = "1000",
                 const QString& maxErr = "0", const QString& position = "0", const QString& enable = "Y")
{
    return QStringList{"1", enable, address, type, instance, property, nbyte} + dest +
           QStringList{poll, maxErr, position, "0", "N", "", "m"};
}

// Write row: Enable, Address, Object Type, Data Type, Instance, Property, Priority, NByte, En Dest,
// D Net, D Len, D Add, Change, Timer, Poll Time, Max Err, Position, Start Bit, Swap, Convertion, Mnemonic.
QStringList Write(const QString& type, const QString& dataType, const QString& nbyte = "4",
                  const QString& priority = "0", const QStringList& dest = {"N", "", "", ""},
                  const QString& timer = "N", const QString& poll = "", const QString& property = "Present Value (85)")
{
    return QStringList{"1", "Y", "10.0.0.1", type, dataType, "7", property, priority, nbyte} + dest +
           QStringList{"N", timer, poll, "0", "0", "0", "N", "", "m"};
}

class ClientChecks : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    static QString Fault(const shell::Table_Rows& read, const shell::Table_Rows& write, int type = 0)
    {
        return client::Check({{read, {}}, {write, {}}}, type).value_or(QString());
    }
};

const char* const Ok = "";

}  // namespace

TEST_F(ClientChecks, ReadRows)
{
    const QString ip = "192.168.0.5";
    struct Case {
        QStringList Row;
        int Type;
        const char* Fault;
    } cases[] = {
        {Read(ip, "Analog Input", "0", "Present Value (85)"), 0, Ok},
        {Read("192.168.0", "Analog Input", "0", "Present Value (85)"), 0, "Error in Read, row 1!! IP Address is not correct"},
        {Read("192.168.0.x", "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "1000", "0", "0", "N"), 0, Ok},
        {Read("255", "Analog Input", "0", "Present Value (85)"), 1, "Error in Read, row 1!! Slave ID must be between 0 and 254"},
        {Read("254", "Analog Input", "0", "Present Value (85)"), 1, Ok},
        {Read("", "Analog Input", "0", "Present Value (85)"), 2, Ok},
        {Read(ip, "Device", "0", "Present Value (85)"), 0, "Error in Read, row 1!! Object Type is not correct. Select one from the list"},
        {Read(ip, "200", "0", "Present Value (85)"), 0, Ok},
        {Read(ip, "1024", "0", "Present Value (85)"), 0, "Error in Read, row 1!! Object Type is not correct. Select one from the list"},
        {Read(ip, " binary input ", "4294967295", "Present Value (85)"), 0, Ok},
        {Read(ip, "Binary Input", "4294967296", "Present Value (85)"), 0, "Error in Read, row 1!! Instance must be between 0 and 4294967295"},
        {Read(ip, "Binary Input", "0", "Units (117)"), 0, "Error in Read, row 1!! Property is not correct. Select one from the list"},
        {Read(ip, "Analog Input", "0", "Units (117)"), 0, Ok},
        {Read(ip, "Accumulator", "0", "Scale (187)"), 0, Ok},
        {Read(ip, "Analog Input", "0", "Scale (187)"), 0, "Error in Read, row 1!! Property is not correct. Select one from the list"},
        {Read(ip, "Analog Input", "0", "512"), 0, Ok},
        {Read(ip, "Analog Input", "0", "4184304"), 0, "Error in Read, row 1!! Property is not correct. Select one from the list"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "256"), 0, "Error in Read, row 1!! NByte must be between 0 and 255"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "0", "1", "1"}), 0, "Error in Read, row 1!! Destination Network must be between 1 and 65535"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"y", "5", "1", "256"}), 0, "Error in Read, row 1!! Destination Address must be between 0 and 255"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "2", "0"}), 0, "Error in Read, row 1!! Destination Address must be between 1 and 65535"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "6", " 10.0.0.1:47808 "}), 0, Ok},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "6", "10.0.0.1"}), 0, "Error in Read, row 1!! Destination Address must be in correct form, IP Address plus Port (ex. 192.168.0.15:47808)"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "3", "1"}), 0, "Error in Read, row 1!! Destination Lenght must be 1 or 2 or 6"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "M3", "10, 20"}), 0, "Error in Read, row 1!! Destination Address has too few bytes"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "m3", "10,20,30"}), 0, Ok},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "M3", "10,20,300"}), 0, "Error in Read, row 1!! Bytes of Destination Address must be between 0 and 255"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "M2", "1,2,3"}), 0, "Error in Read, row 1!! Destination Address has too many bytes"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "M9", "1"}), 0, "Error in Read, row 1!! Destination Length is Wrong, choose one in List"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "X1", "1"}), 0, "Error in Read, row 1!! Destination Length is Wrong, choose one in List"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"Y", "5", "M1", " "}), 0, "Error in Read, row 1!! Destination Address is empty: it must hold 1 bytes separated by commas"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "100000001"), 0, "Error in Read, row 1!! Poll Time must be between 0 and 100000000 ms"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "0", "65536"), 0, "Error in Read, row 1!! Max Err must be between 0 and 655535"},
        // The exchange area: the position and the bytes from it.
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "0", "0", "1436"), 0, Ok},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "0", "0", "1437"), 0, "Error in Read, row 1!! Position 1437 with 4 bytes ends beyond the 1440-byte exchange area (last position 1439)"},
        {Read(ip, "Analog Input", "0", "Present Value (85)", "4", {"N", "", "", ""}, "0", "0", ""), 0, "Error in Read, row 1!! Position must be between 0 and 1439"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Fault({c.Row}, {}, c.Type), QString::fromUtf8(c.Fault)) << c.Row.join('|').toStdString();
}

TEST_F(ClientChecks, WriteRows)
{
    struct Case {
        QStringList Row;
        const char* Fault;
    } cases[] = {
        {Write("Analog Output", "Real"), Ok},
        {Write("Analog Input", "Real"), "Error in Write, row 1!! Object Type is not correct. Select one from the list"},
        {Write("200", "Anything"), Ok},
        {Write("Positive Integer Value", "Real"), "Error in Write, row 1!! Data Type is not correct. Aspected Data Type is Unsigned Int"},
        {Write("Life Safety Point", "Enumerated"), "Error in Write, row 1!! Data Type is not correct"},
        {Write("Analog Output", "Real", "5"), "Error in Write, row 1!! NByte must be between 0 and 4"},
        {Write("Analog Output", "Real", "4", "17"), "Error in Write, row 1!! Priority must be between 0 and 16"},
        {Write("Analog Output", "Real", "4", "0", {"N", "", "", ""}, "N", "", "Units (117)"), "Error in Write, row 1!! Property is not correct. Select one from the list"},
        {Write("Analog Output", "Real", "4", "0", {"N", "", "", ""}, "N", "", "600"), Ok},
        {Write("Analog Output", "Real", "4", "0", {"Y", "1", "M3", "10,20"}), "Error in Write, row 1!! Destination Address has too few bytes"},
        {Write("Analog Output", "Real", "4", "0", {"Y", "1", "M3", "10,20,300"}), "Error in Write, row 1!! Bytes of Destination Address must be between 0 and 255"},
        {Write("Analog Output", "Real", "4", "0", {"Y", "1", "M9", "1"}), "Error in Write, row 1!! Destination Length is Wrong, choose one in List"},
        {Write("Analog Output", "Real", "4", "0", {"Y", "0", "1", "1"}), "Error in Write, row 1!! Destination Network must be between 1 and 65535"},
        {Write("Analog Output", "Real", "4", "0", {"N", "", "", ""}, "y", "-1"), "Error in Write, row 1!! Poll Time must be between 0 and 100000000"},
        {Write("Analog Output", "Real", "4", "0", {"N", "", "", ""}, "N", "-1"), Ok},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Fault({}, {c.Row}), QString::fromUtf8(c.Fault)) << c.Row.join('|').toStdString();
    // With data type "Character String" 200 bytes pass (the row stays inside the area).
    QStringList text = Write("Analog Output", "Character String", "200");
    text[4] = "Character String";
    EXPECT_EQ(client::Check_Num_Byte_Max("character string"), 255);
    EXPECT_EQ(client::Check_Data_Type("Character String", 5, 100), -1);
    EXPECT_EQ(client::Check_Data_Type("Character String", 5, 4), 1000);
    // The read table first; each table names its own rows.
    EXPECT_EQ(Fault({Read("1.2.3.4", "Analog Input", "0", "Present Value (85)"), Read("1.2.3", "x", "", "")},
                    {Write("Analog Input", "Real")}),
              "Error in Read, row 2!! IP Address is not correct");
}

TEST_F(ClientChecks, PropertyCodesAndEdeMapping)
{
    EXPECT_EQ(client::Check_Property("prescale (185)", 0, 1), 5);
    EXPECT_EQ(client::Check_Property("Polarity (84)", 0, 13), 1);
    EXPECT_EQ(client::Check_Property("Polarity (84)", 0, 4), -1);
    EXPECT_EQ(client::Check_Property("Number of States (74)", 0, 11), 4);
    EXPECT_EQ(client::Check_Property("Object Type (79)", 1, 5), -1);
    EXPECT_EQ(client::Check_Property("4184303", 1, 5), 200);
    EXPECT_EQ(client::Check_Object_Type("accumulator", 1), -1);
    EXPECT_EQ(client::Check_Object_Type("Life Safety Zone", 1), 15);
    for (const auto& [type, name, data, bytes] : std::vector<std::tuple<int, const char*, const char*, int>>{
             {0, "Analog Input", "Real", 4}, {4, "Binary Output", "Enumerated", 1}, {19, "Multi-State Value", "Unsigned Int", 4},
             {22, "Life Safety Zone", "Enumerated", 2}, {45, "Integer Value", "Signed Int", 4},
             {46, "Large Analog Value", "Double", 8}, {8, "", "Null", 4}}) {
        EXPECT_EQ(client::Get_ObjType_EDE(type), name);
        EXPECT_EQ(client::Get_DataType_EDE(type), data);
        EXPECT_EQ(client::Get_NumByte_EDE(type), bytes);
    }
}

// ---- The import into the tables -------------------------------------------------------------------

namespace {

TBACnet_Var Var(int type, qint64 instance, bool commandable, const char* name = "n")
{
    TBACnet_Var v;
    v.object_type = type;
    v.object_instance = instance;
    v.object_name = QString::fromUtf8(name);
    v.description = QStringLiteral("d");
    v.commandable = commandable;
    v.write = commandable;
    return v;
}

shell::Table_Rows Empty(int table, int rows = client::Rows_Per_Table)
{
    const shell::Table_Description description = client::File(0).Tables[size_t(table)];
    shell::Table_Rows out;
    for (int r = 1; r <= rows; ++r)
        out.push_back(description.Cleared_Row(r));
    return out;
}

}  // namespace

TEST_F(ClientChecks, ImportPlacesRowsAfterTheLastUsedRowAndByte)
{
    shell::Table_Rows read = Empty(client::Read_Table), write = Empty(client::Write_Table);
    read[0] = Read("10.0.0.9", "Analog Input", "1", "Present Value (85)", "4", {"N", "", "", ""}, "1000", "0", "10");
    read[0][0] = "1";
    const std::vector<TBACnet_Var> vars{Var(0, 5, false, "T1"), Var(0, 6, false, "T2"), Var(1, 7, true, "Valve"),
                                        Var(3, 8, false, "off")};
    std::vector<TBACnet_Var> chosen = vars;
    chosen[3].import = false;
    ASSERT_FALSE(client::Import_EDE_Vars(read, write, chosen, "10.0.0.2", 0));
    EXPECT_EQ(read[1].join('|'), "2|Y|10.0.0.2|Analog Input|5|Present Value (85)|4|N||||1000|0|14|0|N||T1 - d");
    EXPECT_EQ(read[2][client::R_Position], "18");
    EXPECT_EQ(read[3][client::R_Object_Type], "Analog Output");
    EXPECT_EQ(read[3][client::R_Position], "22");
    EXPECT_EQ(read[4][client::R_Object_Type], "");
    // The commandable output goes to both tables.
    EXPECT_EQ(write[0].join('|'), "1|Y|10.0.0.2|Analog Output|Real|7|Present Value (85)|0|4|N||||N|N|1000|0|0|0|N||Valve - d");
    EXPECT_EQ(client::Check({{read, {}}, {write, {}}}, 0), std::nullopt);
}

TEST_F(ClientChecks, ImportWithTheAddressHiddenUsesTheObjectType)
{
    shell::Table_Rows read = Empty(client::Read_Table), write = Empty(client::Write_Table);
    // Rows without an address: the object type is their key.
    read[0] = Read("", "Analog Input", "1", "Present Value (85)", "4", {"N", "", "", ""}, "1000", "0", "0");
    read[1] = Read("", "Binary Input", "2", "Present Value (85)", "1", {"N", "", "", ""}, "1000", "0", "4");
    ASSERT_FALSE(client::Import_EDE_Vars(read, write, {Var(2, 1, false)}, "", 2));
    EXPECT_EQ(read[0][client::R_Object_Type], "Analog Input");
    EXPECT_EQ(read[1][client::R_Object_Type], "Binary Input");
    EXPECT_EQ(read[2][client::R_Object_Type], "Analog Value");
    EXPECT_EQ(read[2][client::R_Position], "5");
}

TEST_F(ClientChecks, AnImportThatDoesNotFitChangesNothing)
{
    const shell::Table_Rows read0 = Empty(client::Read_Table), write0 = Empty(client::Write_Table);
    struct Case {
        std::function<void(shell::Table_Rows&)> Prepare;
        std::vector<TBACnet_Var> Vars;
        const char* Fault;
    } cases[] = {
        {[](shell::Table_Rows& r) { r[0] = Read("1.1.1.1", "Analog Input", "1", "Present Value (85)", "4", {"N", "", "", ""}, "0", "0", "1430"); },
         {Var(0, 1, false), Var(0, 2, false), Var(0, 3, false)},
         "[BACnet Read] The imported objects would reach byte 1445 of the exchange area, which ends at byte 1439. Nothing was imported."},
        {[](shell::Table_Rows& r) {
             for (int i = 0; i < 511; ++i)
                 r[size_t(i)] = Read("1.1.1.1", "Binary Input", "1", "Present Value (85)", "1", {"N", "", "", ""}, "0", "0", QString::number(i));
         },
         {Var(3, 1, false), Var(3, 2, false)},
         "[BACnet Read] The import needs 2 rows from row 512 on, but the table ends at row 512. Nothing was imported."},
        {[](shell::Table_Rows& r) { r[1][client::R_Mnemonic] = "kept"; },
         {Var(0, 1, false), Var(0, 2, false)},
         "[BACnet Read] Row 2, where imported objects would go, holds data. Nothing was imported."},
    };
    for (const Case& c : cases) {
        shell::Table_Rows read = read0, write = write0;
        c.Prepare(read);
        const shell::Table_Rows before = read;
        EXPECT_EQ(client::Import_EDE_Vars(read, write, c.Vars, "1.1.1.1", 0).value_or(""), c.Fault);
        EXPECT_EQ(read, before);
        EXPECT_EQ(write, write0);
    }
}

// ---- The window and the dialog ----------------------------------------------------------------------

namespace {

using ClientWindow = SetupWindowTest<TFBACnetAccess>;

QByteArray Master_ParGen(const char* type) { return QByteArray("<Par_Gen><BACnet_Master_Type>") + type + "</BACnet_Master_Type></Par_Gen>"; }

}  // namespace

TEST_F(ClientWindow, EdeImportedThroughTheDialogSavedAndReopened)
{
    Dir.Write("ParGen.xml", Master_ParGen("0"));
    Dir.Write("device.csv", ReadTestData("device.csv"));
    ScriptedFileDialogs files;
    files.QueueAnswer(Dir.File("device.csv"));
    const int result = Run([&] {
        EXPECT_EQ(Form->Caption(), "Set BACnet Access");
        EXPECT_EQ(Grid().Cells(client::R_Address, 0), "IP Address");
        EXPECT_FALSE(Grid().IsHiddenColumn(client::R_Address));
        EXPECT_TRUE(Grid().IsHiddenColumn(client::R_Convertion));
        EXPECT_FALSE(Form->Btn_PasteRow->isVisible());
        EXPECT_EQ(Form->Btn_Import_CSV->Caption(), "Import EDE");
        TFImportEDEFile* dialog = FImportEDEFile();
        WhenShown(dialog, [&] {
            EXPECT_EQ(dialog->ACG->RowCount(), 5);
            EXPECT_EQ(dialog->ACG->Cells(4, 3), "Valve");
            EXPECT_EQ(dialog->ACG->Cells(3, 3), "Y");
            // Write on an object that is read only: refused, the box set back.
            dialog->ACGCheckBoxClick(3, 1, true);
            EXPECT_EQ(Messages.LastText(), "Error line 1!! The Variable is only in read");
            EXPECT_EQ(dialog->ACG->Cells(3, 1), "N");
            dialog->ACGCheckBoxClick(1, 4, false);  // the fourth object is not imported
            dialog->E_ID_IP->setText("192.168.1.300");
            Press(dialog->Btn_OK);
            EXPECT_EQ(Messages.LastText(), "Error!! IP Address is not correct");
            dialog->E_ID_IP->setText("192.168.1.30");
            Press(dialog->Btn_OK);
        });
        Press(Form->Btn_Import_CSV);
        EXPECT_EQ(Grid().Cells(client::R_Object_Type, 3), "Analog Output");
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    EXPECT_EQ(shell::App_State.EDE_Import_Folder, Dir.Path());
    EXPECT_EQ(Dir.Read("BACnet_Master_Access.xml").toStdString(), ReadTestData("client_window.xml").toStdString());

    Messages.Clear();
    Run([&] {
        EXPECT_EQ(Grid().Cells(client::R_Mnemonic, 1), "Room temp - Room temperature north");
        EXPECT_EQ(Grid(1).Cells(client::W_Instance, 1), "3");
        EXPECT_EQ(Grid().Cells(client::R_Object_Type, 4), "");
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(ClientWindow, NetworkKindDecidesTheAddressColumn)
{
    // No ParGen.xml: said, and the tables take IP addresses.
    Run([&] {
        EXPECT_EQ(Messages.LastText(), "Select the BACnet Type in the \"Set Communication\" section");
        EXPECT_EQ(Form->App_BACnet_Type, 0);
        Press(Form->Btn_Cancel);
    });
    Dir.Write("ParGen.xml", Master_ParGen("1"));
    Run([&] {
        EXPECT_EQ(Grid(1).Cells(client::W_Address, 0), "Slave ID");
        Press(Form->Btn_Cancel);
    });
    Dir.Write("ParGen.xml", Master_ParGen("2"));
    Dir.Write("BACnet_Master_Access.xml", ReadTestData("client_window.xml"));
    Messages.QueueAnswer(platform::mrNo);
    Run([&] {
        EXPECT_TRUE(Grid().IsHiddenColumn(client::R_Address));
        // Rows end at the first empty object type; one typed below a gap is asked about.
        Grid().SetCells(client::R_Object_Type, 6, "Analog Input");
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().startsWith("[BACnet Read] Row 6 holds data, but the Object Type of row 4 is empty"))
            << Messages.LastText().toStdString();
        Press(Form->Btn_Cancel);
    });
    Dir.Write("ParGen.xml", Master_ParGen("0"));
    Run([&] {
        EXPECT_FALSE(Grid().IsHiddenColumn(client::R_Address));
        EXPECT_EQ(Grid().Cells(client::R_Address, 0), "IP Address");
        Press(Form->Btn_Cancel);
    });
}

namespace {
void Press(controls::TPicButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }
}  // namespace

TEST(ImportDialog, AddressRulesAndSelection)
{
    shell::Load_Default_Language();
    TempDir dir;
    dir.Write("device.csv", ReadTestData("device.csv"));
    ScriptedMessages messages;
    TFImportEDEFile dialog;
    dialog.EDE_File = dir.File("device.csv");
    dialog.App_BACnet_Type = 1;
    const int result = Run_Modal(&dialog, [&] {
        EXPECT_EQ(dialog.List_EDE_Var.size(), 4u);
        Press(dialog.Btn_Unselect_All);
        EXPECT_EQ(dialog.ACG->Cells(1, 2), "N");
        EXPECT_FALSE(dialog.List_EDE_Var[1].import);
        Press(dialog.Btn_Select_All);
        EXPECT_TRUE(dialog.List_EDE_Var[1].import);
        dialog.E_ID_IP->setText("255");
        Press(dialog.Btn_OK);
        EXPECT_EQ(messages.LastText(), "Error!! Slave ID must be between 0 and 254");
        dialog.E_ID_IP->setText("254");
        Press(dialog.Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk);
    dialog.App_BACnet_Type = 2;
    dialog.E_ID_IP->clear();
    EXPECT_EQ(Run_Modal(&dialog, [&] { Press(dialog.Btn_OK); }), platform::mrOk);

    // A file too short to be an EDE file: said when the dialog opens, and nothing is listed.
    dir.Write("short.csv", "a;b\r\n# mandatory\r\nk;1;n;0;0;d\r\n");
    dialog.EDE_File = dir.File("short.csv");
    messages.Clear();
    Run_Modal(&dialog, [&] {
        EXPECT_TRUE(dialog.List_EDE_Var.empty());
        EXPECT_EQ(dialog.ACG->RowCount(), 2);
        EXPECT_EQ(dialog.ACG->Cells(4, 1), "");
        Press(dialog.Btn_Cancel);
    });
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.LastText(), "The EDE file \"" + dir.File("short.csv") + "\" was not listed whole (0 objects are listed):\n"
                                   "The file has 3 lines; an EDE file has at least seven (its header lines). Nothing is listed.");
}

TEST_F(ClientWindow, ImportFolderFollowsTheOpenDialogAndTheReadHintCountsBytes)
{
    Dir.Write("ParGen.xml", Master_ParGen("0"));
    Dir.Write("device.csv", ReadTestData("device.csv"));
    shell::App_State.EDE_Import_Folder = QStringLiteral("/nowhere");
    ScriptedFileDialogs files;
    files.QueueAnswer(QString());
    files.QueueAnswer(Dir.File("device.csv"));
    Run([&] {
        Press(Form->Btn_Import_CSV);
        EXPECT_EQ(shell::App_State.EDE_Import_Folder, "/nowhere");
        EXPECT_EQ(files.Shown().back().InitialFolder, "/nowhere");
        WhenShown(FImportEDEFile(), [&] { Press(FImportEDEFile()->Btn_Cancel); });
        Press(Form->Btn_Import_CSV);
        EXPECT_EQ(shell::App_State.EDE_Import_Folder, Dir.Path());
        EXPECT_EQ(Grid().Cells(client::R_Object_Type, 1), "");

        Grid().SetCells(client::R_Object_Type, 1, "Binary Input");
        Grid().SetCells(client::R_Property, 1, "Present Value (85)");
        QString hint;
        Form->ACG1GridHint(1, Grid().RealToDisplCol(client::R_NByte), hint);
        EXPECT_EQ(hint, "Present Value (85) takes 1 byte(s)");
        Grid().SetCells(client::R_Property, 1, "Status Flags (111)");
        Form->ACG1GridHint(1, Grid().RealToDisplCol(client::R_NByte), hint);
        EXPECT_EQ(hint, "Status Flags (111) takes 1 byte(s)");
        Form->ACG1GridHint(1, Grid().RealToDisplCol(client::R_Mnemonic), hint);
        EXPECT_EQ(hint, "");
        Press(Form->Btn_Cancel);
    });
}

}  // namespace test_bacnet_client_suite
