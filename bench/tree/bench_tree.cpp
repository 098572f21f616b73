// The tree control against Qt's item model on the same work: a million nodes (1000 parents with
// 1000 children each, every node holding one user value), expanding all of them, and finding the
// node at the last pixel row of the expanded tree.
#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include "controls/tree/NodeTrees.h"
#include <malloc.h>
#include <memory>

using namespace tree;

namespace {

constexpr int Parents = 1000;
constexpr int Children = 1000;
constexpr double Nodes = double(Parents) * (Children + 1);

size_t HeapInUse() { return mallinfo2().uordblks; }

void FillTree(TBaseNodeTree& t)
{
    t.BeginUpdate();
    for (intptr_t i = 0; i < Parents; ++i) {
        PTreeNode parent = t.AddChild(nullptr, reinterpret_cast<void*>(i + 1));
        for (intptr_t j = 0; j < Children; ++j)
            t.AddChild(parent, reinterpret_cast<void*>(j + 1));
    }
    t.EndUpdate();
}

void FillModel(QStandardItemModel& m)
{
    QStandardItem* root = m.invisibleRootItem();
    for (int i = 0; i < Parents; ++i) {
        auto* parent = new QStandardItem;
        parent->setData(i + 1, Qt::UserRole);
        root->appendRow(parent);
        for (int j = 0; j < Children; ++j) {
            auto* child = new QStandardItem;
            child->setData(j + 1, Qt::UserRole);
            parent->appendRow(child);
        }
    }
}

// Times the filling of a fresh container and counts the heap bytes it took per node.
template <typename Container, typename Fill>
void MeasureAdd(benchmark::State& state, Fill fill)
{
    {
        // One untimed fill first: the pages come from the kernel once, not inside a timed run.
        auto warm = std::make_unique<Container>();
        fill(*warm);
    }
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto container = std::make_unique<Container>();
        const size_t before = HeapInUse();
        state.ResumeTiming();
        fill(*container);
        state.PauseTiming();
        bytes = double(HeapInUse() - before) / Nodes;
        container.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_node"] = bytes;
}

void BM_Tree_Add(benchmark::State& state) { MeasureAdd<TBaseNodeTree>(state, FillTree); }
void BM_Qt_Add(benchmark::State& state) { MeasureAdd<QStandardItemModel>(state, FillModel); }

// Expanded and ready to answer positions: the tree's position cache is built, Qt's view has laid
// out its items.
void BM_Tree_ExpandAll(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TBaseNodeTree>();
        FillTree(*t);
        state.ResumeTiming();
        t->FullExpand();
        t->WaitForCacheValidation();
        state.PauseTiming();
        if (t->VisibleCount() != uint32_t(Nodes))
            state.SkipWithError("not all nodes expanded");
        t.reset();
        state.ResumeTiming();
    }
}

void BM_Qt_ExpandAll(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<QStandardItemModel>();
        FillModel(*m);
        auto v = std::make_unique<QTreeView>();
        v->resize(400, 600);
        v->setModel(m.get());
        state.ResumeTiming();
        v->expandAll();
        state.PauseTiming();
        v.reset();
        m.reset();
        state.ResumeTiming();
    }
}

void BM_Tree_NodeAtEnd(benchmark::State& state)
{
    TBaseNodeTree t;
    FillTree(t);
    t.FullExpand();
    t.WaitForCacheValidation();
    const int last = int(t.RootNode()->TotalHeight - t.RootNode()->NodeHeight) - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(t.GetNodeAt(0, last, false, nullptr));
    if (t.GetNodeAt(0, last, false, nullptr) != t.GetLastVisibleNoInit())
        state.SkipWithError("wrong node");
}

void BM_Qt_IndexAtEnd(benchmark::State& state)
{
    QStandardItemModel m;
    FillModel(m);
    QTreeView v;
    v.resize(400, 600);
    v.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v.setModel(&m);
    v.expandAll();
    v.scrollToBottom();
    QCoreApplication::processEvents();
    // The last pixel row of the content, now at the bottom of the view.
    const QModelIndex lastIndex = m.index(Children - 1, 0, m.index(Parents - 1, 0));
    const QPoint last(1, v.visualRect(lastIndex).bottom());
    for (auto _ : state)
        benchmark::DoNotOptimize(v.indexAt(last));
    if (v.indexAt(last) != lastIndex)
        state.SkipWithError("wrong index");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Freed memory stays with the allocator for both sides, so that repeated runs measure the
    // containers rather than the kernel handing the same pages out again.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("BM_Tree_Add/1M", BM_Tree_Add)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_Qt_Add/1M", BM_Qt_Add)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_Tree_ExpandAll", BM_Tree_ExpandAll)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_Qt_ExpandAll", BM_Qt_ExpandAll)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_Tree_NodeAtEnd", BM_Tree_NodeAtEnd)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_Qt_IndexAtEnd", BM_Qt_IndexAtEnd)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
