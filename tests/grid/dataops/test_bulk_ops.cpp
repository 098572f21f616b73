#include <gtest/gtest.h>

#include "grid/dataops/GridBulkOps.h"
#include "grid/dataops/GridTextMeasure.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A header row over data rows whose column 1 holds the given texts.
struct TColumnFixture {
    TExtStringGrid g;
    explicit TColumnFixture(QStringList texts)
    {
        g.SetColCount(3);
        g.SetRowCount(int(texts.size()) + 1);
        for (int r = 1; r <= texts.size(); ++r)
            g.SetCells(1, r, texts[r - 1]);
    }
    QString Column(int c = 1)
    {
        QStringList out;
        for (int r = 1; r < g.RowCount(); ++r)
            out << g.Cells(c, r);
        return out.join(QLatin1Char('|'));
    }
};

TEST(RemoveDuplicates, LaterRepeatsGoLetterCaseIgnoredEitherWay)
{
    for (bool doCase : {false, true}) {
        TColumnFixture f({"Abc", "ABC", "x", "abc", "y", "x"});
        RemoveDuplicates(f.g, 1, doCase);
        EXPECT_EQ(f.Column(), "Abc|x|y") << doCase;
    }
}

TEST(RemoveDuplicates, TheDisplayColumnMapsToItsRealColumnAndFootersStay)
{
    TColumnFixture f({"a", "b", "a", "total"});
    f.g.SetCells(2, 1, "p");
    f.g.SetCells(2, 2, "p");
    f.g.SetCells(2, 3, "q");
    f.g.SetCells(2, 4, "q");
    f.g.FixedFooters = 1;
    f.g.HideColumn(1);
    RemoveDuplicates(f.g, 1, false);  // display column 1 is real column 2
    EXPECT_EQ(f.Column(2), "p|q|q");
}

TEST(RemoveCheckedRows, RemovesRowsInTheAskedStateAndLeavesRowsWithoutABox)
{
    for (bool removeChecked : {true, false}) {
        TColumnFixture f({"r1", "r2", "r3", "r4"});
        f.g.AddCheckBox(2, 1, true, false);
        f.g.AddCheckBox(2, 2, false, false);
        f.g.AddCheckBox(2, 3, true, false);
        RemoveCheckedRows(f.g, 2, removeChecked);
        EXPECT_EQ(f.Column(), removeChecked ? "r2|r4" : "r1|r3|r4");
    }
}

TEST(MergeColumnCells, RunsOfEqualTextsBecomeAreas)
{
    TColumnFixture f({"a", "a", "b", "b", "b", "c"});
    MergeColumnCells(f.g, 1, true);
    EXPECT_EQ(f.g.CellSpan(1, 1).Y, 1);
    EXPECT_EQ(f.g.CellSpan(1, 3).Y, 2);
    EXPECT_FALSE(f.g.IsMergedCell(1, 6));
    EXPECT_FALSE(f.g.IsBaseCell(1, 4));

    SplitColumnCells(f.g, 1);
    for (int r = 1; r < f.g.RowCount(); ++r)
        EXPECT_FALSE(f.g.IsMergedCell(1, r)) << r;
}

TEST(MergeColumnCells, WithoutMainMergeOnlyInsideTheAreasOfOtherColumns)
{
    TColumnFixture f({"a", "a", "a", "a"});
    for (int r = 1; r <= 4; ++r)
        f.g.SetCells(2, r, r <= 2 ? "g1" : "g2");
    MergeColumnCells(f.g, 2, true);
    MergeColumnCells(f.g, 1, false);
    EXPECT_EQ(f.g.CellSpan(1, 1).Y, 1);
    EXPECT_EQ(f.g.CellSpan(1, 3).Y, 1);
    EXPECT_FALSE(f.g.IsMergedNonBaseCell(1, 3));
}

TEST(MergeRowCells, LeavesSingleCellsWithoutRecords)
{
    TExtStringGrid g;
    g.SetColCount(6);
    for (int c = 1; c < 6; ++c)
        g.SetCells(c, 1, c <= 3 ? "x" : QString::number(c));
    MergeRowCells(g, 1, true);
    EXPECT_EQ(g.CellSpan(1, 1).X, 2);
    EXPECT_FALSE(g.HasCellProperties(4, 1));
    EXPECT_FALSE(g.HasCellProperties(5, 1));
    SplitRowCells(g, 1);
    EXPECT_FALSE(g.IsMergedCell(2, 1));
}

TEST(SplitAllCells, SplitsEveryArea)
{
    TExtStringGrid g;
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 2));
    ASSERT_TRUE(g.MergeCells(3, 3, 2, 1));
    SplitAllCells(g);
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            EXPECT_FALSE(g.IsMergedCell(c, r)) << c << "," << r;
}

TEST(MergeCols, JoinsTheTextsTrimmedAndDropsTheSecondColumn)
{
    TColumnFixture f({" a", "", "c "});
    f.g.SetCells(2, 1, "1");
    f.g.SetCells(2, 2, "2");
    f.g.SetCells(0, 0, "head");
    MergeCols(f.g, 1, 2, " ");
    EXPECT_EQ(f.Column(), "a 1|2|c");
    EXPECT_EQ(f.g.ColCount(), 2);
}

TEST(TrimAll, RemovesOuterBlanksAndControlCharactersOnly)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "  two  words \t");
    g.SetCells(0, 0, "\r\nhead");
    g.SetCells(2, 2, "plain");
    TrimAll(g);
    EXPECT_EQ(g.Cells(1, 1), "two  words");
    EXPECT_EQ(g.Cells(0, 0), "head");
    EXPECT_EQ(g.Cells(2, 2), "plain");
}

TEST(TrimRect, WithSaveHiddenCellsTheColumnsAreDisplayColumns)
{
    TExtStringGrid g;
    g.SetCells(1, 1, " hidden ");
    g.SetCells(2, 1, " shown ");
    g.HideColumn(1);
    g.SaveHiddenCells = true;
    TrimColumn(g, 1);  // display column 1 is real column 2
    EXPECT_EQ(g.GetGridCell(2, 1), "shown");
    EXPECT_EQ(g.GetGridCell(1, 1), " hidden ");
}

TEST(IsCell, FindsOnlyAWholeTextRowByRow)
{
    TExtStringGrid g;
    g.SetCells(3, 1, "needle here");
    g.SetCells(4, 2, "needle");
    g.SetCells(1, 3, "needle");
    int c = -7, r = -7;
    EXPECT_FALSE(IsCell(g, "Needle", c, r));
    EXPECT_EQ(c, -7);
    EXPECT_TRUE(IsCell(g, "needle", c, r));
    EXPECT_EQ(c, 4);
    EXPECT_EQ(r, 2);
}

TEST(ClearNormalCells, FixedRowsColumnsAndFootersKeepTheirTexts)
{
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            g.SetCells(c, r, "t");
    g.FixedFooters = 1;
    g.FixedRightCols = 1;
    ClearNormalCells(g);
    QString shape;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            shape += g.Cells(c, r).isEmpty() ? '.' : 't';
    EXPECT_EQ(shape, "tttt" "t..t" "t..t" "t..t" "tttt");
}

TEST(ColorRect, ColoursEveryCellOfTheRectangle)
{
    TExtStringGrid g;
    ColorRect(g, 1, 1, 2, 2, 0x123456);
    EXPECT_EQ(g.GetColors(2, 2), 0x123456u);
    EXPECT_EQ(g.GetColors(1, 1), 0x123456u);
    EXPECT_NE(g.GetColors(3, 2), 0x123456u);
}

TEST(TextMeasure, LongestLineOfAColumn)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "abc");
    g.SetCells(1, 2, "ab\r\nfghij");
    EXPECT_EQ(MaxColumnChars(g, 1), 3);
    g.Multilinecells = true;
    EXPECT_EQ(MaxColumnChars(g, 1), 5);
    EXPECT_EQ(MaxColumnChars(g, 2), 0);
}

TEST(TextMeasure, FontHeightsInTenthsOfAMillimetre)
{
    TExtStringGrid g;
    EXPECT_EQ(MapFontHeight(g, 10), -35);
    EXPECT_EQ(MapFontSize(35), 9);
    g.Fontscalefactor = 0.5;
    EXPECT_EQ(MapFontHeight(g, 10), -17);
}

// The lean removal: later rows move up with their texts, records and heights, the row-select
// flags close up, hidden rows below keep their place among the rows, the current row stays or
// returns to the first data row, and the change is told once.
TEST(RemoveRowsEx, LaterRowsMoveUpAndHiddenRowsKeepTheirPlace)
{
    TColumnFixture f({"r1", "r2", "r3", "r4", "r5", "r6", "r7"});
    TExtStringGrid& g = f.g;
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(5, true);
    g.SetColors(1, 4, platform::clRed);
    g.SetRowHeights(4, 40);
    g.HideRow(6);  // r6 by its real index
    std::vector<TGridRect> told;
    g.OnCellsChanged = [&](TExtStringGrid*, const TGridRect& rect) { told.push_back(rect); };
    g.MoveColRow(1, 2);
    g.RemoveRowsEx(2, 2);  // r2, r3
    EXPECT_EQ(f.Column(), QStringLiteral("r1|r4|r5|r7"));
    EXPECT_EQ(g.GetColors(1, 2), platform::clRed);  // r4's record came with it
    EXPECT_EQ(g.RowHeights(2), 40);
    EXPECT_TRUE(g.GetRowSelect(3));  // r5's flag
    EXPECT_FALSE(g.GetRowSelect(5));
    EXPECT_EQ(g.Row(), 2);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].Top, 2);
    EXPECT_EQ(told[0].Bottom, 4);
    g.UnHideRowsAll();
    EXPECT_EQ(f.Column(), QStringLiteral("r1|r4|r5|r6|r7"));

    g.MoveColRow(1, 4);
    g.RemoveRowsEx(3, 3);
    EXPECT_EQ(f.Column(), QStringLiteral("r1|r4"));
    EXPECT_EQ(g.Row(), 1);  // the current row went: back to the first data row
    g.RemoveRowsEx(5, 1);   // beyond the rows: nothing
    g.RemoveRowsEx(1, 0);
    EXPECT_EQ(f.Column(), QStringLiteral("r1|r4"));
}

// Columns inserted and removed take their cells, records, widths and hidden state along; a count
// past the last column is cut, and a removal is told.
TEST(InsertAndRemoveCols, CellsRecordsWidthsAndHiddenStateTravel)
{
    TExtStringGrid g;
    g.SetColCount(5);
    g.SetRowCount(2);
    for (int c = 0; c < 5; ++c) {
        g.SetCells(c, 1, QStringLiteral("c%1").arg(c));
        g.SetColWidths(c, 50 + c);
    }
    g.SetColors(2, 1, platform::clRed);
    g.HideColumn(3);
    g.InsertCols(1, 2);
    EXPECT_EQ(g.ColCount(), 6);
    EXPECT_EQ(g.TotalColCount(), 7);
    const char* texts[] = {"c0", "", "", "c1", "c2", "c3", "c4"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(g.Cells(c, 1), QString::fromLatin1(texts[c])) << c;
    EXPECT_EQ(g.GetColors(4, 1), platform::clRed);
    EXPECT_TRUE(g.IsHiddenColumn(5));
    EXPECT_EQ(g.ColWidths(1), g.DefaultColWidth());
    EXPECT_EQ(g.ColWidths(3), 51);
    EXPECT_EQ(g.ColWidths(5), 54);  // display column 5 is real column 6, c4

    std::vector<TGridRect> told;
    g.OnCellsChanged = [&](TExtStringGrid*, const TGridRect& rect) { told.push_back(rect); };
    g.RemoveCols(4, 99);  // c2, the hidden c3 and c4
    EXPECT_EQ(g.TotalColCount(), 4);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    EXPECT_EQ(g.Cells(3, 1), QStringLiteral("c1"));
    EXPECT_EQ(g.ColWidths(3), 51);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back().Left, 4);
    g.RemoveCols(1, 2);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("c1"));
    EXPECT_EQ(g.ColWidths(1), 51);
}

}  // namespace
