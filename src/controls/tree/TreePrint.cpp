#include "controls/tree/NodeTrees.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace tree {

namespace {

// Restores what printing changes on the tree, also when printing fails half-way. Text is drawn
// antialiased by default here, so the fonts stay as they are.
struct PrintState {
    TBaseNodeTree& Tree;
    platform::TColor Color;
    explicit PrintState(TBaseNodeTree& tree) : Tree(tree), Color(tree.Color())
    {
        Tree.BeginUpdate();
    }
    ~PrintState()
    {
        Tree.SetColor(Color);
        Tree.EndUpdate();
    }
};

}  // namespace

void TBaseNodeTree::Print(QPrinter* printer, bool printHeader)
{
    if (!printer)
        return;
    PrintState state(*this);

    const bool withHeader = printHeader && (FHeader.Options() & hoVisible);
    const int headerHeight = withHeader ? FHeader.Height() : 0;
    const QRect treeRect = GetTreeRect();
    const QSize imageSize(treeRect.width(), treeRect.height() + headerHeight);

    QPainter printerPainter;
    if (!printerPainter.begin(printer))
        return;
    // Text on paper keeps the size it has at the printer's resolution.
    const QString sample = QStringLiteral("Tj");
    const double scale = QFontMetricsF(font(), printer).boundingRect(sample).height() /
                         QFontMetricsF(font(), this).boundingRect(sample).height();
    const int pageWidth = printer->width();
    const int pageHeight = printer->height();
    const QSize tile(std::max(1, int(std::lround(pageWidth / scale))), std::max(1, int(std::lround(pageHeight / scale))));
    const int across = (imageSize.width() + tile.width() - 1) / tile.width();
    const int down = (imageSize.height() + tile.height() - 1) / tile.height();

    // Each page is painted on its own, so memory stays at one page whatever the tree's size.
    QImage page(tile, QImage::Format_RGB32);
    // Paper is white whatever the tree's colour.
    SetColor(platform::clWhite);
    for (int row = 0; row < down; ++row) {
        for (int column = 0; column < across; ++column) {
            const QRect area(QPoint(column * tile.width(), row * tile.height()), tile);
            page.fill(Qt::white);
            {
                QPainter painter(&page);
                platform::TCanvas canvas;
                canvas.Attach(&painter);
                if (area.top() < headerHeight) {
                    const QRect strip(area.left(), area.top(), std::min(area.width(), imageSize.width() - area.left()),
                                      headerHeight - area.top());
                    FHeader.Columns().PaintHeader(canvas, strip, QPoint(0, 0));
                }
                const int top = std::max(area.top(), headerHeight);
                const QRect window(area.left(), top - headerHeight, area.width(), area.bottom() + 1 - top);
                const QRect visible = window.intersected(treeRect);
                if (!visible.isEmpty())
                    PaintTree(canvas, visible, QPoint(visible.left() - area.left(), top - area.top()), poGridLines);
                canvas.Detach();
            }
            printerPainter.drawImage(QRect(0, 0, pageWidth, pageHeight - 1), page);
            if (row + 1 < down || column + 1 < across)
                printer->newPage();
        }
    }
    printerPainter.end();
}

}  // namespace tree
