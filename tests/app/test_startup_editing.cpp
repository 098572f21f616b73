// The program's grid layers: its tables edit their cells, and the windows it makes get them; a grid
// made without them stays plain whatever the program set up.
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/UForms.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"
#include "mqtt_image/UMQTT_Set_Topic.h"
#include "shell/UWindowList.h"

namespace {

struct ProgramStart : ::testing::Test {
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
    grid::TExtColumnGrid g;
    g.SetLayers(Default_Grid_Layers());
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
    grid::TExtColumnGrid g;
    g.SetLayers(Default_Grid_Layers());
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

// The windows the program's window list makes get its grid layers: the topic tables edit with the
// keyboard and mouse and have the data operations.
TEST_F(ProgramStart, TheProgramsWindowsGetItsGridLayers)
{
    Application_Forms forms;
    TFMQTT_Set_Topic* window = FMQTT_Set_Topic();
    for (grid::TExtColumnGrid* g : {window->ACG_Pub, window->ACG_Sub}) {
        SCOPED_TRACE(g->objectName().toStdString());
        grid::editing::TGridEditController* ctl = grid::editing::EditController(*g);
        ASSERT_NE(ctl, nullptr);
        EXPECT_NE(ctl->Input(), nullptr);
        EXPECT_NE(grid::dataops::DataOps(*g), nullptr);
    }
}

// A grid given no layers has no keyboard editing and no data operations, even with the program
// started: a typed letter changes nothing.
TEST_F(ProgramStart, AGridWithoutLayersStaysPlain)
{
    Application_Forms forms;
    grid::TExtColumnGrid g;
    Show(g);
    Click(g, 2, 1);
    QTest::keyClick(QApplication::focusWidget(), 'a');
    EXPECT_EQ(grid::editing::EditController(g), nullptr);
    EXPECT_EQ(g.DataOps(), nullptr);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("two"));
}

}  // namespace
