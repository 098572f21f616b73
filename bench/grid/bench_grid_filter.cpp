// Filtering 100,000 rows by a wildcard condition that keeps one row in ten: the grid's filter
// (conditions parsed once, failing rows hidden in one batch) against Qt's sort filter proxy over a
// standard item model.
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridDataOperations.h"
#include "BenchApplication.h"

namespace {

constexpr int Rows = 100000;
const QString Condition = QStringLiteral("item*7x");

// Every tenth text ends in "7x" and matches.
QString Text(int r) { return QStringLiteral("item%1%2x").arg((uint32_t(r) * 40503u) % 65521u).arg(r % 10); }

void BM_FilterGrid(benchmark::State& state)
{
    EnsureApplication();
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<grid::TExtStringGrid>();
        g->SetLayers({.DataOps = grid::dataops::DataOperations()});
        g->SetColCount(2);
        g->SetRowCount(Rows + 1);
        for (int r = 1; r <= Rows; ++r)
            g->SetCells(1, r, Text(r));
        grid::TFilterData* condition = g->Filter.Add();
        condition->Column = 1;
        condition->Condition = Condition;
        grid::dataops::TGridFilter& filtering = grid::dataops::DataOps(*g)->Filtering;
        state.ResumeTiming();
        filtering.SetFilterActive(true);
        shown = g->RowCount() - 1;
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["shown"] = shown;
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_FilterQtProxy(benchmark::State& state)
{
    EnsureApplication();
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<QStandardItemModel>(Rows, 1);
        for (int r = 0; r < Rows; ++r)
            model->setData(model->index(r, 0), Text(r + 1));
        auto proxy = std::make_unique<QSortFilterProxyModel>();
        proxy->setSourceModel(model.get());
        proxy->setFilterCaseSensitivity(Qt::CaseSensitive);
        state.ResumeTiming();
        proxy->setFilterWildcard(Condition);
        shown = proxy->rowCount();
        state.PauseTiming();
        proxy.reset();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["shown"] = shown;
    state.SetItemsProcessed(state.iterations() * Rows);
}

}  // namespace

BENCHMARK(BM_FilterGrid)->Name("BM_Filter/Grid")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterQtProxy)->Name("BM_Filter/QtProxy")->Unit(benchmark::kMillisecond);
