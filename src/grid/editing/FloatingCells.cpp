#include "grid/editing/FloatingCells.h"

#include <QPainter>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

TFloatingCells::TFloatingCells(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

bool TFloatingCells::TakeCells(TExtStringGrid& grid, const TGridRect& cells)
{
    const TRect r = grid.MirrorRect(grid.RangeRect(cells));
    const QRect area = QRect(QPoint(std::min(r.Left, r.Right), r.Top), QPoint(std::max(r.Left, r.Right) - 1, r.Bottom - 1));
    const QRect visible = area & grid.Client()->rect();
    if (visible.isEmpty()) {
        FPicture = {};
        return false;
    }
    FOrigin = visible.topLeft();
    FPicture = grid.Client()->grab(visible);
    resize(visible.size());
    return true;
}

void TFloatingCells::Follow(const QPoint& screen, const QPoint& hotSpot)
{
    move(screen - hotSpot);
}

void TFloatingCells::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, FPicture);
    // A frame tells the copy from the cells under it.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace grid::editing
