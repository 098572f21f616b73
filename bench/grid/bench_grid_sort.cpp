// Sorting 100,000 rows of one numeric and one text column, first by the numbers, then by the
// texts: the grid's sort against Qt's sort filter proxy over a standard item model.
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridDataOperations.h"
#include "BenchApplication.h"

namespace {

constexpr int Rows = 100000;

// The same pseudo-random rows for both sides.
int Number(int r) { return int((uint32_t(r) * 2654435761u) % 1000003u); }
QString Text(int r) { return QStringLiteral("item%1").arg((uint32_t(r) * 40503u) % 65521u); }

void BM_SortGrid(benchmark::State& state)
{
    EnsureApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<grid::TExtStringGrid>();
        g->SetLayers({.DataOps = grid::dataops::DataOperations()});
        g->SetColCount(3);
        g->SetRowCount(Rows + 1);
        for (int r = 1; r <= Rows; ++r) {
            g->SetCells(1, r, QString::number(Number(r)));
            g->SetCells(2, r, Text(r));
        }
        g->SortSettings.Full = false;
        grid::dataops::TGridSorting& sorting = grid::dataops::DataOps(*g)->Sorting;
        state.ResumeTiming();
        sorting.Sort(1, grid::sdAscending);
        sorting.Sort(2, grid::sdAscending);
        benchmark::DoNotOptimize(g->Cells(2, 1));
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_SortQtProxy(benchmark::State& state)
{
    EnsureApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<QStandardItemModel>(Rows, 2);
        for (int r = 0; r < Rows; ++r) {
            model->setData(model->index(r, 0), Number(r + 1));
            model->setData(model->index(r, 1), Text(r + 1));
        }
        auto proxy = std::make_unique<QSortFilterProxyModel>();
        proxy->setSourceModel(model.get());
        state.ResumeTiming();
        proxy->sort(0);
        proxy->sort(1);
        benchmark::DoNotOptimize(proxy->index(0, 1).data());
        state.PauseTiming();
        proxy.reset();
        model.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

}  // namespace

BENCHMARK(BM_SortGrid)->Name("BM_Sort/Grid")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortQtProxy)->Name("BM_Sort/QtProxy")->Unit(benchmark::kMillisecond);
