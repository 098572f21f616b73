#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "grid/core/ExtStringGrid.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;
using painttest::Layout;
using painttest::Render;

namespace {

QRgb Rgb(TColor c) { return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// A grid with one header row and a sorted column 1.
void SortedGrid(TExtStringGrid& g, int rows = 4)
{
    Layout(g, 3, rows, 240, 100);
    g.SetCells(1, 0, QStringLiteral("Name"));
    g.SetCells(2, 0, QStringLiteral("City"));
    g.SortSettings.Show = true;
    g.SortSettings.Column = 1;
}

// The sort indicator drawn alone on a plain image.
QImage Indicator(TExtStringGrid& g, int col)
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    platform::TCanvas canvas(&img);
    g.DrawSortIndicator(canvas, col, 20, 20);
    return img;
}

}  // namespace

TEST(SortGlyphs, HeaderWithSortIndicatorAndFilterGlyph)
{
    TExtStringGrid g;
    SortedGrid(g);
    g.FilterDropDownAuto = true;
    g.SetCells(1, 1, QStringLiteral("Rome"));
    g.SetCells(2, 1, QStringLiteral("Oslo"));
    g.SortSettings.Direction = sdDescending;
    g.SetColWidths(1, 110);
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), TEST_DATA_DIR "/golden/sort_filter_header.png"));
}

// Which header cells show a glyph: the sort row, enough data rows, a normal column unless fixed
// columns are allowed, the sort column or one of a multi-column sort.
TEST(SortGlyphs, SortHeaderCellConditions)
{
    const struct {
        const char* Name;
        int Col, Row, Rows;
        bool Show, FixedColsAllowed, Indexed;
        bool Expected;
    } cases[] = {
        {"sort column", 1, 0, 4, true, false, false, true},
        {"show off", 1, 0, 4, false, false, false, false},
        {"data row", 1, 1, 4, true, false, false, false},
        {"other column", 2, 0, 4, true, false, false, false},
        {"other column in the sort list", 2, 0, 4, true, false, true, true},
        {"one data row only", 1, 0, 2, true, false, false, false},
        {"two data rows", 1, 0, 3, true, false, false, true},
        {"fixed column", 0, 0, 4, true, false, true, false},
        {"fixed column allowed", 0, 0, 4, true, true, true, true},
    };
    for (const auto& k : cases) {
        TExtStringGrid g;
        SortedGrid(g, k.Rows);
        g.SortSettings.Show = k.Show;
        g.SortSettings.FixedCols = k.FixedColsAllowed;
        if (k.Indexed) {
            g.SortIndexes.AddIndex(k.Col, true);
        }
        EXPECT_EQ(g.IsSortHeaderCell(k.Col, k.Row), k.Expected) << k.Name;
    }
}

// The glyph outline: lit edges white, shaded edges grey; the direction decides which is which.
TEST(SortGlyphs, IndicatorOutlineFollowsDirection)
{
    const struct {
        TSortDirection Direction;
        QPoint White, Grey;
    } cases[] = {
        {sdAscending, {20, 24}, {18, 20}},   // base below the point
        {sdDescending, {22, 20}, {20, 16}},  // base above the point
    };
    for (const auto& k : cases) {
        TExtStringGrid g;
        SortedGrid(g);
        g.SortSettings.Direction = k.Direction;
        const QImage img = Indicator(g, 1);
        EXPECT_EQ(img.pixel(k.White), qRgb(255, 255, 255)) << int(k.Direction);
        EXPECT_EQ(img.pixel(k.Grey), qRgb(128, 128, 128)) << int(k.Direction);
    }
}

// With index glyphs only columns of the sort list draw, filled in the index colour.
TEST(SortGlyphs, IndexGlyphOnlyForSortedColumns)
{
    TExtStringGrid g;
    SortedGrid(g);
    g.SortSettings.IndexShow = true;
    g.SortSettings.IndexColor = platform::clLime;
    g.SortIndexes.AddIndex(2, false);
    const QImage listed = Indicator(g, 2);
    // Descending: the triangle's wide edge is on top.
    EXPECT_EQ(listed.pixel(14, 16), Rgb(platform::clLime));
    const QImage unlisted = Indicator(g, 1);
    for (int y = 0; y < unlisted.height(); ++y)
        for (int x = 0; x < unlisted.width(); ++x)
            ASSERT_EQ(unlisted.pixel(x, y), QColor(Qt::darkCyan).rgb()) << x << "," << y;
}

// Automatic column width leaves room for the sort glyph and the filter button.
TEST(SortGlyphs, AutoSizeMakesRoomForGlyphs)
{
    const struct {
        const char* Name;
        bool Sort, Filter;
        int Extra;
    } cases[] = {
        {"sort glyph", true, false, 10},
        {"filter button", false, true, 12},
        {"both", true, true, 22},
    };
    for (const auto& k : cases) {
        TExtStringGrid plain, g;
        for (TExtStringGrid* x : {&plain, &g}) {
            Layout(*x, 3, 4, 300, 100);
            x->SetCells(1, 0, QStringLiteral("A rather long header"));
        }
        g.SortSettings.Column = 1;
        g.SortSettings.Show = k.Sort;
        g.FilterDropDownAuto = k.Filter;
        plain.AutoSizeCol(1, 0);
        g.AutoSizeCol(1, 0);
        EXPECT_EQ(g.ColWidths(1) - plain.ColWidths(1), k.Extra) << k.Name;
    }
}

// A marked error range is underlined in red; the same cell without a marker is not.
TEST(SortGlyphs, ErrorMarkerIsUnderlined)
{
    auto redPixels = [](bool marked) {
        TExtStringGrid g;
        Layout(g, 3, 3, 240, 80);
        g.SetCells(1, 1, QStringLiteral("misspelt"));
        if (marked)
            g.AddMarker(1, 1, 0, 4);
        const QImage img = Render(g);
        const TRect r = g.CellRect(1, 1);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += img.pixel(x, y) == qRgb(255, 0, 0);
        return n;
    };
    EXPECT_GT(redPixels(true), 0);
    EXPECT_EQ(redPixels(false), 0);
}

// A sorted column's header takes the sort header colours in a gradient look.
TEST(SortGlyphs, SortHeaderColourInGradientLook)
{
    TExtStringGrid g;
    SortedGrid(g);
    g.SortSettings.Show = false;
    g.SetLook(glVUR);
    g.SortSettings.SetHeaderColor(platform::clRed);
    g.SortSettings.SetHeaderColorTo(platform::clRed);
    const QImage img = Render(g);
    const TRect sorted = g.CellRect(1, 0), other = g.CellRect(2, 0);
    EXPECT_EQ(img.pixel(sorted.Left + 3, sorted.Top + 3), qRgb(255, 0, 0));
    EXPECT_NE(img.pixel(other.Left + 3, other.Top + 3), qRgb(255, 0, 0));
}

// The row indicator marks the current row only, and the row's text starts after it.
TEST(SortGlyphs, RowIndicatorOnCurrentRow)
{
    TExtStringGrid g;
    Layout(g, 3, 4, 240, 100);
    QImage mark(8, 8, QImage::Format_RGB32);
    mark.fill(qRgb(0, 0, 255));
    mark.setPixel(0, 7, qRgb(255, 255, 255));  // the transparent corner
    g.RowIndicator = mark;
    g.SetRow(2);
    const QImage img = Render(g);
    auto blue = [&](int r) {
        const TRect cell = g.CellRect(0, r);
        int n = 0;
        for (int y = cell.Top; y < cell.Bottom; ++y)
            for (int x = cell.Left; x < cell.Right; ++x)
                n += img.pixel(x, y) == qRgb(0, 0, 255);
        return n;
    };
    EXPECT_GT(blue(2), 56);  // the mark less its transparent corner; header edge lines may cross it
    EXPECT_EQ(blue(1), 0);
}

// Rotated header text of the sort column gets the glyph at its top-right corner.
TEST(SortGlyphs, RotatedHeaderShowsIndicator)
{
    auto corner = [](bool show) {
        TExtStringGrid g;
        SortedGrid(g);
        g.SortSettings.Show = show;
        g.AddRotated(1, 0, 90, QString());
        const QImage img = Render(g);
        const TRect r = g.CellRect(1, 0);
        QImage part = img.copy(r.Right - 16, r.Top, 16, 16);
        return part;
    };
    const QImage with = corner(true), without = corner(false);
    bool white = false;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            white = white || (with.pixel(x, y) == qRgb(255, 255, 255) && without.pixel(x, y) != qRgb(255, 255, 255));
    EXPECT_TRUE(white);
}
