// Mark-up cells: with EnableHTML the grid paints, measures and hit-tests them with the renderer;
// without it the tags are text like any other.
#include <gtest/gtest.h>

#include "grid/core/CellGraphic.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;
using painttest::Layout;
using painttest::Render;

namespace {

int CountRed(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return n;
}

// The grid's cell font, to measure what a cell should need.
platform::TFont CellFont(TExtStringGrid& g, bool bold = false)
{
    platform::TFont f = CanvasFont(g.GridFont());
    f.setBold(bold);
    return f;
}

struct HtmlGrid : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        Layout(g, 3, 3, 300, 100);
        g.SetColWidths(1, 140);
        g.SetRowHeights(2, 40);
    }
};

}  // namespace

TEST_F(HtmlGrid, MarkUpPaintsOnlyWithEnableHTML)
{
    // Not the current cell: a selected cell keeps the selection's text colour.
    g.SetCells(1, 2, QStringLiteral("<FONT COLOR=\"clRed\">red</FONT>"));
    EXPECT_GT(CountRed(Render(g)), 10);
    g.EnableHTML = false;
    g.Invalidate();
    EXPECT_EQ(CountRed(Render(g)), 0);
}

TEST_F(HtmlGrid, CellSizeFollowsTheLaidOutMarkUp)
{
    g.SetCells(1, 1, QStringLiteral("<B>bold</B>"));
    g.SetCells(1, 2, QStringLiteral("one<BR>two"));
    platform::TCanvas bold, plain;
    bold.Font = CellFont(g, true);
    plain.Font = CellFont(g);
    EXPECT_EQ(g.CellContentSize(1, 1, false).X, bold.TextWidth(QStringLiteral("bold")));
    EXPECT_EQ(g.CellContentSize(1, 2, false).Y, 2 * plain.TextHeight(QStringLiteral("gh")));

    g.EnableHTML = false;
    EXPECT_EQ(g.CellContentSize(1, 1, false).X, plain.TextWidth(QStringLiteral("<B>bold</B>")));
}

TEST_F(HtmlGrid, AnchorUnderThePointIsFoundAsLaidOut)
{
    g.SetCells(1, 1, QStringLiteral("go <A HREF=\"http://example.com\" TITLE=\"Example\">there</A>"));
    g.SetCells(2, 1, QStringLiteral("plain"));
    const TRect cell = g.CellRect(1, 1);
    platform::TCanvas plain;
    plain.Font = CellFont(g);
    const int linkX = cell.Left + 1 + g.GridLineWidth + plain.TextWidth(QStringLiteral("go ")) + 4;
    const int y = cell.Top + 4;
    QString anchor, title;
    EXPECT_TRUE(g.HTMLAnchorAt(1, 1, linkX, y, anchor, title));
    EXPECT_EQ(anchor, QStringLiteral("http://example.com"));
    EXPECT_EQ(title, QStringLiteral("Example"));
    EXPECT_FALSE(g.HTMLAnchorAt(1, 1, cell.Left + 3, y, anchor, title));
    EXPECT_FALSE(g.HTMLAnchorAt(2, 1, g.CellRect(2, 1).Left + 3, y, anchor, title));
    g.EnableHTML = false;
    EXPECT_FALSE(g.HTMLAnchorAt(1, 1, linkX, y, anchor, title));
}

TEST_F(HtmlGrid, TagSetInCells)
{
    auto* images = new TGridImageList(16, 16);
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(QColor(0, 128, 0));
    images->List.Add(square);
    std::unique_ptr<TGridImageList> owned(images);
    g.GridImages = images;
    g.SetCells(1, 0, QStringLiteral("<B>Head</B> <I>ing</I>"));
    g.SetCells(1, 1, QStringLiteral("<IMG SRC=\"IDX:0\"> <A HREF=\"http://example.com\">link</A> <U>u</U>"));
    g.SetCells(1, 2, QStringLiteral("<FONT COLOR=\"clRed\" SIZE=\"2\">red</FONT><BR><HI>second</HI> a < b"));
    g.SetCells(2, 1, QStringLiteral("no mark-up <here>"));
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), QStringLiteral(TEST_DATA_DIR "/golden/html_cells.png")));
    g.GridImages = nullptr;
}
