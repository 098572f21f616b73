// The editing cycle driven through the controller: editing switched on and off as the current cell
// moves, the editor the cell's type opens, Escape, validation and its refusals, Tab and Enter
// traversal, and the rule that an editor never outlives its cell.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/SpecialEditors.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Columns: 0 row number (fixed), 1 text, 2 read-only text, 3 text, 4 data check box; rows 1 to 5
// hold "c,r" texts.
struct EditCycle : ::testing::Test {
    std::unique_ptr<TExtColumnGrid> grid = std::make_unique<TExtColumnGrid>();
    TExtColumnGrid& g = *grid;
    TGridEditController* ctl = nullptr;
    std::vector<std::string> log;

    void SetUp() override
    {
        // The controller alone, without the keyboard and mouse handling.
        g.SetLayers({.Editing = EditingLayer()});
        g.SetColCount(5);
        g.SetRowCount(6);
        g.Options &= ~goEditing;
        const TEditorType editors[] = {edNormal, edNormal, edNormal, edNormal, edDataCheckBox};
        for (int c = 0; c < 5; ++c) {
            g.Columns()[c]->SetEditor(editors[c]);
            g.Columns()[c]->ReadOnly = c == 2;
            g.Columns()[c]->SetWidth(60);
        }
        for (int r = 1; r < 6; ++r)
            for (int c = 0; c < 4; ++c)
                g.SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
        g.resize(400, 220);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        ctl = EditController(g);
        ASSERT_NE(ctl, nullptr);
        g.SetFocus();
    }

    // Makes a cell current as a move by the user does (the selection test runs).
    void go(int c, int r) { g.MoveColRow(c, r); }
    TExtInplaceEdit* edit() { return ctl->NormalEdit(); }
    bool editorShown() { return edit()->isVisible(); }
    // Opens the text editor on a cell and types into it, replacing its text.
    void typeInto(int c, int r, const QString& text)
    {
        go(c, r);
        ctl->ShowInplaceEdit();
        ASSERT_TRUE(editorShown());
        edit()->selectAll();
        QTest::keyClicks(edit(), text);
    }
    QPoint at() const { return {g.Col(), g.Row()}; }
};

TEST_F(EditCycle, EditingFollowsTheCurrentCell)
{
    const struct {
        int Col;
        bool DblClickOnly;
        bool EditingOn, EditDisable;
    } cases[] = {
        {1, false, true, false},
        {2, false, false, true},  // read-only column
        {3, false, true, false},  // editable again
        {1, true, false, false},  // only a double click edits
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Col);
        g.MouseActions.SetEditOnDblClickOnly(tc.DblClickOnly);
        go(tc.Col, 2);
        EXPECT_EQ(bool(g.Options & goEditing), tc.EditingOn);
        EXPECT_EQ(ctl->EditDisable(), tc.EditDisable);
    }
}

// What opening an editor finds, by the cell's editor type.
TEST_F(EditCycle, TheCellsTypeDecidesTheEditor)
{
    const struct {
        TEditorType Type;
        bool TextEditor, EditMode;
    } cases[] = {
        {edNormal, true, true},
        {edNumeric, true, true},
        {edNone, false, false},
        {edDataCheckBox, false, false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(int(tc.Type));
        g.OnGetEditorType = [&](TExtStringGrid*, int c, int, TEditorType& e) {
            if (c == 3)
                e = tc.Type;
        };
        go(3, 2);
        ctl->ShowInplaceEdit();
        EXPECT_EQ(editorShown(), tc.TextEditor);
        EXPECT_EQ(ctl->EditMode(), tc.EditMode);
        ctl->HideInplaceEdit();
        EXPECT_FALSE(editorShown());
        EXPECT_FALSE(ctl->EditMode());
        EXPECT_FALSE(ctl->Editing());
    }
}

// Opening an editor asks the application for its properties with the real column.
TEST_F(EditCycle, EditorPropertiesNameTheRealColumn)
{
    std::vector<std::pair<int, int>> asked;
    ctl->OnGetEditorPropInt = [&](TExtStringGrid*, int c, int r) { asked.push_back({c, r}); };
    g.HideColumn(2);
    go(2, 4);  // display column 2 is real column 3
    ctl->ShowInplaceEdit();
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 4}}));
}

TEST_F(EditCycle, EscapeRestoresTheTextOfTheOpenedEditor)
{
    typeInto(1, 3, "changed");
    EXPECT_EQ(g.Cells(1, 3), QStringLiteral("changed"));  // the cell follows while typing
    QTest::keyClick(edit(), Qt::Key_Escape);
    EXPECT_FALSE(editorShown());
    EXPECT_EQ(g.Cells(1, 3), QStringLiteral("1,3"));
    EXPECT_FALSE(ctl->Editing());
}

// Enter takes the value back through OnCellValidate: accepted, unchanged, refused as typed, or
// refused with a value of the handler's.
TEST_F(EditCycle, ValidationOnEnter)
{
    enum THandler { hNone, hAccept, hRefuse, hReplace };
    const struct {
        const char* Name;
        QString Typed;
        THandler Handler;
        bool AlwaysValidate;
        int Validations, Changes;
        QString Cell;
        bool EditorOpen;
        QString EditorText;
    } cases[] = {
        {"accepted", "new", hAccept, false, 1, 1, "new", false, ""},
        {"unchanged", "1,3", hAccept, false, 0, 0, "1,3", false, ""},
        {"unchanged, always", "1,3", hAccept, true, 1, 0, "1,3", false, ""},
        {"no handler", "new", hNone, false, 0, 1, "new", false, ""},
        {"refused keeps the typed text", "bad", hRefuse, false, 1, 0, "1,3", true, "bad"},
        {"refused with a value", "bad", hReplace, false, 1, 0, "fixed", true, "fixed"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        int validations = 0, changes = 0;
        g.SetCells(1, 3, QStringLiteral("1,3"));
        ctl->AlwaysValidate = tc.AlwaysValidate;
        ctl->InvalidEntryText = QStringLiteral("<b>Not allowed</b>");
        ctl->LastBalloonText.clear();
        ctl->OnCellValidate = nullptr;
        if (tc.Handler != hNone)
            ctl->OnCellValidate = [&, h = tc.Handler](TExtStringGrid*, int c, int r, QString& value, bool& valid) {
                EXPECT_EQ(c, 1);
                EXPECT_EQ(r, 3);
                ++validations;
                valid = h == hAccept;
                if (h == hReplace)
                    value = QStringLiteral("fixed");
            };
        g.OnCellsChanged = [&](TExtStringGrid*, const TGridRect&) { ++changes; };
        typeInto(1, 3, tc.Typed);
        QTest::keyClick(edit(), Qt::Key_Return);
        EXPECT_EQ(validations, tc.Validations);
        EXPECT_EQ(changes, tc.Changes);
        EXPECT_EQ(g.Cells(1, 3), tc.Cell);
        EXPECT_EQ(editorShown(), tc.EditorOpen);
        EXPECT_EQ(at(), QPoint(1, 3));
        if (tc.EditorOpen) {
            EXPECT_EQ(edit()->text(), tc.EditorText);
            EXPECT_TRUE(ctl->Editing());
            EXPECT_EQ(ctl->LastBalloonText, QStringLiteral("<b>Not allowed</b>"));
            // Escape leaves the refused edit with the old text.
            QTest::keyClick(edit(), Qt::Key_Escape);
            EXPECT_FALSE(editorShown());
        }
        EXPECT_FALSE(ctl->Editing());
    }
}

// The grid's cell checker takes part in validation: with AutoCorrect it corrects the typed value
// before OnCellValidate sees it, with AutoMarkError it marks the accepted value before it is stored.
TEST_F(EditCycle, CellCheckerCorrectsAndMarksAnAcceptedValue)
{
    struct TChecker : TExtStringGridCheck {
        QString Correct(int, int, const QString& s) override { return s.trimmed(); }
        QString MarkError(int, int, const QString& s) override { return QStringLiteral("<e>%1</e>").arg(s); }
    } checker;
    g.CellChecker = &checker;
    QString seen;
    ctl->OnCellValidate = [&](TExtStringGrid*, int, int, QString& value, bool&) { seen = value; };
    const struct {
        bool AutoCorrect, AutoMarkError;
        const char* Seen;
        const char* Cell;
    } cases[] = {
        {false, false, "  ab ", "  ab "},
        {true, false, "ab", "ab"},
        {true, true, "ab", "<e>ab</e>"},
        {false, true, " x", "<e> x</e>"},
    };
    for (const auto& tc : cases) {
        checker.AutoCorrect = tc.AutoCorrect;
        checker.AutoMarkError = tc.AutoMarkError;
        g.SetCells(1, 3, QStringLiteral("1,3"));
        const QString typed = tc.AutoMarkError && !tc.AutoCorrect ? QStringLiteral(" x") : QStringLiteral("  ab ");
        typeInto(1, 3, typed);
        QTest::keyClick(edit(), Qt::Key_Return);
        EXPECT_EQ(seen, QString::fromLatin1(tc.Seen)) << tc.AutoCorrect << tc.AutoMarkError;
        EXPECT_EQ(g.Cells(1, 3), QString::fromLatin1(tc.Cell)) << tc.AutoCorrect << tc.AutoMarkError;
    }
}

// Ending the edit from outside the editor (HideInplaceEdit) validates too; a refusal opens the
// editor again on the edited cell with the typed text, and the cell keeps its old text.
TEST_F(EditCycle, HideInplaceEditValidatesThePendingValue)
{
    bool refuse = true;
    ctl->OnCellValidate = [&](TExtStringGrid*, int, int, QString&, bool& valid) { valid = !refuse; };
    typeInto(1, 2, "typed");
    ctl->HideInplaceEdit();
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(edit()->text(), QStringLiteral("typed"));
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("1,2"));
    EXPECT_TRUE(ctl->Editing());
    refuse = false;
    ctl->HideInplaceEdit();
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(ctl->Editing());
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("typed"));
}

TEST_F(EditCycle, ARefusalPutsTheModifiedFlagBack)
{
    ctl->OnCellValidate = [](TExtStringGrid*, int, int, QString&, bool& valid) { valid = false; };
    ctl->SetModified(false);
    typeInto(1, 2, "x");
    ctl->SetModified(true);
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_FALSE(ctl->Modified());
    EXPECT_TRUE(ctl->GridModified);
}

TEST_F(EditCycle, AValueInAMergedAreaLandsInItsBaseCell)
{
    g.MergeCells(1, 2, 2, 1);
    typeInto(1, 2, "merged");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(g.GetGridCell(1, 2), QStringLiteral("merged"));
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("merged"));
}

// OnRowChanged is told every new row asked for, also when a handler refuses the move.
TEST_F(EditCycle, RowChangedFollowsEveryRowAskedFor)
{
    std::vector<std::pair<int, int>> rows;
    ctl->OnRowChanged = [&](TExtStringGrid*, int from, int to) { rows.push_back({from, to}); };
    go(1, 2);
    ctl->OnRowChanging = [](TExtStringGrid*, int, int, bool& allow) { allow = false; };
    go(1, 4);
    EXPECT_EQ(at(), QPoint(1, 2));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], std::make_pair(2, 4));
}

TEST_F(EditCycle, CellsThatNeverBecomeCurrent)
{
    go(1, 2);
    g.SetRowEnabled(3, false);
    go(1, 3);
    EXPECT_EQ(at(), QPoint(1, 2)) << "a disabled row";
    g.SetRowEnabled(3, true);
    g.FloatingFooter.SetVisible(true);
    go(1, 5);
    EXPECT_EQ(at(), QPoint(1, 2)) << "the footer row";
}

// Tab from a cell: along rows or down columns, over the read-only column, and at the table's end.
TEST_F(EditCycle, TabTraversal)
{
    const struct {
        const char* Name;
        QPoint From;
        bool Backward;
        TAdvanceDirection Direction;
        bool Insert;
        QPoint To;
        int Rows;
    } cases[] = {
        {"next cell skips the read-only column", {1, 2}, false, adLeftRight, false, {3, 2}, 6},
        {"onto a check box", {3, 2}, false, adLeftRight, false, {4, 2}, 6},
        {"end of a row", {4, 2}, false, adLeftRight, false, {1, 3}, 6},
        {"end of the table wraps", {4, 5}, false, adLeftRight, false, {1, 1}, 6},
        {"end of the table appends", {4, 5}, false, adLeftRight, true, {1, 6}, 7},
        {"backward", {3, 2}, true, adLeftRight, false, {1, 2}, 6},
        {"backward from the first cell", {1, 1}, true, adLeftRight, false, {4, 5}, 6},
        {"down a column", {1, 2}, false, adTopBottom, false, {1, 3}, 6},
        {"down from the last row", {1, 5}, false, adTopBottom, false, {3, 1}, 6},
        {"up from the first row", {3, 1}, true, adTopBottom, false, {1, 5}, 6},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        g.SetRowCount(6);
        g.Navigation.TabAdvanceDirection = tc.Direction;
        g.Navigation.SetAdvanceInsert(tc.Insert);
        go(tc.From.x(), tc.From.y());
        ctl->HideInplaceEdit();
        EXPECT_TRUE(ctl->TabToNextCell(tc.Backward));
        EXPECT_EQ(at(), tc.To);
        EXPECT_EQ(g.RowCount(), tc.Rows);
        // The cell arrived at is edited at once, unless it is a check box.
        EXPECT_EQ(editorShown(), tc.To.x() != 4);
    }
}

// A hidden fixed right column leaves the end of the row to the shown columns.
TEST_F(EditCycle, HiddenFixedRightColumnsDoNotShortenTheRow)
{
    g.FixedRightCols = 1;
    go(1, 2);
    ctl->TabToNextCell(false);
    EXPECT_EQ(at(), QPoint(3, 2));
    ctl->TabToNextCell(false);
    EXPECT_EQ(at(), QPoint(1, 3));  // the fixed right column is no tab stop
    g.HideColumn(4);
    go(1, 2);
    ctl->TabToNextCell(false);
    EXPECT_EQ(at(), QPoint(3, 2));
    EXPECT_EQ(ctl->EndCol(), g.ColCount());
}

TEST_F(EditCycle, TabAtTheEndHandsTheKeyToTheParent)
{
    // The parent notes the keys it receives.
    struct TParent : QWidget {
        std::vector<int> Keys;
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                Keys.push_back(static_cast<QKeyEvent*>(e)->key());
            return QWidget::event(e);
        }
    } parent;
    g.setParent(&parent);
    g.Navigation.TabToNextAtEnd = true;
    go(4, 5);
    EXPECT_FALSE(ctl->TabToNextCell(false));
    EXPECT_EQ(at(), QPoint(1, 1));  // the first tab stop of the first row
    QCoreApplication::processEvents();
    EXPECT_EQ(parent.Keys, std::vector<int>{Qt::Key_Tab});
    g.setParent(nullptr);
}

TEST_F(EditCycle, TabWithoutAnyTabStopEndsOnTheLastCell)
{
    for (int c = 1; c < 5; ++c)
        g.Columns()[c]->ReadOnly = true;
    g.Options |= goEditing;
    int asked = 0;
    ctl->OnSelectCell = [&](TExtStringGrid*, int, int, bool&) { ++asked; };
    g.MoveColRow(1, 1);
    g.Options |= goEditing;
    ctl->TabToNextCell(false);
    EXPECT_EQ(at(), QPoint(4, 5));
    EXPECT_LE(asked, 4 * 5) << "each cell asked at most once";
}

// Enter's advance, with the directions, the loop, appending and the read-only column.
TEST_F(EditCycle, EnterAdvance)
{
    const struct {
        const char* Name;
        QPoint From;
        TAdvanceDirection Direction;
        bool Loop, Insert, Skip;
        QPoint To;
    } cases[] = {
        {"next cell", {3, 2}, adLeftRight, true, false, true, {4, 2}},
        {"over the read-only column", {1, 2}, adLeftRight, true, false, true, {3, 2}},
        {"onto the read-only column", {1, 2}, adLeftRight, true, false, false, {2, 2}},
        {"end of the table loops", {4, 5}, adLeftRight, true, false, true, {1, 1}},
        {"end of the table stays", {4, 5}, adLeftRight, false, false, true, {4, 5}},
        {"end of the table appends", {4, 5}, adLeftRight, true, true, true, {1, 6}},
        {"in the row", {4, 3}, adLeftRightInRow, true, false, true, {1, 3}},
        {"down", {3, 2}, adTopBottom, true, false, true, {3, 3}},
        {"down from the last row", {1, 5}, adTopBottom, true, false, true, {3, 1}},
        {"down in the column", {3, 5}, adTopBottomInCol, true, false, true, {3, 1}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        g.SetRowCount(6);
        g.Navigation.AdvanceOnEnter = true;
        g.Navigation.SetAdvanceDirection(tc.Direction);
        g.Navigation.AdvanceOnEnterLoop = tc.Loop;
        g.Navigation.SetAdvanceInsert(tc.Insert);
        g.Navigation.AdvanceSkipReadOnlyCells = tc.Skip;
        go(tc.From.x(), tc.From.y());
        ctl->AdvanceEdit(g.Col(), g.Row(), false, false, true, false, false);
        EXPECT_EQ(at(), tc.To);
    }
}

// Skipping read-only cells visits each at most once and never wraps past the table's end.
TEST_F(EditCycle, SkippingReadOnlyCellsStopsAtTheTablesEnd)
{
    for (int c = 1; c < 5; ++c)
        g.Columns()[c]->ReadOnly = c != 1;
    g.Navigation.AdvanceOnEnter = true;
    int advances = 0;
    ctl->OnAutoAdvance = [&](TExtStringGrid*, int, int, int&, int&, bool&) { ++advances; };
    go(1, 5);
    ctl->AdvanceEdit(1, 5, false, false, true, false, false);
    EXPECT_EQ(at(), QPoint(1, 5));
    EXPECT_EQ(advances, 0);

    // Everything read-only: the advance ends where it began.
    g.Columns()[1]->ReadOnly = true;
    go(1, 2);
    ctl->AdvanceEdit(1, 2, false, false, true, false, false);
    EXPECT_EQ(at(), QPoint(1, 2));
    EXPECT_EQ(advances, 0);
}

TEST_F(EditCycle, AutoAdvanceMayRedirectOrRefuse)
{
    g.Navigation.AdvanceOnEnter = true;
    std::vector<std::string> seen;
    bool refuse = true;
    ctl->OnAutoAdvance = [&](TExtStringGrid*, int oldRow, int oldCol, int& newRow, int& newCol, bool& allow) {
        seen.push_back(std::to_string(oldCol) + "," + std::to_string(oldRow) + ">" + std::to_string(newCol) + "," +
                       std::to_string(newRow));
        allow = !refuse;
        newRow = 4;
    };
    go(1, 2);
    ctl->AdvanceEdit(1, 2, false, false, true, false, false);
    EXPECT_EQ(at(), QPoint(1, 2));
    refuse = false;
    ctl->AdvanceEdit(1, 2, false, false, true, false, false);
    EXPECT_EQ(at(), QPoint(3, 4));
    EXPECT_EQ(seen, (std::vector<std::string>{"1,2>3,2", "1,2>3,2"}));

    // A read-only target without skipping is simply made current, unasked.
    seen.clear();
    g.Navigation.AdvanceSkipReadOnlyCells = false;
    go(1, 2);
    ctl->AdvanceEdit(1, 2, false, false, true, false, false);
    EXPECT_EQ(at(), QPoint(2, 2));
    EXPECT_TRUE(seen.empty());
}

// Enter from an editor: the next text cell opens its editor; a check-box cell becomes current
// without being toggled and without an editor.
TEST_F(EditCycle, EnterFromTheEditorOpensTheNextEditor)
{
    g.Navigation.AdvanceOnEnter = true;
    typeInto(1, 2, "one");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("one"));
    EXPECT_EQ(at(), QPoint(3, 2));

    ctl->HideInplaceEdit();
    g.SetCells(4, 2, QStringLiteral("N"));
    go(3, 2);
    ctl->AdvanceEdit(3, 2, false, true, true, false, true);
    EXPECT_EQ(at(), QPoint(4, 2));
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(ctl->EditMode());
    EXPECT_EQ(g.Cells(4, 2), QStringLiteral("N"));

    go(1, 3);
    ctl->AdvanceEdit(1, 3, false, true, true, false, true);
    EXPECT_EQ(at(), QPoint(3, 3));
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(edit()->ColE(), 3);
}

// An open text editor never stays over a cell that moves: the value is validated into its cell
// first (and travels with the row), or dropped when refused; no edit is left pending.
TEST_F(EditCycle, TheTextEditorNeverOutlivesItsCell)
{
    const struct {
        const char* Name;
        std::function<void(TExtColumnGrid&)> Operation;
        int RowOfValue;  // where the edited row's cells are afterwards; -1: gone
    } cases[] = {
        {"delete the row", [](TExtColumnGrid& g) { g.RemoveRows(3, 1); }, -1},
        {"delete rows above", [](TExtColumnGrid& g) { g.RemoveRowsEx(1, 1); }, 2},
        {"insert a row above", [](TExtColumnGrid& g) { g.InsertRows(1, 1); }, 4},
        {"move the row", [](TExtColumnGrid& g) { g.MoveRow(3, 6); }, 6},
        {"hide the row", [](TExtColumnGrid& g) { g.HideRow(3); }, -1},
        {"hide the column", [](TExtColumnGrid& g) { g.HideColumn(1); }, 3},
        {"shrink the table", [](TExtColumnGrid& g) { g.SetRowCount(3); }, -1},
        {"scroll the cell away", [](TExtColumnGrid& g) { g.SetTopRow(20); }, 3},
    };
    for (bool refuse : {false, true}) {
        for (const auto& tc : cases) {
            SCOPED_TRACE(std::string(tc.Name) + (refuse ? ", refused" : ""));
            g.UnHideColumnsAll();
            g.UnHideRowsAll();
            g.SetRowCount(40);
            for (int r = 1; r < 40; ++r)
                g.SetCells(1, r, QStringLiteral("1,%1").arg(r));
            go(1, 1);
            g.SetTopRow(1);
            ctl->OnCellValidate = [refuse](TExtStringGrid*, int, int, QString&, bool& valid) { valid = !refuse; };
            typeInto(1, 3, "typed");
            tc.Operation(g);
            EXPECT_FALSE(editorShown());
            EXPECT_FALSE(ctl->EditMode());
            EXPECT_FALSE(ctl->Editing());
            if (tc.RowOfValue >= 0)
                EXPECT_EQ(g.GetGridCell(1, tc.RowOfValue), refuse ? QStringLiteral("1,3") : QStringLiteral("typed"));
            // The next move validates nothing stale.
            int validations = 0;
            ctl->OnCellValidate = [&](TExtStringGrid*, int, int, QString&, bool&) { ++validations; };
            go(3, 1);
            EXPECT_EQ(validations, 0);
        }
    }
}

TEST_F(EditCycle, TheEditorOpensOnlyOverACellInView)
{
    g.SetRowCount(60);
    go(1, 50);
    g.SetTopRow(1);
    ctl->ShowInplaceEdit();
    ASSERT_TRUE(editorShown());
    const TRect cell = g.CellRect(1, 50);
    EXPECT_FALSE(cell.IsEmpty());
    EXPECT_GT(edit()->width(), 10);
    EXPECT_EQ(edit()->geometry().topLeft(), QPoint(cell.Left, cell.Top));
}

TEST_F(EditCycle, ScrollingClosesASpecialEditorButNotTheTextEditor)
{
    g.SetRowCount(40);
    g.Columns()[3]->SetEditor(edComboEdit);
    g.Columns()[3]->ComboItems = QStringList{"a", "b"};
    go(3, 2);
    ctl->ShowInplaceEdit();
    ASSERT_TRUE(ctl->SpecialEditorOpen());
    QWidget* combo = ctl->Specials().Editor(edComboEdit);
    ASSERT_TRUE(combo && combo->isVisible());
    g.SetTopRow(2);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_FALSE(ctl->EditMode());
    EXPECT_FALSE(ctl->Editing());

    typeInto(1, 3, "t");
    g.SetTopRow(3);
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(edit()->geometry().top(), g.CellRect(1, 3).Top);
}

// A special editor open when its row moves writes its value back into its cell and closes.
TEST_F(EditCycle, ASpecialEditorNeverOutlivesItsCell)
{
    g.Columns()[3]->SetEditor(edComboEdit);
    g.Columns()[3]->ComboItems = QStringList{"a", "b"};
    go(3, 3);
    ctl->ShowInplaceEdit();
    auto* combo = qobject_cast<QComboBox*>(ctl->Specials().Editor(edComboEdit));
    ASSERT_TRUE(combo && combo->isVisible());
    combo->setCurrentIndex(1);
    g.InsertRows(1, 1);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_FALSE(ctl->EditMode());
    EXPECT_FALSE(ctl->Editing());
    EXPECT_EQ(g.Cells(3, 4), QStringLiteral("b"));
    EXPECT_EQ(g.Cells(3, 3), QStringLiteral("3,2"));
}

TEST_F(EditCycle, ComboNotifications)
{
    std::vector<std::string> seen;
    ctl->OnComboChange = [&](TExtStringGrid*, int c, int r, int i, const QString& t) {
        seen.push_back("change " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " +
                       t.toStdString());
    };
    g.OnComboCloseUp = [&](TExtStringGrid*, int r, int c) {
        seen.push_back("closeup " + std::to_string(c) + "," + std::to_string(r));
    };
    g.Columns()[3]->SetEditor(edComboList);
    g.Columns()[3]->ComboItems = QStringList{"a", "b"};
    g.HideColumn(2);  // the events name the real column
    go(2, 2);
    ctl->ShowInplaceEdit();
    ASSERT_TRUE(ctl->EditMode());
    ctl->ComboChange(1, QStringLiteral("b"));
    ctl->ComboCloseUp(1, QStringLiteral("b"));
    EXPECT_TRUE(ctl->EditMode()) << "without DirectComboClose the list stays open";
    EXPECT_EQ(seen, (std::vector<std::string>{"change 3,2 1 b", "closeup 3,2"}));

    seen.clear();
    g.MouseActions.DirectComboClose = true;
    auto* combo = qobject_cast<QComboBox*>(ctl->Specials().Editor(edComboList));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    ctl->ComboCloseUp(1, QStringLiteral("b"));
    EXPECT_FALSE(ctl->EditMode());
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(g.Cells(3, 2), QStringLiteral("b"));
    EXPECT_EQ(seen, (std::vector<std::string>{"change 3,2 1 b", "closeup 3,2"}));
}

TEST_F(EditCycle, CtrlWheelZooms)
{
    auto wheel = [&](int delta) {
        const QPoint p(50, 50);
        QWheelEvent e(p, g.viewport()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(g.viewport(), &e);
    };
    const int lines = QApplication::wheelScrollLines();
    wheel(-120);
    EXPECT_EQ(g.ZoomFactor, lines);
    wheel(120);
    EXPECT_EQ(g.ZoomFactor, 0);
    g.IntelliZoom = false;
    wheel(-120);
    EXPECT_EQ(g.ZoomFactor, 0);
}

TEST_F(EditCycle, LeavingTheGridTurnsTheSelectionIntoSelectedRows)
{
    g.MouseActions.SetDisjunctRowSelectDirect(true);
    ctl->DoEnter();
    g.SetSelection({1, 2, 3, 4});
    ctl->DoExit();
    for (int r = 1; r < 6; ++r)
        EXPECT_EQ(g.GetRowSelect(r), r >= 2 && r <= 4) << r;
}

TEST_F(EditCycle, CheckBoxServices)
{
    EXPECT_EQ(TGridEditController::BoolToCheckBoxState(true), cbChecked);
    EXPECT_EQ(TGridEditController::BoolToCheckBoxState(false), cbUnchecked);
    ctl->AddTriStateCheckBoxColumn(3, cbGrayed);
    TCheckBoxState state = cbUnchecked;
    EXPECT_FALSE(g.GetCheckBoxState(3, 0, state));
    for (int r = 1; r < 6; ++r) {
        ASSERT_TRUE(g.GetCheckBoxState(3, r, state)) << r;
        EXPECT_EQ(state, cbGrayed);
    }
}

}  // namespace
