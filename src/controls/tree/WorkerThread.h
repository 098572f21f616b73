#pragma once
#include "controls/tree/NodeTreeTypes.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace tree {

class TBaseNodeTree;

// The one background thread that builds the position caches of all trees. It only reads node
// structures; every tree state it needs changed is applied on the GUI thread while the worker
// waits, and the GUI thread waits for it before any structural change.
class TWorkerThread {
public:
    TWorkerThread();
    ~TWorkerThread();

    // Queues a tree for a build (once); the caller signals.
    void AddTree(TBaseNodeTree* tree);
    // Takes the tree off the queue and returns once the worker has left it.
    void RemoveTree(TBaseNodeTree* tree);
    // Returns once the tree is neither queued nor being built.
    void WaitForTree(TBaseNodeTree* tree);
    void Signal();
    TBaseNodeTree* CurrentTree() const;

    uint32_t FRefCount = 0;

private:
    void Execute();
    // Asks the GUI thread to change the tree's states and waits until it has.
    void ChangeTreeStatesAsync(TBaseNodeTree* tree, TNodeTreeStates enter, TNodeTreeStates leave);
    // GUI side: applies a waiting state request; the lock is held on entry and on return.
    void ServeRequest(std::unique_lock<std::mutex>& lock);
    void ServeQueued();
    void WaitWhile(std::unique_lock<std::mutex>& lock, TBaseNodeTree* tree, bool queuedToo);
    friend class TBaseNodeTree;

    mutable std::mutex FMutex;
    std::condition_variable FWake;      // the worker event
    std::condition_variable FProgress;  // current tree or state requests changed
    bool FSignalled = false;
    bool FTerminate = false;
    std::deque<TBaseNodeTree*> FWaiterList;
    TBaseNodeTree* FCurrentTree = nullptr;
    struct Request {
        bool Pending = false;  // posted, not yet taken by the GUI thread
        bool Done = false;     // applied
        TBaseNodeTree* Tree = nullptr;
        TNodeTreeStates Enter = 0, Leave = 0;
    } FRequest;
    std::thread FThread;
};

TWorkerThread* SharedWorker();
void AcquireWorker();
void ReleaseWorker(TBaseNodeTree* tree);

}  // namespace tree
