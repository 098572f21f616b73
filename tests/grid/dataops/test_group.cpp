// Grouping by a column's values into node rows with optional summary rows, the calculations per
// group, and the return to the plain table.
#include <QLocale>
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "grid/dataops/GridDataOperations.h"

#include "DataOpsSuite.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// Columns: 0 row number, 1 the group value, 2 a number, 3 a note. Rows A, A, B, B, B.
struct Grouping : ::testing::Test {
    TExtStringGrid g;
    TGridGrouping* grouping = nullptr;

    void SetUp() override
    {
        g.SetLayers(DataOpsLayers());
        QLocale::setDefault(QLocale::c());
        g.SetColCount(4);
        g.SetRowCount(6);
        const char* values[] = {"B", "A", "B", "A", "B"};
        const char* numbers[] = {"3", "1", "4", "2", "5"};
        g.SetCells(1, 0, QStringLiteral("Kind"));
        for (int r = 1; r <= 5; ++r) {
            g.SetCells(0, r, QString::number(r));
            g.SetCells(1, r, QString::fromLatin1(values[r - 1]));
            g.SetCells(2, r, QString::fromLatin1(numbers[r - 1]));
            g.SetCells(3, r, QStringLiteral("n%1").arg(r));
        }
        g.SetColWidths(1, 77);
        grouping = &DataOps(g)->Grouping;
    }
    QString Column(int c)
    {
        QStringList out;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            out << g.Cells(c, r);
        return out.join('|');
    }
    // "N" node, "S" summary, "." data row, per row.
    QString Kinds()
    {
        QString out;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            out += g.IsNode(r) ? 'N' : (g.IsSummary(r) ? 'S' : '.');
        return out;
    }
};

TEST_F(Grouping, HeadersOverEachRunOfValues)
{
    g.SetGroupColumn(1);
    EXPECT_EQ(g.GroupColumn(), 1);
    EXPECT_EQ(g.ColCount(), 3);  // the grouped column went
    EXPECT_EQ(Kinds(), QStringLiteral("N..N..."));
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_EQ(g.GetNodeSpan(4), 4);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("A"));  // the header texts stand in column 1
    EXPECT_EQ(g.Cells(1, 4), QStringLiteral("B"));
    EXPECT_EQ(Column(1), QStringLiteral("A|1|2|B|3|4|5"));  // data rows sorted, their numbers now in 1
    EXPECT_EQ(g.Row(), 1);
}

TEST_F(Grouping, SummaryRowsAndCalculationsPerGroup)
{
    const struct {
        bool Summary;
        const char* Kinds;
        const char* Sums;  // column 1 (the numbers) after GroupSum
    } cases[] = {
        {true, "N..SN...S", "A|2|4|6|B|1|3|5|9"},  // A holds rows 2 and 4, B rows 1, 3 and 5
        {false, "N..N...", "6|2|4|9|1|3|5"},
    };
    for (const auto& k : cases) {
        TExtStringGrid grid;
        grid.SetLayers(DataOpsLayers());
        grid.SetColCount(4);
        grid.SetRowCount(6);
        const char* values[] = {"B", "A", "B", "A", "B"};
        for (int r = 1; r <= 5; ++r) {
            grid.SetCells(1, r, QString::fromLatin1(values[r - 1]));
            grid.SetCells(2, r, QString::number(r));
        }
        grid.FloatFormat = QStringLiteral("%g");
        grid.Grouping.Summary = k.Summary;
        grid.SetGroupColumn(1);
        QString kinds;
        for (int r = 1; r < grid.RowCount(); ++r)
            kinds += grid.IsNode(r) ? 'N' : (grid.IsSummary(r) ? 'S' : '.');
        EXPECT_EQ(kinds, QString::fromLatin1(k.Kinds)) << k.Summary;
        DataOps(grid)->Grouping.GroupSum(1);
        QStringList col;
        for (int r = 1; r < grid.RowCount(); ++r)
            col << grid.Cells(1, r);
        EXPECT_EQ(col.join('|'), QString::fromLatin1(k.Sums)) << k.Summary;
    }
}

TEST_F(Grouping, CountsOnlyExpandedGroups)
{
    g.SetGroupColumn(1);
    g.SetCells(2, 4, QStringLiteral("old"));
    g.ContractNode(g.DisplToRealRow(4));
    grouping->GroupCount(2);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("2"));
    EXPECT_EQ(g.Cells(2, 4), QStringLiteral("old"));
}

TEST_F(Grouping, UnGroupRestoresTheTable)
{
    for (bool summary : {false, true}) {
        SetUp();
        g.Grouping.Summary = summary;
        g.SetGroupColumn(1);
        g.SetGroupColumn(-1);
        EXPECT_EQ(g.GroupColumn(), -1) << summary;
        EXPECT_EQ(g.ColCount(), 4) << summary;
        EXPECT_EQ(g.RowCount(), 6) << summary;
        EXPECT_EQ(g.NumNodes(), 0) << summary;
        EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Kind")) << summary;
        EXPECT_EQ(g.ColWidths(1), 77) << summary;
        EXPECT_EQ(Column(1), QStringLiteral("A|A|B|B|B")) << summary;
        EXPECT_EQ(Column(2), QStringLiteral("1|2|3|4|5")) << summary;
        EXPECT_EQ(Kinds(), QStringLiteral(".....")) << summary;
    }
}

TEST_F(Grouping, GroupingAgainUngroupsFirst)
{
    g.SetGroupColumn(1);
    g.SetGroupColumn(2);  // column 2 of the grouped table: the old numbers, each its own group
    EXPECT_EQ(g.GroupColumn(), 2);
    EXPECT_EQ(g.NumNodes(), 5);
    EXPECT_EQ(g.ColCount(), 3);
}

TEST_F(Grouping, WhatDoesNothing)
{
    g.SetGroupColumn(0);  // neither -1 nor above 0
    EXPECT_EQ(g.GroupColumn(), -1);
    grouping->Group(0);   // a fixed column
    EXPECT_EQ(g.NumNodes(), 0);
    g.SetGroupColumn(-1);  // not grouped
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.RowCount(), 6);

}

// A row hidden while the table is grouped and ungrouped keeps its key and its place among its
// neighbours, whether it was hidden by request or by a filter level, with or without summaries.
TEST_F(Grouping, HiddenRowsKeepTheirKeysAndPlaces)
{
    for (bool summary : {false, true})
        for (bool byFilter : {false, true}) {
            SetUp();
            g.Grouping.Summary = summary;
            TGridFilter& filter = DataOps(g)->Filtering;
            // Row n5 (B, 5) is the last after the sort, so its place is the same before and after.
            if (byFilter) {
                filter.OnCustomFilter = [](TExtStringGrid* grid, int r, bool& accept) {
                    accept = grid->Cells(3, r) != QStringLiteral("n5");
                };
                filter.ApplyFilter();
            } else {
                g.HideRow(5);
            }
            ASSERT_EQ(g.NumHiddenRows(), 1);
            g.SetGroupColumn(1);
            EXPECT_EQ(Kinds(), QLatin1String(summary ? "N..SN..S" : "N..N..")) << summary << byFilter;
            g.SetGroupColumn(-1);
            EXPECT_EQ(Column(1), QStringLiteral("A|A|B|B")) << summary << byFilter;
            if (byFilter)
                filter.RemoveLastFilter();
            else
                g.UnHideRowsAll();
            EXPECT_EQ(g.NumHiddenRows(), 0);
            EXPECT_EQ(Column(3), QStringLiteral("n2|n4|n1|n3|n5")) << summary << byFilter;
            EXPECT_EQ(Column(1), QStringLiteral("A|A|B|B|B")) << summary << byFilter;
            EXPECT_EQ(Column(2), QStringLiteral("1|2|3|4|5")) << summary << byFilter;
        }
}

// A narrow-down that hides every data row leaves the header row alone: grouping then finds no
// data row, and the table comes back whole.
TEST_F(Grouping, TheKeptHeaderRowIsNeverData)
{
    TGridFilter& filter = DataOps(g)->Filtering;
    filter.NarrowDown(QStringLiteral("zzz"), 1);
    ASSERT_EQ(g.RowCount(), 1);
    g.SetGroupColumn(1);
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.NumNodes(), 0);
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Kind"));
    filter.NarrowDown(QString(), 1);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Kind"));
    EXPECT_EQ(Column(1), QStringLiteral("B|A|B|A|B"));
    EXPECT_EQ(Column(3), QStringLiteral("n1|n2|n3|n4|n5"));
}

// Sub-groups inside the groups by the number column: a header per run of equal numbers, nested in
// its group (the group spans grow, a contracted group hides its sub-groups), and back again.
TEST_F(Grouping, SubGroupsNestInsideGroupsAndComeOutAgain)
{
    const char* numbers[] = {"7", "5", "7", "5", "8"};
    for (int r = 1; r <= 5; ++r)
        g.SetCells(2, r, QString::fromLatin1(numbers[r - 1]));
    g.SetGroupColumn(1);
    ASSERT_EQ(Kinds(), QStringLiteral("N..N..."));
    ASSERT_EQ(Column(1), QStringLiteral("A|5|5|B|7|7|8"));

    grouping->SubGroup(1);
    EXPECT_EQ(Kinds(), QStringLiteral("NN..NN..N."));
    EXPECT_EQ(Column(2), QStringLiteral("|5|n2|n4||7|n1|n3|8|n5"));
    EXPECT_EQ(Column(1), QStringLiteral("A|||5|B|||7||"));  // each run's first value is emptied
    const struct {
        int Row, Span, Level, Parent;  // Parent -1: a top node
    } nodes[] = {{1, 4, 1, -1}, {2, 3, 2, 1}, {5, 6, 1, -1}, {6, 3, 2, 5}, {9, 2, 2, 5}};
    for (const auto& n : nodes) {
        EXPECT_EQ(g.GetNodeSpan(n.Row), n.Span) << n.Row;
        EXPECT_EQ(g.GetNodeLevel(n.Row), n.Level) << n.Row;
        if (n.Parent >= 0)
            EXPECT_EQ(g.GetParentRow(n.Row), n.Parent) << n.Row;
    }
    g.ContractNode(g.DisplToRealRow(5));
    EXPECT_EQ(g.RowCount(), 6);  // the fixed row and group A; B's five rows are folded away
    g.ExpandNode(g.DisplToRealRow(5));

    grouping->SubUnGroup(1);
    EXPECT_EQ(Kinds(), QStringLiteral("N..N..."));
    EXPECT_EQ(Column(1), QStringLiteral("A|5|5|B|7|7|8"));
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_EQ(g.GetNodeSpan(4), 4);
    grouping->SubUnGroup(1);  // nothing of that column is left
    EXPECT_EQ(Column(1), QStringLiteral("A|5|5|B|7|7|8"));
    g.SetGroupColumn(-1);
    EXPECT_EQ(Column(1), QStringLiteral("A|A|B|B|B"));
}

// With Summary a sub-grouping of a grid grouped without summaries ends in one summary row; rows
// outside every sub-group keep their values when the sub-groups go.
TEST_F(Grouping, SubGroupSummaryAndRowsOutsideSubGroups)
{
    g.Grouping.Summary = true;
    grouping->SubGroup(1);  // the walk starts below the first data row
    EXPECT_EQ(Kinds(), QStringLiteral(".N.N.N.N.S"));
    EXPECT_EQ(Column(2), QStringLiteral("3|A|1|B|4|A|2|B|5|"));
    grouping->SubUnGroup(1);
    EXPECT_EQ(Kinds(), QStringLiteral(".....S"));
    EXPECT_EQ(Column(1), QStringLiteral("B|A|B|A|B|"));
}

// The column grid keeps its column collection in step when a column goes and comes back.
TEST_F(Grouping, ColumnGridKeepsItsColumns)
{
    TExtColumnGrid cg;
    cg.SetLayers(DataOpsLayers());
    cg.SetColCount(4);
    cg.SetRowCount(4);
    for (int r = 1; r <= 3; ++r)
        cg.SetCells(2, r, r == 2 ? QStringLiteral("x") : QStringLiteral("y"));
    cg.Columns()[2]->SetHeader(QStringLiteral("Group"));
    cg.SetGroupColumn(2);
    EXPECT_EQ(cg.Columns().Count(), 3);
    cg.SetGroupColumn(-1);
    EXPECT_EQ(cg.Columns().Count(), 4);
    EXPECT_EQ(cg.Cells(2, 0), QStringLiteral("Group"));
}

}  // namespace
