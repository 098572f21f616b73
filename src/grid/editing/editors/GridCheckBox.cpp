#include "grid/editing/editors/GridCheckBox.h"

#include <QKeyEvent>

namespace grid::editors {

TGridCheckBox::TGridCheckBox(TExtStringGrid& grid, QWidget* parent) : QCheckBox(parent), FGrid(grid)
{
    setAutoFillBackground(true);
}

void TGridCheckBox::SetCaption(const QString& caption)
{
    QString text = caption;
    setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
}

void TGridCheckBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Escape: {
        // Only Enter (advance) and Up and Down (move) go on to the grid.
        const bool goesOn = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down;
        if (key == Qt::Key_Escape)
            setChecked(OpenedChecked);
        if (Host.DoneEdit)
            Host.DoneEdit(goesOn ? key : 0, event->modifiers());
        return;
    }
    default:
        QCheckBox::keyPressEvent(event);
    }
}

void TGridCheckBox::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && Host.HideEditor)
        Host.HideEditor();
    QCheckBox::focusOutEvent(event);
}

}  // namespace grid::editors
