#include "controls/tree/WorkerThread.h"

#include "controls/tree/NodeTrees.h"

#include <QMetaObject>
#include <algorithm>
#include <pthread.h>

namespace tree {

namespace {
// Touched on the GUI thread only.
std::unique_ptr<TWorkerThread>& Shared()
{
    static std::unique_ptr<TWorkerThread> worker;
    return worker;
}
}  // namespace

TWorkerThread* SharedWorker() { return Shared().get(); }

void AcquireWorker()
{
    if (!Shared())
        Shared() = std::make_unique<TWorkerThread>();
    ++Shared()->FRefCount;
}

void ReleaseWorker(TBaseNodeTree* tree)
{
    TWorkerThread* worker = SharedWorker();
    if (!worker)
        return;
    --worker->FRefCount;
    tree->StopCacheValidation();
    if (worker->FRefCount == 0)
        Shared().reset();
}

TWorkerThread::TWorkerThread() : FThread([this] { Execute(); }) {}

TWorkerThread::~TWorkerThread()
{
    {
        std::lock_guard lock(FMutex);
        FTerminate = true;
    }
    FWake.notify_all();
    FThread.join();
}

void TWorkerThread::Signal()
{
    {
        std::lock_guard lock(FMutex);
        FSignalled = true;
    }
    FWake.notify_one();
}

TBaseNodeTree* TWorkerThread::CurrentTree() const
{
    std::lock_guard lock(FMutex);
    return FCurrentTree;
}

void TWorkerThread::AddTree(TBaseNodeTree* tree)
{
    TreeAssert(tree, "Tree must not be nil.");
    tree->LeaveStates(TS(tsStopValidation));
    std::lock_guard lock(FMutex);
    if (std::find(FWaiterList.begin(), FWaiterList.end(), tree) == FWaiterList.end())
        FWaiterList.push_back(tree);
    tree->FInWorker = true;
}

void TWorkerThread::RemoveTree(TBaseNodeTree* tree)
{
    TreeAssert(tree, "Tree must not be nil.");
    std::unique_lock lock(FMutex);
    auto it = std::find(FWaiterList.begin(), FWaiterList.end(), tree);
    if (it != FWaiterList.end())
        FWaiterList.erase(it);
    WaitWhile(lock, tree, false);
    tree->FInWorker = false;
}

void TWorkerThread::WaitForTree(TBaseNodeTree* tree)
{
    std::unique_lock lock(FMutex);
    WaitWhile(lock, tree, true);
}

void TWorkerThread::WaitWhile(std::unique_lock<std::mutex>& lock, TBaseNodeTree* tree, bool queuedToo)
{
    auto busy = [&] {
        return FCurrentTree == tree ||
               (queuedToo && std::find(FWaiterList.begin(), FWaiterList.end(), tree) != FWaiterList.end());
    };
    while (busy()) {
        // The worker may wait for the GUI thread: serve it, whichever tree it is building.
        if (FRequest.Pending) {
            ServeRequest(lock);
            continue;
        }
        FProgress.wait(lock);
    }
}

void TWorkerThread::ServeRequest(std::unique_lock<std::mutex>& lock)
{
    if (!FRequest.Pending)
        return;
    FRequest.Pending = false;
    const Request request = FRequest;
    lock.unlock();
    try {
        request.Tree->DoStateChange(request.Enter, request.Leave);
    } catch (...) {
        // The states are changed before the handler runs; its errors must not stall the worker.
    }
    lock.lock();
    FRequest.Done = true;
    FProgress.notify_all();
}

void TWorkerThread::ServeQueued()
{
    std::unique_lock lock(FMutex);
    ServeRequest(lock);
}

void TWorkerThread::ChangeTreeStatesAsync(TBaseNodeTree* tree, TNodeTreeStates enter, TNodeTreeStates leave)
{
    std::unique_lock lock(FMutex);
    FRequest = Request{true, false, tree, enter, leave};
    // Dropped unread when the tree is gone; the GUI thread may also serve it while it waits.
    QMetaObject::invokeMethod(
        tree,
        [] {
            if (TWorkerThread* worker = SharedWorker())
                worker->ServeQueued();
        },
        Qt::QueuedConnection);
    FProgress.notify_all();
    FProgress.wait(lock, [this] { return FRequest.Done; });
}

void TWorkerThread::Execute()
{
    pthread_setname_np(pthread_self(), "NodeTreesWorker");
    for (;;) {
        TBaseNodeTree* tree = nullptr;
        {
            std::unique_lock lock(FMutex);
            FWake.wait(lock, [this] { return FSignalled || FTerminate; });
            if (FTerminate)
                return;
            FSignalled = false;
            if (FWaiterList.empty())
                continue;
            tree = FWaiterList.front();
            FWaiterList.pop_front();
            if (!FWaiterList.empty())
                FSignalled = true;
            FCurrentTree = tree;
        }
        ChangeTreeStatesAsync(tree, TS(tsValidating), TS(tsUseCache, tsValidationNeeded));
        TNodeTreeStates result = 0;
        try {
            if (!(tree->TreeStates() & TS(tsStopValidation)) && tree->BuildPositionCache())
                result = TS(tsUseCache);
        } catch (...) {
            result = 0;
        }
        ChangeTreeStatesAsync(tree, result, TS(tsStopValidation, tsValidating));
        // Queued while the tree is still held, so it cannot be freed before the call is posted;
        // a tree freed later drops the call with its other posted events.
        QMetaObject::invokeMethod(tree, [tree] { tree->UpdateEditBounds(); }, Qt::QueuedConnection);
        {
            std::lock_guard lock(FMutex);
            tree->FInWorker = false;
            FCurrentTree = nullptr;
        }
        FProgress.notify_all();
    }
}

// ---------------------------------------------------------------------------------------------
// The tree's side of the cache

void TBaseNodeTree::MarkCacheStale() { DoStateChange(TS(tsValidationNeeded), TS(tsUseCache)); }

void TBaseNodeTree::StopCacheValidation()
{
    DoStateChange(TS(tsStopValidation), TS(tsUseCache));
    TWorkerThread* worker = SharedWorker();
    if (worker && FInWorker.load()) {
        const bool wasValidating = HasState(tsValidating);
        worker->RemoveTree(this);
        if (wasValidating)
            MarkCacheStale();
    }
}

void TBaseNodeTree::StartCacheValidation()
{
    StopCacheValidation();
    FStartIndex = 0;
    TWorkerThread* worker = SharedWorker();
    if (HasState(tsValidationNeeded) && FVisibleCount > CacheThreshold && worker && !FDestroying) {
        worker->AddTree(this);
        worker->Signal();
    }
}

void TBaseNodeTree::WaitForCacheValidation()
{
    if (TWorkerThread* worker = SharedWorker())
        worker->WaitForTree(this);
}

uint32_t TBaseNodeTree::CacheEntriesNeeded() const
{
    return FVisibleCount <= 1 ? 0 : (FVisibleCount + CacheThreshold - 1) / CacheThreshold;
}

bool TBaseNodeTree::BuildPositionCache()
{
    auto stopped = [this] { return (TreeStates() & TS(tsStopValidation)) != 0; };
    uint32_t count = 0;
    if (stopped())
        return false;
    if (FStartIndex == 0)
        FPositionCache.clear();
    FPositionCache.resize(CacheEntriesNeeded());
    FStartIndex = std::min<uint32_t>(FStartIndex, uint32_t(FPositionCache.size()));
    PTreeNode node = GetFirstVisibleNoInit(nullptr, true, false);
    size_t index = 0;
    uint32_t top = 0;
    while (node && !stopped()) {
        if (count % CacheThreshold == 0 && index < FPositionCache.size())
            FPositionCache[index++] = TCacheEntry{node, top};
        top += node->NodeHeight;
        PTreeNode next = GetNextVisibleNoInit(node, true);
        if (!next)
            break;
        node = next;
        ++count;
    }
    if (!stopped() && index < FPositionCache.size()) {
        FPositionCache.resize(index + 1);
        FPositionCache[index] = TCacheEntry{node, top};
    }
    return count > 0 && !stopped();
}

PTreeNode TBaseNodeTree::NearestCacheEntryForPosition(uint32_t y, uint32_t& top) const
{
    auto it = std::upper_bound(FPositionCache.begin(), FPositionCache.end(), y,
                               [](uint32_t value, const TCacheEntry& e) { return value < e.AbsoluteTop; });
    if (it == FPositionCache.begin()) {
        top = 0;
        return nullptr;
    }
    --it;
    top = it->AbsoluteTop;
    return it->Node;
}

namespace {
// Ancestor chain from the root's child down to the node.
void PathOf(const TBaseNodeTree& tree, PTreeNode node, std::vector<PTreeNode>& path)
{
    path.clear();
    for (PTreeNode n = node; n; n = tree.GetNodeParent(n))
        path.push_back(n);
    std::reverse(path.begin(), path.end());
}
}  // namespace

PTreeNode TBaseNodeTree::NearestCacheEntryForNode(PTreeNode node, uint32_t& top) const
{
    // Tree order: a node comes after its parent and after its previous siblings' subtrees.
    std::vector<PTreeNode> a, b;
    auto atOrBefore = [&](PTreeNode entry) {
        PathOf(*this, entry, a);
        PathOf(*this, node, b);
        size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        if (i == a.size())
            return true;  // entry is the node or one of its ancestors
        if (i == b.size())
            return false;
        return a[i]->Index < b[i]->Index;
    };
    size_t lo = 0, hi = FPositionCache.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (atOrBefore(FPositionCache[mid].Node))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0) {
        top = 0;
        return nullptr;
    }
    top = FPositionCache[lo - 1].AbsoluteTop;
    return FPositionCache[lo - 1].Node;
}

}  // namespace tree
