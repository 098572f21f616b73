// Undo and redo of cell changes: the recorder's list and level on a bare grid, and edits made with
// real keys and clicks on a shown column grid undone and redone across several cells.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridClipboard.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/GridUndoRedo.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

struct UndoList : ::testing::Test {
    TExtStringGrid grid;
    TExtGridUndoRedo undo;
    void SetUp() override
    {
        grid.SetColCount(4);
        grid.SetRowCount(5);
        undo.SetGrid(&grid);
    }
    // A change as the grid reports it: the cell is written, then recorded.
    void change(int c, int r, const QString& value)
    {
        const QString old = grid.Cells(c, r);
        grid.SetCellEx(c, r, value);
        ReportCellChange(grid, c, r, old);
    }
    QString cell(int c, int r) { return grid.Cells(c, r); }
};

TEST_F(UndoList, NewChangeAfterUndoDropsTheUndoneChanges)
{
    change(1, 1, "a");
    change(2, 1, "b");
    undo.Undo();
    EXPECT_EQ(cell(2, 1), "");
    change(3, 1, "c");
    EXPECT_EQ(undo.Items().size(), 2u);
    EXPECT_EQ(undo.Level(), 2);
    EXPECT_FALSE(undo.CanRedo());
    // Redo never brings back the replaced change; undo walks back through what is in effect.
    undo.Redo();
    EXPECT_EQ(cell(2, 1), "");
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(cell(3, 1), "");
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_FALSE(undo.CanUndo());
}

TEST_F(UndoList, UndoAndRedoWalkTheLevelAndReportTheTexts)
{
    std::vector<std::string> seen;
    auto log = [&](const char* what) {
        return [&seen, what](TExtGridUndoRedo*, TExtStringGrid*, int c, int r, const QString& now, const QString& next) {
            seen.push_back(std::string(what) + " " + std::to_string(c) + "," + std::to_string(r) + " " +
                           now.toStdString() + ">" + next.toStdString());
        };
    };
    undo.OnUndo = log("undo");
    undo.OnRedo = log("redo");
    change(1, 2, "x");
    change(1, 2, "y");
    undo.Undo();
    EXPECT_EQ(cell(1, 2), "x");
    EXPECT_EQ(undo.Level(), 1);
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_TRUE(undo.CanRedo());
    undo.Redo();
    EXPECT_EQ(cell(1, 2), "y");
    EXPECT_EQ(seen, (std::vector<std::string>{"undo 1,2 y>x", "redo 1,2 x>y"}));
    // The changed cell becomes the current one.
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 2);
    // Past either end nothing happens.
    undo.Redo();
    EXPECT_EQ(undo.Level(), 2);
    undo.Undo();
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(undo.Level(), 0);
    EXPECT_EQ(cell(1, 2), "");
}

TEST_F(UndoList, MaxLevelDropsTheOldestChange)
{
    undo.MaxLevel = 2;
    change(1, 1, "a");
    change(1, 2, "b");
    change(1, 3, "c");
    ASSERT_EQ(undo.Items().size(), 2u);
    EXPECT_EQ(undo.Items()[0].Value, "b");
    undo.Undo();
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(cell(1, 1), "a");
    EXPECT_EQ(cell(1, 2), "");
}

TEST_F(UndoList, AGroupIsUndoneAndRedoneAsOne)
{
    change(3, 4, "before");
    {
        TUndoGroup group(grid);
        change(1, 1, "a");
        change(2, 1, "b");
        change(3, 1, "c");
    }
    change(3, 4, "after");
    undo.Undo();
    EXPECT_EQ(cell(3, 4), "before");
    undo.Undo();
    EXPECT_EQ(cell(1, 1) + cell(2, 1) + cell(3, 1), "");
    EXPECT_EQ(undo.Level(), 1);
    undo.Redo();
    EXPECT_EQ(cell(1, 1) + cell(2, 1) + cell(3, 1), "abc");
    EXPECT_EQ(undo.Level(), 6);
    undo.Redo();
    EXPECT_EQ(cell(3, 4), "after");
    EXPECT_FALSE(undo.CanRedo());
}

TEST_F(UndoList, ResetAndAMissingGridLeaveNothingToDo)
{
    change(1, 1, "a");
    undo.Reset();
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());

    change(1, 1, "b");
    undo.SetGrid(nullptr);
    EXPECT_EQ(grid.UndoRedo(), nullptr);
    undo.Undo();
    EXPECT_EQ(cell(1, 1), "b");
    EXPECT_EQ(undo.Level(), 1);
    // Unlinked, the grid's changes are no longer recorded.
    change(1, 2, "c");
    EXPECT_EQ(undo.Items().size(), 1u);
}

TEST(UndoLink, AGridThatGoesIsForgottenAndARecorderThatGoesIsUnlinked)
{
    TExtGridUndoRedo undo;
    {
        TExtStringGrid grid;
        undo.SetGrid(&grid);
        ASSERT_EQ(grid.UndoRedo(), &undo);
    }
    EXPECT_EQ(undo.Grid(), nullptr);
    undo.Undo();

    TExtStringGrid grid;
    {
        TExtGridUndoRedo shortLived;
        shortLived.SetGrid(&grid);
    }
    EXPECT_EQ(grid.UndoRedo(), nullptr);
}

// A shown column grid: 0 row number (fixed), 1 and 2 text, 3 data check box.
struct UndoInGrid : WithGridInput {
    std::unique_ptr<TExtColumnGrid> grid;
    TExtGridUndoRedo undo;
    TExtColumnGrid& g() { return *grid; }
    void SetUp() override
    {
        grid = std::make_unique<TExtColumnGrid>();
        grid->SetLayers(InputLayers());
        g().SetColCount(4);
        g().SetRowCount(5);
        const TEditorType editors[] = {edNormal, edNormal, edNormal, edDataCheckBox};
        for (int c = 0; c < 4; ++c) {
            g().Columns()[c]->SetEditor(editors[c]);
            g().Columns()[c]->SetWidth(70);
        }
        for (int r = 1; r < 5; ++r) {
            g().SetCells(1, r, QStringLiteral("a%1").arg(r));
            g().SetCells(2, r, QStringLiteral("b%1").arg(r));
            g().SetCells(3, r, QStringLiteral("N"));
        }
        undo.SetGrid(&g());
        g().resize(400, 200);
        g().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g()));
        g().SetFocus();
    }
    void TearDown() override { undo.SetGrid(nullptr); }
    QWidget* client() { return g().viewport(); }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void click(int c, int r) { QTest::mouseClick(client(), Qt::LeftButton, {}, centre(c, r)); }
    void typeInto(int c, int r, const char* text)
    {
        click(c, r);
        QTest::keyClick(&g(), Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, &g());
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

TEST_F(UndoInGrid, EditsAcrossSeveralCellsUndoAndRedoInOrder)
{
    typeInto(1, 1, "one");
    typeInto(2, 3, "two");
    click(3, 2);  // toggles the check box
    ASSERT_EQ(g().Cells(1, 1), "one");
    ASSERT_EQ(g().Cells(2, 3), "two");
    ASSERT_EQ(g().Cells(3, 2), "Y");
    ASSERT_EQ(undo.Level(), 3);

    undo.Undo();
    EXPECT_EQ(g().Cells(3, 2), "N");
    undo.Undo();
    EXPECT_EQ(g().Cells(2, 3), "b3");
    EXPECT_EQ(g().Row(), 3);
    undo.Undo();
    EXPECT_EQ(g().Cells(1, 1), "a1");
    EXPECT_FALSE(undo.CanUndo());

    undo.Redo();
    undo.Redo();
    EXPECT_EQ(g().Cells(1, 1), "one");
    EXPECT_EQ(g().Cells(2, 3), "two");
    EXPECT_EQ(g().Cells(3, 2), "N");

    // An edit now replaces the change still undone.
    typeInto(1, 4, "four");
    EXPECT_FALSE(undo.CanRedo());
    undo.Redo();
    EXPECT_EQ(g().Cells(3, 2), "N");
}

TEST_F(UndoInGrid, AnUnchangedEditRecordsNothingAndAPasteIsOneGroup)
{
    typeInto(1, 2, "a2");
    EXPECT_EQ(undo.Level(), 0);

    ASSERT_EQ(PasteTextAt(g(), 1, 2, QStringLiteral("x\ty\r\nz\tw\r\n")), TPasteResult::Pasted);
    ASSERT_EQ(g().Cells(2, 3), "w");
    undo.Undo();
    EXPECT_EQ(g().Cells(1, 2) + g().Cells(2, 2) + g().Cells(1, 3) + g().Cells(2, 3), "a2b2a3b3");
    EXPECT_FALSE(undo.CanUndo());
    undo.Redo();
    EXPECT_EQ(g().Cells(1, 2) + g().Cells(2, 2) + g().Cells(1, 3) + g().Cells(2, 3), "xyzw");
}

}  // namespace
