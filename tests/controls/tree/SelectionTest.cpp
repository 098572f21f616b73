// Selection and focus: the sorted selection array with deferred removal, batch inserts with their
// constraints, ranges, toggling, inversion, the always-selected rule and focus moves.
#include "TreeFixture.h"

#include <QApplication>

using namespace treetest;

namespace {

class SelTree : public NumberedTree {
public:
    using TBaseNodeTree::AddToSelection;
    using TBaseNodeTree::ClearSelection;
    using TBaseNodeTree::InternalRemoveFromSelection;
    using TBaseNodeTree::RemoveFromSelection;
    using TBaseNodeTree::SelectNodes;
    using TBaseNodeTree::ToggleSelection;
    using TBaseNodeTree::UnselectNodes;

    SelTree()
    {
        OnAddToSelection = [this](TBaseNodeTree*, PTreeNode n) { Added.push_back(n); };
        OnRemoveFromSelection = [this](TBaseNodeTree*, PTreeNode n) { Removed.push_back(n); };
        OnChange = [this](TBaseNodeTree*, PTreeNode) { ++Changes; };
        OnFocusChanged = [this](TBaseNodeTree*, PTreeNode n, TColumnIndex) { FocusEvents.push_back(n); };
    }
    void SetSelOptions(TTVSelectionOptions o) { TreeOptions().SetSelectionOptions(o); }
    std::vector<PTreeNode> Selected()
    {
        std::vector<PTreeNode> r;
        for (PTreeNode n = GetFirstSelected(); n; n = GetNextSelected(n))
            r.push_back(n);
        return r;
    }
    void ResetLog()
    {
        Added.clear();
        Removed.clear();
        FocusEvents.clear();
        Changes = 0;
    }
    std::vector<PTreeNode> Added, Removed, FocusEvents;
    int Changes = 0;
};

// Three top-level nodes with three children each, all expanded: rows p0 a0 a1 a2 p1 b0 ...
struct Grid3 {
    explicit Grid3(SelTree& t)
    {
        for (int i = 0; i < 3; ++i) {
            parents.push_back(t.AddChild(nullptr));
            kids.push_back(AddChildren(t, parents.back(), 3));
        }
        t.FullExpand();
        rows = AllNodes(t);
    }
    std::vector<PTreeNode> parents;
    std::vector<std::vector<PTreeNode>> kids;
    std::vector<PTreeNode> rows;
};

class SelectionTest : public ::testing::Test {
protected:
    SelTree t;
};

TEST_F(SelectionTest, BatchesMergeIntoOneSortedArrayAndRefuseIneligibleNodes)
{
    t.SetSelOptions(toMultiSelect);
    auto n = AddChildren(t, nullptr, 8);
    t.SetDisabled(n[6], true);
    TNodeArray first{n[4], n[0], n[2]};
    t.AddToSelection(first, 3, false);
    // Already selected, disabled, twice in one batch, and new ones.
    TNodeArray second{n[3], n[2], n[6], n[1], n[3], n[7]};
    t.ResetLog();
    t.AddToSelection(second, 6, false);
    EXPECT_EQ(t.SelectedCount(), 6u);
    EXPECT_EQ(t.Added, (std::vector<PTreeNode>{n[3], n[1], n[7]}));
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[0], n[1], n[2], n[3], n[4], n[7]}));
    EXPECT_EQ(t.Changes, 1);
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, PackingAnswersMinusOneForEmptyAndTheKeptCountOtherwise)
{
    TNodeArray empty;
    EXPECT_EQ(TBaseNodeTree::CompactNodeArray(empty, 0), -1);
    auto n = AddChildren(t, nullptr, 3);
    TNodeArray plain{n[0], n[1], n[2]};
    EXPECT_EQ(TBaseNodeTree::CompactNodeArray(plain, 3), 3);
    EXPECT_EQ(plain, (TNodeArray{n[0], n[1], n[2]}));
}

TEST_F(SelectionTest, RemovalsInsideAnUpdateArePackedWhenItEnds)
{
    t.SetSelOptions(toMultiSelect);
    auto n = AddChildren(t, nullptr, 6);
    TNodeArray all(n.begin(), n.end());
    t.AddToSelection(all, 6, false);
    t.BeginUpdate();
    t.InternalRemoveFromSelection(n[1]);
    t.DeleteNode(n[3]);
    t.InternalRemoveFromSelection(n[5]);
    // Marked entries still count until the array is packed.
    EXPECT_EQ(t.SelectedCount(), 6u);
    EXPECT_TREE_VALID(t);
    t.EndUpdate();
    EXPECT_EQ(t.SelectedCount(), 3u);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[0], n[2], n[4]}));
    EXPECT_TREE_VALID(t);
    // A node deleted outside an update leaves no mark behind.
    t.DeleteNode(n[2]);
    EXPECT_EQ(t.SelectedCount(), 2u);
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, LevelAndSiblingConstraintsHoldForTheWholeSelection)
{
    SelTree& tree = t;
    Grid3 g(tree);
    // Level: the first node fixes the level until the selection empties.
    t.SetSelOptions(toMultiSelect | toLevelSelectConstraint);
    t.SetSelected(g.parents[0], true);
    t.SetSelected(g.kids[1][0], true);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{g.parents[0]}));
    t.SetSelected(g.parents[2], true);
    EXPECT_EQ(t.SelectedCount(), 2u);
    t.ClearSelection();
    t.SetSelected(g.kids[1][0], true);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{g.kids[1][0]}));

    // Sibling: a range across two parents keeps the focused node's siblings only.
    t.SetSelOptions(toMultiSelect | toSiblingSelectConstraint);
    t.SetFocusedNode(g.kids[0][1]);
    t.SelectNodes(g.kids[0][1], g.kids[1][1], false);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{g.kids[0][1], g.kids[0][2]}));
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, RangesSelectToggleAndUnselect)
{
    t.SetSelOptions(toMultiSelect);
    auto n = AddChildren(t, nullptr, 8);
    // Either order selects the same range; the anchor stays where it was.
    for (bool reverse : {false, true}) {
        t.ClearSelection();
        t.SetSelected(n[2], true);
        ASSERT_EQ(t.RangeAnchor(), n[2]);
        t.SelectNodes(reverse ? n[5] : n[2], reverse ? n[2] : n[5], false);
        EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[2], n[3], n[4], n[5]})) << reverse;
        EXPECT_EQ(t.RangeAnchor(), n[2]);
    }
    // Toggling with start = end changes nothing.
    t.ResetLog();
    t.ToggleSelection(n[3], n[3]);
    EXPECT_EQ(t.SelectedCount(), 4u);
    EXPECT_EQ(t.Changes, 0);
    // Anchor inside the range: it stays selected, everything else flips.
    t.ToggleSelection(n[0], n[6]);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[0], n[1], n[2], n[6]}));
    EXPECT_TREE_VALID(t);
    t.UnselectNodes(n[1], n[1]);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[0], n[2], n[6]}));
    t.UnselectNodes(n[7], n[0]);
    EXPECT_EQ(t.SelectedCount(), 0u);
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, InvertingFlipsEveryNodeWithOneChange)
{
    t.SetSelOptions(toMultiSelect | toAlwaysSelectNode);
    SelTree& tree = t;
    Grid3 g(tree);
    t.SetExpanded(g.parents[2], false);
    t.ResetLog();
    t.InvertSelection(true);
    EXPECT_EQ(t.SelectedCount(), 9u);  // the hidden children of the collapsed parent stay out
    EXPECT_EQ(t.Changes, 1);
    t.InvertSelection(false);
    EXPECT_EQ(t.Selected(), g.kids[2]);
    // Emptying the selection one by one remembers a successor; inverting to nothing forgets it.
    t.SetSelected(g.kids[2][0], false);
    t.SetSelected(g.kids[2][1], false);
    EXPECT_EQ(t.NextNodeToSelect(), g.kids[2][2]);
    t.SelectAll(false);
    t.ResetLog();
    t.InvertSelection(false);
    EXPECT_EQ(t.SelectedCount(), 0u);
    EXPECT_EQ(t.NextNodeToSelect(), nullptr);
    EXPECT_EQ(t.Changes, 1);
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, WholeTreeOperationsNeedMultiSelectAndAnUnlockedSelection)
{
    auto n = AddChildren(t, nullptr, 4);
    t.SelectAll(false);
    t.InvertSelection(false);
    EXPECT_EQ(t.SelectedCount(), 0u);

    t.SetSelOptions(toMultiSelect);
    t.SetSelectionLocked(true);
    t.SetSelected(n[0], true);
    t.SelectAll(false);
    t.InvertSelection(false);
    EXPECT_EQ(t.SelectedCount(), 0u);
    // Loading hands its batch to the array form, which a lock does not stop.
    TNodeArray batch{n[1], n[2]};
    t.AddToSelection(batch, 2, false);
    EXPECT_EQ(t.SelectedCount(), 2u);
    t.ClearSelection();
    EXPECT_EQ(t.SelectedCount(), 2u);
    t.SetSelectionLocked(false);
    t.ClearSelection();
    EXPECT_EQ(t.SelectedCount(), 0u);
}

TEST_F(SelectionTest, SingleSelectionReplacesTheOldNodeAndFocusesTheNewOne)
{
    auto n = AddChildren(t, nullptr, 3);
    t.SetSelected(n[0], true);
    t.ResetLog();
    t.SetSelected(n[2], true);
    EXPECT_EQ(t.Removed, (std::vector<PTreeNode>{n[0]}));
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{n[2]}));
    EXPECT_EQ(t.FocusedNode(), n[2]);
    EXPECT_EQ(t.FocusEvents, (std::vector<PTreeNode>{n[2]}));
}

// Which node is remembered when the last selected one leaves: next sibling, else previous
// sibling, else the parent (below the top level), else the first child.
TEST_F(SelectionTest, TheAlwaysSelectedRuleRemembersASuccessor)
{
    t.SetSelOptions(toAlwaysSelectNode);
    PTreeNode p = t.AddChild(nullptr);
    auto kids = AddChildren(t, p, 2);
    PTreeNode only = t.AddChild(kids[1]);
    PTreeNode single = t.AddChild(nullptr);
    t.FullExpand();
    struct Case {
        PTreeNode removed, expected;
    };
    const Case cases[] = {
        {kids[0], kids[1]}, {kids[1], kids[0]}, {only, kids[1]}, {single, p}, {p, single},
    };
    for (const Case& c : cases) {
        t.SetSelected(c.removed, true);
        t.RemoveFromSelection(c.removed);
        EXPECT_EQ(t.NextNodeToSelect(), c.expected) << t.Number(c.removed);
    }
    // The repair selects the remembered node.
    t.EnsureNodeSelected();
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{single}));
    EXPECT_EQ(t.FocusedNode(), single);

    // A first child is the successor of a lone top-level node.
    SelTree lone;
    lone.SetSelOptions(toAlwaysSelectNode);
    PTreeNode top = lone.AddChild(nullptr);
    PTreeNode child = lone.AddChild(top);
    lone.SetSelected(top, true);
    lone.RemoveFromSelection(top);
    EXPECT_EQ(lone.NextNodeToSelect(), child);
}

TEST_F(SelectionTest, CollapsingMovesTheAlwaysSelectedNodeToTheParent)
{
    t.SetSelOptions(toAlwaysSelectNode);
    SelTree& tree = t;
    Grid3 g(tree);
    PTreeNode deep = t.AddChild(g.kids[1][1]);
    t.FullExpand();
    t.SetSelected(deep, true);
    t.SetExpanded(g.parents[1], false);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{g.parents[1]}));
    EXPECT_TREE_VALID(t);
}

TEST_F(SelectionTest, FocusMovesOnlyWhereTheHandlerAllows)
{
    auto n = AddChildren(t, nullptr, 3);
    t.SetFocusedNode(n[0]);
    t.OnFocusChanging = [&](TBaseNodeTree*, PTreeNode, PTreeNode newNode, TColumnIndex, TColumnIndex, bool& allowed) {
        allowed = newNode != n[2];
    };
    t.ResetLog();
    t.SetFocusedNode(n[2]);
    EXPECT_EQ(t.FocusedNode(), n[0]);
    EXPECT_TRUE(t.FocusEvents.empty());
    t.SetFocusedNode(n[1]);
    EXPECT_EQ(t.FocusedNode(), n[1]);
    EXPECT_EQ(t.FocusEvents, (std::vector<PTreeNode>{n[1]}));
    // The hidden root is no node to focus.
    t.ResetLog();
    t.SetFocusedNode(t.RootNode());
    EXPECT_EQ(t.FocusedNode(), nullptr);
    EXPECT_TRUE(t.FocusEvents.empty());
}

TEST_F(SelectionTest, NodeOrderFollowsTheDisplayOrder)
{
    SelTree& tree = t;
    Grid3 g(tree);
    for (size_t i = 0; i < g.rows.size(); ++i)
        for (size_t j = 0; j < g.rows.size(); ++j) {
            const int order = t.CompareNodeOrder(g.rows[i], g.rows[j], false);
            EXPECT_EQ(order < 0, i < j) << i << " " << j;
            EXPECT_EQ(order == 0, i == j) << i << " " << j;
        }
    EXPECT_THROW(t.CompareNodeOrder(nullptr, g.rows[0], false), EAssertionFailed);
}

TEST_F(SelectionTest, LargeBatchesStayConsistent)
{
    t.SetSelOptions(toMultiSelect);
    t.SetRootNodeCount(20000);
    t.SelectAll(false);
    EXPECT_EQ(t.SelectedCount(), 20000u);
    t.InvertSelection(false);
    EXPECT_EQ(t.SelectedCount(), 0u);
    auto rows = AllNodes(t);
    // Every third node, in a scrambled batch order.
    TNodeArray batch;
    for (size_t i = rows.size(); i-- > 0;)
        if (i % 3 == 0)
            batch.push_back(rows[i]);
    t.AddToSelection(batch, int(batch.size()), false);
    t.InvertSelection(false);
    EXPECT_EQ(t.SelectedCount(), 20000u - 6667u);
    EXPECT_TREE_VALID(t);
}

}  // namespace
