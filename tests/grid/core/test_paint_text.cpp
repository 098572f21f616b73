#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "test_paint_support.h"
#include "support/GoldenImage.h"

using namespace grid;
using painttest::Layout;
using painttest::Render;

namespace {

// A grid that paints as the focused control, which an offscreen test window cannot be.
struct TFocusedGrid : TExtStringGrid {
    bool PaintFocused() const override { return true; }
};

}  // namespace

// Stored float formats are applied only when their one conversion fits the value; a text that
// looks like a number but does not convert formats as 0.
TEST(CellText, FloatFormatIsAppliedOnlyWhenItFits)
{
    const struct {
        const char* Format;
        const char* Text;
        const char* Shown;
    } cases[] = {
        {"%.2f", "3.14159", "3.14"},
        {"%d", "3.14159", "3"},
        {"%d", "42", "42"},
        {"%5d|", "-7", "   -7|"},
        {"%.1e", "12000", "1.2e+04"},
        {"%.1f%%", "2.5", "2.5%"},
        {"%.2f", "abc", "abc"},
        {"%.2f", "12a", "12a"},
        {"%s", "3.5", "3.5"},
        {"%n", "3.5", "3.5"},
        {"%.2f and %.2f", "3.5", "3.5"},
        {"%d of %s", "5", "5"},
        {"%.2f d", "3.5", "3.5"},
        {"", "3.5", "3.5"},
        {"%.2f", "\u0661\u0662", "0.00"},
    };
    for (const auto& k : cases) {
        TExtStringGrid g;
        g.SetCells(1, 1, QString::fromUtf8(k.Text));
        g.OnGetFloatFormat = [&](TExtStringGrid*, int, int, bool&, QString& format) {
            format = QString::fromLatin1(k.Format);
        };
        EXPECT_EQ(g.GetFormattedCell(1, 1), QString::fromUtf8(k.Shown)) << k.Format << " on " << k.Text;
    }
    // Without the event, or when it says the value is no float, the text is shown as stored.
    TExtStringGrid g;
    g.SetCells(1, 1, QStringLiteral("3.14159"));
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3.14159"));
    g.OnGetFloatFormat = [](TExtStringGrid*, int, int, bool& isFloat, QString&) { isFloat = false; };
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3.14159"));
}

// A column's own float format applies to its numbers without an event; its value is a float,
// so an integer conversion does not fit and the text shows as stored.
TEST(CellText, ColumnFloatFormat)
{
    const struct {
        const char* Format;
        const char* Text;
        const char* Shown;
    } cases[] = {{"%.1f", "3.14159", "3.1"}, {"%.1f", "12", "12.0"}, {"%.1f", "abc", "abc"},
                 {"%d", "3.14159", "3.14159"}, {"%.1f %s", "3.14159", "3.14159"}};
    for (const auto& k : cases) {
        TExtColumnGrid g;
        g.SetColCount(3);
        g.Columns()[1]->SetFloatFormat(QString::fromLatin1(k.Format));
        g.SetCells(1, 1, QString::fromLatin1(k.Text));
        EXPECT_EQ(g.GetFormattedCell(1, 1), QString::fromLatin1(k.Shown)) << k.Format << " on " << k.Text;
    }
}

TEST(CellText, AutomaticNumberAlignment)
{
    const struct {
        const char* Text;
        TAlignment Expected;
    } cases[] = {{"-12", taRightJustify}, {" 12 ", taRightJustify}, {"1.5e3", taRightJustify},
                 {"12a", taLeftJustify},  {"=A1+1", taLeftJustify},  {"", taLeftJustify}};
    for (const auto& k : cases) {
        TExtStringGrid g;
        g.AutoNumAlign = true;
        g.SetCells(1, 1, QString::fromLatin1(k.Text));
        TAlignment ha = taCenter;
        TVAlignment va = vtaBottom;
        g.GetCellAlignment(1, 1, ha, va);
        EXPECT_EQ(ha, k.Expected) << k.Text;
        EXPECT_EQ(va, vtaTop) << k.Text;
    }
    // A cell's own alignment wins over the number rule, and the alignment event over both.
    TExtStringGrid g;
    g.AutoNumAlign = true;
    g.SetCells(1, 1, QStringLiteral("12"));
    g.SetAlignments(1, 1, taCenter);
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    g.GetCellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
    g.OnGetAlignment = [](TExtStringGrid*, int, int, TAlignment& h, TVAlignment& v) {
        h = taLeftJustify;
        v = vtaBottom;
    };
    g.GetCellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    EXPECT_EQ(va, vtaBottom);
}

TEST(CellText, OneLineCellsShowTheirFirstLineOnly)
{
    auto render = [](const QString& text, bool multiLine) {
        TExtStringGrid g;
        Layout(g, 3, 3, 200, 80);
        g.WordWrap = false;
        g.Multilinecells = multiLine;
        g.SetRowHeights(1, 40);
        g.SetCells(1, 1, text);
        return Render(g);
    };
    const QImage firstLine = render(QStringLiteral("a"), false);
    EXPECT_EQ(render(QStringLiteral("a\r\nb"), false), firstLine);
    EXPECT_NE(render(QStringLiteral("a\r\nb"), true), firstLine);
}

TEST(CellText, MeasuredSizeOfOneAndSeveralLines)
{
    TExtStringGrid g;
    Layout(g, 3, 3, 200, 80);
    g.SetCells(1, 1, QStringLiteral("wide line"));
    g.SetCells(2, 1, QStringLiteral("wide line\r\nx"));
    const TPoint one = g.GetCellTextSize(1, 1, false, false);
    EXPECT_GT(one.X, 0);
    EXPECT_GT(one.Y, 0);
    g.Multilinecells = true;
    const TPoint two = g.GetCellTextSize(2, 1, false, false);
    EXPECT_EQ(two.X, one.X);
    EXPECT_EQ(two.Y, 2 * one.Y);
    // Bigger fonts measure bigger.
    g.ZoomFactor = 6;
    EXPECT_GT(g.GetCellTextSize(1, 1, false, false).X, one.X);
}

// The focus frame shows on the current cell of a focused grid only, never with row selection.
TEST(CellText, FocusFrameOnlyOnTheFocusedCurrentCell)
{
    auto render = [](bool focused, TGridOptions extra) {
        std::unique_ptr<TExtStringGrid> g = focused ? std::make_unique<TFocusedGrid>() : std::make_unique<TExtStringGrid>();
        Layout(*g, 4, 4, 260, 100);
        g->Options |= extra;
        g->MoveColRow(2, 2);
        return Render(*g);
    };
    const QImage plain = render(false, 0);
    const QImage focused = render(true, 0);
    EXPECT_NE(focused, plain);
    TExtStringGrid probe;
    Layout(probe, 4, 4, 260, 100);
    const TRect cell = probe.CellRect(2, 2);
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (x < cell.Left || x >= cell.Right || y < cell.Top || y >= cell.Bottom)
                ASSERT_EQ(focused.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(render(true, goRowSelect), render(false, goRowSelect));
}

TEST(CellText, GoldenColumnGridWithCheckBoxColumns)
{
    TExtColumnGrid g;
    g.SetGridScrollBars(platform::ssNone);
    const struct {
        const char* Header;
        TEditorType Editor;
        int Width;
    } columns[] = {{"N", edNormal, 30}, {"Topic", edNormal, 90}, {"Retained", edDataCheckBox, 62},
                   {"QoS", edComboList, 40}, {"Hex", edDataCheckBox, 40}};
    g.SetColCount(5);
    g.SetRowCount(5);
    for (int c = 0; c < 5; ++c) {
        TGridColumnItem* item = g.Columns()[c];
        item->SetEditor(columns[c].Editor);
        item->SetWidth(columns[c].Width);
        item->SetHeader(QString::fromLatin1(columns[c].Header));
    }
    const char* rows[][5] = {{"1", "plant/temp", "Y", "0", "N"},
                             {"2", "plant/level", "N", "1", "Y"},
                             {"3", "line/speed", "Y", "2", "Y"},
                             {"4", "", "N", "0", "N"}};
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            g.SetCells(c, r, QString::fromLatin1(rows[r - 1][c]));
    g.SetBounds(0, 0, 270, 122);
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), TEST_DATA_DIR "/golden/paint_column_grid_checks.png"));
}

namespace {

// The rectangle of the dark pixels (text, lines) of an image inside area.
QRect DarkBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

// An in-cell scroll bar stands at the cell's right edge while its page is below its range, and
// the text beside it is moved up by the position and kept inside the cell.
TEST(InCellScrollBar, TheBarStandsAtTheRightEdgeAndTheTextScrollsUp)
{
    struct TShot {
        QImage image;
        QRect cell;
    };
    const auto shot = [](bool bar, int position, int page) {
        TExtStringGrid g;
        Layout(g, 3, 3, 300, 140);
        g.SetRowHeights(1, 60);
        g.SetColWidths(1, 140);
        g.VAlignment = vtaTop;
        g.SetCells(1, 1, QStringLiteral("Scrolled"));
        if (bar) {
            g.AddScrollBar(1, 1, false);
            g.SetScrollProp(1, 1, {page, 100});
            g.SetScrollPosition(1, 1, position);
        }
        const TRect r = g.CellRect(1, 1);
        return TShot{Render(g), QRect(r.Left, r.Top, r.Width(), r.Height())};
    };
    const TShot plain = shot(false, 0, 20), at0 = shot(true, 0, 20), at10 = shot(true, 10, 20);
    const TShot wholePage = shot(true, 0, 100);
    const QRect barArea(plain.cell.right() - 16, plain.cell.top(), 16, plain.cell.height() - 2);
    EXPECT_NE(plain.image.copy(barArea), at0.image.copy(barArea)) << "the bar is drawn";
    EXPECT_EQ(plain.image.copy(barArea), wholePage.image.copy(barArea)) << "no bar while the page shows all";

    const QRect textArea(plain.cell.left() + 1, plain.cell.top(), 100, plain.cell.height() - 2);
    const QRect text0 = DarkBox(at0.image, textArea), text10 = DarkBox(at10.image, textArea);
    ASSERT_FALSE(text0.isEmpty());
    ASSERT_FALSE(text10.isEmpty());
    EXPECT_EQ(text10.bottom(), text0.bottom() - 10);
    EXPECT_GE(text10.top(), plain.cell.top()) << "clipped to the cell";
    // Nothing of the text shows in the row above.
    const QRect above(plain.cell.left() + 1, plain.cell.top() - 12, 100, 10);
    EXPECT_EQ(at10.image.copy(above), plain.image.copy(above));
}

// With disjunct row selection, the current row the platform selects whole (row select) but that
// is not among the selected rows keeps its normal text colour; a selected row takes the selection's.
TEST(CellText, RowsOutsideTheDisjunctSelectionKeepTheirTextColour)
{
    TExtStringGrid g;
    Layout(g, 3, 6, 300, 160);
    g.Options |= goRowSelect;
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SelectionTextColor = 0x0000FF;  // red
    for (int r = 1; r < 6; ++r)
        g.SetCells(1, r, QStringLiteral("WWWW"));
    g.MoveColRow(1, 4);
    // Making row 4 current flagged it; the user then picks row 2 alone.
    g.ClearRowSelect();
    g.SetRowSelect(2, true);
    const QImage image = Render(g);
    const auto reddish = [&](int row) {
        const TRect c = g.CellRect(1, row);
        int n = 0;
        for (int y = c.Top; y < c.Bottom; ++y)
            for (int x = c.Left; x < c.Right; ++x) {
                const QColor p = image.pixelColor(x, y);
                n += p.red() > 150 && p.green() < 100 && p.blue() < 100;
            }
        return n;
    };
    EXPECT_GT(reddish(2), 0) << "the selected row's text";
    EXPECT_EQ(reddish(4), 0) << "the current row outside the selection";
}

// Scroll steps on an in-cell scroll bar: lines of 10, pages of 100 pixels or the thumb's place,
// kept within 0 .. range - page; only a change is stored and told.
TEST(InCellScrollBar, StepsMoveThePositionWithinItsRangeAndTellTheChange)
{
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.AddScrollBar(1, 1, false);
    g.SetScrollProp(1, 1, {20, 150});  // positions 0 .. 130
    std::vector<std::vector<int>> told;
    g.OnScrollCell = [&](TExtStringGrid*, int c, int r, int pos, int lo, int hi) { told.push_back({c, r, pos, lo, hi}); };
    const struct {
        int code, pos, expected;
        bool changed;
    } steps[] = {
        {platform::SB_LINEUP, 0, 0, false},      {platform::SB_LINEDOWN, 0, 10, true},
        {platform::SB_PAGEDOWN, 0, 110, true},   {platform::SB_PAGEDOWN, 0, 130, true},
        {platform::SB_LINEDOWN, 0, 130, false},  {platform::SB_THUMBTRACK, 55, 55, true},
        {platform::SB_PAGEUP, 0, 0, true},       {platform::SB_ENDSCROLL, 0, 0, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "code " << s.code);
        const size_t before = told.size();
        EXPECT_EQ(g.ScrollInCell(1, 1, s.code, s.pos), s.changed);
        EXPECT_EQ(g.GetScrollPosition(1, 1), s.expected);
        EXPECT_EQ(told.size(), before + (s.changed ? 1 : 0));
        if (s.changed)
            EXPECT_EQ(told.back(), (std::vector<int>{1, 1, s.expected, 0, 130}));
    }
    EXPECT_FALSE(g.ScrollInCell(2, 2, platform::SB_LINEDOWN, 0)) << "a cell without a scroll bar";
}
