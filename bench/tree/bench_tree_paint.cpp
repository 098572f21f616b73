// Painting one page of a million expanded nodes (1000 parents with 1000 children, each showing a
// text of one length from its user value) at the top, the middle and the bottom, against Qt's
// tree view over an item model of the same texts, both rendered into an image with QWidget::render.
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include "controls/tree/StringTree.h"
#include <memory>

using namespace tree;

namespace {

constexpr int Parents = 1000;
constexpr int Children = 1000;
const QSize PageSize(400, 600);

// Numbers are zero-padded so that every row has a text of the same length wherever the page is:
// what a page costs then depends on where it lies, not on how many characters its texts have.
QString ItemText(intptr_t parent, intptr_t child)
{
    const QString p = QStringLiteral("%1").arg(parent, 4, 10, QLatin1Char('0'));
    return child == 0 ? QStringLiteral("Meter %1").arg(p)
                      : QStringLiteral("Value %1.%2").arg(p).arg(child, 4, 10, QLatin1Char('0'));
}

struct PaintTree {
    PaintTree()
    {
        Tree.resize(PageSize);
        Tree.OnGetText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
            const intptr_t value = *static_cast<intptr_t*>(t->GetNodeData(node));
            text = t->GetNodeLevel(node) == 0 ? ItemText(value, 0) : ItemText(value / 10000, value % 10000);
        };
        Tree.BeginUpdate();
        for (intptr_t i = 0; i < Parents; ++i) {
            PTreeNode parent = Tree.AddChild(nullptr, reinterpret_cast<void*>(i + 1));
            for (intptr_t j = 0; j < Children; ++j)
                Tree.AddChild(parent, reinterpret_cast<void*>((i + 1) * 10000 + j + 1));
        }
        Tree.EndUpdate();
        Tree.FullExpand();
        Tree.WaitForCacheValidation();
        Tree.UpdateScrollBars(true);
    }
    TNodeStringTree Tree;
};

// The fraction of the way down the page starts at: 0 top, 1/2 middle, 1 bottom.
void PaintPage(benchmark::State& state, double where)
{
    PaintTree p;
    const int bottom = p.Tree.ClientHeight() - int(p.Tree.RangeY());
    p.Tree.SetOffsetY(int(bottom * where));
    QImage image(PageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        p.Tree.render(&image);
        benchmark::ClobberMemory();
    }
    if (image.pixel(PageSize.width() / 2, PageSize.height() / 2) == 0)
        state.SkipWithError("nothing painted");
}

struct QtView {
    QtView()
    {
        QStandardItem* root = Model.invisibleRootItem();
        for (int i = 0; i < Parents; ++i) {
            auto* parent = new QStandardItem(ItemText(i + 1, 0));
            root->appendRow(parent);
            for (int j = 0; j < Children; ++j)
                parent->appendRow(new QStandardItem(ItemText(i + 1, j + 1)));
        }
        View.resize(PageSize);
        View.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        View.setModel(&Model);
        View.expandAll();
        QCoreApplication::processEvents();
    }
    QStandardItemModel Model;
    QTreeView View;
};

void BM_Qt_PaintPage_Middle(benchmark::State& state)
{
    QtView v;
    QScrollBar* bar = v.View.verticalScrollBar();
    bar->setValue((bar->minimum() + bar->maximum()) / 2);
    QCoreApplication::processEvents();
    QImage image(PageSize, QImage::Format_RGB32);
    for (auto _ : state) {
        v.View.render(&image);
        benchmark::ClobberMemory();
    }
}

const auto* RegisteredTop = benchmark::RegisterBenchmark("BM_Tree_PaintPage/Top", [](benchmark::State& s) { PaintPage(s, 0); })->Unit(benchmark::kMicrosecond);
const auto* RegisteredMiddle = benchmark::RegisterBenchmark("BM_Tree_PaintPage/Middle", [](benchmark::State& s) { PaintPage(s, 0.5); })->Unit(benchmark::kMicrosecond);
const auto* RegisteredBottom = benchmark::RegisterBenchmark("BM_Tree_PaintPage/Bottom", [](benchmark::State& s) { PaintPage(s, 1); })->Unit(benchmark::kMicrosecond);
const auto* RegisteredQt = benchmark::RegisterBenchmark("BM_Qt_PaintPage/Middle", BM_Qt_PaintPage_Middle)->Unit(benchmark::kMicrosecond);

}  // namespace
