#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"
#include "platform/Dialogs.h"
#include "shell/UComon.h"
#include "shell/UGridRows.h"
#include "shell/ULanguage.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace shell;
using grid::TExtColumnGrid;
using grid::TExtStringGrid;

namespace {

const QString Text1100 = QStringLiteral("Row Already used. Do you want to overwrite the values?");
const QString Text1101 = QStringLiteral("Error in the Copy values!!! Copy a valid row before Paste it");
const QString Text1102 = QStringLiteral("Error!!! Copy a valid row before Paste it");

QString Mark(int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); }

// A 1024-row table: real columns 0..5, column 4 hidden, every data cell marked with its place.
class GridRows : public ::testing::Test {
protected:
    static constexpr int Rows = 1025;
    void SetUp() override
    {
        App_State = {};
        Load_Default_Language();
        Fill(Grid);
    }
    void TearDown() override { App_State = {}; }

    static void Fill(TExtColumnGrid& g, int columns = 6)
    {
        g.SetColCount(columns);
        g.SetRowCount(Rows);
        for (int r = 1; r < Rows; ++r) {
            g.SetCells(0, r, QString::number(r));
            for (int c = 1; c < columns; ++c)
                g.SetCells(c, r, Mark(c, r));
        }
        g.HideColumn(4);
    }
    void ClearRow(int r)
    {
        for (int c = 1; c < Grid.TotalColCount(); ++c)
            Grid.SetCells(c, r, QString());
    }
    QStringList RowTexts(int r)
    {
        QStringList texts;
        for (int c = 0; c < Grid.TotalColCount(); ++c)
            texts << Grid.Cells(c, r);
        return texts;
    }

    TExtColumnGrid Grid;
};

TEST_F(GridRows, DeleteMovesLowerRowsUpAndEmptiesTheLastHiddenColumnsIncluded)
{
    ASSERT_EQ(Grid.TotalColCount(), 6);
    ASSERT_EQ(Grid.ColCount(), 5);
    Grid_Delete_Row(3, Grid);
    EXPECT_EQ(Grid.Cells(1, 2), Mark(1, 2));
    for (int r : {3, 500, 1023})
        for (int c = 1; c < 6; ++c)
            EXPECT_EQ(Grid.Cells(c, r), Mark(c, r + 1)) << c << "," << r;
    EXPECT_EQ(RowTexts(1024), (QStringList{"1024", "", "", "", "", ""}));
    EXPECT_EQ(Grid.Cells(0, 3), QStringLiteral("3"));  // row numbers stay
}

TEST_F(GridRows, DeleteOfTheLastRowOnlyEmptiesItAndRowsOutsideTheDataChangeNothing)
{
    Grid_Delete_Row(1024, Grid);
    EXPECT_EQ(RowTexts(1024), (QStringList{"1024", "", "", "", "", ""}));
    EXPECT_EQ(Grid.Cells(1, 1023), Mark(1, 1023));

    Grid.SetCells(1, 0, QStringLiteral("Header"));
    for (int row : {0, -1, Rows}) {
        Grid_Delete_Row(row, Grid);
        EXPECT_EQ(Grid.Cells(1, 0), QStringLiteral("Header")) << row;
        EXPECT_EQ(Grid.Cells(1, 1), Mark(1, 1)) << row;
    }
}

TEST_F(GridRows, InsertMovesRowsDownAndWritesTheEnableMark)
{
    ClearRow(1024);
    ASSERT_TRUE(Grid_Insert_Row(1, Grid, true));
    EXPECT_EQ(RowTexts(1), (QStringList{"1", "Y", "", "", "", ""}));
    for (int r : {2, 700, 1024})
        for (int c = 1; c < 6; ++c)
            EXPECT_EQ(Grid.Cells(c, r), Mark(c, r - 1)) << c << "," << r;

    ClearRow(1024);
    ASSERT_TRUE(Grid_Insert_Row(5, Grid, false));
    EXPECT_EQ(RowTexts(5), (QStringList{"5", "", "", "", "", ""}));
}

TEST_F(GridRows, InsertOnAFullTableAsksBeforeDroppingTheLastRow)
{
    {
        ScriptedMessages script;
        script.QueueAnswer(platform::mrNo);
        EXPECT_FALSE(Grid_Insert_Row(2, Grid, true));
        ASSERT_EQ(script.Shown().size(), 1u);
        EXPECT_EQ(script.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
    }
    EXPECT_EQ(Grid.Cells(1, 2), Mark(1, 2));
    EXPECT_EQ(Grid.Cells(5, 1024), Mark(5, 1024));
    {
        ScriptedMessages script;
        script.QueueAnswer(platform::mrYes);
        EXPECT_TRUE(Grid_Insert_Row(2, Grid, true));
    }
    EXPECT_EQ(Grid.Cells(1, 2), QStringLiteral("Y"));
    EXPECT_EQ(Grid.Cells(5, 1024), Mark(5, 1023));
}

TEST_F(GridRows, CopyTakesEveryDataColumnAndPasteWritesItBack)
{
    Grid_Copy_Row(Grid, 7);
    EXPECT_EQ(App_State.Copy_Row_Buffer, (QStringList{Mark(1, 7), Mark(2, 7), Mark(3, 7), Mark(4, 7), Mark(5, 7)}));
    ClearRow(9);
    Grid_Paste_Row(Grid, 9, true);
    EXPECT_EQ(RowTexts(9), (QStringList{"9", Mark(1, 7), Mark(2, 7), Mark(3, 7), Mark(4, 7), Mark(5, 7)}));
    ClearRow(10);
    Grid_Paste_Row(Grid, 10, true);  // the buffer is not used up
    EXPECT_EQ(Grid.Cells(5, 10), Mark(5, 7));
}

struct PasteCase {
    const char* name;
    bool copied;
    int bufferSize;         // entries in the copied row
    const char* rowText;    // text of column 2 in the target row (the others emptied)
    bool checkColumnData;   // the data check-box column 1 reads "Y"
    int answer;             // mrNone when no question is due
    QString expectedText;   // the one message shown, empty for none
    bool pasted;
};

class PasteRefusals : public GridRows, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteRefusals, RefusesOrAsksAsTheRowAndBufferRequire)
{
    const PasteCase& p = GetParam();
    Grid.Columns()[1]->SetEditor(grid::edDataCheckBox);
    App_State.Copy_Row_Buffer.clear();
    for (int i = 0; i < p.bufferSize; ++i)
        App_State.Copy_Row_Buffer << QStringLiteral("new%1").arg(i);
    ClearRow(4);
    Grid.SetCells(2, 4, QString::fromUtf8(p.rowText));
    if (p.checkColumnData)
        Grid.SetCells(1, 4, QStringLiteral("Y"));
    const QString before = Grid.Cells(2, 4);

    ScriptedMessages script;
    if (p.answer != platform::mrNone)
        script.QueueAnswer(p.answer);
    Grid_Paste_Row(Grid, 4, p.copied);

    if (p.expectedText.isEmpty()) {
        EXPECT_TRUE(script.Shown().empty());
    } else {
        ASSERT_EQ(script.Shown().size(), 1u);
        EXPECT_EQ(script.Shown()[0].Text, p.expectedText);
    }
    EXPECT_EQ(Grid.Cells(2, 4), p.pasted ? QStringLiteral("new1") : before);
    EXPECT_EQ(Grid.Cells(5, 4), p.pasted ? QStringLiteral("new4") : QString());
}

INSTANTIATE_TEST_SUITE_P(
    GridRows, PasteRefusals,
    ::testing::Values(PasteCase{"NotCopied", false, 5, "", false, platform::mrNone, Text1102, false},
                      PasteCase{"OtherColumnCount", true, 4, "", false, platform::mrNone, Text1101, false},
                      PasteCase{"EmptyRow", true, 5, "", false, platform::mrNone, QString(), true},
                      PasteCase{"BlanksCountAsEmpty", true, 5, "   ", false, platform::mrNone, QString(), true},
                      PasteCase{"OnlyCheckBoxesSet", true, 5, "", true, platform::mrNone, QString(), true},
                      PasteCase{"UsedRowAnsweredNo", true, 5, "old", false, platform::mrNo, Text1100, false},
                      PasteCase{"UsedRowAnsweredYes", true, 5, "old", false, platform::mrYes, Text1100, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridRows, DeleteQuestionNamesTheRow)
{
    ScriptedMessages script;
    script.QueueAnswer(platform::mrYes);
    script.QueueAnswer(platform::mrNo);
    EXPECT_TRUE(Ask_Delete_Row(12));
    EXPECT_FALSE(Ask_Delete_Row(3));
    EXPECT_EQ(script.Shown()[0].Text, QStringLiteral("Are you sure to delete the Row number 12"));
    EXPECT_EQ(script.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
}

// On a real grid with the editing layer: an edit open when rows move is validated into its cell
// first (and travels with its row), or dropped when refused; either way the edit is over, so the
// next move validates nothing against a cell that has gone.
TEST_F(GridRows, AnOpenEditorEndsItsEditBeforeRowsMove)
{
    TExtColumnGrid g;
    g.SetLayers({.Editing = grid::editing::EditingLayer()});
    Fill(g);
    for (int c = 1; c < 6; ++c)
        g.SetCells(c, Rows - 1, QString());
    g.resize(400, 300);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.SetFocus();
    grid::editing::TGridEditController* ctl = grid::editing::EditController(g);
    ASSERT_NE(ctl, nullptr);
    auto openAndType = [&](int c, int r, const QString& text) {
        g.GotoCell(c, r);
        ctl->ShowInplaceEdit();
        ASSERT_TRUE(ctl->NormalEdit()->isVisible());
        ctl->NormalEdit()->selectAll();
        QTest::keyClicks(ctl->NormalEdit(), text);
    };
    int validations = 0;
    bool refuse = false;
    ctl->OnCellValidate = [&](TExtStringGrid*, int, int, QString&, bool& valid) {
        ++validations;
        valid = !refuse;
    };

    openAndType(2, 5, QStringLiteral("typed"));
    ASSERT_TRUE(Grid_Insert_Row(3, g, false));
    EXPECT_EQ(validations, 1);
    EXPECT_FALSE(ctl->NormalEdit()->isVisible());
    EXPECT_FALSE(ctl->EditMode());
    EXPECT_FALSE(ctl->Editing());
    EXPECT_EQ(g.Cells(2, 6), QStringLiteral("typed"));
    EXPECT_EQ(g.Cells(2, 5), Mark(2, 4));
    g.GotoCell(3, 7);
    EXPECT_EQ(validations, 1);

    refuse = true;
    openAndType(2, 5, QStringLiteral("refused"));
    Grid_Delete_Row(2, g);
    EXPECT_EQ(validations, 2);
    EXPECT_FALSE(ctl->NormalEdit()->isVisible());
    EXPECT_FALSE(ctl->Editing());
    EXPECT_EQ(g.Cells(2, 4), Mark(2, 4));  // row 5 moved up, without the refused text
    g.GotoCell(3, 9);
    EXPECT_EQ(validations, 2);
}

struct EnterCase {
    const char* name;
    int col, row;
    int toCol, toRow;
};

class EnterNextCell : public GridRows, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterNextCell, MovesByDisplayColumnsAndSwallowsEnter)
{
    const EnterCase& p = GetParam();
    App_State.Opt_Jump_Field_Tables = true;
    Grid.GotoCell(p.col, p.row);
    QChar key(13);
    Grid_Enter_Next_Cell(Grid, key);
    EXPECT_EQ(key, QChar(0));
    EXPECT_EQ(Grid.Col(), p.toCol);
    EXPECT_EQ(Grid.Row(), p.toRow);
}

// Five display columns (0..4): the hidden real column is skipped.
INSTANTIATE_TEST_SUITE_P(GridRows, EnterNextCell,
                         ::testing::Values(EnterCase{"NextColumn", 2, 7, 3, 7},
                                           EnterCase{"LastColumnToNextRow", 4, 7, 1, 8},
                                           EnterCase{"LastCellToFirst", 4, 1024, 1, 1},
                                           EnterCase{"RowNumberColumnStays", 0, 7, 0, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridRows, EnterNextCellLeavesOtherKeysAndTheOptionOffAlone)
{
    Grid.GotoCell(2, 7);
    QChar key(13);
    Grid_Enter_Next_Cell(Grid, key);
    EXPECT_EQ(key, QChar(13));
    App_State.Opt_Jump_Field_Tables = true;
    key = QChar('a');
    Grid_Enter_Next_Cell(Grid, key);
    EXPECT_EQ(key, QChar('a'));
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 7);
}

// Enter pressed in the text editor of a table, as the set-up windows hook it: the value is
// committed into its cell, then the key reaches the table's key press and moves on.
class EnterInEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        App_State = {};
        Load_Default_Language();
        Grid.SetLayers({.Editing = grid::editing::EditingLayer(grid::editing::InputHandling())});
        // Columns 0 (row numbers) to 4, rows 1 to 3; editing comes on by selecting, as in the windows.
        Grid.SetColCount(5);
        Grid.SetRowCount(4);
        Grid.Options &= ~grid::goEditing;
        for (int r = 1; r < 4; ++r)
            for (int c = 1; c < 5; ++c)
                Grid.SetCells(c, r, Mark(c, r));
        Grid.OnKeyPress = [this](QChar& key) {
            Pressed += key;
            Grid_Enter_Next_Cell(Grid, key);
        };
        Grid.resize(420, 160);
        Grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Grid));
        Grid.SetFocus();
    }
    void TearDown() override { App_State = {}; }
    grid::editing::TGridEditController& Ctl() { return *grid::editing::EditController(Grid); }
    // Selects a cell that is not current by a click and types a value, which opens the editor.
    void SelectAndType(int c, int r, const QString& text)
    {
        const grid::TRect rc = Grid.CellRect(c, r);
        QTest::mouseClick(Grid.viewport(), Qt::LeftButton, {}, QPoint(rc.Left + 5, rc.Top + 5));
        ASSERT_EQ(Grid.Col(), c);
        ASSERT_EQ(Grid.Row(), r);
        ASSERT_FALSE(Ctl().EditMode());
        for (const QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
        ASSERT_TRUE(Ctl().EditMode());
        ASSERT_TRUE(Ctl().NormalEdit()->hasFocus());
        ASSERT_EQ(Ctl().NormalEdit()->text(), text);
        Pressed.clear();
    }
    TExtColumnGrid Grid;
    QString Pressed;
};

TEST_F(EnterInEditor, CommitsTheValueAndMovesToTheNextCell)
{
    const struct {
        bool Option;
        int Col, Row, ToCol, ToRow;
    } cases[] = {
        {true, 2, 1, 3, 1},
        {true, 4, 2, 1, 3},   // last column: first data column of the next row
        {true, 4, 3, 1, 1},   // last cell: back to the first
        {false, 3, 2, 3, 2},  // option off: the edit ends where it was
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.Option << " " << tc.Col << "," << tc.Row);
        App_State.Opt_Jump_Field_Tables = tc.Option;
        SelectAndType(tc.Col, tc.Row, QStringLiteral("v%1").arg(tc.Col));
        if (HasFatalFailure())
            return;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(Grid.Cells(tc.Col, tc.Row), QStringLiteral("v%1").arg(tc.Col));
        EXPECT_FALSE(Ctl().EditMode());
        EXPECT_FALSE(Ctl().NormalEdit()->isVisible());
        EXPECT_TRUE(Grid.hasFocus());
        EXPECT_EQ(Grid.Col(), tc.ToCol);
        EXPECT_EQ(Grid.Row(), tc.ToRow);
        EXPECT_EQ(Pressed, QString(QChar(13)));  // the table's key press sees Enter once
        // The moved-to cell still edits by typing.
        QTest::keyClick(QApplication::focusWidget(), 'w');
        EXPECT_TRUE(Ctl().EditMode());
        EXPECT_EQ(Ctl().NormalEdit()->text(), QStringLiteral("w"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(Grid.Cells(tc.ToCol, tc.ToRow), tc.ToCol == tc.Col && tc.ToRow == tc.Row
                                                      ? QStringLiteral("v%1").arg(tc.Col)
                                                      : Mark(tc.ToCol, tc.ToRow));
    }
}

// A value the table refuses keeps the editor open on its cell; Enter then moves nothing.
TEST_F(EnterInEditor, RefusedValueStaysInTheEditor)
{
    App_State.Opt_Jump_Field_Tables = true;
    SelectAndType(2, 2, QStringLiteral("bad"));
    if (HasFatalFailure())
        return;
    Ctl().OnCellValidate = [](TExtStringGrid*, int, int, QString&, bool& valid) { valid = false; };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(Ctl().EditMode());
    EXPECT_TRUE(Ctl().NormalEdit()->hasFocus());
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 2);
    EXPECT_EQ(Grid.Cells(2, 2), Mark(2, 2));
    EXPECT_TRUE(Pressed.isEmpty());
}

TEST_F(GridRows, DoubleClickFitsOnlyHeaderColumnsWithTheOptionOn)
{
    Grid.SetCells(2, 0, QStringLiteral("A rather long column header text"));
    Grid.SetColWidths(2, 10);
    Grid_DblClick_AutoSize(Grid, 0, 2);
    EXPECT_EQ(Grid.ColWidths(2), 10);
    App_State.Opt_Double_Click_Auto_Size = true;
    Grid_DblClick_AutoSize(Grid, 5, 2);
    EXPECT_EQ(Grid.ColWidths(2), 10);
    Grid_DblClick_AutoSize(Grid, 0, 2);
    EXPECT_GT(Grid.ColWidths(2), 100);
}

// The check-box twins: column 1 holds data check boxes, column 3 plain check boxes.
class CheckRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        App_State = {};
        Load_Default_Language();
        Grid.SetColCount(4);
        Grid.SetRowCount(6);
        for (int r = 1; r < 6; ++r) {
            Grid.SetCells(1, r, r % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
            Grid.AddCheckBox(1, r, r % 2 == 1, true);
            Grid.SetCells(2, r, Mark(2, r));
            Grid.AddCheckBox(3, r, r == 2, false);
            Grid.SetReadOnly(2, r, r == 4);
        }
    }
    void TearDown() override { App_State = {}; }
    TExtStringGrid Grid;
};

TEST_F(CheckRows, DeleteMovesCheckStatesTextsAndReadOnlyFlags)
{
    Grid_Delete_Row_Checks(3, Grid, true);
    EXPECT_FALSE(Grid.IsChecked(1, 3));  // row 4's state
    EXPECT_EQ(Grid.Cells(2, 3), Mark(2, 4));
    EXPECT_TRUE(Grid.GetReadOnly(2, 3));
    EXPECT_FALSE(Grid.GetReadOnly(2, 4));
    EXPECT_TRUE(Grid.IsChecked(1, 4));
    // The last row: empty texts, the enable box checked, all read-only.
    EXPECT_TRUE(Grid.IsChecked(1, 5));
    EXPECT_FALSE(Grid.IsChecked(3, 5));
    EXPECT_EQ(Grid.Cells(2, 5), QString());
    for (int c = 1; c < 4; ++c)
        EXPECT_TRUE(Grid.GetReadOnly(c, 5)) << c;
}

TEST_F(CheckRows, InsertOpensAnEditableRow)
{
    Grid.SetCells(2, 5, QString());
    ASSERT_TRUE(Grid_Insert_Row_Checks(2, Grid, false));
    EXPECT_FALSE(Grid.IsChecked(1, 2));
    EXPECT_FALSE(Grid.IsChecked(3, 2));
    EXPECT_EQ(Grid.Cells(2, 2), QString());
    EXPECT_TRUE(Grid.IsChecked(3, 3));  // old row 2
    EXPECT_EQ(Grid.Cells(2, 5), Mark(2, 4));
    EXPECT_TRUE(Grid.GetReadOnly(2, 5));
    for (int c = 1; c < 4; ++c)
        EXPECT_FALSE(Grid.GetReadOnly(c, 2)) << c;
}

TEST_F(CheckRows, CopyAndPasteCarryCheckStates)
{
    Grid_Copy_Row_Checks(Grid, 2);
    EXPECT_EQ(App_State.Copy_Row_Buffer, (QStringList{"N", Mark(2, 2), "Y"}));
    EXPECT_EQ(App_State.Copy_Row_Is_Check, (std::vector<bool>{true, false, true}));
    Grid.SetCells(2, 5, QString());
    Grid_Paste_Row_Checks(Grid, 5, true);  // only check boxes hold something: no question
    EXPECT_FALSE(Grid.IsChecked(1, 5));
    EXPECT_TRUE(Grid.IsChecked(3, 5));
    EXPECT_EQ(Grid.Cells(2, 5), Mark(2, 2));
}

TEST_F(CheckRows, BlanksCountAsDataForTheTwin)
{
    Grid_Copy_Row_Checks(Grid, 1);
    Grid.SetCells(2, 4, QStringLiteral("  "));
    ScriptedMessages script;
    script.QueueAnswer(platform::mrNo);
    Grid_Paste_Row_Checks(Grid, 4, true);
    EXPECT_EQ(script.LastText(), Text1100);
    EXPECT_EQ(Grid.Cells(2, 4), QStringLiteral("  "));
}

TEST_F(CheckRows, AColumnGridCopyLeavesNoStaleCheckFlags)
{
    Grid_Copy_Row_Checks(Grid, 1);
    TExtColumnGrid other;
    other.SetColCount(4);
    other.SetRowCount(3);
    other.SetCells(1, 1, QStringLiteral("text"));
    other.SetCells(3, 1, QStringLiteral("more"));
    Grid_Copy_Row(other, 1);
    Grid.SetCells(2, 5, QString());
    Grid_Paste_Row_Checks(Grid, 5, true);
    EXPECT_EQ(Grid.Cells(1, 5), QStringLiteral("text"));
    EXPECT_EQ(Grid.Cells(3, 5), QStringLiteral("more"));
}

}  // namespace
