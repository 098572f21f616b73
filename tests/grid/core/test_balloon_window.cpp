// The balloon window of a grid: one window however often balloons are switched, in the
// configured opacity.
#include <gtest/gtest.h>

#include <QTest>

#include "grid/core/ExtStringGrid.h"
#include "support/FakeClock.h"

using namespace grid;

TEST(BalloonWindow, SwitchingOffAndOnKeepsOneWindowInTheConfiguredOpacity)
{
    FakeClock clock;
    TExtStringGrid g;
    g.resize(400, 250);
    g.Balloon.Enable = true;
    g.Balloon.Transparency = 55;
    g.SetCells(1, 1, "first cell");
    g.show();
    QTest::mouseMove(g.viewport(), QPoint(1, 1));
    const TRect rect = g.CellRect(1, 1);
    const QPoint middle((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);

    auto showOnce = [&](QPoint at) {
        QTest::mouseMove(g.viewport(), at);
        clock.Advance(1000);
    };
    showOnce(middle);
    ASSERT_TRUE(g.BalloonWindow() && g.BalloonWindow()->isVisible());
    EXPECT_NEAR(g.BalloonWindow()->windowOpacity(), 200.0 / 255.0, 0.005);

    g.Balloon.Enable = false;
    showOnce(middle + QPoint(1, 0));
    EXPECT_FALSE(g.BalloonWindow()->isVisible());
    g.Balloon.Enable = true;
    QTest::mouseMove(g.viewport(), QPoint(1, 1));
    showOnce(middle);
    EXPECT_TRUE(g.BalloonWindow()->isVisible());
    EXPECT_EQ(g.findChildren<platform::THintWindow*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
}
