#include "TreeFixture.h"

using namespace treetest;

TEST(Expand, NoChildrenReportedLeavesTheNodeCollapsed)
{
    TBaseNodeTree t;
    PTreeNode n = t.AddChild(nullptr);
    t.SetHasChildren(n, true);
    t.OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& c) { c = 0; };
    t.ToggleNode(n);
    EXPECT_FALSE(n->Has(vsExpanded));
    EXPECT_FALSE(n->Has(vsHasChildren));
    EXPECT_THROW(t.ToggleNode(nullptr), EAssertionFailed);
    EXPECT_TREE_VALID(t);
}

TEST(Expand, AutoFreeOnCollapseAsksForChildrenAgain)
{
    TBaseNodeTree t;
    int asked = 0, freed = 0;
    t.OnInitNode = [](TBaseNodeTree*, PTreeNode parent, PTreeNode, TTreeNodeInitStates& s) {
        if (!parent)
            s |= ivsHasChildren;
    };
    t.OnInitChildren = [&](TBaseNodeTree*, PTreeNode, uint32_t& c) {
        ++asked;
        c = 3;
    };
    t.OnFreeNode = [&](TBaseNodeTree*, PTreeNode) { ++freed; };
    t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() | toAutoFreeOnCollapse);
    t.SetRootNodeCount(1);
    PTreeNode n = t.GetFirst();
    t.ToggleNode(n);
    ASSERT_EQ(t.ChildCount(n), 3u);
    t.GetFirstChild(n);  // initialised children are freed with the event
    int initialised = 0;
    for (PTreeNode c = t.GetFirstChildNoInit(n); c; c = t.GetNextSiblingNoInit(c))
        initialised += c->Has(vsInitialized) ? 1 : 0;
    ASSERT_GE(initialised, 1);
    t.ToggleNode(n);
    EXPECT_EQ(t.ChildCount(n), 0u);
    EXPECT_TRUE(n->Has(vsHasChildren));
    EXPECT_EQ(freed, initialised);
    t.ToggleNode(n);
    EXPECT_EQ(asked, 2);
    EXPECT_TREE_VALID(t);
}

TEST(Expand, FullExpandStopsWhenCancelled)
{
    TBaseNodeTree t;
    t.OnInitNode = [](TBaseNodeTree*, PTreeNode, PTreeNode, TTreeNodeInitStates& s) { s |= ivsHasChildren; };
    t.OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& c) { c = 1; };
    int expanded = 0;
    t.OnExpanded = [&](TBaseNodeTree* tree, PTreeNode) {
        if (++expanded == 50)
            tree->CancelOperation();
    };
    t.SetRootNodeCount(1);
    t.FullExpand();
    EXPECT_EQ(expanded, 50);
    EXPECT_FALSE(t.HasState(tsExpanding));
    EXPECT_EQ(t.OperationCount(), 0u);
    int stillExpanded = 0;
    for (PTreeNode n : AllNodes(t))
        stillExpanded += n->Has(vsExpanded);
    EXPECT_EQ(stillExpanded, 50);
    EXPECT_TREE_VALID(t);
    t.CancelOperation();  // outside an operation: no effect on the next one
    EXPECT_FALSE(t.OperationCanceled());
}

TEST(Expand, FullCollapseCollapsesDeepestFirst)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    PTreeNode a11 = t.AddChild(a1);
    t.AddChild(a11);
    PTreeNode b = t.AddChild(nullptr);
    t.AddChild(b);
    t.FullExpand();
    std::vector<PTreeNode> collapsed;
    t.OnCollapsed = [&](TBaseNodeTree*, PTreeNode n) { collapsed.push_back(n); };
    t.FullCollapse();
    EXPECT_EQ(collapsed, (std::vector<PTreeNode>{b, a11, a1, a}));
    EXPECT_EQ(t.VisibleCount(), 2u);
    EXPECT_TREE_VALID(t);
}

TEST(Expand, HidingAndFilteringKeepHeightsExact)
{
    TBaseNodeTree t;
    PTreeNode parent = t.AddChild(nullptr);
    std::vector<PTreeNode> c = AddChildren(t, parent, 3);
    t.AddChild(c[1]);
    t.FullExpand();
    const uint32_t full = parent->TotalHeight;
    const uint32_t hiddenPart = c[1]->TotalHeight;
    t.SetVisible(c[1], false);
    EXPECT_EQ(parent->TotalHeight, full - hiddenPart);
    t.SetVisible(c[1], true);
    EXPECT_EQ(parent->TotalHeight, full);

    t.SetFiltered(c[2], true);
    EXPECT_EQ(parent->TotalHeight, full - 18);
    EXPECT_EQ(t.VisibleCount(), 4u);
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toShowFilteredNodes);
    EXPECT_EQ(parent->TotalHeight, full);
    EXPECT_EQ(t.VisibleCount(), 5u);
    // Filtering under the option changes no height and no count.
    t.SetFiltered(c[0], true);
    EXPECT_EQ(parent->TotalHeight, full);
    EXPECT_EQ(t.VisibleCount(), 5u);
    EXPECT_TREE_VALID(t);
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() & ~toShowFilteredNodes);
    EXPECT_EQ(t.VisibleCount(), 3u);
    EXPECT_EQ(parent->TotalHeight, full - 36);
    EXPECT_TREE_VALID(t);

    EXPECT_THROW(t.SetVisible(t.RootNode(), false), EAssertionFailed);
    EXPECT_THROW(t.SetFiltered(nullptr, true), EAssertionFailed);
}

TEST(Expand, FullyVisibleOpensThePath)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode b = t.AddChild(a);
    PTreeNode c = t.AddChild(b);
    t.SetVisible(b, false);
    EXPECT_FALSE(t.GetFullyVisible(c));
    t.SetFullyVisible(c, true);
    EXPECT_TRUE(t.GetFullyVisible(c));
    EXPECT_TRUE(a->Has(vsExpanded) && b->Has(vsExpanded) && b->Has(vsVisible));
    EXPECT_EQ(t.VisibleCount(), 3u);
    EXPECT_TREE_VALID(t);
}

TEST(Expand, RefusedToggleChangesNothing)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    t.AddChild(a);
    t.OnExpanding = [](TBaseNodeTree*, PTreeNode, bool& allowed) { allowed = false; };
    t.ToggleNode(a);
    EXPECT_FALSE(a->Has(vsExpanded));
    EXPECT_EQ(t.VisibleCount(), 1u);
}

namespace {
// Compares by the number in the node's data; equal numbers stay in their order.
struct SortingTree : NumberedTree {
    SortingTree()
    {
        OnCompareNodes = [this](TBaseNodeTree*, PTreeNode a, PTreeNode b, TColumnIndex, int& r) {
            ++Comparisons;
            r = Key(a) - Key(b);
        };
    }
    int Key(PTreeNode n) { return Number(n) / 2; }
    int Comparisons = 0;
};

std::vector<int> Numbers(NumberedTree& t, PTreeNode parent)
{
    std::vector<int> result;
    for (PTreeNode c = t.GetFirstChild(parent); c; c = t.GetNextSibling(c))
        result.push_back(t.Number(c));
    return result;
}
}  // namespace

TEST(Sort, StableInBothDirections)
{
    SortingTree t;
    t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() & ~toAutoSort);
    t.SetRootNodeCount(7);
    Numbers(t, nullptr);  // numbers 0..6 in order
    t.Sort(nullptr, 0, sdDescending);
    EXPECT_EQ(Numbers(t, nullptr), (std::vector<int>{6, 4, 5, 2, 3, 0, 1}));
    t.Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(Numbers(t, nullptr), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ChildIndices(t, nullptr), (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(t.Number(t.GetLastChildNoInit(nullptr)), 6);
    EXPECT_TREE_VALID(t);
}

TEST(Sort, NothingToCompare)
{
    SortingTree t;
    t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() & ~toAutoSort);
    t.SetRootNodeCount(1);
    t.Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(t.Comparisons, 0);
    // Without a handler the order stays as it is.
    NumberedTree plain;
    plain.SetRootNodeCount(5);
    Numbers(plain, nullptr);
    plain.Sort(nullptr, 0, sdDescending);
    EXPECT_EQ(Numbers(plain, nullptr), (std::vector<int>{0, 1, 2, 3, 4}));
    // The invalid column sorts nothing.
    SortingTree u;
    u.TreeOptions().SetAutoOptions(u.TreeOptions().AutoOptions() & ~toAutoSort);
    u.SetRootNodeCount(5);
    Numbers(u, nullptr);
    u.SortTree(InvalidColumn, sdDescending);
    EXPECT_EQ(u.Comparisons, 0);
}

TEST(Sort, FailingComparisonLeavesTheChainIntact)
{
    SortingTree t;
    t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() & ~toAutoSort);
    t.SetRootNodeCount(6);
    Numbers(t, nullptr);
    t.OnCompareNodes = [](TBaseNodeTree*, PTreeNode, PTreeNode, TColumnIndex, int&) {
        throw platform::Exception("comparison failed");
    };
    EXPECT_THROW(t.Sort(nullptr, 0, sdAscending), platform::Exception);
    EXPECT_EQ(t.OperationCount(), 0u);
    EXPECT_EQ(Numbers(t, nullptr), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TREE_VALID(t);
}

TEST(Sort, AutoSortKeepsCollapsedNodesUntilExpanded)
{
    SortingTree t;
    t.Header().SortDirection = sdDescending;
    PTreeNode parent = t.AddChild(nullptr);
    t.BeginUpdate();
    for (int i = 0; i < 4; ++i)
        t.AddChild(parent);
    t.EndUpdate();
    // The bracket's end sorted the levels it may: the collapsed parent's children wait.
    EXPECT_EQ(Numbers(t, parent), (std::vector<int>{1, 2, 3, 4}));
    t.ToggleNode(parent);
    EXPECT_EQ(Numbers(t, parent), (std::vector<int>{4, 2, 3, 1}));
    EXPECT_TREE_VALID(t);
}

TEST(Sort, AutoSortWithoutComparisonStaysLinear)
{
    // With auto sort on (the default) and no comparison, adding children one by one must not
    // initialise or walk the siblings each time.
    TBaseNodeTree t;
    int inits = 0;
    t.OnInitNode = [&](TBaseNodeTree*, PTreeNode, PTreeNode, TTreeNodeInitStates&) { ++inits; };
    ASSERT_TRUE(t.TreeOptions().AutoOptions() & toAutoSort);
    ASSERT_GT(t.Header().SortColumn, InvalidColumn);
    for (int i = 0; i < 200; ++i)
        t.AddChild(nullptr);
    EXPECT_EQ(inits, 0);
    t.OnCompareNodes = [](TBaseNodeTree*, PTreeNode, PTreeNode, TColumnIndex, int& r) { r = 0; };
    t.AddChild(nullptr);
    EXPECT_EQ(inits, 201);  // a comparison sees initialised nodes
}
