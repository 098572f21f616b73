// The BACnet server object table: its checks as tables of cases with the exact texts, its file,
// and the window driven as a user drives it, the engineering-unit picker included.
#include "protocols/building/UBACnetSlaveSetAccess.h"
#include "protocols/building/UBACnet_Eng_Unit.h"
#include "protocols/fieldbus/setup_window_driver.h"
#include "support/QStringPrinter.h"
#include "support/TestData.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace test_bacnet_server_suite {

namespace server = building::bacnet::server;

namespace {

// A full row: N, Data Type, Eng. Unit, Position, Start Bit, Length, Swap, Mnemonic.
QStringList R(const char* type, const char* unit, const char* position, const char* bit, const char* length,
              const QString& mnemonic = QStringLiteral("m"))
{
    return {"1", type, unit, position, bit, length, "N", mnemonic};
}

std::optional<QString> CheckRows(const shell::Table_Rows& read, const shell::Table_Rows& write, bool limit = false)
{
    return server::Check({{read, {}}, {write, {}}}, limit);
}

class ServerChecks : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

}  // namespace

TEST_F(ServerChecks, RowRulesWithTheirTexts)
{
    struct Case {
        bool Write;
        QStringList Row;
        const char* Fault;  // empty: passes
    } cases[] = {
        {false, R("Analog Input", "62", "1436", "", "4"), ""},
        {false, R("Analog Input", "62", "1437", "", "4"), "Error row 1!! [BACnet in Read] Too many bytes to save starting from the Position indicate"},
        {false, R("Analog Input", "70000", "0", "", "4"), "Error row 1!! [BACnet in Read] Eng. Unit must be between 0 and 65535"},
        {true, R("Analog Out", "70000", "0", "", "4"), "Error row 1!! [BACnet in Write] Eng. Unit must be between 0 and 65535"},
        {false, R("Analog Input", "$FFFF", "0", "", "4"), ""},
        {false, R("Analog Input", "", "0", "", "4"), "Error row 1!! [BACnet in Read] Eng. Unit must be between 0 and 65535"},
        {false, R("Analog Input", "1", "1440", "", "1"), "Error row 1!! [BACnet in Read] Position must be between 0 and 1439"},
        {true, R("Analog Out", "1", "-1", "", "1"), "Error row 1!! [BACnet in Write] Position must be between 0 and 1439"},
        {false, R("Analog Input", "1", "0", "", "5"), "Error row 1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4"},
        {false, R("Large Analog Value", "1", "0", "", "8"), ""},
        {true, R("Large Analog Value", "1", "0", "", "9"), "Error row 1!! [BACnet in Write] Length with variable \"Large Analog Value\" must be between 1 and 8"},
        {false, R("Life Safety Zone", "1", "0", "", "3"), "Error row 1!! [BACnet in Read] Length with variable \"Life Safety Zone\" must be 1 or 2"},
        {true, R("Access Door", "1", "0", "", "2"), "Error row 1!! [BACnet in Write] Length with variable \"Access Door\" must be equal to 1"},
        // Binary objects need a start bit and take one byte; their Length is not read.
        {false, R("Binary Value", "1", "1439", "3", "x"), ""},
        {false, R("Binary Value", "1", "5", "", "1"), "Error row 1!! [BACnet in Read] Bit must be between 0 and 7"},
        {true, R("Binary Out", "1", "5", "8", "1"), "Error row 1!! [BACnet in Write] Bit must be between 0 and 7"},
        // Integer Value: free length in the read table, 1..4 in the write table.
        {false, R("Integer Value", "1", "0", "", "6"), ""},
        {true, R("Integer Value", "1", "0", "", "6"), "Error row 1!! [BACnet in Write] Length with variable \"Integer Value\" must be between 1 and 4"},
        // Strings: a length of 0 or less never passes; at most what is left of the area.
        {false, R("Octet String", "1", "1000", "", "0"), "Error row 1!! [BACnet in Read] Length must be between 1 and 440"},
        {true, R("CharacterString Value", "1", "1000", "", "-5"), "Error row 1!! [BACnet in Write] Length must be between 1 and 440"},
        {true, R("CharacterString Value", "1", "1000", "", "440"), ""},
        {true, R("Octet String", "1", "1000", "", "441"), "Error row 1!! [BACnet in Write] Length must be between 1 and 440"},
        // A type of the other table, or one not in the list at all.
        {true, R("Analog Input", "1", "0", "", "4"), "Error row 1!! [BACnet in Write] Data Type \"Analog Input\" is not one of the list"},
        {false, R("analog input", "1", "0", "", "4"), "Error row 1!! [BACnet in Read] Data Type \"analog input\" is not one of the list"},
        // The Mnemonic goes into the EDE file.
        {false, R("Analog Input", "1", "0", "", "4", "a;b"), "Error row 1!! [BACnet in Read] Mnemonic holds \";\", which separates the fields of the EDE file"},
        {true, R("Analog Out", "1", "0", "", "4", "a\nb"), "Error row 1!! [BACnet in Write] Mnemonic holds a control character such as a line break"},
        {false, R("Analog Input", "1", "0", "", "4", QStringLiteral("T \u00B0C \u20AC")), ""},
        {false, R("Analog Input", "1", "0", "", "4", QStringLiteral("\u2103")), "Error row 1!! [BACnet in Read] Mnemonic holds \"\u2103\" (U+2103), which the EDE file's code page (Windows-1252) cannot hold"},
    };
    for (const Case& c : cases) {
        const shell::Table_Rows one{c.Row};
        const auto fault = c.Write ? CheckRows({}, one) : CheckRows(one, {});
        EXPECT_EQ(fault.value_or(QString()), QString::fromUtf8(c.Fault)) << c.Row.join('|').toStdString();
    }
}

TEST_F(ServerChecks, TablesEndAtTheFirstEmptyTypeAndCountTogether)
{
    // The write table is judged by its own types, whatever the read table holds in the row.
    EXPECT_EQ(CheckRows({R("Binary Input", "1", "0", "0", "")}, {R("Analog Out", "1", "0", "", "5")}).value_or(""),
              "Error row 1!! [BACnet in Write] Length with variable \"Analog Out\" must be between 1 and 4");
    // A faulty row below an empty type is not checked (it is asked about before saving).
    EXPECT_FALSE(CheckRows({R("Analog Input", "1", "0", "", "4"), R("", "", "", "", ""), R("Analog Input", "x", "x", "", "9")}, {}));
    // 600 read and 500 write objects: too many with the limit, fine without it.
    const shell::Table_Rows read(600, R("Binary Value", "1", "0", "0", "")), write(500, R("Binary Value", "1", "0", "0", ""));
    EXPECT_EQ(CheckRows(read, write, true).value_or(""), "Error!! Too many Requests. Max requests 1000");
    EXPECT_FALSE(CheckRows(read, write, false));
}

TEST_F(ServerChecks, DuplicateEdeNamesAndDefaults)
{
    const auto question = server::Duplicate_Names(
        {{R("Analog Input", "1", "0", "", "4", "Room temperature north"), R("Analog Input", "1", "4", "", "4", "other")},
         {R("Analog Out", "1", "0", "", "4", "Room temperature south")}},
        false);
    EXPECT_EQ(question.value_or(""),
              "The objects of row 1 of [BACnet in Read] and row 1 of [BACnet in Write] have the same object name "
              "\"Room temperature\" in the EDE file (its names keep the first 16 characters of the Mnemonic), so a "
              "BACnet workstation cannot tell them apart by name. Save anyway?");
    EXPECT_FALSE(server::Duplicate_Names({{R("Analog Input", "1", "0", "", "4", "Room temperature north")},
                                          {R("Analog Out", "1", "0", "", "4", "Room temperature south")}},
                                         true));
    for (const auto& [type, length] : std::vector<std::pair<const char*, const char*>>{
             {"Analog Out", "4"}, {"large analog value", "8"}, {"Binary Value", "1"}, {"CharacterString Value", "1"},
             {"Multi State Output", "4"}, {"Analog Input", ""}})
        EXPECT_EQ(server::Write_Type_Length(type), length) << type;
}

// ---- The window ------------------------------------------------------------------------------------

namespace {

class ServerWindow : public SetupWindowTest<TFBACnetSlaveSetAccess> {
protected:
    // The offscreen platform has no window manager to give the window back its activation when
    // the picker closes, as the desktop does.
    void Reactivate()
    {
        QApplication::setActiveWindow(Form.get());
        Grid().setFocus();
    }
};

}  // namespace

TEST_F(ServerWindow, RowsTypedUnitPickedSavedAndReopenedUnchanged)
{
    Messages.QueueAnswer(platform::mrYes);  // rows below the end: save anyway
    const int result = Run([&] {
        EXPECT_EQ(Form->Caption(), "BACnet Set Access");
        EXPECT_EQ(Form->size(), QSize(764, 337));
        EXPECT_EQ(Grid().RowCount(), 2001);
        EXPECT_TRUE(Grid().IsHiddenColumn(server::Swap));
        EXPECT_EQ(Grid().Cells(server::Eng_Unit, 0), "Eng. Unit");
        EXPECT_EQ(Form->PageControl1->tabText(1), "BACnet in Write");
        // Read row 1: Analog Input, unit picked, position 2, length 4.
        Pick(server::Data_Type, 1, 1);
        Enter(server::Eng_Unit, 1, "62");
        WhenShown(FBACnet_Eng_Unit(), [&] {
            TFBACnet_Eng_Unit* picker = FBACnet_Eng_Unit();
            EXPECT_EQ(picker->E_Selected_EU->text(), "62");
            EXPECT_EQ(picker->Label5->text(), "-> degrees-Celsius");
            picker->CB_Select_Type->setCurrentIndex(22);  // Other
            picker->CB_Select_TypeSelect();
            picker->CB_Select_Unit->setCurrentIndex(29);  // per-mille
            Press(picker->Btn_Select_Eng_Unit);
            EXPECT_EQ(picker->E_Selected_EU->text(), "207");
            EXPECT_EQ(picker->Label5->text(), "-> per-mille");
            Press(picker->Btn_OK);
        });
        QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, Centre(Grid(), server::Eng_Unit, 1));
        Reactivate();
        EXPECT_EQ(Cell(server::Eng_Unit, 1), "207");
        Pick(server::Position, 1, 3);
        Enter(server::Length, 1, "4");
        Enter(server::Mnemonic, 1, "Humidity <north> & \"south\"");
        // Row 3 holds data below the empty row 2.
        Enter(server::Mnemonic, 3, "orphan");
        // Write row 1: Large Analog Value sets Length 8.
        Form->PageControl1->setCurrentIndex(1);
        grid::TExtColumnGrid& write = Grid(server::Write_Table);
        write.setFocus();
        write.ScrollInView(write.RealToDisplCol(server::Data_Type), 1);
        const grid::TRect rc = write.CellRect(write.RealToDisplCol(server::Data_Type), 1);
        QTest::mouseClick(write.viewport(), Qt::LeftButton, {}, {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2});
        Key(Qt::Key_F2);
        Type("L");  // the list's key search picks "Large Analog Value"
        Key(Qt::Key_Return);
        EXPECT_EQ(write.Cells(server::Data_Type, 1), "Large Analog Value");
        EXPECT_EQ(write.Cells(server::Length, 1), "8");
        write.SetCells(server::Eng_Unit, 1, "95");
        write.SetCells(server::Position, 1, "0");
        write.SetCells(server::Mnemonic, 1, "Energy");
        Press(Form->Btn_OK);
    });
    ASSERT_EQ(result, platform::mrOk) << Messages.LastText().toStdString();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.Shown()[0].Text,
              "[BACnet in Read] Row 3 holds data, but the Data Type of row 2 is empty: the table ends at row 2, so row 3 "
              "and every row after row 2 will not be saved. Save anyway?");
    EXPECT_EQ(Dir.Read("BACnet_Slave_SetAccess.xml").toStdString(), ReadTestData("server_window.xml").toStdString());

    Messages.Clear();
    Run([&] {
        EXPECT_EQ(Rows(3), "Analog Input|207|2||4||Humidity <north> & \"south\"\n||||||\n||||||");
        EXPECT_EQ(Grid(1).Cells(server::Length, 1), "8");
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(ServerWindow, PickerCancelLeavesTheCellAndTheLimitSizesTheTables)
{
    Dir.Write("ParGen.xml", "<Par_Gen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></Par_Gen>");
    Dir.Write("BACnet_Slave_SetAccess.xml", ReadTestData("server_window.xml"));
    Run([&] {
        EXPECT_EQ(Grid().RowCount(), 1001);
        EXPECT_TRUE(Form->Desc_Lenght);
        WhenShown(FBACnet_Eng_Unit(), [&] {
            TFBACnet_Eng_Unit* picker = FBACnet_Eng_Unit();
            EXPECT_EQ(picker->Label5->text(), "-> per-mille");
            picker->CB_Select_Type->setCurrentIndex(1);  // Area
            picker->CB_Select_TypeSelect();
            Press(picker->Btn_Select_Eng_Unit);
            EXPECT_EQ(picker->E_Selected_EU->text(), "0");
            Press(picker->Btn_Cancel);
        });
        QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, Centre(Grid(), server::Eng_Unit, 1));
        Reactivate();
        EXPECT_EQ(Cell(server::Eng_Unit, 1), "207");
        // A faulty row keeps the window open and names it.
        Replace(server::Length, 1, "9");
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(),
                  "Error row 1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4");
        Press(Form->Btn_Cancel);
    });
    EXPECT_EQ(Dir.Read("BACnet_Slave_SetAccess.xml"), ReadTestData("server_window.xml"));
}

TEST_F(ServerWindow, RowButtonsCopyPasteOnlyWithinTheirTable)
{
    Dir.Write("BACnet_Slave_SetAccess.xml", ReadTestData("server_window.xml"));
    Run([&] {
        Click(server::N, 1);
        Press(Form->Btn_CopyRow);
        Form->PageControl1->setCurrentIndex(1);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Grid(1).Cells(server::Data_Type, 2), "");
        Press(Form->Btn_Cancel);
    });
}

TEST(EngineeringUnits, NamesAndCategories)
{
    const std::pair<int, const char*> names[] = {
        {0, "square-meters"}, {62, "degrees-Celsius"}, {95, "no-units"}, {172, "ohm-meters"},
        {236, "minutes-per-degree-kelvin"}, {237, "unknown"}, {-1, "unknown"}, {65535, "unknown"}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(TFBACnet_Eng_Unit::Desc_Unit(code), name) << code;
    const auto& categories = building::bacnet::Unit_Categories();
    ASSERT_EQ(categories.size(), 23u);
    std::vector<int> seen(237, 0);
    for (const auto& category : categories)
        for (int code : category.Codes)
            ++seen.at(size_t(code));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 237);
    EXPECT_EQ(categories[3].Name, "Electrical");
    EXPECT_EQ(categories[3].Codes.size(), 35u);
    EXPECT_EQ(building::bacnet::Unit_Item_Text(3, 172), "ohms-meters");
    EXPECT_EQ(building::bacnet::Unit_Item_Text(22, 139), "megajoules-per-square-meter");
    EXPECT_EQ(building::bacnet::Unit_Item_Text(22, 140), "megajoules-per-square-foot");
}

TEST(EngineeringUnits, ThePickerListsACategoryAndSelects)
{
    shell::Load_Default_Language();
    TFBACnet_Eng_Unit picker;
    EXPECT_EQ(picker.Caption(), "Select the BACnet Engineering Unit");
    EXPECT_EQ(picker.size(), QSize(548, 306));
    picker.CB_Select_Type->setCurrentIndex(1);
    picker.CB_Select_TypeSelect();
    QStringList items;
    for (int i = 0; i < picker.CB_Select_Unit->count(); ++i)
        items.append(picker.CB_Select_Unit->itemText(i));
    EXPECT_EQ(items.join(','), "square-meters,square-centimeters,square-feet,square-inches");
    picker.CB_Select_Type->setCurrentIndex(3);
    picker.CB_Select_TypeSelect();
    picker.CB_Select_Unit->setCurrentIndex(11);
    EXPECT_EQ(picker.CB_Select_Unit->currentText(), "ohms-meters");
    picker.Btn_Select_Eng_UnitClick();
    EXPECT_EQ(picker.E_Selected_EU->text(), "172");
    EXPECT_EQ(picker.Label5->text(), "-> ohm-meters");
}

TEST_F(ServerWindow, RepeatedEdeNamesAreAskedAboutBeforeSaving)
{
    Dir.Write("BACnet_Slave_SetAccess.xml",
              "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" "
              "Length=\"4\" Swap=\"N\" Mnemonic=\"Supply temperature 1\"/><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
              "Position=\"4\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"Supply temperature 2\"/></BACnet_in_Read>"
              "<BACnet_in_Write/></BACnet_to_Modbus><!--SW_VERSION = 1.006-->");
    const QByteArray before = Dir.Read("BACnet_Slave_SetAccess.xml");
    Messages.QueueAnswer(platform::mrNo);
    Messages.QueueAnswer(platform::mrOk);
    Messages.QueueAnswer(platform::mrYes);
    const int result = Run([&] {
        Press(Form->Btn_OK);
        EXPECT_TRUE(Messages.LastText().startsWith("The objects of row 1 of [BACnet in Read] and row 2 of [BACnet in Read] "
                                                   "have the same object name \"Supply temperatu\""))
            << Messages.LastText().toStdString();
        EXPECT_EQ(Dir.Read("BACnet_Slave_SetAccess.xml"), before);
        // A character the EDE file cannot hold is refused, naming the row.
        Grid().SetCells(server::Mnemonic, 2, QStringLiteral("Supply \u2192 2"));
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), QStringLiteral("Error row 2!! [BACnet in Read] Mnemonic holds \"\u2192\" (U+2192), "
                                                      "which the EDE file's code page (Windows-1252) cannot hold"));
        Grid().SetCells(server::Mnemonic, 2, QStringLiteral("Supply temperature 2"));
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(result, platform::mrOk);
    EXPECT_EQ(Messages.Shown().size(), 3u);
}

}  // namespace test_bacnet_server_suite
