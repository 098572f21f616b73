// Mark-up cells that change with time and the mouse: the anchor under the mouse takes the hover
// look, and animated pictures step through their frames on the grid's animation clock.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "grid/core/ExtStringGrid.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;
using painttest::Render;

namespace {

bool IsYellow(QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; }
bool IsRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
bool IsGreen(QColor c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; }

int Count(const QImage& img, const QRect& area, bool (*match)(QColor))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(img.pixelColor(x, y));
    return n;
}

QRect Cell(TExtStringGrid& g, int c, int r)
{
    const TRect rc = g.CellRect(c, r);
    return QRect(QPoint(rc.Left, rc.Top), QPoint(rc.Right - 1, rc.Bottom - 1));
}

// A GIF of 2 x 1 pixels on white in two frames: the left pixel red, then the right one green,
// each shown for the given hundredths of a second.
std::vector<uint8_t> TwoFrameGif(int delay)
{
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x81, 2, 0};
    g.insert(g.end(), {0xFF, 0, 0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});  // red, green, white
    for (int frame = 0; frame < 2; ++frame) {
        g.insert(g.end(), {0x21, 0xF9, 0x04, 0x00, uint8_t(delay), 0, 0, 0});
        g.insert(g.end(), {0x2C, uint8_t(frame), 0, 0, 0, 1, 0, 1, 0, 0});
        // LZW, minimum code size 2: clear, the colour index, end.
        g.insert(g.end(), {0x02, 0x02, uint8_t(frame == 0 ? 0x44 : 0x4C), 0x01, 0x00});
    }
    g.push_back(0x3B);
    return g;
}

struct AnchorHoverGrid : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetGridScrollBars(platform::ssNone);
        g.SetColCount(2);
        g.SetRowCount(3);
        g.SetColWidths(1, 220);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        g.setFont(font);
        g.SetCells(1, 1, QStringLiteral("see <A HREF=\"one\">first</A> or <A HREF=\"two\">second</A>"));
        g.SetCells(1, 2, QStringLiteral("plain text"));
        g.MoveColRow(1, 2);  // the anchors' cell is not drawn selected
        g.resize(300, 80);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        // The mouse starts off the cells: a move to where it already is would not be told.
        QTest::mouseMove(g.viewport(), QPoint(1, 1));
    }
    // A point on the anchor's text, from the renderer's own layout.
    QPoint OnAnchor(const char* word)
    {
        const QRect cell = Cell(g, 1, 1);
        for (int x = cell.left(); x < cell.right(); ++x)
            for (int y = cell.top(); y < cell.bottom(); ++y) {
                QString anchor, title;
                if (g.HTMLAnchorAt(1, 1, x, y, anchor, title) && anchor == QLatin1String(word))
                    return {x + 2, y};
            }
        ADD_FAILURE() << "no anchor " << word;
        return {};
    }
};

}  // namespace

// The anchor under the mouse is tracked by its number; moving onto plain text, another cell or out
// of the grid forgets it. Only a grid that shows hovered anchors differently tracks them.
TEST_F(AnchorHoverGrid, AnchorUnderTheMouseIsTrackedWhileItsLookDiffers)
{
    QTest::mouseMove(g.viewport(), OnAnchor("one"));
    EXPECT_EQ(g.HoverAnchorLink(), 0) << "no hover look set";
    g.URLUnderlineOnHover = true;
    const struct {
        const char* Name;
        std::function<QPoint()> Where;
        TGridCoord Cell;
        int Link;
    } steps[] = {
        {"second anchor", [&] { return OnAnchor("two"); }, {1, 1}, 2},
        {"first anchor", [&] { return OnAnchor("one"); }, {1, 1}, 1},
        {"plain text of the cell", [&] { return Cell(g, 1, 1).topLeft() + QPoint(4, 8); }, {-1, -1}, 0},
        {"back on the first", [&] { return OnAnchor("one"); }, {1, 1}, 1},
        {"cell without mark-up", [&] { return Cell(g, 1, 2).center(); }, {-1, -1}, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Name);
        QTest::mouseMove(g.viewport(), s.Where());
        EXPECT_EQ(g.HoverAnchorCell(), s.Cell);
        EXPECT_EQ(g.HoverAnchorLink(), s.Link);
    }
    QTest::mouseMove(g.viewport(), OnAnchor("two"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&g, &leave);
    EXPECT_EQ(g.HoverAnchorLink(), 0);
}

// With URLUnderlineOnHover only the hovered anchor is underlined, and it takes the hover colours.
TEST_F(AnchorHoverGrid, HoveredAnchorTakesTheHoverColours)
{
    g.URLUnderlineOnHover = true;
    g.URLHoverColor = platform::clYellow;
    g.URLHoverTextColor = platform::clRed;
    const QRect cell = Cell(g, 1, 1);
    EXPECT_EQ(Count(Render(g), cell, IsYellow), 0) << "nothing hovered yet";
    QTest::mouseMove(g.viewport(), OnAnchor("two"));
    ASSERT_EQ(g.HoverAnchorLink(), 2);
    const QImage hovered = Render(g);
    EXPECT_GT(Count(hovered, cell, IsYellow), 50);
    EXPECT_GT(Count(hovered, cell, IsRed), 5);
    EXPECT_TRUE(testsupport::MatchesGolden(hovered, QStringLiteral(TEST_DATA_DIR "/golden/hovered_anchor.png")));
}

// An animated picture in a cell moves to its next frame when the frame's delay has passed on the
// grid's 100 ms animation steps, and the cell shows it; without animated pictures the steps stop.
TEST(HtmlCellAnimation, AnimatedPictureStepsOnTheClockAndStops)
{
    FakeClock clock;
    controls::TPictureContainer pictures;
    controls::TPictureItem* item = pictures.Items().Add();
    item->Name = QStringLiteral("lamp");
    item->Picture().LoadFromBytes(TwoFrameGif(20));
    TExtStringGrid g;
    g.SetGridScrollBars(platform::ssNone);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.PictureContainer = &pictures;
    g.SetCells(1, 1, QStringLiteral("<IMG SRC=\"lamp\" WIDTH=\"20\" HEIGHT=\"10\">"));
    g.resize(200, 60);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    const QRect cell = Cell(g, 1, 1);
    const QRect left(cell.left(), cell.top(), 12, cell.height());

    QImage img = Render(g);
    EXPECT_GT(Count(img, left, IsRed), 20);
    EXPECT_TRUE(g.Animating()) << "a cell shows an animated picture";
    // Frame 1 lasts 200 ms counted from before the first step: the fourth step moves on; the
    // second frame's 200 ms end two steps later.
    clock.Advance(3 * g.AnimationInterval);
    EXPECT_EQ(item->Picture().Frame(), 1);
    clock.Advance(g.AnimationInterval);
    EXPECT_EQ(item->Picture().Frame(), 2);
    img = Render(g);
    EXPECT_EQ(Count(img, left, IsRed), 0);
    EXPECT_GT(Count(img, cell, IsGreen), 20);
    clock.Advance(g.AnimationInterval);
    EXPECT_EQ(item->Picture().Frame(), 2);
    clock.Advance(g.AnimationInterval);
    EXPECT_EQ(item->Picture().Frame(), 1) << "and round again";

    g.hide();
    clock.Advance(g.AnimationInterval);
    EXPECT_FALSE(g.Animating()) << "a hidden grid stops";
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    Render(g);
    EXPECT_TRUE(g.Animating()) << "and starts again when it paints the picture";
    pictures.Items().Clear();
    clock.Advance(g.AnimationInterval);
    EXPECT_FALSE(g.Animating()) << "no animated picture left";
}
