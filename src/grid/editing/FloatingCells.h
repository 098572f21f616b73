#pragma once
#include <QPixmap>
#include <QWidget>

namespace grid {
class TExtStringGrid;
struct TGridRect;
}

namespace grid::editing {

// The floating copy of cells that follows the mouse while a column or row is moved: a borderless
// window above the others that shows a picture of the cells as the grid drew them, lets every
// mouse event through and never takes the focus.
class TFloatingCells : public QWidget {
public:
    explicit TFloatingCells(QWidget* owner);

    // Takes the picture of the visible part of the cells (display indexes); false when none of
    // them is visible, and the copy then stays hidden.
    bool TakeCells(TExtStringGrid& grid, const TGridRect& cells);
    const QPixmap& Picture() const { return FPicture; }
    // Places the copy so that its point `hotSpot` (its own coordinates) lies at the screen point.
    void Follow(const QPoint& screen, const QPoint& hotSpot);
    // Where the picture stood in the grid's client area when it was taken.
    QPoint Origin() const { return FOrigin; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap FPicture;
    QPoint FOrigin;
};

}  // namespace grid::editing
