#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

// A grid whose column 1 holds each row's real index, so that a moved or lost row shows.
struct TNumberedGrid : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetRowCount(10);
        for (int r = 0; r < 10; ++r) {
            g.SetCells(1, r, QString::number(r));
            g.SetRowHeights(r, 20 + r);
        }
    }
    QStringList Column1()
    {
        QStringList out;
        for (int r = 0; r < g.RowCount(); ++r)
            out << g.Cells(1, r);
        return out;
    }
    // The level kernel: the last level's rows back, one level fewer.
    void UndoLevel()
    {
        g.UnHideRowList();
        g.SetFilterLevel(g.FilterLevel() - 1);
    }
};

TEST(HiddenColumns, MappingBothWays)
{
    TExtStringGrid g;
    EXPECT_EQ(g.RealColIndex(1000), 1000);
    EXPECT_EQ(g.DisplColIndex(1000), 1000);
    g.SetCells(2, 1, QStringLiteral("hidden text"));
    g.SetColWidths(2, 77);
    g.SetColWidths(3, 33);
    g.HideColumn(2);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.NumHiddenColumns(), 1);
    EXPECT_EQ(g.TotalColCount(), 5);
    const int realOf[] = {0, 1, 3, 4, 5};
    for (int d = 0; d < 5; ++d)
        EXPECT_EQ(g.RealColIndex(d), realOf[d]) << d;
    const int displOf[] = {0, 1, 2, 2, 3};
    for (int a = 0; a < 5; ++a)
        EXPECT_EQ(g.DisplColIndex(a), displOf[a]) << a;
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("hidden text"));
    EXPECT_EQ(g.ColWidths(2), 33);
    EXPECT_FALSE(g.IsHiddenColumn(600));
    g.UnHideColumn(2);
    EXPECT_EQ(g.ColWidths(2), 77);
    EXPECT_EQ(g.ColWidths(3), 33);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
}

TEST(HiddenColumns, LastShownColumnStaysAndCurrentColumnMovesLeft)
{
    TExtStringGrid g;
    g.SetColCount(1);
    g.HideColumn(0);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.NumHiddenColumns(), 0);

    TExtStringGrid h;
    h.SetCol(4);
    h.HideColumn(4);
    EXPECT_EQ(h.Col(), 3);
    h.HideColumns(0, 10);  // hides what it can, never the last shown
    EXPECT_EQ(h.ColCount(), 1);
    h.UnHideColumnsAll();
    EXPECT_EQ(h.ColCount(), 5);
}

TEST(RowMapping, TwoHiddenRows)
{
    TExtStringGrid g;
    g.SetRowCount(6);
    EXPECT_EQ(g.DisplToRealRow(-1), -1);
    EXPECT_EQ(g.RealToDisplRow(-1), -1);
    g.HideRows(2, 3);
    const int realOf[] = {0, 1, 4, 5};
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(g.DisplToRealRow(d), realOf[d]);
    EXPECT_EQ(g.RealToDisplRow(4), 2);
    EXPECT_EQ(g.RealToDisplRow(2), 2);
}

TEST_F(TNumberedGrid, HideRowsSkipsHiddenRowsAndUnhideShowsTheWholeRange)
{
    g.HideRow(6);
    g.HideRows(5, 7);
    EXPECT_EQ(g.NumHiddenRows(), 3);
    EXPECT_EQ(g.RowCount(), 7);
    for (int r : {5, 6, 7})
        EXPECT_EQ(g.GetCellsEx(1, r), QString::number(r));
    EXPECT_EQ(g.HiddenRowItem(5)->Height, 25);
    EXPECT_EQ(g.HiddenRowItem(7)->Height, 27);

    g.UnHideRow(5);
    g.UnHideRows(5, 7);  // row 5 is shown: rows 6 and 7 still come back
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(Column1(), QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g.RowHeights(r), 20 + r);
}

TEST_F(TNumberedGrid, HideRowsExRecordsHeightsAndSkipsHiddenRows)
{
    g.HideRow(4);
    g.HideRowsEx(3, 5);
    EXPECT_EQ(g.NumHiddenRows(), 3);
    EXPECT_EQ(g.HiddenRowItem(3)->Height, 23);
    g.UnHideRowsAll();
    EXPECT_EQ(Column1().join(','), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
    EXPECT_EQ(g.RowHeights(5), 25);
}

TEST_F(TNumberedGrid, HiddenRowsKeepRecordsAndRealAccess)
{
    g.SetColors(2, 4, 0xFF);
    g.AddCheckBox(3, 4, true, false);
    g.HideRow(4);
    EXPECT_TRUE(g.IsChecked(3, 4));
    EXPECT_TRUE(g.SetCheckBoxState(3, 4, false));
    g.SetCellsEx(2, 4, QStringLiteral("set while hidden"));
    EXPECT_EQ(g.GetAllInts(1, 4), 4);
    g.UnHideRow(4);
    EXPECT_EQ(g.Cells(2, 4), QStringLiteral("set while hidden"));
    EXPECT_EQ(g.GetColors(2, 4), 0xFFu);
    EXPECT_FALSE(g.IsChecked(3, 4));
}

TEST_F(TNumberedGrid, FilterLevelsStackAndUndoInOrder)
{
    g.HideRowList({2, 4});
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.FilterLevel(), 1);
    g.HideRowList({1, 5});  // display rows of the first level's grid: real 1 and 7
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(Column1().join(','), QStringLiteral("0,3,5,6,8,9"));
    UndoLevel();
    EXPECT_EQ(Column1().join(','), QStringLiteral("0,1,3,5,6,7,8,9"));
    UndoLevel();
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(Column1().join(','), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
    EXPECT_EQ(g.RowHeights(4), 24);
}

TEST_F(TNumberedGrid, UndoingTheLastFilterKeepsSingleHiddenRows)
{
    g.HideRow(8);
    g.HideRowList({2});
    UndoLevel();
    EXPECT_EQ(g.NumHiddenRows(), 1);
    EXPECT_TRUE(g.IsHiddenRow(8));
    g.UnHideRow(8);
    EXPECT_EQ(Column1().join(','), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
}

TEST_F(TNumberedGrid, MappingMatchesAWalkOverRandomHiddenSets)
{
    uint32_t seed = 7;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    g.SetRowCount(200);
    for (int round = 0; round < 20; ++round) {
        const int r = int(next() % 200);
        if (g.IsHiddenRow(r))
            g.UnHideRow(r);
        else if (r < g.TotalRowCount())
            g.HideRow(r);
        int shown = 0;
        for (int real = 0; real < g.TotalRowCount(); ++real) {
            if (g.IsHiddenRow(real))
                continue;
            ASSERT_EQ(g.DisplToRealRow(shown), real);
            ASSERT_EQ(g.RealToDisplRow(real), shown);
            ++shown;
        }
        ASSERT_EQ(shown, g.RowCount());
    }
}

TEST(HiddenSelection, HideAndRestore)
{
    TExtStringGrid g;
    g.SelectRange(1, 3, 2, 4);
    g.HideSelection();
    EXPECT_EQ(g.Selection(), (TGridRect{5, 10, 5, 10}));
    g.UnHideSelection();
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 3, 4}));
}

}  // namespace
