#include "grid/editing/editors/GridSpin.h"

#include <QKeyEvent>

namespace grid::editors {

TGridSpin::TGridSpin(TExtStringGrid& grid, QWidget* parent) : TEsgSpinEdit(parent), FGrid(grid)
{
    MaxValue = 100;
    MinValue = 0;
    Increment = 1;
    setFrame(false);
}

void TGridSpin::UpClick()
{
    TEsgSpinEdit::UpClick();
    Clicked(true);
}

void TGridSpin::DownClick()
{
    TEsgSpinEdit::DownClick();
    Clicked(false);
}

void TGridSpin::Clicked(bool up)
{
    switch (SpinType()) {
    case sptNormal:
        if (OnSpinClick)
            OnSpinClick(Value(), up);
        break;
    case sptFloat:
        if (OnFloatSpinClick)
            OnFloatSpinClick(FloatValue(), up);
        break;
    case sptDate:
        if (OnDateSpinClick)
            OnDateSpinClick(DateValue(), up);
        break;
    case sptTime:
        if (OnTimeSpinClick)
            OnTimeSpinClick(TimeValue(), up);
        break;
    }
}

bool TGridSpin::event(QEvent* event)
{
    // Tab reaches the key handling only while the grid moves between its cells by Tab.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && Host.GoTabs && Host.GoTabs()) {
            keyPressEvent(key);
            return true;
        }
    }
    return TEsgSpinEdit::event(event);
}

void TGridSpin::Leave(QKeyEvent* event)
{
    const int key = event->key();
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    if (key == Qt::Key_Escape) {
        const QString saved = Host.CellCache ? Host.CellCache() : text();
        setText(saved);
        if (SpinType() == sptNormal)
            SetValue(Value());
        else if (SpinType() == sptFloat)
            SetFloatValue(FloatValue());
        if (Host.DoneEdit)
            Host.DoneEdit(key, event->modifiers());
        // The cell gets its saved text back exactly, also one the value would have reformatted.
        if (Host.SetCurrentCell)
            Host.SetCurrentCell(saved);
        return;
    } else {
        if (Host.Validate && !Host.Validate(text())) {
            if (Host.CurrentCellText)
                setText(Host.CurrentCellText());
            end(false);
            update();
            return;
        }
        if (Host.CurrentCellText)
            setText(Host.CurrentCellText());
        if (tab && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
            Host.TabStep((event->modifiers() & Qt::ShiftModifier) || key == Qt::Key_Backtab);
            return;
        }
    }
    if (Host.DoneEdit)
        Host.DoneEdit(key, event->modifiers());
    if (Host.AdvanceShow)
        Host.AdvanceShow();
}

void TGridSpin::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (SpinType() == sptDate || SpinType() == sptTime)
            break;
        const bool home = event->key() == Qt::Key_Home;
        if (SpinType() == sptNormal)
            SetValue(home ? MaxValue : MinValue);
        else
            SetFloatValue(home ? MaxFloatValue : MinFloatValue);
        if (OnSpinClick)
            OnSpinClick(Value(), false);
        return;
    }
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        Leave(event);
        return;
    default:
        break;
    }
    TEsgSpinEdit::keyPressEvent(event);
}

void TGridSpin::focusOutEvent(QFocusEvent* event)
{
    // The list of another window or the loss of the window's activation is no exit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && Host.HideEditor)
        Host.HideEditor();
    TEsgSpinEdit::focusOutEvent(event);
}

}  // namespace grid::editors
