#include "TreeFixture.h"

#include "support/FakeClock.h"

#include <QApplication>

#include <thread>

using namespace treetest;

namespace {
struct Recorded {
    PTreeNode Node;
    TChangeReason Reason;
    bool operator==(const Recorded&) const = default;
};
}  // namespace

TEST(Batching, StructureChangesInsideABracketFireOnceAtTheEnd)
{
    TBaseNodeTree t;
    std::vector<Recorded> events;
    t.OnStructureChange = [&](TBaseNodeTree*, PTreeNode n, TChangeReason r) { events.push_back({n, r}); };
    PTreeNode parent = t.AddChild(nullptr);
    EXPECT_EQ(events, (std::vector<Recorded>{{nullptr, crChildAdded}}));

    events.clear();
    t.AddChild(parent);
    EXPECT_EQ(events, (std::vector<Recorded>{{parent, crChildAdded}}));

    events.clear();
    t.BeginUpdate();
    for (int i = 0; i < 10000; ++i)
        t.AddChild(parent);
    EXPECT_TRUE(events.empty());
    t.EndUpdate();
    EXPECT_EQ(events, (std::vector<Recorded>{{parent, crAccumulated}}));

    events.clear();
    t.BeginUpdate();
    t.AddChild(parent);
    t.EndUpdate();
    EXPECT_EQ(events, (std::vector<Recorded>{{parent, crChildAdded}}));
    EXPECT_EQ(t.ChildCount(parent), 10002u);
    EXPECT_TREE_VALID(t);
}

TEST(Batching, UpdatingStatesAndCounts)
{
    TBaseNodeTree t;
    std::vector<TTVUpdateState> states;
    t.OnUpdating = [&](TBaseNodeTree*, TTVUpdateState s) { states.push_back(s); };
    t.BeginUpdate();
    t.BeginUpdate();
    EXPECT_TRUE(t.HasState(tsUpdating));
    EXPECT_EQ(t.InvalidateNode(t.AddChild(nullptr)), QRect(QPoint(-1, -1), QPoint(-1, -1)));
    t.EndUpdate();
    t.EndUpdate();
    t.EndUpdate();  // never below zero
    EXPECT_EQ(t.UpdateCount(), 0u);
    EXPECT_FALSE(t.HasState(tsUpdating));
    EXPECT_EQ(states, (std::vector<TTVUpdateState>{usBegin, usUpdate, usUpdate, usEnd, usEnd}));

    states.clear();
    t.BeginSynch();
    t.BeginSynch();
    t.EndSynch();
    t.EndSynch();
    EXPECT_EQ(states, (std::vector<TTVUpdateState>{usBeginSynch, usSynch, usSynch, usEndSynch}));
    EXPECT_FALSE(t.HasState(tsSynchMode));
}

TEST(Batching, OnlyTheOutermostBracketSwitchesPaintingOff)
{
    TBaseNodeTree t;
    t.show();
    t.BeginUpdate();
    EXPECT_FALSE(t.updatesEnabled());
    t.BeginUpdate();
    t.EndUpdate();
    EXPECT_FALSE(t.updatesEnabled()) << "an inner bracket leaves painting off";
    t.EndUpdate();
    EXPECT_TRUE(t.updatesEnabled());
    // Painting comes back even when the sort at the end of the bracket fails.
    t.Header().SortColumn = 0;
    t.OnCompareNodes = [](TBaseNodeTree*, PTreeNode, PTreeNode, TColumnIndex, int&) { throw std::runtime_error("compare"); };
    t.BeginUpdate();
    AddChildren(t, nullptr, 2);
    EXPECT_THROW(t.EndUpdate(), std::runtime_error);
    EXPECT_TRUE(t.updatesEnabled());
}

TEST(Batching, DelayedChangesFireOnceAfterTheLastOnTheClock)
{
    FakeClock clock;
    TBaseNodeTree t;
    std::vector<std::pair<qint64, PTreeNode>> changes;
    std::vector<std::pair<qint64, TChangeReason>> structure;
    t.OnChange = [&](TBaseNodeTree*, PTreeNode n) { changes.emplace_back(clock.NowMs(), n); };
    t.OnStructureChange = [&](TBaseNodeTree*, PTreeNode, TChangeReason r) { structure.emplace_back(clock.NowMs(), r); };
    std::vector<PTreeNode> nodes = AddChildren(t, nullptr, 3);
    structure.clear();
    t.SetChangeDelay(100);
    const qint64 start = clock.NowMs();
    for (PTreeNode n : nodes) {
        t.SetSelected(n, true);
        clock.Advance(10);
    }
    EXPECT_TRUE(changes.empty());
    clock.Advance(89);
    EXPECT_TRUE(changes.empty());
    clock.Advance(1);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(start + 120, nodes[2]));

    // Structure changes wait the same way and merge their reasons.
    t.InsertNode(nodes[0], amInsertAfter);
    t.DeleteNode(nodes[2]);
    EXPECT_TRUE(structure.empty());
    clock.Advance(100);
    ASSERT_EQ(structure.size(), 1u);
    EXPECT_EQ(structure[0].second, crAccumulated);

    // In synchronous mode every change fires at once. Selecting another node of a single
    // selection reports the clearing and the addition.
    changes.clear();
    t.BeginSynch();
    t.SetSelected(nodes[0], true);
    t.SetSelected(nodes[1], true);
    EXPECT_EQ(changes.size(), 3u);
    t.EndSynch();
    // Entering synchronous mode delivers what waits, once.
    t.SetSelected(nodes[0], true);
    EXPECT_EQ(changes.size(), 3u);
    t.BeginSynch();
    EXPECT_EQ(changes.size(), 4u);
    t.EndSynch();
    EXPECT_EQ(clock.PendingCount(), 0);
}

TEST(Batching, StateChangesFireOnlyWhenSomethingChanges)
{
    TBaseNodeTree t;
    std::vector<std::pair<TNodeTreeStates, TNodeTreeStates>> seen;
    t.OnStateChange = [&](TBaseNodeTree*, TNodeTreeStates e, TNodeTreeStates l) { seen.emplace_back(e, l); };
    t.BeginUpdate();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, TS(tsUpdating));
    seen.clear();
    t.BeginUpdate();  // already updating
    EXPECT_TRUE(seen.empty());
    t.EndUpdate();
    t.EndUpdate();
    EXPECT_FALSE(seen.empty());
}

TEST(Batching, OperationsNestAndRefuseAnUnbalancedEnd)
{
    TBaseNodeTree t;
    std::vector<TTVOperationKind> started, ended;
    t.OnStartOperation = [&](TBaseNodeTree*, TTVOperationKind k) { started.push_back(k); };
    t.OnEndOperation = [&](TBaseNodeTree*, TTVOperationKind k) { ended.push_back(k); };
    t.SetRootNodeCount(3);
    t.FullExpand();
    EXPECT_EQ(started, std::vector<TTVOperationKind>{okExpand});
    EXPECT_EQ(ended, std::vector<TTVOperationKind>{okExpand});

    struct Operating : TBaseNodeTree {
        void End() { EndOperation(okSortTree); }
    } u;
    try {
        u.End();
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.message(), "EndOperation must not be called when no operation in progress.");
    }
}

TEST(Batching, OnlyTheGuiThreadMayOpenABracket)
{
    TBaseNodeTree t;
    QString message;
    std::thread other([&] {
        try {
            t.BeginUpdate();
        } catch (const EAssertionFailed& e) {
            message = e.message();
        }
    });
    other.join();
    EXPECT_EQ(message, "UI controls like TBaseNodeTree should only be manipulated through the main thread.");
    EXPECT_EQ(t.UpdateCount(), 0u);
}

namespace {
// Three 150-pixel columns in a 300-pixel client: the last one starts off screen.
class PaintRecordingTree : public TBaseNodeTree {
public:
    PaintRecordingTree()
    {
        SetBorderStyle(bsNone);
        resize(300, 200);
        for (int i = 0; i < 3; ++i)
            Header().Columns().Add()->SetWidth(150);
        Header().SetOptions(Header().Options() | hoVisible);
        AddChildren(*this, nullptr, 3);
    }
    void Paint() override
    {
        Painted += UpdateRegion();
        TBaseNodeTree::Paint();
    }
    QRegion Painted;
};
}  // namespace

TEST(Invalidation, AColumnRepaintsItsStripWhereItIsShown)
{
    const struct {
        const char* name;
        int scrolledBy;
        bool firstFixed;
        TColumnIndex column;
        int left, right;  // client X range expected, right exclusive; equal: nothing
    } cases[] = {
        {"middle column, not scrolled", 0, false, 1, 150, 300},
        {"middle column, scrolled", 100, false, 1, 50, 200},
        {"first column scrolled partly out", 100, false, 0, 0, 50},
        {"fixed column stays put", 100, true, 0, 0, 150},
        {"last column out of view", 0, false, 2, 0, 0},
        {"no such column", 0, false, 3, 0, 0},
        {"no column", 0, false, NoColumn, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PaintRecordingTree t;
        if (c.firstFixed)
            t.Header().Columns()[0]->SetOptions(t.Header().Columns()[0]->Options() | coFixed);
        t.show();
        QApplication::processEvents();
        t.SetOffsetX(-c.scrolledBy);
        QApplication::processEvents();
        QApplication::processEvents();
        ASSERT_EQ(t.EffectiveOffsetX(), c.scrolledBy);
        t.Painted = QRegion();
        t.InvalidateColumn(c.column);
        QApplication::processEvents();
        const QRegion expected =
            c.left == c.right ? QRegion() : QRegion(QRect(c.left, 0, c.right - c.left, t.ClientHeight()));
        EXPECT_EQ(t.Painted, expected);
    }
}

namespace {
// Twenty top-level rows under the header, more than the client shows; the second has two children.
struct BottomFixture {
    PaintRecordingTree Tree;
    std::vector<PTreeNode> Rows;
    std::vector<PTreeNode> Children;
    BottomFixture()
    {
        AddChildren(Tree, nullptr, 17);
        Rows = AllNodes(Tree);
        Children = AddChildren(Tree, Rows[1], 2);
        Tree.show();
        // Showing settles in a few rounds (node heights measured, the scroll bar appears).
        for (int quiet = 0, round = 0; quiet < 3 && round < 20; ++round) {
            Tree.Painted = QRegion();
            QApplication::processEvents();
            quiet = Tree.Painted.isEmpty() ? quiet + 1 : 0;
        }
        Tree.Painted = QRegion();
    }
    int Top(PTreeNode n) { return Tree.GetDisplayRect(n, NoColumn, false).top(); }
    QRegion Below(int top) { return QRegion(QRect(0, top, Tree.ClientWidth(), Tree.ClientHeight() - top)); }
};
}  // namespace

TEST(Invalidation, ToBottomRepaintsFromTheNodesRowDownOnly)
{
    {
        SCOPED_TRACE("a row in the middle: its row and everything below it");
        BottomFixture f;
        const int top = f.Top(f.Rows[3]);
        ASSERT_GT(top, 0);
        f.Tree.InvalidateToBottom(f.Rows[3]);
        QApplication::processEvents();
        EXPECT_EQ(f.Tree.Painted, f.Below(top));
    }
    for (bool root : {false, true}) {
        SCOPED_TRACE(root ? "the root" : "no node");
        BottomFixture f;
        f.Tree.InvalidateToBottom(root ? f.Tree.RootNode() : nullptr);
        QApplication::processEvents();
        EXPECT_EQ(f.Tree.Painted, QRegion(f.Tree.ClientRect()));
    }
    {
        SCOPED_TRACE("a row scrolled partly out at the top: the whole client");
        BottomFixture f;
        f.Tree.SetOffsetY(-5);
        QApplication::processEvents();
        f.Tree.Painted = QRegion();
        f.Tree.InvalidateToBottom(f.Rows[0]);
        QApplication::processEvents();
        EXPECT_EQ(f.Tree.Painted, QRegion(f.Tree.ClientRect()));
    }
    {
        SCOPED_TRACE("a row below the client, a child of a collapsed node: nothing");
        BottomFixture f;
        ASSERT_GE(f.Top(f.Rows.back()), f.Tree.ClientHeight());
        f.Tree.InvalidateToBottom(f.Rows.back());
        f.Tree.InvalidateToBottom(f.Children[0]);
        QApplication::processEvents();
        EXPECT_TRUE(f.Tree.Painted.isEmpty());
    }
}

TEST(Invalidation, ToBottomTakesInChildrenDrawnAboveTheirParent)
{
    BottomFixture f;
    auto& o = f.Tree.TreeOptions();
    o.SetPaintOptions(o.PaintOptions() | toChildrenAbove);
    f.Tree.SetExpanded(f.Rows[1], true);
    QApplication::processEvents();
    f.Tree.Painted = QRegion();

    f.Tree.InvalidateToBottom(f.Rows[1]);
    QApplication::processEvents();
    QRegion needed = f.Below(f.Top(f.Rows[1]));
    for (PTreeNode child : f.Children)
        needed += f.Tree.GetDisplayRect(child, NoColumn, false) & f.Tree.ClientRect();
    EXPECT_EQ(needed.subtracted(f.Tree.Painted), QRegion());
}

TEST(Invalidation, RepaintNodeRedrawsTheRowBeforeReturning)
{
    BottomFixture f;
    const QRect row = f.Tree.GetDisplayRect(f.Rows[2], NoColumn, false) & f.Tree.ClientRect();
    f.Tree.RepaintNode(f.Rows[2]);
    EXPECT_EQ(f.Tree.Painted, QRegion(row)) << "painted without waiting for the event loop";

    f.Tree.Painted = QRegion();
    f.Tree.RepaintNode(nullptr);
    f.Tree.RepaintNode(f.Tree.RootNode());
    f.Tree.RepaintNode(f.Children[0]);
    QApplication::processEvents();
    EXPECT_TRUE(f.Tree.Painted.isEmpty()) << "no node, the root and a hidden child paint nothing";
}
