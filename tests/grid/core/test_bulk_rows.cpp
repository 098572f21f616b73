#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

// Ten rows whose column 1 holds each row's original index and whose heights tell them apart.
class BulkRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(10);
        for (int r = 0; r < 10; ++r) {
            g.SetCells(1, r, QString::number(r));
            g.SetRowHeights(r, 20 + r);
        }
    }
    QString Column1()
    {
        QStringList out;
        for (int r = 0; r < g.RowCount(); ++r)
            out << g.Cells(1, r);
        return out.join(QLatin1Char(' '));
    }
    TExtStringGrid g;
};

TEST_F(BulkRows, ClearingRowsReachesHiddenColumnsUnlessTheyAreSaved)
{
    g.SetCells(2, 3, "hidden");
    g.HideColumn(2);
    g.ClearRows(3, 1);
    EXPECT_EQ(g.GetGridCell(2, 3), "");
    EXPECT_EQ(g.GetGridCell(1, 3), "");

    g.SetCells(2, 4, "kept");
    g.SaveHiddenCells = true;
    g.ClearRows(4, 1);
    EXPECT_EQ(g.GetGridCell(2, 4), "kept");
    EXPECT_EQ(g.GetGridCell(1, 4), "");
}

TEST_F(BulkRows, ClearingTextOnlyKeepsTheCheckBoxAndTheRecord)
{
    g.AddCheckBox(2, 5, true, false);
    g.SetCells(2, 5, "text");
    g.ClearTextOnly = true;
    g.ClearRows(5, 1);
    EXPECT_EQ(g.GetGridCell(2, 5), "");
    EXPECT_TRUE(g.HasCheckBox(2, 5));
    g.ClearTextOnly = false;
    g.ClearRows(5, 1);
    EXPECT_FALSE(g.HasCheckBox(2, 5));
    EXPECT_FALSE(g.HasCellProperties(2, 5));
}

TEST_F(BulkRows, ClearingTellsTheChangedCellsOnceAndGuardsEmptyCounts)
{
    std::vector<TGridRect> told;
    g.OnCellsChanged = [&](TExtStringGrid*, const TGridRect& r) { told.push_back(r); };
    g.ClearRows(2, 0);
    g.ClearCols(1, -1);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(Column1(), "0 1 2 3 4 5 6 7 8 9");
    g.ClearCols(1, 1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], (TGridRect{1, 0, 1, 9}));
    EXPECT_EQ(Column1(), "         ");
}

TEST_F(BulkRows, ClearClearsEverythingAndClearAllAlsoHiddenRows)
{
    g.IncrementalSearchText = "ab";
    g.HideRow(4);
    g.Clear();
    EXPECT_EQ(Column1(), "        ");
    EXPECT_EQ(g.IncrementalSearchText, "");
    EXPECT_EQ(g.GetCellsEx(1, 4), "4");  // the hidden row keeps its text
    g.ClearAll();
    EXPECT_EQ(g.GetCellsEx(1, 4), "");
}

TEST_F(BulkRows, OnlyAClearOfTheWholeGridForgetsThatCellsHadRecords)
{
    g.SetColors(2, 2, 0x0000FF);
    g.ClearRect(1, 0, 3, 9);
    EXPECT_TRUE(g.HasCellPropsEver());
    g.SetColors(2, 2, 0x0000FF);
    g.ClearTextOnly = true;
    g.ClearRect(0, 0, 3, 9);
    EXPECT_TRUE(g.HasCellPropsEver());
    g.ClearTextOnly = false;
    g.ClearRect(0, 0, 3, 9);
    EXPECT_FALSE(g.HasCellPropsEver());
}

TEST_F(BulkRows, ClearSelectionFollowsTheSelectionInForce)
{
    g.SetSelection({1, 2, 1, 3});
    g.ClearSelection();
    EXPECT_EQ(Column1(), "0 1   4 5 6 7 8 9");

    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(5, true);
    g.SetRowSelect(7, true);
    g.ClearSelection();
    EXPECT_EQ(Column1(), "0 1   4  6  8 9");
}

TEST_F(BulkRows, ARowListGoesInOnePassWithHeightsAndCurrentRow)
{
    g.SetRow(8);
    g.DeleteRowList({6, 2, 2, 4, 42}, false);
    EXPECT_EQ(Column1(), "0 1 3 5 7 8 9");
    EXPECT_EQ(g.RowHeights(2), 23);
    EXPECT_EQ(g.RowHeights(6), 29);
    EXPECT_EQ(g.Row(), 6);  // the current row lay past the new end: the last row
}

TEST_F(BulkRows, HiddenRowsBelowMoveUpByTheRowsRemovedAboveThem)
{
    g.HideRow(7);
    g.DeleteRowList({2, 3}, false);
    ASSERT_EQ(g.NumHiddenRows(), 1);
    g.UnHideRowsAll();
    EXPECT_EQ(Column1(), "0 1 4 5 6 7 8 9");
}

TEST_F(BulkRows, AFullListRemovalClosesUpTheRowFlags)
{
    g.ShowModified.Enabled = true;
    g.SetRowModified(5, true);
    g.SetRowEnabled(6, false);
    g.DeleteRowList({1, 2}, true);
    EXPECT_TRUE(g.GetRowModified(3));
    EXPECT_FALSE(g.GetRowEnabled(4));
    EXPECT_FALSE(g.GetRowModified(5));

    // The kernel leaves the flags where they were.
    g.DeleteRowList({1}, false);
    EXPECT_TRUE(g.GetRowModified(3));
}

TEST_F(BulkRows, RemoveRowsKeepsTheCurrentRowAboveTheFooterRows)
{
    g.FixedFooters = 1;
    g.SetRow(8);
    g.RemoveRows(0, 0);
    g.RemoveRows(10, 1);
    EXPECT_EQ(g.RowCount(), 10);
    g.RemoveRows(8, 1);
    EXPECT_EQ(Column1(), "0 1 2 3 4 5 6 7 9");
    EXPECT_EQ(g.Row(), 7);
    g.RemoveRows(1, 7);
    EXPECT_EQ(Column1(), "0 9");
    EXPECT_GE(g.Selection().Top, g.RowCount());  // no data row left: the selection hides
}

TEST_F(BulkRows, InsertedRowsTakeTheDefaultHeightAndPushTheRowFlagsDown)
{
    g.ShowModified.Enabled = true;
    g.SetRowModified(3, true);
    g.SetRowModified(9, true);
    g.InsertRows(3, 2, true);
    EXPECT_EQ(Column1(), "0 1 2   3 4 5 6 7 8 9");
    EXPECT_EQ(g.RowHeights(3), g.DefaultRowHeight());
    EXPECT_EQ(g.RowHeights(5), 23);
    EXPECT_FALSE(g.GetRowModified(3));
    EXPECT_TRUE(g.GetRowModified(5));
    EXPECT_TRUE(g.GetRowModified(11));
}

TEST_F(BulkRows, RemovingEveryRowKeepsOneEmptyRow)
{
    std::vector<int> all;
    for (int r = 0; r < 10; ++r)
        all.push_back(r);
    g.DeleteRowList(all, true);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Cells(1, 0), "");
}

TEST_F(BulkRows, RemoveSelectedRowsByFlagsOrBySelection)
{
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(2, true);
    g.SetRowSelect(5, true);
    g.SetRowSelect(9, true);
    g.RemoveSelectedRows();
    EXPECT_EQ(Column1(), "0 1 3 4 6 7 8");
    EXPECT_EQ(g.RowSelectCount(), 0);

    g.MouseActions.SetDisjunctRowSelect(false);
    g.SetSelection({1, 4, 2, 2});  // top and bottom come ordered
    g.RemoveSelectedRows();
    EXPECT_EQ(Column1(), "0 1 7 8");
}

TEST_F(BulkRows, RemoveUnSelectedRowsKeepsFixedAndFlaggedRows)
{
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(3, true);
    g.SetRowSelect(6, true);
    g.RemoveUnSelectedRows();
    EXPECT_EQ(Column1(), "0 3 6");
    EXPECT_EQ(g.RowSelectCount(), 0);
}

TEST_F(BulkRows, HidingSelectedAndUnselectedRows)
{
    g.MouseActions.SetDisjunctRowSelect(true);
    for (int r : {2, 3, 7})
        g.SetRowSelect(r, true);
    g.HideSelectedRows();
    EXPECT_EQ(Column1(), "0 1 4 5 6 8 9");
    EXPECT_EQ(g.NumHiddenRows(), 3);
    g.UnHideRowsAll();
    g.HideUnSelectedRows();
    EXPECT_EQ(Column1(), "0 2 3 7");
}

TEST(BulkCols, RemovingUnselectedColumnsKeepsTheFixedOnesAndTheSelection)
{
    TExtStringGrid g;
    g.SetColCount(6);
    for (int c = 0; c < 6; ++c)
        g.SetCells(c, 1, QString::number(c));
    g.SetSelection({3, 1, 2, 1});
    g.RemoveUnSelectedCols();
    ASSERT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.Cells(0, 1) + g.Cells(1, 1) + g.Cells(2, 1), "023");

    g.SetColCount(6);
    for (int c = 0; c < 6; ++c)
        g.SetCells(c, 1, QString::number(c));
    g.MouseActions.SetDisjunctColSelect(true);
    g.SetColSelect(1, true);
    g.SetColSelect(4, true);
    g.RemoveSelectedCols();
    ASSERT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Cells(0, 1) + g.Cells(1, 1) + g.Cells(2, 1) + g.Cells(3, 1), "0235");
}

TEST(BulkRowsFooter, AddRowGoesAboveAFixedLastRowFooter)
{
    TExtStringGrid g;
    g.SetRowCount(4);
    g.SetCells(1, 3, "footer");
    g.FloatingFooter.SetVisible(true);
    g.AddRow();
    ASSERT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.Cells(1, 3), "");
    EXPECT_EQ(g.Cells(1, 4), "footer");

    g.FloatingFooter.SetVisible(false);
    g.AddRow();
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(1, 5), "");
}

TEST(BulkRowsWide, AWideCellIsMarkedAtTheStartOfItsStoredText)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "|\\0041");
    g.SetCells(2, 1, "x|\\");
    EXPECT_TRUE(g.IsWideCell(1, 1));
    EXPECT_FALSE(g.IsWideCell(2, 1));
}

}  // namespace
