// Painting one page of 20 columns scrolled to the middle of a grid of 100 rows and of 1,000,000
// rows, against Qt's table view over an item model of 1,000,000 rows, each rendered into an image
// with QWidget::render. The page's cells hold texts; painting must not look at the other rows.
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <memory>

#include "grid/core/ExtStringGrid.h"
#include "BenchApplication.h"

namespace {

constexpr int Cols = 20;
constexpr int ColWidth = 64;
constexpr int RowHeight = 24;
const QSize PageSize(Cols * ColWidth + 4, 25 * RowHeight);

QString CellText(int r, int c) { return QStringLiteral("r%1c%2").arg(r).arg(c); }

void PaintGridPage(benchmark::State& state, int rows)
{
    EnsureApplication();
    grid::TExtStringGrid g;
    g.SetGridScrollBars(platform::ssNone);
    g.SetColCount(Cols);
    g.SetRowCount(rows);
    g.SetDefaultColWidth(ColWidth);
    g.SetBounds(0, 0, PageSize.width(), PageSize.height());
    const int top = std::max(1, rows / 2 - 12);
    g.SetTopRow(top);
    for (int r = top; r < std::min(rows, top + 30); ++r)
        for (int c = 0; c < Cols; ++c)
            g.SetCells(c, r, CellText(r, c));
    QImage image(PageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        g.render(&image);
        benchmark::ClobberMemory();
    }
    state.counters["top"] = g.TopRow();
}

void BM_PaintPage_Grid100(benchmark::State& state) { PaintGridPage(state, 100); }
void BM_PaintPage_Grid1M(benchmark::State& state) { PaintGridPage(state, 1000000); }

void BM_PaintPage_QtTableView(benchmark::State& state)
{
    EnsureApplication();
    constexpr int rows = 1000000;
    QStandardItemModel model(rows, Cols);
    QTableView view;
    view.setModel(&model);
    view.horizontalHeader()->setDefaultSectionSize(ColWidth);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.resize(PageSize);
    const int top = rows / 2 - 12;
    for (int r = top; r < top + 30; ++r)
        for (int c = 0; c < Cols; ++c)
            model.setItem(r, c, new QStandardItem(CellText(r, c)));
    view.scrollTo(model.index(top, 0), QAbstractItemView::PositionAtTop);
    QImage image(PageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_PaintPage_Grid100)->Name("BM_PaintPage/Grid100")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPage_Grid1M)->Name("BM_PaintPage/Grid1M")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPage_QtTableView)->Name("BM_PaintPage/QtTableView")->Unit(benchmark::kMicrosecond);
