// The program's start-up turns the grids' editing on: a table of any window edits its cells.
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/UForms.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"

namespace {

struct ProgramStart : ::testing::Test {
    void SetUp() override
    {
        grid::SetGridEditLayerFactory({});
        grid::editing::SetGridInputFactory({});
    }
    void TearDown() override
    {
        grid::SetGridEditLayerFactory({});
        grid::editing::SetGridInputFactory({});
    }
    void Show(grid::TExtColumnGrid& g)
    {
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetCells(1, 1, QStringLiteral("one"));
        g.SetCells(2, 1, QStringLiteral("two"));
        g.resize(300, 150);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
        g.SetFocus();
    }
    void Click(grid::TExtColumnGrid& g, int c, int r)
    {
        const grid::TRect cell = g.CellRect(c, r);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(cell.Left + 5, cell.Top + 5));
    }
};

// A letter typed on a selected cell opens the text editor holding that letter alone.
TEST_F(ProgramStart, TablesEditTheirCellsFromTheKeyboard)
{
    Application_Forms forms;
    grid::TExtColumnGrid g;
    Show(g);
    Click(g, 2, 1);  // (1, 1) is current already: this press only selects
    grid::editing::TGridEditController* ctl = grid::editing::EditController(g);
    ASSERT_NE(ctl, nullptr);
    EXPECT_NE(ctl->Input(), nullptr);
    ASSERT_FALSE(ctl->EditMode());
    QTest::keyClick(QApplication::focusWidget(), 'a');
    QCoreApplication::processEvents();
    ASSERT_TRUE(ctl->EditMode());
    EXPECT_TRUE(ctl->NormalEdit()->isVisible());
    EXPECT_TRUE(ctl->NormalEdit()->hasFocus());
    EXPECT_EQ(ctl->NormalEdit()->text(), QStringLiteral("a"));
    EXPECT_EQ(ctl->NormalEdit()->cursorPosition(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("a"));
}

// A press on the current cell opens its editor; a character that the grid itself receives then
// is typed into that editor rather than lost.
TEST_F(ProgramStart, ACharacterSentToTheGridReachesItsOpenEditor)
{
    Application_Forms forms;
    grid::TExtColumnGrid g;
    Show(g);
    Click(g, 1, 1);
    grid::editing::TGridEditController* ctl = grid::editing::EditController(g);
    ASSERT_NE(ctl, nullptr);
    ASSERT_TRUE(ctl->EditMode());
    ctl->NormalEdit()->end(false);
    QTest::keyClick(&g, 'x');
    EXPECT_TRUE(ctl->NormalEdit()->hasFocus());
    EXPECT_EQ(ctl->NormalEdit()->text(), QStringLiteral("onex"));
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(ctl->NormalEdit()->text(), QStringLiteral("one"));
}

// Without the start-up registration a grid has no keyboard editing: a typed letter changes nothing.
TEST_F(ProgramStart, WithoutRegistrationTypingEditsNothing)
{
    grid::TExtColumnGrid g;
    Show(g);
    Click(g, 2, 1);
    QTest::keyClick(QApplication::focusWidget(), 'a');
    EXPECT_EQ(grid::editing::EditController(g), nullptr);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("two"));
}

}  // namespace
