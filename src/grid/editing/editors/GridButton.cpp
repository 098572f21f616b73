#include "grid/editing/editors/GridButton.h"

#include <QKeyEvent>

namespace grid::editors {

TGridButton::TGridButton(TExtStringGrid& grid, QWidget* parent) : QPushButton(parent), FGrid(grid)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { Press(); });
}

void TGridButton::SetCaption(const QString& caption)
{
    FCaption = caption;
    QString shown = caption;
    setText(shown.replace(QLatin1Char('&'), QLatin1String("&&")));
}

void TGridButton::Press()
{
    const QString answer = Host.EllipsClick ? Host.EllipsClick(FCaption) : FCaption;
    SetCaption(answer);
    if (Host.SetCurrentCell)
        Host.SetCurrentCell(answer);
}

bool TGridButton::event(QEvent* event)
{
    // The button claims Esc and the arrows before the window uses them to move the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QPushButton::event(event);
}

void TGridButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (Host.HideEditor)
            Host.HideEditor();
        if (Host.GridKey)
            Host.GridKey(key, event->modifiers());
        return;
    case Qt::Key_Escape: {
        // The saved text as it was before hiding, which takes the pressed value as the new one.
        const QString saved = Host.CellCache ? Host.CellCache() : FCaption;
        if (Host.HideEditor)
            Host.HideEditor();
        if (Host.SetCurrentCell)
            Host.SetCurrentCell(saved);
        if (Host.GridKey)
            Host.GridKey(key, event->modifiers());
        return;
    }
    default:
        QPushButton::keyPressEvent(event);
    }
}

void TGridButton::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && Host.HideEditor)
        Host.HideEditor();
    QPushButton::focusOutEvent(event);
}

}  // namespace grid::editors
