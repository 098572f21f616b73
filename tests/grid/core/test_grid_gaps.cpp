#include <gtest/gtest.h>

#include <QTest>

#include "grid/core/ExtStringGrid.h"
#include "support/FakeClock.h"

using namespace grid;

namespace {

// A shown grid with a fake clock, so balloon delays pass only when the test says so.
class BalloonTip : public ::testing::Test {
public:
    void SetUp() override
    {
        g.resize(400, 250);
        g.Balloon.Enable = true;
        g.SetCells(1, 1, "first cell");
        g.SetCells(2, 1, "second cell");
        g.show();
        // The pointer position outlives a test: start from a known one so every move is a move.
        QTest::mouseMove(g.viewport(), QPoint(1, 1));
    }
    QPoint Middle(int c, int r)
    {
        const TRect rect = g.CellRect(c, r);
        return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    }
    bool Shown() const { return g.BalloonWindow() && g.BalloonWindow()->isVisible(); }
    FakeClock clock;
    TExtStringGrid g;
};

TEST_F(BalloonTip, ShowsAfterTheInitialDelayBelowThePointer)
{
    g.Balloon.InitialDelay = 300;
    QTest::mouseMove(g.viewport(), Middle(1, 1));
    clock.Advance(299);
    EXPECT_FALSE(Shown());
    clock.Advance(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(g.BalloonWindow()->Caption(), "first cell");
    const QPoint pointer = g.viewport()->mapToGlobal(Middle(1, 1));
    EXPECT_GT(g.BalloonWindow()->geometry().top(), pointer.y());
    EXPECT_EQ(g.LastBalloonCell(), (TGridCoord{1, 1}));
}

TEST_F(BalloonTip, HidesOnLeavePressKeyAndAfterTheAutoHideDelay)
{
    struct Case {
        const char* name;
        std::function<void(BalloonTip&)> act;
    };
    const Case cases[] = {
        {"auto hide", [](BalloonTip& t) { t.clock.Advance(2000); }},
        {"press", [](BalloonTip& t) { QTest::mousePress(t.g.viewport(), Qt::LeftButton, {}, t.Middle(1, 1)); }},
        {"key", [](BalloonTip& t) { QTest::keyClick(&t.g, Qt::Key_Down); }},
        {"leave",
         [](BalloonTip& t) {
             QEvent leave(QEvent::Leave);
             QCoreApplication::sendEvent(t.g.viewport(), &leave);
         }},
        {"disabled",
         [](BalloonTip& t) {
             t.g.Balloon.Enable = false;
             QTest::mouseMove(t.g.viewport(), t.Middle(2, 1));
         }},
    };
    g.Balloon.InitialDelay = 10;
    g.Balloon.AutoHideDelay = 2000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.Balloon.Enable = true;
        QTest::mouseMove(g.viewport(), Middle(1, 2));
        QTest::mouseMove(g.viewport(), Middle(1, 1));
        clock.Advance(10);
        ASSERT_TRUE(Shown());
        clock.Advance(1999);
        ASSERT_TRUE(Shown());
        c.act(*this);
        EXPECT_FALSE(Shown());
        if (c.name == std::string("press"))
            QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, Middle(1, 1));
        clock.Advance(5000);
        EXPECT_FALSE(Shown()) << "no balloon comes back without a new rest";
    }
}

TEST_F(BalloonTip, MovingToAnotherCellReshowsAfterTheReshowDelay)
{
    g.Balloon.InitialDelay = 400;
    g.Balloon.ReshowDelay = 50;
    QTest::mouseMove(g.viewport(), Middle(1, 1));
    clock.Advance(400);
    ASSERT_TRUE(Shown());
    QTest::mouseMove(g.viewport(), Middle(2, 1));
    EXPECT_FALSE(Shown());
    clock.Advance(50);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(g.BalloonWindow()->Caption(), "second cell");
    // Moving inside the same cell keeps it.
    QTest::mouseMove(g.viewport(), Middle(2, 1) + QPoint(2, 1));
    EXPECT_TRUE(Shown());
}

TEST_F(BalloonTip, AnEmptyCellShowsNothingAndTheEventSetsTitleAndIcon)
{
    g.Balloon.InitialDelay = 0;
    QTest::mouseMove(g.viewport(), Middle(3, 3));
    clock.Advance(1);
    EXPECT_FALSE(Shown());

    g.OnCellBalloon = [](TExtStringGrid*, int, int, QString& title, QString& text, TBalloonIcon& icon) {
        title = "Note";
        text += "!";
        icon = biError;
    };
    QTest::mouseMove(g.viewport(), Middle(1, 1));
    clock.Advance(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(g.BalloonWindow()->Caption(), "first cell!");
    // The error icon is a red disc beside the title.
    const QImage shot = g.BalloonWindow()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor px = shot.pixelColor(x, y);
            red += px.red() > 180 && px.green() < 80 && px.blue() < 80;
        }
    EXPECT_GT(red, 50);
    EXPECT_LE(g.BalloonWindow()->width(), 300 + 12);
}

}  // namespace

#include "test_paint_support.h"

namespace {

using platform::clRed;

TEST(GridAppearance, AutoSizeFitsTheColumnsOnlyWhenTurnedOnOutsideLoading)
{
    struct Case {
        bool value;
        bool loading;
        bool sized;
    };
    const Case cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
    for (const Case& c : cases) {
        TExtStringGrid g;
        g.SetCells(1, 1, QString(60, 'W'));
        const int before = g.ColWidths(1);
        g.Loading = c.loading;
        g.SetAutoSize(c.value);
        EXPECT_EQ(g.AutoSize, c.value);
        EXPECT_EQ(g.ColWidths(1) > before, c.sized) << c.value << c.loading;
    }
}

TEST(GridAppearance, ColourTonesColourTheCellText)
{
    TExtStringGrid g;
    g.resize(200, 80);
    g.SetCells(1, 1, "WWWWWWWW");
    controls::TColorTones tones;
    tones.Background.BrushColor = clWhite;
    tones.Background.TextColor = clRed;
    tones.Foreground.BrushColor = clSilver;
    tones.Foreground.TextColor = clBlack;
    g.SetColorTones(tones);
    EXPECT_EQ(g.FontColor, clRed);
    const QImage image = painttest::Render(g);
    const TRect r = g.CellRect(1, 1);
    int red = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const QColor px = image.pixelColor(x, y);
            red += px.red() > 150 && px.green() < 100 && px.blue() < 100;
        }
    EXPECT_GT(red, 10);
}

}  // namespace
