#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

struct TNodes : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        for (int r = 0; r < g.RowCount(); ++r)
            g.SetCells(1, r, QString::number(r));
    }
    QString Shown()
    {
        QStringList out;
        for (int r = 0; r < g.RowCount(); ++r)
            out << g.Cells(1, r);
        return out.join(',');
    }
};

TEST_F(TNodes, AddedNodeCoversItsSpan)
{
    g.SetCol(0);
    g.AddNode(1, 3);
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    for (int r : {1, 2, 3})
        EXPECT_EQ(g.GetCellProperties(0, r)->NodeLevel, 1);
    EXPECT_FALSE(g.HasCellProperties(0, 4));
    EXPECT_EQ(g.NumNodes(), 1);
    EXPECT_EQ(g.GetParentRow(2), 1);
    EXPECT_EQ(g.GetParentRow(4), -1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.GetNodeSpanType(1), 0);
    EXPECT_EQ(g.GetNodeSpanType(2), 2);
    EXPECT_EQ(g.GetNodeSpanType(g.RowCount() - 1), 1);
}

TEST_F(TNodes, ContractHidesTheGroupAndExpandShowsIt)
{
    g.AddNode(1, 3);
    g.SetTopRow(1);
    g.SetRow(5);
    g.ContractNode(1);
    EXPECT_TRUE(g.GetNodeState(1));
    EXPECT_EQ(Shown(), QStringLiteral("0,1,4,5,6,7,8,9"));
    EXPECT_EQ(g.NumHiddenRows(), 2);
    g.ExpandNode(1);
    EXPECT_FALSE(g.GetNodeState(1));
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
}

TEST_F(TNodes, NestedNodeReadsExpandedAfterTheOuterCollapses)
{
    g.AddNode(1, 4);
    g.AddNode(2, 2);
    EXPECT_EQ(g.GetCellProperties(0, 3)->NodeLevel, 2);
    g.ContractNode(2);
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,4,5,6,7,8,9"));
    g.ContractNode(1);
    EXPECT_EQ(Shown(), QStringLiteral("0,1,5,6,7,8,9"));
    g.ExpandNode(1);
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
    EXPECT_FALSE(g.GetNodeState(2));
}

TEST_F(TNodes, ContractAllAndExpandAll)
{
    g.AddNode(1, 3);
    g.AddNode(5, 2);
    g.ContractAll();
    EXPECT_EQ(Shown(), QStringLiteral("0,1,4,5,7,8,9"));
    EXPECT_TRUE(g.GetNodeState(1));
    EXPECT_TRUE(g.GetNodeState(3));
    g.ExpandAll();
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
}

TEST_F(TNodes, ChildRowsChangeEveryEnclosingSpan)
{
    g.AddNode(1, 5);
    g.AddNode(2, 2);
    g.InsertChildRow(3, 1);
    EXPECT_EQ(g.GetNodeSpan(2), 3);
    EXPECT_EQ(g.GetSubNodeCount(2), 1);
    EXPECT_EQ(g.GetNodeSpan(1), 6);
    EXPECT_EQ(g.GetSubNodeCount(1), 1);
    EXPECT_EQ(g.RowCount(), 11);
    EXPECT_TRUE(g.Cells(1, 4).isEmpty());
    g.RemoveChildRow(4);
    EXPECT_EQ(g.GetNodeSpan(2), 2);
    EXPECT_EQ(g.GetNodeSpan(1), 5);
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
}

TEST_F(TNodes, RemovingAContractedNodeShowsItsRows)
{
    g.AddNode(1, 3);
    g.ContractNode(1);
    g.RemoveNode(1);
    EXPECT_FALSE(g.IsNode(1));
    EXPECT_EQ(g.NumNodes(), 0);
    EXPECT_EQ(Shown(), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
    EXPECT_EQ(g.GetCellProperties(0, 2)->NodeLevel, 0);
}

TEST_F(TNodes, GlyphHitTest)
{
    g.AddNode(1, 2);
    EXPECT_TRUE(g.InNodeGlyph(1, 5));
    EXPECT_FALSE(g.InNodeGlyph(1, 4));
    EXPECT_FALSE(g.InNodeGlyph(1, 16));
    g.MouseActions.PreciseNodeClick = false;
    EXPECT_TRUE(g.InNodeGlyph(1, 400));
}

}  // namespace
