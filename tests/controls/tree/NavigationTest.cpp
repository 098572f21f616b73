#include "TreeFixture.h"

#include <random>

using namespace treetest;

namespace {

// A tree of random shape with random expansion, hiding and filtering.
void BuildRandom(TBaseNodeTree& t, unsigned seed, int nodes)
{
    std::mt19937 rng(seed);
    std::vector<PTreeNode> all;
    for (int i = 0; i < nodes; ++i) {
        PTreeNode parent = all.empty() || rng() % 4 == 0 ? nullptr : all[rng() % all.size()];
        all.push_back(t.AddChild(parent));
    }
    for (PTreeNode n : all) {
        if (rng() % 3)
            t.SetExpanded(n, true);
        if (rng() % 9 == 0)
            t.SetVisible(n, false);
        if (rng() % 7 == 0)
            t.SetFiltered(n, true);
    }
}

bool Shown(const TBaseNodeTree& t, PTreeNode n) { return t.GetFullyVisible(n) && !t.IsEffectivelyFiltered(n); }

// Shown nodes in pre-order (display) or post-order (children above).
void Collect(const TBaseNodeTree& t, PTreeNode parent, bool childrenAbove, std::vector<PTreeNode>& out)
{
    for (PTreeNode c = t.GetFirstChildNoInit(parent); c; c = t.GetNextSiblingNoInit(c)) {
        if (!childrenAbove && Shown(t, c))
            out.push_back(c);
        Collect(t, c, childrenAbove, out);
        if (childrenAbove && Shown(t, c))
            out.push_back(c);
    }
}

// Every node in pre-order or post-order.
void CollectAll(const TBaseNodeTree& t, PTreeNode parent, bool childrenAbove, std::vector<PTreeNode>& out)
{
    for (PTreeNode c = t.GetFirstChildNoInit(parent); c; c = t.GetNextSiblingNoInit(c)) {
        if (!childrenAbove)
            out.push_back(c);
        CollectAll(t, c, childrenAbove, out);
        if (childrenAbove)
            out.push_back(c);
    }
}

}  // namespace

TEST(Navigation, AllNodesFamilyEnds)
{
    TBaseNodeTree t;
    t.SetRootNodeCount(2);
    PTreeNode last = t.GetLast();
    EXPECT_EQ(t.GetNext(last), nullptr);
    EXPECT_EQ(t.GetNext(nullptr), nullptr);
    EXPECT_EQ(t.GetPrevious(t.GetFirst()), nullptr);
    try {
        t.GetNext(t.RootNode());
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.message(), "Node must not be the hidden root node.");
    }
    EXPECT_THROW(t.GetNextVisibleSibling(nullptr), EAssertionFailed);
    EXPECT_THROW(t.GetVisibleParent(nullptr), EAssertionFailed);
}

TEST(Navigation, PlainFormsInitialiseOnDemandNoInitFormsDoNot)
{
    NumberedTree t;
    int inits = 0;
    auto base = t.OnInitNode;
    t.OnInitNode = [&](TBaseNodeTree* s, PTreeNode p, PTreeNode n, TTreeNodeInitStates& st) {
        base(s, p, n, st);
        ++inits;
        if (t.GetNodeLevel(n) < 2)
            st |= ivsHasChildren;
    };
    t.OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& c) { c = 3; };
    t.SetRootNodeCount(1000);
    t.GetFirst();
    EXPECT_EQ(inits, 1);

    // The NoInit walk leaves counts and states as they are.
    const uint32_t total = t.RootNode()->TotalCount;
    int walked = 0;
    for (PTreeNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
        ++walked;
    EXPECT_EQ(walked, 1000);
    EXPECT_EQ(t.RootNode()->TotalCount, total);
    EXPECT_EQ(inits, 1);

    // The plain walk creates and initialises the whole tree: 1000 x (1 + 3 + 9).
    walked = 0;
    for (PTreeNode n = t.GetFirst(); n; n = t.GetNext(n))
        ++walked;
    EXPECT_EQ(walked, 13000);
    EXPECT_EQ(inits, 13000);
    EXPECT_TREE_VALID(t);
}

TEST(Navigation, ChildrenAboveOrder)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    PTreeNode a11 = t.AddChild(a1);
    PTreeNode b = t.AddChild(nullptr);
    // Without the option the argument changes nothing.
    EXPECT_EQ(t.GetFirst(true), a);
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toChildrenAbove);
    EXPECT_EQ(t.GetFirst(true), a11);
    EXPECT_EQ(t.GetNext(a11, true), a1);
    EXPECT_EQ(t.GetNext(a1, true), a);
    EXPECT_EQ(t.GetNext(a, true), b);
    EXPECT_EQ(t.GetPrevious(a, true), a1);
    EXPECT_EQ(t.GetFirst(false), a);
}

TEST(Navigation, VisibleWalksMatchTheShownNodesBothWays)
{
    for (bool above : {false, true})
        for (bool showFiltered : {false, true})
            for (unsigned seed = 1; seed <= 6; ++seed) {
                SCOPED_TRACE(testing::Message() << "above " << above << " showFiltered " << showFiltered << " seed " << seed);
                TBaseNodeTree t;
                if (above)
                    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toChildrenAbove);
                BuildRandom(t, seed, 120);
                if (showFiltered)
                    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toShowFilteredNodes);
                std::vector<PTreeNode> expected;
                Collect(t, nullptr, above, expected);

                std::vector<PTreeNode> forward, forwardNoInit, backward, enumerated;
                for (PTreeNode n = t.GetFirstVisible(); n; n = t.GetNextVisible(n))
                    forward.push_back(n);
                for (PTreeNode n = t.GetFirstVisibleNoInit(); n; n = t.GetNextVisibleNoInit(n))
                    forwardNoInit.push_back(n);
                for (PTreeNode n = t.GetLastVisible(); n; n = t.GetPreviousVisible(n))
                    backward.push_back(n);
                for (PTreeNode n : t.VisibleNodes())
                    enumerated.push_back(n);
                std::reverse(backward.begin(), backward.end());
                EXPECT_EQ(forward, expected);
                EXPECT_EQ(forwardNoInit, expected);
                EXPECT_EQ(backward, expected);
                EXPECT_EQ(enumerated, expected);
                EXPECT_EQ(t.VisibleCount(), expected.size());
                // Each pixel row belongs to the shown node placed there, in either order.
                uint32_t y = 0;
                for (PTreeNode n : expected)
                    for (uint32_t end = y + n->NodeHeight; y < end; ++y)
                        ASSERT_EQ(t.GetNodeAt(0, int(y), false, nullptr), n) << y;
                EXPECT_EQ(t.GetNodeAt(0, int(y), false, nullptr), nullptr);
                // From any node, shown or not, the walks continue at the nearest shown node.
                std::vector<PTreeNode> order;
                CollectAll(t, nullptr, above, order);
                for (size_t i = 0; i < order.size(); ++i) {
                    PTreeNode wantNext = nullptr, wantPrevious = nullptr;
                    for (size_t j = i + 1; j < order.size() && !wantNext; ++j)
                        wantNext = Shown(t, order[j]) ? order[j] : nullptr;
                    for (size_t j = i; j-- > 0 && !wantPrevious;)
                        wantPrevious = Shown(t, order[j]) ? order[j] : nullptr;
                    EXPECT_EQ(t.GetNextVisibleNoInit(order[i]), wantNext) << i;
                    EXPECT_EQ(t.GetPreviousVisibleNoInit(order[i]), wantPrevious) << i;
                }
            }
}

TEST(Navigation, LevelsLeavesAndEnumerations)
{
    TBaseNodeTree t;
    BuildRandom(t, 42, 80);
    for (uint32_t level = 0; level < 4; ++level) {
        std::vector<PTreeNode> expected, viaNext, viaPrevious, viaRange;
        for (PTreeNode n : AllNodes(t))
            if (t.GetNodeLevel(n) == level)
                expected.push_back(n);
        for (PTreeNode n = t.GetFirstLevel(level); n; n = t.GetNextLevel(n, level))
            viaNext.push_back(n);
        for (PTreeNode n : t.LevelNodes(level))
            viaRange.push_back(n);
        if (!expected.empty())
            for (PTreeNode n = expected.back(); n; n = t.GetPreviousLevel(n, level))
                viaPrevious.insert(viaPrevious.begin(), n);
        EXPECT_EQ(viaNext, expected) << level;
        EXPECT_EQ(viaRange, expected) << level;
        EXPECT_EQ(viaPrevious, expected) << level;
    }
    std::vector<PTreeNode> leaves, expectedLeaves;
    for (PTreeNode n : AllNodes(t))
        if (!n->Has(vsHasChildren))
            expectedLeaves.push_back(n);
    for (PTreeNode n : t.LeafNodes())
        leaves.push_back(n);
    EXPECT_EQ(leaves, expectedLeaves);
    std::vector<PTreeNode> all;
    for (PTreeNode n : t.Nodes())
        all.push_back(n);
    EXPECT_EQ(all, AllNodes(t));
}

TEST(Navigation, SelectionAndCutCopyFamiliesTouchNothingWhenEmpty)
{
    NumberedTree t;
    t.SetRootNodeCount(50);
    EXPECT_EQ(t.GetFirstSelected(), nullptr);
    EXPECT_EQ(t.GetFirstCutCopy(), nullptr);
    EXPECT_EQ(t.GetFirstInitialized(), nullptr);
    EXPECT_EQ(t.Next, 0);

    t.TreeOptions().SetSelectionOptions(toMultiSelect);
    std::vector<PTreeNode> nodes = AllNodes(t);
    PTreeNode child = t.AddChild(nodes[3]);
    t.SetSelected(nodes[3], true);
    t.SetSelected(child, true);
    t.SetSelected(nodes[7], true);
    EXPECT_EQ(t.GetSortedSelection(true), (TNodeArray{nodes[3], nodes[7]}));
    EXPECT_EQ(t.GetSortedSelection(false), (TNodeArray{nodes[3], child, nodes[7]}));
    EXPECT_EQ(t.GetFirstSelected(), nodes[3]);
    EXPECT_EQ(t.GetNextSelected(nodes[3]), child);
    EXPECT_EQ(t.GetPreviousSelected(nodes[7]), child);
}

TEST(Navigation, VisibleChildrenAndSiblings)
{
    TBaseNodeTree t;
    PTreeNode parent = t.AddChild(nullptr);
    std::vector<PTreeNode> c = AddChildren(t, parent, 4);
    t.SetExpanded(parent, true);
    t.SetFiltered(c[0], true);
    t.SetVisible(c[3], false);
    EXPECT_EQ(t.GetFirstVisibleChild(parent), c[1]);
    EXPECT_EQ(t.GetFirstVisibleChild(parent, true), c[0]);
    EXPECT_EQ(t.GetLastVisibleChild(parent), c[2]);
    EXPECT_EQ(t.GetNextVisibleSibling(c[2]), nullptr);
    EXPECT_EQ(t.GetPreviousVisibleSibling(c[1]), nullptr);
    EXPECT_EQ(t.GetPreviousVisibleSibling(c[1], true), c[0]);
    EXPECT_EQ(t.GetVisibleParent(c[1]), parent);
    t.SetExpanded(parent, false);
    EXPECT_EQ(t.GetLastVisibleChild(parent), nullptr);
}

TEST(Navigation, IterateSubtreeStaysInsideTheSubtree)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    PTreeNode a2 = t.AddChild(a);
    PTreeNode a21 = t.AddChild(a2);
    t.AddChild(nullptr);
    auto visit = [&](PTreeNode node, bool childrenOnly, TTreeNodeStates filter = 0) {
        std::vector<PTreeNode> seen;
        t.IterateSubtree(node, [&](TBaseNodeTree*, PTreeNode n, void*, bool&) { seen.push_back(n); }, nullptr, filter,
                         false, childrenOnly);
        return seen;
    };
    EXPECT_EQ(visit(a, false), (std::vector<PTreeNode>{a, a1, a2, a21}));
    EXPECT_EQ(visit(a, true), (std::vector<PTreeNode>{a1, a2, a21}));
    EXPECT_EQ(visit(a1, true), std::vector<PTreeNode>{});
    t.SetExpanded(a, true);
    EXPECT_EQ(visit(a, false, vsExpanded), std::vector<PTreeNode>{a});
    PTreeNode stopped = t.IterateSubtree(
        nullptr, [&](TBaseNodeTree*, PTreeNode n, void*, bool& abort) { abort = n == a2; }, nullptr);
    EXPECT_EQ(stopped, a2);
}

TEST(Navigation, NodeAtRowsAndBeyondTheEnd)
{
    TBaseNodeTree t;
    std::vector<PTreeNode> top = AddChildren(t, nullptr, 3);
    PTreeNode child = t.AddChild(top[1]);
    t.SetNodeHeight(top[0], 30);
    t.SetExpanded(top[1], true);
    int nodeTop = -1;
    EXPECT_EQ(t.GetNodeAt(0, 0, false, &nodeTop), top[0]);
    EXPECT_EQ(nodeTop, 0);
    EXPECT_EQ(t.GetNodeAt(0, 29, false, &nodeTop), top[0]);
    EXPECT_EQ(t.GetNodeAt(0, 30, false, &nodeTop), top[1]);
    EXPECT_EQ(nodeTop, 30);
    EXPECT_EQ(t.GetNodeAt(0, 48, false, &nodeTop), child);
    EXPECT_EQ(t.GetNodeAt(0, 66, false, &nodeTop), top[2]);
    EXPECT_EQ(t.GetNodeAt(0, 84, false, &nodeTop), nullptr);
    EXPECT_EQ(t.GetNodeAt(0, -5, false, &nodeTop), top[0]);
}
