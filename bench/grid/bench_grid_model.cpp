// The grid's row mapping and cell storage beside Qt's item model with a filter proxy: every
// display row mapped to its real row with every other row hidden, and 100,000 x 20 short texts
// filled, with the bytes each cell costs.
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "BenchApplication.h"
#include "grid/core/ExtStringGrid.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 20;

size_t AllocatedBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

QString CellText(int r, int c) { return QStringLiteral("r%1c%2").arg(r).arg(c); }

void Fill(grid::TExtStringGrid& g)
{
    g.SetColCount(Cols);
    g.SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            g.SetCells(c, r, CellText(r, c));
}

void Fill(QStandardItemModel& model)
{
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            model.setData(model.index(r, c), CellText(r, c));
}

// Keeps the even source rows, as the grid keeps its shown rows.
class TEvenRows : public QSortFilterProxyModel {
protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex&) const override { return sourceRow % 2 == 0; }
};

enum TSide { Grid, QtModel };

void BM_RowMapping(benchmark::State& state, TSide side)
{
    EnsureApplication();
    if (side == Grid) {
        grid::TExtStringGrid g;
        Fill(g);
        std::vector<int> odd;
        for (int r = 1; r < Rows; r += 2)
            odd.push_back(r);
        g.HideRowList(odd);
        for (auto _ : state) {
            int64_t sum = 0;
            for (int d = 0; d < g.RowCount(); ++d)
                sum += g.DisplToRealRow(d);
            benchmark::DoNotOptimize(sum);
        }
        state.SetItemsProcessed(state.iterations() * g.RowCount());
    } else {
        QStandardItemModel model(Rows, Cols);
        Fill(model);
        TEvenRows proxy;
        proxy.setSourceModel(&model);
        const int shown = proxy.rowCount();
        for (auto _ : state) {
            int64_t sum = 0;
            for (int d = 0; d < shown; ++d)
                sum += proxy.mapToSource(proxy.index(d, 0)).row();
            benchmark::DoNotOptimize(sum);
        }
        state.SetItemsProcessed(state.iterations() * shown);
    }
}

void BM_FillCells(benchmark::State& state, TSide side)
{
    EnsureApplication();
    double bytesPerCell = 0;
    for (auto _ : state) {
        const size_t before = AllocatedBytes();
        // The measure is taken while the filled store is alive; its release is not timed.
        if (side == Grid) {
            grid::TExtStringGrid g;
            Fill(g);
            bytesPerCell = double(AllocatedBytes() - before) / (double(Rows) * Cols);
            state.PauseTiming();
        } else {
            QStandardItemModel model(Rows, Cols);
            Fill(model);
            bytesPerCell = double(AllocatedBytes() - before) / (double(Rows) * Cols);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["bytes_per_cell"] = bytesPerCell;
}

}  // namespace

BENCHMARK_CAPTURE(BM_RowMapping, Grid, Grid)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RowMapping, QtProxy, QtModel)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillCells, Grid, Grid)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_FillCells, QtModel, QtModel)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
