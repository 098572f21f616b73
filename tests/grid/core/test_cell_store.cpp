#include <gtest/gtest.h>

#include "grid/core/BaseGrid.h"

using namespace grid;

namespace {

// A store that counts its text-change calls.
class TCountingGrid : public TBaseGrid {
public:
    TCountingGrid()
    {
        SetPlatformColCount(6);
        SetPlatformRowCount(6);
    }
    void CellTextChanged(int c, int r) override { Changed.push_back({c, r}); }
    std::vector<TPoint> Changed;
};

TEST(MergedCells, EveryCellOfAnAreaReadsAndWritesTheBase)
{
    TCountingGrid g;
    ASSERT_TRUE(g.MergeCells(1, 1, 3, 2));
    g.SetCells(3, 2, QStringLiteral("merged"));
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_EQ(g.Cells(c, r), QStringLiteral("merged"));
            EXPECT_EQ(g.CellSpan(c, r), (TPoint{2, 1}));
            EXPECT_TRUE(g.IsMergedCell(c, r));
        }
    EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("merged"));
    EXPECT_TRUE(g.GetGridCell(3, 2).isEmpty());
    EXPECT_EQ(g.CellExt(1, 1), (TPoint{2, 1}));
    EXPECT_EQ(g.CellExt(3, 2), (TPoint{0, 0}));
    EXPECT_EQ(g.FullCell(2, 2), (TGridRect{1, 1, 3, 2}));
    ASSERT_EQ(g.Changed.size(), 1u);
    EXPECT_EQ(g.Changed[0], (TPoint{1, 1}));
}

TEST(MergedCells, WritingAPlainCellSkipsTheChangeHook)
{
    TCountingGrid g;
    g.SetCells(0, 0, QStringLiteral("x"));
    EXPECT_TRUE(g.Changed.empty());
    EXPECT_FALSE(g.IsMergedCell(0, 0));
}

TEST(MergedCells, RangeAndOverlapAreChecked)
{
    TCountingGrid g;
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 2));
    struct {
        int C, R, X, Y;
    } refused[] = {{2, 2, 2, 2}, {0, 0, 2, 2}, {5, 5, 2, 1}, {-1, 0, 2, 1}, {0, 5, 1, 2}, {0, 0, 0, 1}, {0, 0, 7, 1}};
    for (const auto& m : refused) {
        EXPECT_FALSE(g.MergeCells(m.C, m.R, m.X, m.Y)) << m.C << "," << m.R;
    }
    EXPECT_EQ(g.MergeCount(), 1);
    EXPECT_EQ(g.FullCell(1, 1), (TGridRect{1, 1, 2, 2}));
    EXPECT_FALSE(g.HasCellProperties(0, 0));  // a refused merge created nothing
}

TEST(MergedCells, SplitRestoresAreaAndSplittingPlainCellChangesNothing)
{
    TCountingGrid g;
    ASSERT_TRUE(g.MergeCells(2, 2, 2, 3));
    g.SplitCells(3, 4);
    EXPECT_EQ(g.MergeCount(), 0);
    for (int c = 2; c <= 3; ++c)
        for (int r = 2; r <= 4; ++r) {
            EXPECT_TRUE(g.IsBaseCell(c, r));
            EXPECT_EQ(g.GetCellProperties(c, r)->CellSpanX, -1);
        }
    ASSERT_TRUE(g.MergeCells(0, 0, 2, 1));
    g.SplitCells(5, 5);
    EXPECT_EQ(g.MergeCount(), 1);
    EXPECT_FALSE(g.HasCellProperties(5, 5));
    EXPECT_TRUE(g.IsMergedCell(1, 0));
}

TEST(CellStore, RawAccessOutsideTheStoreIsIgnored)
{
    TCountingGrid g;
    for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {6, 0}, {0, 6}, {100000, 3}}) {
        g.SetGridCell(c, r, QStringLiteral("x"));
        g.SetCells(c, r, QStringLiteral("x"));
        EXPECT_TRUE(g.GetGridCell(c, r).isEmpty());
        EXPECT_EQ(g.GetCellProperties(c, r), nullptr);
        g.SetObjectEx(c, r, &g);
        EXPECT_EQ(g.GetObjectEx(c, r), nullptr);
        EXPECT_FALSE(g.HasCellProperties(c, r));
    }
}

TEST(CellStore, ObjectOnEmptyCellKeepsTextEmpty)
{
    TCountingGrid g;
    TObject user;
    g.SetObjectEx(2, 3, &user);
    EXPECT_EQ(g.GetObjectEx(2, 3), &user);
    EXPECT_TRUE(g.Cells(2, 3).isEmpty());
}

TEST(CellStore, TextsBeyondShrunkColumnsComeBack)
{
    TCountingGrid g;
    g.SetCells(5, 1, QStringLiteral("far"));
    g.SetPlatformColCount(3);
    g.SetPlatformColCount(6);
    EXPECT_EQ(g.Cells(5, 1), QStringLiteral("far"));
}

TEST(CellStore, DisplayHookSeesBaseCellAndWideTextRoundTrips)
{
    TCountingGrid g;
    g.NormalRowCount = g.RowCount();
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 1));
    g.SetGridCell(1, 1, QStringLiteral("v"));
    std::vector<TPoint> asked;
    g.OnGetDisplText = [&](TBaseGrid*, int c, int r, QString& v) {
        asked.push_back({c, r});
        v += QStringLiteral("!");
    };
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("v!"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (TPoint{1, 1}));
    g.OnGetDisplText = nullptr;
    g.OnGetDisplWideText = [](TBaseGrid*, int, int, QString& v) { v = v.toUpper(); };
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("|\\") + QChar(0) + QChar('V'));
}

TEST(MergedCells, ArrowKeysLeaveAnAreaByItsEdge)
{
    TCountingGrid g;
    ASSERT_TRUE(g.MergeCells(2, 2, 2, 2));
    const struct {
        int StartCol, StartRow, Key, EndCol, EndRow;
    } cases[] = {
        {3, 2, 37, 1, 2},  // Left from the right half lands left of the area
        {2, 2, 39, 4, 2},  // Right from the left half lands right of it
        {2, 3, 38, 2, 1},  // Up from the lower half
        {2, 2, 40, 2, 4},  // Down from the upper half
        {1, 2, 39, 2, 2},  // Right into the area lands on its base
        {4, 3, 37, 2, 2},  // Left into the area from its lower row lands on its base
    };
    for (const auto& c : cases) {
        g.MoveColRow(c.StartCol, c.StartRow);
        int key = c.Key;
        g.KeyDown(key);
        EXPECT_EQ(g.Col(), c.EndCol) << c.StartCol << "," << c.StartRow << " key " << c.Key;
        EXPECT_EQ(g.Row(), c.EndRow) << c.StartCol << "," << c.StartRow << " key " << c.Key;
    }
}

TEST(Geometry, CellRectsFollowScrollingAndMergedAreasSpanTheirCells)
{
    TCountingGrid g;
    g.resize(1000, 1000);
    g.SetRowHeights(2, 40);
    EXPECT_EQ(g.CellRect(1, 3), (TRect{64, 24 * 2 + 40, 128, 24 * 3 + 40}));
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 2));
    EXPECT_EQ(g.CellRect(2, 2), (TRect{64, 24, 192, 24 + 24 + 40}));
    g.SetTopRow(2);
    EXPECT_EQ(g.PlatformCellRect(1, 1), TRect{});
    EXPECT_EQ(g.CellRect(1, 3).Top, 24 + 40);
    const TGridCoord hit = g.MouseToCell(70, 24 + 41);
    EXPECT_EQ(hit, (TGridCoord{1, 3}));
    EXPECT_EQ(g.MouseToCell(5000, 5), TGridCoord{});
}

}  // namespace
