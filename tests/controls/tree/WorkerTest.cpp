#include "TreeFixture.h"

#include "controls/tree/WorkerThread.h"

#include <QCoreApplication>
#include <set>

using namespace treetest;

namespace {

// The node of every pixel row, found by walking every shown node from the top.
std::vector<PTreeNode> Rows(const TBaseNodeTree& t)
{
    std::vector<PTreeNode> rows;
    for (PTreeNode n = t.GetFirstVisibleNoInit(); n; n = t.GetNextVisibleNoInit(n))
        rows.insert(rows.end(), n->NodeHeight, n);
    return rows;
}

void Fill(TBaseNodeTree& t, uint32_t visible)
{
    t.BeginUpdate();
    t.SetRootNodeCount(visible);
    t.EndUpdate();
}

}  // namespace

TEST(Worker, CacheOnlyAboveTwoThousandVisibleNodes)
{
    TBaseNodeTree small;
    Fill(small, 2000);
    EXPECT_FALSE(small.CacheBuildPending());
    small.WaitForCacheValidation();
    EXPECT_FALSE(small.HasState(tsUseCache));
    EXPECT_TRUE(small.PositionCache().empty());

    TBaseNodeTree t;
    Fill(t, 2001);
    t.WaitForCacheValidation();
    ASSERT_TRUE(t.HasState(tsUseCache));
    ASSERT_EQ(t.PositionCache().size(), 2u);
    std::vector<PTreeNode> nodes = AllNodes(t);
    EXPECT_EQ(t.PositionCache()[0].Node, nodes[0]);
    EXPECT_EQ(t.PositionCache()[1].Node, nodes[2000]);
    EXPECT_EQ(t.PositionCache()[1].AbsoluteTop, 2000u * 18);
    EXPECT_FALSE(t.HasState(tsValidating));
    EXPECT_FALSE(t.HasState(tsStopValidation));

    // The next insertion drops the cache before it links the node.
    bool usedCacheWhileLinking = false;
    t.OnStructureChange = [&](TBaseNodeTree* tree, PTreeNode, TChangeReason) {
        usedCacheWhileLinking = tree->HasState(tsUseCache);
    };
    t.InsertNode(nodes[5], amInsertAfter);
    EXPECT_FALSE(usedCacheWhileLinking);
    EXPECT_FALSE(t.HasState(tsUseCache) && t.PositionCache()[1].Node == nodes[2000]);
    t.OnStructureChange = nullptr;
}

TEST(Worker, CachedLookupsMatchThePlainWalk)
{
    // Nested lists are found by descending; a flat list longer than two cache steps by the cache.
    const std::pair<uint32_t, bool> shapes[] = {{2000u, false}, {2001u, false}, {7003u, false}, {9001u, true}};
    for (auto [visible, flat] : shapes) {
        SCOPED_TRACE(visible);
        TBaseNodeTree t;
        t.BeginUpdate();
        std::vector<PTreeNode> top = AddChildren(t, nullptr, int(flat ? visible : visible / 4));
        for (size_t i = 0; i < top.size(); ++i) {
            AddChildren(t, top[i], !flat && i % 3 == 0 ? 4 : 0);
            t.SetNodeHeight(top[i], 10 + uint32_t(i % 17));
        }
        t.EndUpdate();
        t.FullExpand();
        for (size_t i = 0; i < top.size(); i += 11)
            t.SetFiltered(top[i], true);
        t.WaitForCacheValidation();
        EXPECT_EQ(t.HasState(tsUseCache), t.VisibleCount() > 2000);
        const uint32_t height = t.RootNode()->TotalHeight - t.RootNode()->NodeHeight;
        const std::vector<PTreeNode> rows = Rows(t);
        ASSERT_EQ(rows.size(), height);
        for (uint32_t y = 0; y < height + 40; y += 13) {
            int nodeTop = -1;
            PTreeNode n = t.GetNodeAt(0, int(y), false, &nodeTop);
            ASSERT_EQ(n, y < height ? rows[y] : nullptr) << y;
            if (n)
                ASSERT_TRUE(rows[nodeTop] == n && (nodeTop == 0 || rows[nodeTop - 1] != n)) << y;
        }
        EXPECT_EQ(t.GetNodeAt(0, int(height - 1), false, nullptr), t.GetLastVisibleNoInit());
        // The nearest entry for a node lies at or before it.
        for (const TCacheEntry& e : t.PositionCache()) {
            uint32_t entryTop = 0;
            EXPECT_EQ(t.NearestCacheEntryForNode(e.Node, entryTop), e.Node);
            EXPECT_EQ(entryTop, e.AbsoluteTop);
        }
    }
}

TEST(Worker, EndsWithTheLastTreeAndStartsAgain)
{
    {
        TBaseNodeTree t;
        EXPECT_NE(SharedWorker(), nullptr);
    }
    EXPECT_EQ(SharedWorker(), nullptr);
    TBaseNodeTree again;
    Fill(again, 3000);
    again.WaitForCacheValidation();
    EXPECT_TRUE(again.HasState(tsUseCache));
}

// Trees freed while the worker builds their caches: the worker has let go of each one before it
// is freed, and none of them hears of the worker afterwards.
TEST(Worker, TreesFreedDuringBuildsReceiveNothingAfterwards)
{
    std::set<const TBaseNodeTree*> live;
    int calls = 0;
    bool callToFreedTree = false;
    // Counts the calls the worker queues after each build.
    class CountingTree : public TBaseNodeTree {
    public:
        explicit CountingTree(std::function<void(const TBaseNodeTree*)> seen) : Seen(std::move(seen)) {}
        void UpdateEditBounds() override
        {
            Seen(this);
            TBaseNodeTree::UpdateEditBounds();
        }
        std::function<void(const TBaseNodeTree*)> Seen;
    };
    const auto seen = [&](const TBaseNodeTree* t) {
        ++calls;
        callToFreedTree = callToFreedTree || !live.count(t);
    };
    TBaseNodeTree keeper;  // keeps the worker alive across the rounds
    for (int round = 0; round < 16; ++round) {
        std::vector<std::unique_ptr<TBaseNodeTree>> trees;
        for (int i = 0; i < 3; ++i) {
            auto t = std::make_unique<CountingTree>(seen);
            live.insert(t.get());
            Fill(*t, 4000 + 3000 * i);  // queues a build
            trees.push_back(std::move(t));
        }
        if (round % 2)
            QCoreApplication::processEvents();
        for (auto& t : trees) {
            live.erase(t.get());
            t.reset();
        }
        QCoreApplication::processEvents();
    }
    // One more tree whose build ends normally gets its call.
    CountingTree last(seen);
    live.insert(&last);
    Fill(last, 5000);
    last.WaitForCacheValidation();
    QCoreApplication::processEvents();
    EXPECT_FALSE(callToFreedTree);
    EXPECT_GE(calls, 1);
}
