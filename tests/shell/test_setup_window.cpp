// The set-up window base with two tables on tabs: what a window of two tables gets from it.
// Column tables leave members at their defaults on purpose, which g++ 12 warns about.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/USetupWindow.h"
#include "support/Deferred.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace shell;

namespace {

// Two tables "Read" and "Write" of a Modbus-like window: Enable, a required Slave ID as key, a
// guarded Mnemonic; texts borrowed from the Modbus master block.
Setup_Window_Description Two_Tables()
{
    Table_Description read;
    read.Container = QStringLiteral("Read");
    read.Columns = {
        {.Header = 1300, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 1301, .Hint = 1320, .Kind = Cell_Editor::Check, .Width = 50, .Attribute = "Enable", .Default = "Y",
         .Cleared = "Y"},
        {.Header = 1302, .Hint = 1321, .Width = 60, .Attribute = "Slave_ID", .Required = true},
        {.Header = 1303, .Hint = 1322, .Width = 100, .Attribute = "Mnemonic", .Default = "-"},
    };
    read.Key_Column = 2;
    read.Enable_Column = 1;
    read.Capacity = 8;
    Table_Description write = read;
    write.Container = QStringLiteral("Write");

    Setup_Window_Description window;
    window.Name = QStringLiteral("FTwo");
    window.Client_Width = 600;
    window.Client_Height = 300;
    window.File = {QStringLiteral("Two"), QStringLiteral("1.001"), {read, write}};
    window.Path = &TApp_State::File_ModbusM_SetAccess;
    window.Grid_Names = {QStringLiteral("ACG_Read"), QStringLiteral("ACG_Write")};
    window.Tab_Names = {QStringLiteral("TS_Read"), QStringLiteral("TS_Write")};
    window.Tab_Captions = {1304, 1305};
    window.Caption = 1306;
    window.Description = 1307;
    window.Button_Captions = {1308, 1309, 1310, 1311, 1312, 1313};
    window.Delete_Question = 1388;
    window.Row_Prefix = 1368;
    window.Insert_Enables = true;
    return window;
}

class TTwo_Window : public TSetup_Window {
public:
    explicit TTwo_Window(const Setup_Window_Description& description = Two_Tables())
        : TSetup_Window(description, {})
    {
    }

protected:
    std::optional<QString> Check_Tables(const std::vector<Table_Check_Input>& tables) const override
    {
        return Check_Setup_Tables(Description(), tables, [](int table, const Checked_Row& row) -> std::optional<QString> {
            const int64_t id = row.Setup_Number(2);
            if (id < 1 || id > 247)
                return table == 0 ? QStringLiteral("!! read id") : QStringLiteral("!! write id");
            return std::nullopt;
        });
    }
};

class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Load_Default_Language();
        App_State.File_ModbusM_SetAccess = Dir.File("two.xml");
        Form = std::make_unique<TTwo_Window>();
    }
    void TearDown() override
    {
        Form.reset();
        App_State = {};
    }
    int Run(std::function<void()> actions)
    {
        return Run_Modal(Form.get(), std::move(actions), [this] { return Messages.LastText(); });
    }
    void Tab(int index)
    {
        QTabBar* bar = Form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    static void Press(controls::TPicButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    TempDir Dir;
    ScriptedMessages Messages;
    std::unique_ptr<TTwo_Window> Form;
};

}  // namespace

TEST_F(SetupWindow, TwoTablesStandOnTabsWithTheirOwnTextsAndCopyFlags)
{
    Dir.Write("two.xml", "<Two><Read><row Enable=\"Y\" Slave_ID=\"1\" Mnemonic=\"a\"/></Read>"
                         "<Write><row Enable=\"Y\" Slave_ID=\"2\" Mnemonic=\"b\"/></Write></Two>");
    Run([&] {
        ASSERT_NE(Form->PageControl1, nullptr);
        EXPECT_EQ(Form->PageControl1->count(), 2);
        EXPECT_EQ(Form->PageControl1->tabText(1), Lang(1305));
        EXPECT_EQ(Form->Tab_Sheets[1]->objectName(), "TS_Write");
        EXPECT_EQ(Form->Table(1)->objectName(), "ACG_Write");
        EXPECT_EQ(Form->Table(1)->Cells(3, 1), "b");
        EXPECT_EQ(Form->Hints(1).value(1), Lang(1321));
        // A row copied in the first table cannot be pasted into the second, although both have
        // the same columns.
        Form->Table(0)->GotoCell(2, 1);
        Press(Form->Btn_CopyRow);
        Tab(1);
        EXPECT_EQ(Form->Active_Index(), 1);
        Form->Table(1)->GotoCell(2, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Messages.LastText(), Lang(1102));
        Form->Table(1)->GotoCell(2, 1);
        Press(Form->Btn_CopyRow);
        EXPECT_FALSE(Form->Copied(0));
        EXPECT_TRUE(Form->Copied(1));
        Form->Table(1)->GotoCell(2, 2);
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Form->Table(1)->Cells(2, 2), "2");
        // The tables are checked in order: the first fault of the second table, with its row.
        Form->Table(1)->SetCells(2, 2, QStringLiteral("300"));
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), Lang(1368) + "2!! write id");
        Form->Table(1)->SetCells(2, 2, QStringLiteral("3"));
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Dir.Read("two.xml"),
              "<Two><Read><row Enable=\"Y\" Slave_ID=\"1\" Mnemonic=\"a\"/></Read><Write>"
              "<row Enable=\"Y\" Slave_ID=\"2\" Mnemonic=\"b\"/><row Enable=\"Y\" Slave_ID=\"3\" Mnemonic=\"b\"/>"
              "</Write></Two><!--SW_VERSION = 1.001-->");
}

// A missing container leaves its table empty with a word; a row lacking a required attribute is
// named; everything else is read, and OK asks before replacing the file.
TEST_F(SetupWindow, MissingContainersAndRequiredAttributesAreReportedWithTheRestRead)
{
    Dir.Write("two.xml", "<Two><Read><row Slave_ID=\"1\"/><row Mnemonic=\"no id\"/><row Slave_ID=\"3\"/></Read></Two>");
    Messages.QueueAnswer(platform::mrOk);
    Run([&] {
        ASSERT_EQ(Messages.Shown().size(), 1u);
        const QString text = Messages.LastText();
        EXPECT_TRUE(text.contains("Row 2 of \"Read\" lacks \"Slave_ID\".")) << text.toStdString();
        EXPECT_TRUE(text.contains("has no element \"Write\"; its table starts empty")) << text.toStdString();
        EXPECT_EQ(Form->Table(0)->Cells(3, 1), "-");
        EXPECT_EQ(Form->Table(0)->Cells(3, 2), "no id");
        EXPECT_EQ(Form->Table(0)->Cells(2, 3), "3");
        EXPECT_EQ(Form->Table(1)->Cells(2, 1), "");
        // The end rule refuses first: row 3 holds data below the empty key of row 2.
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.LastText(), Lang(1368) + "2!! " + Lang(1302) +
                                           " of row 2 is empty: the table ends there and this row would not be saved");
        Form->Table(0)->SetCells(2, 2, QStringLiteral("2"));
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        EXPECT_EQ(Messages.Shown().back().Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_TRUE(Form->isVisible());
        Press(Form->Btn_Cancel);
    });
    EXPECT_TRUE(Dir.Read("two.xml").startsWith("<Two><Read><row Slave_ID=\"1\"/>"));
}

// A window that asks about rows below a table's end: they are no check fault (not even a bad
// key below the end), and OK asks once per table that holds such rows, naming the table by its
// tab, the first such row and the row whose key is empty. Any No saves nothing.
TEST_F(SetupWindow, RowsBelowATablesEndAreAskedAboutTablePerTable)
{
    Setup_Window_Description asking = Two_Tables();
    asking.Ask_Rows_After_End = true;
    Form = std::make_unique<TTwo_Window>(asking);
    const auto question = [](int table, int row, int end) {
        return QStringLiteral("[%1] Row %2 holds data, but the %3 of row %4 is empty: the table ends at row %4, so row "
                              "%2 and every row after row %4 will not be saved. Save anyway?")
            .arg(Lang(table == 0 ? 1304 : 1305))
            .arg(row)
            .arg(Lang(1302))
            .arg(end);
    };
    Run([&] {
        Form->Table(0)->SetCells(2, 1, QStringLiteral("1"));
        Form->Table(0)->SetCells(3, 4, QStringLiteral("stray"));
        // Below the end a key that the row check would refuse is no fault: the row is asked about.
        Form->Table(1)->SetCells(2, 3, QStringLiteral("stray"));
        // A check box alone below the end is no data.
        Form->Table(1)->SetCells(1, 2, QStringLiteral("N"));
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.LastText(), question(0, 4, 2));
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtConfirmation);
        EXPECT_TRUE(Form->isVisible());
        Messages.QueueAnswer(platform::mrYes);
        Messages.QueueAnswer(platform::mrNo);
        Press(Form->Btn_OK);
        ASSERT_EQ(Messages.Shown().size(), 3u);
        EXPECT_EQ(Messages.LastText(), question(1, 3, 1));
        EXPECT_TRUE(Form->isVisible());
        EXPECT_FALSE(QFile::exists(Dir.File("two.xml")));
        Messages.QueueAnswer(platform::mrYes);
        Messages.QueueAnswer(platform::mrYes);
        Press(Form->Btn_OK);
    });
    EXPECT_EQ(Dir.Read("two.xml"), "<Two><Read><row Enable=\"Y\" Slave_ID=\"1\" Mnemonic=\"\"/></Read><Write/></Two>"
                                   "<!--SW_VERSION = 1.001-->");
}
