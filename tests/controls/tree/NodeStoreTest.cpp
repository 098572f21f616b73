#include "TreeFixture.h"

#include <random>

using namespace treetest;

TEST(NodeStore, NewTreeDefaults)
{
    TBaseNodeTree t;
    EXPECT_EQ(t.RootNodeCount(), 0u);
    EXPECT_EQ(t.TotalCount(), 0u);
    EXPECT_EQ(t.FocusedColumn(), -1);
    EXPECT_EQ(t.NodeDataSize(), -1);
    EXPECT_EQ(t.DefaultNodeHeight(), 18u);
    EXPECT_EQ(t.Indent(), 18u);
    EXPECT_EQ(t.Margin(), 4);
    EXPECT_EQ(t.TextMargin(), 4);
    EXPECT_EQ(t.AnimationDuration(), 200u);
    EXPECT_EQ(t.SelectionBlendFactor(), 128);
    EXPECT_EQ(t.DragWidth(), 200);
    EXPECT_EQ(t.DragHeight(), 350);
    EXPECT_EQ(t.AutoScrollDelay(), 1000u);
    EXPECT_EQ(t.AutoExpandDelay(), 1000u);
    EXPECT_EQ(t.EditDelay(), 1000u);
    EXPECT_EQ(t.IncrementalSearchTimeout(), 1000u);
    t.SetDefaultNodeHeight(0);
    EXPECT_EQ(t.DefaultNodeHeight(), 18u);
    t.SetNodeDataSize(-5);
    EXPECT_EQ(t.NodeDataSize(), -1);
    t.SetAnimationDuration(0);
    EXPECT_FALSE(t.TreeOptions().AnimationOptions() & toAnimatedToggle);
    t.SetAnimationDuration(10);
    EXPECT_TRUE(t.TreeOptions().AnimationOptions() & toAnimatedToggle);
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, NodeDataIsPointerSizedAndWholePointersSurvive)
{
    TBaseNodeTree t;
    int value = 0;
    PTreeNode node = t.AddChild(nullptr, &value);
    EXPECT_EQ(t.NodeDataSize(), int(sizeof(void*)));
    EXPECT_EQ(*t.GetNodeData<void*>(node), &value);
    // A pointer above 4 GiB keeps its high half.
    void* high = reinterpret_cast<void*>(uintptr_t(0x123456789ABCDEF0ull));
    t.SetNodeData(node, high);
    EXPECT_EQ(*t.GetNodeData<void*>(node), high);

    TBaseNodeTree small;
    small.SetNodeDataSize(4);
    try {
        small.AddChild(nullptr, &value);
        FAIL() << "a pointer does not fit four bytes";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.message(), "TBaseNodeTree: Cannot set initial user data because there is not enough user data space allocated.");
    }
    EXPECT_TREE_VALID(small);
}

TEST(NodeStore, GetNodeDataNeedsASize)
{
    for (int size : {0, -1}) {
        TBaseNodeTree t;
        t.SetNodeDataSize(size);
        t.OnGetNodeDataSize = [](TBaseNodeTree*, int& s) { s = 0; };
        PTreeNode node = t.AddChild(nullptr);
        EXPECT_THROW(t.GetNodeData(node), EAssertionFailed) << size;
    }
    TBaseNodeTree t;
    t.SetNodeDataSize(8);
    t.AddChild(nullptr);
    EXPECT_EQ(t.GetNodeData(nullptr), nullptr);
    EXPECT_EQ(t.GetNodeData(t.RootNode()), nullptr);
}

TEST(NodeStore, ChangingTheDataSizeRecreatesTopLevelNodes)
{
    NumberedTree t;
    t.SetRootNodeCount(5);
    for (PTreeNode n : AllNodes(t))
        t.ValidateNode(n, false);
    t.SetNodeDataSize(8);
    EXPECT_EQ(t.RootNodeCount(), 5u);
    for (PTreeNode n : AllNodes(t)) {
        EXPECT_FALSE(n->Has(vsInitialized));
        const uint8_t* data = n->Data();
        EXPECT_TRUE(std::all_of(data, data + 8, [](uint8_t b) { return b == 0; }));
    }
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, LinkingAndIndices)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    EXPECT_EQ(a->Index, 0u);
    EXPECT_EQ(t.GetNodeParent(a), nullptr);
    EXPECT_EQ(t.GetNodeLevel(a), 0u);
    PTreeNode child = t.AddChild(a);
    EXPECT_EQ(t.GetNodeLevel(child), 1u);
    EXPECT_EQ(t.GetNodeParent(child), a);
    t.DeleteNode(child);

    PTreeNode b = t.AddChild(nullptr);
    t.AddChild(nullptr);
    PTreeNode inserted = t.InsertNode(b, amInsertBefore);
    EXPECT_EQ(ChildIndices(t, nullptr), (std::vector<uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(inserted->Index, 1u);
    PTreeNode appended = t.InsertNode(nullptr, amInsertAfter);
    EXPECT_EQ(t.GetLastChildNoInit(nullptr), appended);
    PTreeNode first = t.InsertNode(nullptr, amInsertBefore);
    EXPECT_EQ(t.GetFirstChildNoInit(nullptr), first);
    EXPECT_EQ(t.InsertNode(b, amNoWhere), nullptr);

    t.DeleteNode(b);
    EXPECT_EQ(ChildIndices(t, nullptr), (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(t.ChildCount(nullptr), 5u);
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, DeletingTheOnlyChildOfAnExpandedNodeCollapsesIt)
{
    TBaseNodeTree t;
    PTreeNode parent = t.AddChild(nullptr);
    PTreeNode child = t.AddChild(parent);
    t.SetExpanded(parent, true);
    ASSERT_TRUE(parent->Has(vsExpanded));
    t.DeleteNode(child);
    EXPECT_FALSE(parent->Has(vsHasChildren));
    EXPECT_FALSE(parent->Has(vsExpanded));
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, TotalCountInitialisesEveryNode)
{
    TBaseNodeTree t;
    t.OnInitNode = [](TBaseNodeTree*, PTreeNode parent, PTreeNode, TTreeNodeInitStates& states) {
        if (!parent)
            states |= ivsHasChildren;
    };
    t.OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& count) { count = 2; };
    t.SetRootNodeCount(3);
    EXPECT_EQ(t.TotalCount(), 9u);
    for (PTreeNode n : AllNodes(t))
        EXPECT_TRUE(n->Has(vsInitialized));
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, AbsoluteIndexAndAncestry)
{
    TBaseNodeTree t;
    PTreeNode first = t.AddChild(nullptr);
    PTreeNode c = t.AddChild(first);
    t.AddChild(c);
    t.AddChild(first);
    PTreeNode second = t.AddChild(nullptr);
    EXPECT_EQ(t.AbsoluteIndex(second), 4u);
    EXPECT_EQ(t.AbsoluteIndex(first), 0u);
    EXPECT_EQ(t.AbsoluteIndex(nullptr), 0u);
    EXPECT_TRUE(t.HasAsParent(c, t.RootNode()));
    EXPECT_TRUE(t.HasAsParent(c, first));
    EXPECT_FALSE(t.HasAsParent(c, c));
    EXPECT_FALSE(t.HasAsParent(first, c));
}

TEST(NodeStore, FreeEventFiresOnlyForTouchedNodesAndOnce)
{
    TBaseNodeTree t;
    std::vector<PTreeNode> freed;
    t.OnFreeNode = [&](TBaseNodeTree*, PTreeNode n) { freed.push_back(n); };
    t.SetRootNodeCount(3);
    std::vector<PTreeNode> nodes = AllNodes(t);
    t.GetNodeData(nodes[1]);
    t.Clear();
    EXPECT_EQ(freed, std::vector<PTreeNode>{nodes[1]});
}

namespace {
struct Counted final : IInterface {
    int Refs = 0;
    void _AddRef() override { ++Refs; }
    void _Release() override { --Refs; }
};
}  // namespace

TEST(NodeStore, InterfacesAreReleasedExactlyOnce)
{
    Counted a, b;
    {
        TBaseNodeTree t;
        PTreeNode n = t.AddChild(nullptr, static_cast<IInterface*>(&a));
        EXPECT_EQ(a.Refs, 1);
        t.SetNodeData(t.AddChild(nullptr), static_cast<IInterface*>(&b));
        t.SetNodeData(n, static_cast<IInterface*>(&b));  // replaces a
        EXPECT_EQ(a.Refs, 0);
        EXPECT_EQ(b.Refs, 2);
        t.DeleteNode(n);
        EXPECT_EQ(b.Refs, 1);
    }
    EXPECT_EQ(b.Refs, 0);
}

TEST(NodeStore, ReadOnlyRefusesEveryChangeIncludingInsert)
{
    TBaseNodeTree t;
    PTreeNode n = t.AddChild(nullptr);
    t.AddChild(n);
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toReadOnly);
    const std::vector<uint8_t> before = t.SaveToBytes();
    EXPECT_EQ(t.AddChild(nullptr), nullptr);
    EXPECT_EQ(t.InsertNode(n, amInsertAfter), nullptr);
    EXPECT_EQ(t.InsertNode(n, amAddChildFirst), nullptr);
    t.DeleteNode(n);
    t.DeleteChildren(n);
    t.SetChildCount(n, 5);
    t.SetHasChildren(n, false);
    t.Clear();
    EXPECT_EQ(t.SaveToBytes(), before);
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, ChildCountChangesReportTheirReason)
{
    TBaseNodeTree t;
    std::vector<std::pair<PTreeNode, TChangeReason>> events;
    t.OnStructureChange = [&](TBaseNodeTree*, PTreeNode n, TChangeReason r) { events.emplace_back(n, r); };
    PTreeNode parent = t.AddChild(nullptr);
    events.clear();
    t.SetChildCount(parent, 4);
    t.SetChildCount(parent, 2);
    t.SetChildCount(parent, 0);
    ASSERT_EQ(events.size(), 5u);  // shrinking by deletion reports per node and once for the count
    EXPECT_EQ(events[0], std::make_pair(parent, crChildAdded));
    for (size_t i = 1; i < events.size(); ++i)
        EXPECT_EQ(events[i].second, crChildDeleted) << i;
    EXPECT_TREE_VALID(t);
}

namespace {
// Points every tracked reference at one node, as input handling and editing would.
class ReferencingTree : public TBaseNodeTree {
public:
    void PointAt(PTreeNode n)
    {
        FFocusedNode = FHeightTrackNode = FCurrentHotNode = FRangeAnchor = FCheckNode = FEditNode = n;
        FDropTargetNode = FLastVCLDragTarget = FLastSearchNode = n;
        FDragSelection = {n};
        DoStateChange(TS(tsEditing, tsMouseCheckPending, tsNodeHeightTracking));
    }
};
}  // namespace

TEST(NodeStore, DeletingANodeClearsEveryReferenceToIt)
{
    ReferencingTree t;
    PTreeNode keep = t.AddChild(nullptr);
    PTreeNode doomed = t.AddChild(nullptr);
    t.PointAt(doomed);
    t.DeleteNode(doomed);
    EXPECT_EQ(t.FocusedNode(), nullptr);
    EXPECT_EQ(t.LastSearchNode(), nullptr);
    EXPECT_EQ(t.CheckNode(), nullptr);
    EXPECT_EQ(t.HeightTrackNode(), nullptr);
    EXPECT_EQ(t.HotNode(), nullptr);
    EXPECT_EQ(t.DropTargetNode(), nullptr);
    EXPECT_EQ(t.RangeAnchor(), nullptr);
    EXPECT_EQ(t.EditNode(), nullptr);
    EXPECT_TRUE(t.DragSelection().empty());
    EXPECT_FALSE(t.HasState(tsEditing));
    EXPECT_FALSE(t.HasState(tsMouseCheckPending));
    EXPECT_FALSE(t.HasState(tsNodeHeightTracking));
    // Children deleted with their parent count too.
    PTreeNode child = t.AddChild(keep);
    t.PointAt(child);
    t.DeleteChildren(keep);
    EXPECT_EQ(t.LastSearchNode(), nullptr);
    EXPECT_TRUE(t.DragSelection().empty());
}

TEST(NodeStore, IterationForbidsDeletion)
{
    TBaseNodeTree t;
    t.SetRootNodeCount(3);
    try {
        t.IterateSubtree(nullptr, [](TBaseNodeTree* tree, PTreeNode n, void*, bool&) { tree->DeleteNode(n); }, nullptr);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.message(), "Deleting nodes during tree iteration leads to invalid pointers.");
    }
    EXPECT_FALSE(t.HasState(tsIterating));
    EXPECT_EQ(t.RootNodeCount(), 3u);
}

TEST(NodeStore, MoveIntoOwnSubtreeIsRefused)
{
    TBaseNodeTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode b = t.AddChild(a);
    PTreeNode c = t.AddChild(b);
    try {
        t.MoveTo(a, c, amAddChildLast, false);
        FAIL();
    } catch (const ENodeTreeError& e) {
        EXPECT_EQ(e.HelpContext, 2001);
    }
    t.MoveTo(a, a, amInsertAfter, true);  // a's children after a itself
    EXPECT_EQ(t.GetNodeParent(b), nullptr);
    EXPECT_EQ(t.RootNodeCount(), 2u);
    t.SetNodeParent(c, a);
    EXPECT_EQ(t.GetNodeParent(c), a);
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, InternalDataAreasOnlyBeforeNodes)
{
    TBaseNodeTree t;
    t.SetNodeDataSize(6);
    // Offsets start after the fixed record; sizes round up to four bytes.
    const uint32_t first = t.AllocateInternalDataArea(3);
    const uint32_t second = t.AllocateInternalDataArea(4);
    EXPECT_EQ(second - first, 4u);
    PTreeNode n = t.AddChild(nullptr);
    std::memset(n->Data(), 0xAB, 6 + 8);  // user data and both areas lie inside the block
    EXPECT_THROW(t.AllocateInternalDataArea(4), EAssertionFailed);
    t.Clear();
    EXPECT_TREE_VALID(t);
}

TEST(NodeStore, InvariantCheckerSeesBrokenBookkeeping)
{
    struct Case {
        const char* name;
        std::function<void(PTreeNode parent, PTreeNode child)> breakIt;
    };
    const Case cases[] = {
        {"height", [](PTreeNode p, PTreeNode) { ++p->TotalHeight; }},
        {"count", [](PTreeNode p, PTreeNode) { ++p->TotalCount; }},
        {"index", [](PTreeNode, PTreeNode c) { c->Index = 7; }},
        {"has-children", [](PTreeNode p, PTreeNode) { p->Exclude(vsHasChildren); }},
        {"hidden flag", [](PTreeNode p, PTreeNode) { p->Include(vsAllChildrenHidden); }},
        {"visible", [](PTreeNode, PTreeNode c) { c->Exclude(vsVisible); }},
    };
    for (const Case& c : cases) {
        TBaseNodeTree t;
        PTreeNode parent = t.AddChild(nullptr);
        PTreeNode child = t.AddChild(parent);
        t.AddChild(parent);
        t.SetExpanded(parent, true);
        ASSERT_TREE_VALID(t);
        c.breakIt(parent, child);
        EXPECT_NE(TreeInvariants::Check(t), QString()) << c.name;
    }
}

// Random sequences of every structural operation keep every invariant.
TEST(NodeStore, RandomOperationSequencesKeepTheInvariants)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        TBaseNodeTree t;
        t.OnInitNode = [&](TBaseNodeTree*, PTreeNode, PTreeNode, TTreeNodeInitStates& s) {
            if (rng() % 4 == 0)
                s |= ivsHasChildren;
            if (rng() % 10 == 0)
                s |= ivsFiltered;
        };
        t.OnInitChildren = [&](TBaseNodeTree*, PTreeNode, uint32_t& c) { c = rng() % 4; };
        t.SetRootNodeCount(5);
        int bracket = 0;
        for (int step = 0; step < 400; ++step) {
            std::vector<PTreeNode> nodes = AllNodes(t);
            auto pick = [&]() -> PTreeNode { return nodes.empty() ? nullptr : nodes[rng() % nodes.size()]; };
            PTreeNode n = pick();
            const unsigned op = rng() % 16;
            SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step << " op " << op);
            switch (op) {
            case 0: t.AddChild(rng() % 3 ? n : nullptr); break;
            case 1: if (n) t.InsertNode(n, TTVNodeAttachMode(1 + rng() % 4)); break;
            case 2: if (n && nodes.size() > 3) t.DeleteNode(n); break;
            case 3: {
                PTreeNode target = pick();
                if (n && target) {
                    try {
                        t.MoveTo(n, target, TTVNodeAttachMode(1 + rng() % 4), rng() % 4 == 0);
                    } catch (const ENodeTreeError&) {
                    }
                }
                break;
            }
            case 4: if (n) t.ToggleNode(n); break;
            case 5: if (n) t.SetVisible(n, !n->Has(vsVisible)); break;
            case 6: if (n) t.SetFiltered(n, !n->Has(vsFiltered)); break;
            case 7: if (n) t.SetChildCount(n, rng() % 5); break;
            case 8: if (n) t.DeleteChildren(n, rng() % 2); break;
            case 9: t.FullExpand(rng() % 2 ? n : nullptr); break;
            case 10: t.FullCollapse(rng() % 2 ? n : nullptr); break;
            case 11:
                if (bracket < 3) {
                    t.BeginUpdate();
                    ++bracket;
                }
                break;
            case 12:
                if (bracket > 0) {
                    t.EndUpdate();
                    --bracket;
                }
                break;
            case 13:
                t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() ^ toShowFilteredNodes);
                break;
            case 14: if (n) t.SetNodeHeight(n, 5 + rng() % 30); break;
            case 15: if (n) t.SetSelected(n, !n->Has(vsSelected)); break;
            }
            if (bracket == 0) {
                ASSERT_TREE_VALID(t);
            }
        }
        while (bracket-- > 0)
            t.EndUpdate();
        ASSERT_TREE_VALID(t);
    }
}
