// Moving and copying nodes into another tree: the target gets the nodes with their data through
// the node stream, the source keeps its bookkeeping right, and neither tree is left inconsistent.
#include "TreeFixture.h"

#include <functional>
#include <random>

using namespace treetest;

namespace {

// Source: a(1) [a1(2), a2(3) [a21(4)]], b(5). Target: x(10) [x1(11)].
struct TwoTrees {
    DataTree Src, Dst;
    PTreeNode A, A1, A2, A21, B, X, X1;
    TwoTrees()
    {
        A = Src.AddChild(nullptr);
        A1 = Src.AddChild(A);
        A2 = Src.AddChild(A);
        A21 = Src.AddChild(A2);
        B = Src.AddChild(nullptr);
        X = Dst.AddChild(nullptr);
        X1 = Dst.AddChild(X);
        Src.ValidateNode(nullptr, true);
        Dst.ValidateNode(nullptr, true);
        uint32_t v = 1;
        for (PTreeNode n : {A, A1, A2, A21, B})
            Src.SetValue(n, v++);
        Dst.SetValue(X, 10);
        Dst.SetValue(X1, 11);
        Src.SetExpanded(A, true);
        Dst.SetExpanded(X, true);
    }
    // The values in display order, children included, collapsed or not.
    static std::vector<uint32_t> Values(DataTree& t)
    {
        std::vector<uint32_t> out;
        for (PTreeNode n : AllNodes(t))
            out.push_back(t.Value(n));
        return out;
    }
};

}  // namespace

TEST(CrossTree, MoveAndCopyPlaceNodesWithTheirData)
{
    struct Case {
        const char* name;
        bool move;
        bool childrenOnly;
        TTVNodeAttachMode mode;
        std::vector<uint32_t> src, dst;
    };
    const Case cases[] = {
        {"move before x", true, false, amInsertBefore, {5}, {1, 2, 3, 4, 10, 11}},
        {"move after x1", true, false, amInsertAfter, {5}, {10, 11, 1, 2, 3, 4}},
        {"move first child of x", true, false, amAddChildFirst, {5}, {10, 1, 2, 3, 4, 11}},
        {"move children last under x", true, true, amAddChildLast, {1, 5}, {10, 11, 2, 3, 4}},
        {"copy last child of x", false, false, amAddChildLast, {1, 2, 3, 4, 5}, {10, 11, 1, 2, 3, 4}},
        // Each copy is linked with the same mode, so first-child copies come in reverse order.
        {"copy children first under x", false, true, amAddChildFirst, {1, 2, 3, 4, 5}, {10, 3, 4, 2, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoTrees t;
        const uint32_t srcTotal = t.Src.RootNode()->TotalCount, dstTotal = t.Dst.RootNode()->TotalCount;
        const PTreeNode target = c.mode == amInsertBefore ? t.X : c.mode == amInsertAfter ? t.X1 : t.X;
        if (c.move)
            t.Src.MoveTo(t.A, target, c.mode, c.childrenOnly);
        else
            t.Src.CopyTo(t.A, target, c.mode, c.childrenOnly);
        EXPECT_EQ(TwoTrees::Values(t.Src), c.src);
        EXPECT_EQ(TwoTrees::Values(t.Dst), c.dst);
        EXPECT_EQ(t.Src.RootNode()->TotalCount, c.src.size() + 1);
        EXPECT_EQ(t.Dst.RootNode()->TotalCount, c.dst.size() + 1);
        if (c.move)
            EXPECT_EQ(srcTotal + dstTotal, t.Src.RootNode()->TotalCount + t.Dst.RootNode()->TotalCount);
        else
            EXPECT_EQ(srcTotal, t.Src.RootNode()->TotalCount);
        for (PTreeNode n : AllNodes(t.Dst))
            EXPECT_TRUE(t.Dst.OwnsNode(n));
        EXPECT_TREE_VALID(t.Src);
        EXPECT_TREE_VALID(t.Dst);
    }
}

TEST(CrossTree, TargetTreeFormAddsToItsRoot)
{
    TwoTrees t;
    t.Src.MoveTo(t.B, t.Dst, amInsertAfter, false);  // relative to a root: last child
    EXPECT_EQ(TwoTrees::Values(t.Dst), (std::vector<uint32_t>{10, 11, 5}));
    PTreeNode copy = t.Src.CopyTo(t.A2, t.Dst, amInsertBefore, false);  // first child
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy, t.Dst.GetFirstChildNoInit(nullptr));
    EXPECT_EQ(TwoTrees::Values(t.Dst), (std::vector<uint32_t>{3, 4, 10, 11, 5}));
    EXPECT_EQ(TBaseNodeTree::TreeFromNode(copy), &t.Dst);
    EXPECT_EQ(TBaseNodeTree::TreeFromNode(t.A2), &t.Src);
    EXPECT_TREE_VALID(t.Src);
    EXPECT_TREE_VALID(t.Dst);
}

TEST(CrossTree, SourceBookkeepingForgetsTheMovedNodes)
{
    TwoTrees t;
    t.Src.TreeOptions().SetSelectionOptions(toMultiSelect);
    t.Src.SetSelected(t.A1, true);
    t.Src.SetSelected(t.B, true);
    t.Src.SetFocusedNode(t.A21);
    std::vector<PTreeNode> srcChanges, dstChanges;
    t.Src.OnStructureChange = [&](TBaseNodeTree*, PTreeNode n, TChangeReason r) {
        if (r == crNodeMoved)
            srcChanges.push_back(n);
    };
    t.Dst.OnStructureChange = [&](TBaseNodeTree*, PTreeNode n, TChangeReason r) {
        if (r == crNodeMoved)
            dstChanges.push_back(n);
    };
    std::vector<PTreeNode> moved;
    t.Src.OnNodeMoved = [&](TBaseNodeTree*, PTreeNode n) { moved.push_back(n); };
    t.Src.MoveTo(t.A, t.X1, amAddChildLast, false);

    EXPECT_EQ(t.Src.SelectedCount(), 1u);
    EXPECT_EQ(t.Src.GetFirstSelected(), t.B);
    EXPECT_EQ(t.Src.FocusedNode(), nullptr);
    // The moved node no longer exists in the source: no notification may carry it.
    EXPECT_EQ(srcChanges, std::vector<PTreeNode>{nullptr});
    EXPECT_EQ(dstChanges, std::vector<PTreeNode>{nullptr});
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(t.Dst.GetNodeParent(moved[0]), t.X1);
    // The selection travels with the stream and is the target's own now.
    EXPECT_EQ(t.Dst.SelectedCount(), 0u);  // single-select target drops it
    EXPECT_TREE_VALID(t.Src);
    EXPECT_TREE_VALID(t.Dst);
}

TEST(CrossTree, RefusedOrForbiddenMovesChangeNothing)
{
    struct Case {
        const char* name;
        std::function<void(TwoTrees&)> setup;
    };
    const Case cases[] = {
        {"moving refused", [](TwoTrees& t) {
             t.Src.OnNodeMoving = [](TBaseNodeTree*, PTreeNode, PTreeNode, bool& allowed) { allowed = false; };
         }},
        {"read-only source", [](TwoTrees& t) { t.Src.TreeOptions().SetMiscOptions(DefaultMiscOptions | toReadOnly); }},
        {"read-only target", [](TwoTrees& t) { t.Dst.TreeOptions().SetMiscOptions(DefaultMiscOptions | toReadOnly); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoTrees t;
        c.setup(t);
        t.Src.MoveTo(t.A, t.X, amAddChildLast, false);
        EXPECT_EQ(TwoTrees::Values(t.Src), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
        EXPECT_EQ(TwoTrees::Values(t.Dst), (std::vector<uint32_t>{10, 11}));
        if (c.name != std::string("moving refused")) {
            EXPECT_EQ(t.Src.CopyTo(t.A, t.X, amAddChildLast, false) != nullptr, c.name == std::string("read-only source"));
        }
        EXPECT_TREE_VALID(t.Src);
        EXPECT_TREE_VALID(t.Dst);
    }
}

TEST(CrossTree, NodesOfOtherTreesAreCallerErrors)
{
    TwoTrees t;
    EXPECT_THROW(t.Src.MoveTo(t.X1, t.A, amAddChildLast, false), EAssertionFailed);
    EXPECT_THROW(t.Src.CopyTo(t.X1, t.A, amAddChildLast, false), EAssertionFailed);
    EXPECT_THROW(TBaseNodeTree::TreeFromNode(nullptr), EAssertionFailed);
    EXPECT_TREE_VALID(t.Src);
    EXPECT_TREE_VALID(t.Dst);
}

TEST(CrossTree, SeededMovesBetweenTwoTreesKeepBothValid)
{
    std::mt19937 rng(16);
    DataTree trees[2];
    for (DataTree& t : trees)
        for (int i = 0; i < 20; ++i) {
            PTreeNode n = t.AddChild(nullptr);
            AddChildren(t, n, int(rng() % 3));
        }
    for (int step = 0; step < 300; ++step) {
        DataTree& from = trees[rng() % 2];
        DataTree& to = trees[rng() % 2];
        std::vector<PTreeNode> fromNodes = AllNodes(from), toNodes = AllNodes(to);
        if (fromNodes.empty())
            continue;
        PTreeNode source = fromNodes[rng() % fromNodes.size()];
        PTreeNode target = toNodes.empty() || rng() % 5 == 0 ? to.RootNode() : toNodes[rng() % toNodes.size()];
        const auto mode = TTVNodeAttachMode(1 + rng() % 4);
        const bool childrenOnly = rng() % 4 == 0;
        const uint32_t before = trees[0].RootNode()->TotalCount + trees[1].RootNode()->TotalCount;
        const bool copy = rng() % 3 == 0;
        try {
            copy ? (void)from.CopyTo(source, target, mode, childrenOnly) : from.MoveTo(source, target, mode, childrenOnly);
        } catch (const ENodeTreeError& e) {
            EXPECT_EQ(e.HelpContext, TreeErrors::MoveIntoOwnSubtree);
        }
        const uint32_t after = trees[0].RootNode()->TotalCount + trees[1].RootNode()->TotalCount;
        if (!copy)
            ASSERT_EQ(after, before) << "step " << step;
        ASSERT_TREE_VALID(trees[0]);
        ASSERT_TREE_VALID(trees[1]);
        if (after > 400)
            for (DataTree& t : trees)
                t.Clear();
    }
}

TEST(CrossTree, ARefusedCopyLeavesNothingInTheTarget)
{
    TwoTrees t;
    std::vector<PTreeNode> asked;
    t.Src.OnNodeCopying = [&](TBaseNodeTree*, PTreeNode node, PTreeNode target, bool& allowed) {
        asked.push_back(target);
        EXPECT_TRUE(t.Dst.OwnsNode(node)) << "the copy is offered from the target tree";
        allowed = false;
    };
    EXPECT_EQ(t.Src.CopyTo(t.A, t.X, amAddChildLast, false), nullptr);
    EXPECT_EQ(asked, std::vector<PTreeNode>{t.X});
    EXPECT_EQ(TwoTrees::Values(t.Dst), (std::vector<uint32_t>{10, 11}));
    EXPECT_EQ(TwoTrees::Values(t.Src), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_TREE_VALID(t.Src);
    EXPECT_TREE_VALID(t.Dst);
}
