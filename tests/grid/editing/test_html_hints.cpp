// Cell hints in mark-up are drawn by the grid's own hint window, not by the platform's tool tip.
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "InputSuite.h"
#include "controls/common/HTMLHintWindow.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridHints.h"

using namespace grid;
using namespace grid::editing;

namespace {

struct HtmlHints : WithGridInput {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetLayers(InputLayers());
        g.SetColCount(4);
        g.SetRowCount(4);
        g.HintShowCells = true;
        g.HTMLHint = true;
        g.SetCells(1, 1, QStringLiteral("<B>bold</B><BR>line"));
        g.SetCells(2, 1, QStringLiteral("plain"));
        g.resize(400, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    void TearDown() override { QToolTip::hideText(); }
    void Hover(int c, int r)
    {
        const TRect rc = g.CellRect(c, r);
        const QPoint at((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
        QTest::mouseMove(g.viewport(), at);
        QHelpEvent help(QEvent::ToolTip, at, g.viewport()->mapToGlobal(at));
        QApplication::sendEvent(g.viewport(), &help);
    }
};

}  // namespace

TEST_F(HtmlHints, MarkUpHintShowsInTheGridsWindowAndPlainOnesInTheToolTip)
{
    Hover(1, 1);
    controls::THTMLHintWindow* window = CellHintWindow(g);
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->Caption(), QStringLiteral("<B>bold</B><BR>line"));
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(window->TextHeight(), 2 * QFontMetrics(QToolTip::font()).height());

    Hover(2, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QToolTip::isVisible());
}

TEST_F(HtmlHints, LeavingTheCellOrPressingHidesTheMarkUpHint)
{
    Hover(1, 1);
    controls::THTMLHintWindow* window = CellHintWindow(g);
    ASSERT_TRUE(window->isVisible());
    const TRect other = g.CellRect(3, 3);
    QTest::mouseMove(g.viewport(), QPoint(other.Left + 2, other.Top + 2));
    EXPECT_FALSE(window->isVisible());

    Hover(1, 1);
    ASSERT_TRUE(window->isVisible());
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, QPoint(other.Left + 2, other.Top + 2));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(HtmlHints, WithoutTheInternalHintClassMarkUpGoesToTheToolTipAsText)
{
    g.UseInternalHintClass = false;
    Hover(1, 1);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;B&gt;")));
}
