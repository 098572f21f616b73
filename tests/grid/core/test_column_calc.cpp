#include <gtest/gtest.h>

#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextPlace.h"
#include "test_paint_support.h"

using namespace grid;

namespace {

// A header row, data rows 1 .. n in column 1 and nothing else.
class ColumnCalc : public ::testing::Test {
protected:
    void Fill(std::initializer_list<const char*> values)
    {
        g.SetColCount(3);
        g.SetRowCount(int(values.size()) + 1);
        int r = 1;
        for (const char* v : values)
            g.SetCells(1, r++, QString::fromUtf8(v));
    }
    TExtStringGrid g;
};

TEST_F(ColumnCalc, EachCalculationOverATableOfColumns)
{
    struct Case {
        std::initializer_list<const char*> values;
        double (TExtStringGrid::*calc)(int, int, int, TExtStringGrid::TCalcRows);
        double expected;
    };
    const Case cases[] = {
        {{"1", "2.5", "", "4"}, &TExtStringGrid::ColumnSum, 7.5},
        {{"2", "1.2.3", "4"}, &TExtStringGrid::ColumnAvg, 2},  // the non-number counts in the divisor
        {{"5", "1.2.3", "-3", "9"}, &TExtStringGrid::ColumnMin, -3},
        {{"5", "1.2.3", "-3", "9"}, &TExtStringGrid::ColumnMax, 9},
        {{"1", "2", "3", "4"}, &TExtStringGrid::ColumnStdDev, std::sqrt(1.25)},
        {{"a", "A", "", "b"}, &TExtStringGrid::ColumnDistinct, 3},
    };
    for (const Case& c : cases) {
        Fill(c.values);
        EXPECT_DOUBLE_EQ((g.*c.calc)(1, 1, g.RowCount() - 1, TExtStringGrid::crAuto), c.expected)
            << *c.values.begin();
    }
}

TEST_F(ColumnCalc, MinusOneTakesTheRowsBetweenHeaderAndFooterRows)
{
    Fill({"1", "2", "3", "100"});
    g.FixedFooters = 1;
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 6);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, -1, -1), 2);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1, 5, -1), 3);
}

TEST_F(ColumnCalc, ATextThatIsNoNumberRaisesWhereTheCalculationNeedsIt)
{
    // Number clean-up reads most texts (a word is 0); one with two decimal points is no number.
    Fill({"1.2.3", "2"});
    EXPECT_THROW(g.ColumnMin(1, 1, 2), EExtGridError);
    EXPECT_THROW(g.ColumnMax(1, 1, 2), EExtGridError);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 2), 2);
    Fill({"2", "1.2.3"});
    EXPECT_THROW(g.ColumnStdDev(1, 1, 2), EExtGridError);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, 1, 2), 2);
}

TEST_F(ColumnCalc, EmptyRangesGiveZero)
{
    Fill({"3"});
    EXPECT_EQ(g.ColumnAvg(1, 2, 1), 0);
    EXPECT_EQ(g.ColumnStdDev(1, 2, 1), 0);
    EXPECT_EQ(g.ColumnSum(1, 2, 1), 0);
}

TEST_F(ColumnCalc, GroupNodesAndCoveredMergedCellsStayOut)
{
    Fill({"10", "1", "2", "5"});
    g.AddNode(1, 3);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 4), 18);  // no group column: the node row counts
    g.Grouped.Column = 2;
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 4), 8);
    g.Grouped.Column = -1;
    ASSERT_TRUE(g.MergeCells(1, 3, 1, 2));
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 4), 13);  // row 4 lies under row 3's area
}

TEST_F(ColumnCalc, RealRowsIncludeHiddenRowsAndDisplayRowsDoNot)
{
    Fill({"1", "2", "4"});
    g.HideRow(2);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 3, TExtStringGrid::crReal), 7);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 2, TExtStringGrid::crDisplay), 5);
    // A range past the shown rows counts real rows on its own.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 4), 7);
}

TEST_F(ColumnCalc, CustomCalculationsAskTheirHandlers)
{
    Fill({"1"});
    EXPECT_EQ(g.ColumnCustomCalc(1, 1, 1), 0);
    g.OnColumnCalc = [](TExtStringGrid*, int c, int from, int to, double& res) { res += c * 100 + from * 10 + to; };
    g.OnGroupCalc = [](TExtStringGrid*, int, int, int, double& res) { res = -1; };
    EXPECT_EQ(g.ColumnCustomCalc(1, 2, 3), 123);
    EXPECT_EQ(g.GroupCustomCalc(1, 2, 3), -1);
}

TEST(SelectionTest, EachModeDecidesInItsOrder)
{
    TExtStringGrid g;
    g.SetColCount(5);
    g.SetRowCount(6);
    g.SetSelection({1, 1, 3, 2});
    EXPECT_TRUE(g.IsSelected(3, 2));
    EXPECT_FALSE(g.IsSelected(4, 2));
    g.SetFixedCols(2);
    EXPECT_FALSE(g.IsSelected(1, 1));  // a fixed cell inside the rectangle

    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(4, true);
    EXPECT_TRUE(g.IsSelected(2, 4));
    EXPECT_FALSE(g.IsSelected(2, 1));

    g.MouseActions.SetDisjunctRowSelect(false);
    g.MouseActions.SetDisjunctColSelect(true);
    g.SetColSelect(3, true);
    EXPECT_TRUE(g.IsSelected(3, 5));
    EXPECT_FALSE(g.IsSelected(2, 1));
}

TEST(SelectionTest, PersistentRowSelectionIsKeptByRealRow)
{
    TExtStringGrid g;
    g.SetRowCount(6);
    g.MouseActions.SetDisjunctRowSelect(true);
    g.MouseActions.RowSelectPersistent = true;
    g.SetRowSelect(4, true);  // real row 4
    g.HideRow(2);
    EXPECT_TRUE(g.IsSelected(1, 3));  // display row 3 is real row 4
    EXPECT_FALSE(g.IsSelected(1, 4));
}

TEST(TextPlacement, OffsetsAndLineCounts)
{
    TExtStringGrid g;
    g.XYOffset = {3, 4};
    EXPECT_EQ(g.TotalXOffset(), 6);
    EXPECT_EQ(g.TotalYOffset(), 8);
    g.XYOffsetTopLeftOnly = true;
    EXPECT_EQ(g.TotalXOffset(), 3);
    EXPECT_EQ(g.TotalYOffset(), 4);

    g.SetColCount(4);
    g.SetCells(0, 1, "one");
    g.SetCells(1, 1, "a\rb\rc");
    g.SetCells(2, 1, "a\rb");
    EXPECT_EQ(g.MaxLinesInRow(1), 1);
    g.Multilinecells = true;
    EXPECT_EQ(g.MaxLinesInRow(1), 3);
    EXPECT_EQ(g.MaxLinesInRow(2), 1);
    g.HideColumn(1);  // only shown columns count
    EXPECT_EQ(g.MaxLinesInRow(1), 2);
}

// Text 40 wide and 10 high, whatever the font.
class TMeasuredGrid : public TExtStringGrid {
public:
    TPoint MeasureText(const QString&) override { return {40, 10}; }
};

TEST(TextPlacement, RotatedTextStartsAtItsQuadrantsCorner)
{
    struct Case {
        int angle;
        TAlignment h;
        TVAlignment v;
        TPoint origin;
    };
    // The rectangle (0, 0)-(104, 84) shrinks to (2, 2)-(102, 82): 100 wide, 80 high.
    const Case cases[] = {
        {0, taLeftJustify, vtaTop, {2, 2}},
        {0, taRightJustify, vtaBottom, {62, 72}},
        {90, taCenter, vtaCenter, {47, 62}},   // x: centre 52 less half the text height
        {180, taLeftJustify, vtaTop, {42, 12}},
        {270, taLeftJustify, vtaTop, {12, 2}},
        {-30, taLeftJustify, vtaTop, {2, 21}},  // negative angles take the first quadrant's corner
    };
    TMeasuredGrid g;
    for (const Case& c : cases) {
        TRect r{0, 0, 104, 84};
        g.RotatedTextRect(r, c.angle, QStringLiteral("text"), c.h, c.v);
        EXPECT_EQ(r.Left, c.origin.X) << c.angle;
        EXPECT_EQ(r.Top, c.origin.Y) << c.angle;
        EXPECT_EQ(r.Right, 102);
        EXPECT_EQ(r.Bottom, 82);
    }
}

// The columns of the cell that hold dark (text) pixels: first and last, -1 when none.
std::pair<int, int> InkColumns(const QImage& image, const TRect& r)
{
    int first = -1, last = -1;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (qGray(image.pixel(x, y)) < 100) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

TEST(TextPlacement, RotatedCellTextIsDrawnInsideItsCellWhereTheAlignmentPutsIt)
{
    TExtStringGrid g;
    painttest::Layout(g, 3, 3, 300, 200);
    g.SetColWidths(1, 120);
    g.SetRowHeights(1, 100);
    g.GridLineColor = clWhite;
    g.AddRotated(1, 1, 90, "Rotated");
    const TRect r = g.CellRect(1, 1);
    const auto [left, right] = InkColumns(painttest::Render(g), r);
    ASSERT_GE(left, 0);
    EXPECT_LE(left - r.Left, 6);  // from the cell's left edge, not a text height further in

    g.OnGetAlignment = [](TExtStringGrid*, int, int, TAlignment& h, TVAlignment& v) {
        h = taCenter;
        v = vtaCenter;
    };
    const auto [cl, cr] = InkColumns(painttest::Render(g), r);
    ASSERT_GE(cl, 0);
    EXPECT_NEAR((cl + cr) / 2.0, (r.Left + r.Right) / 2.0, 4);
}

TEST(TextPlacement, TheRuleTruncatesTowardZeroAndTakesNegatedHeightsForPaper)
{
    TRect r{0, 0, 9, 9};
    PlaceRotatedText(r, taCenter, vtaCenter, 2, 2, 2, 2, 0);
    EXPECT_EQ(r.Left, 2);  // (9 - 4) / 2
    EXPECT_EQ(r.Top, 4);   // 0 - (4 - 9) / 2 = 2, plus B
    TRect paper{0, 0, 100, -50};
    PlaceRotatedText(paper, taLeftJustify, vtaBottom, -10, -20, 5, 5, 45);
    EXPECT_EQ(paper.Top, -50 + 30 - 20);
}

}  // namespace
