// The program's start-up turns the grids' editing on: a table of any window edits its cells.
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/UForms.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"

TEST(ProgramStart, TablesEditTheirCellsFromTheKeyboard)
{
    grid::SetGridEditLayerFactory({});
    grid::editing::SetGridInputFactory({});
    Application_Forms forms;
    grid::TExtColumnGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.resize(300, 150);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.SetFocus();
    const grid::TRect cell = g.CellRect(1, 1);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(cell.Left + 5, cell.Top + 5));
    QTest::keyClick(&g, 'a');
    QCoreApplication::processEvents();
    grid::editing::TGridEditController* ctl = grid::editing::EditController(g);
    ASSERT_NE(ctl, nullptr);
    EXPECT_NE(ctl->Input(), nullptr);
    EXPECT_TRUE(ctl->EditMode());
    EXPECT_TRUE(ctl->NormalEdit()->isVisible());
}
