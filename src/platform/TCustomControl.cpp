#include "platform/TCustomControl.h"

#include "platform/Guard.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWheelEvent>

namespace platform {

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Asterisk: return (modifiers & Qt::KeypadModifier) ? VK_MULTIPLY : 0;
    case Qt::Key_Plus: return (modifiers & Qt::KeypadModifier) ? VK_ADD : 0xBB;
    case Qt::Key_Minus: return (modifiers & Qt::KeypadModifier) ? VK_SUBTRACT : 0xBD;
    case Qt::Key_Slash: return (modifiers & Qt::KeypadModifier) ? VK_DIVIDE : 0xBF;
    case Qt::Key_Period: return (modifiers & Qt::KeypadModifier) ? VK_DECIMAL : 0xBE;
    case Qt::Key_Comma: return 0xBC;
    default: return 0;
    }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

namespace {

bool ToMouseButton(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

QPoint Pos(const QMouseEvent* e) { return e->position().toPoint(); }

}  // namespace

TCustomControl::TCustomControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    FCanvas.Font = Font();
}

TCustomControl::~TCustomControl()
{
    for (const auto& [id, qtId] : FTimers)
        killTimer(qtId);
}

void TCustomControl::SetColor(TColor color)
{
    FColor = color;
    update();
}

void TCustomControl::SetFont(const TFont& font)
{
    setFont(font);
    FFontColor = font.Color;
    update();
}

void TCustomControl::SetFontColor(TColor color)
{
    FFontColor = color;
    update();
}

void TCustomControl::SetHint(const QString& hint)
{
    FHint = hint;
    UpdateToolTip();
}

void TCustomControl::SetShowHint(bool show)
{
    FShowHint = show;
    UpdateToolTip();
}

void TCustomControl::UpdateToolTip() { setToolTip(FShowHint ? FHint : QString()); }

void TCustomControl::SetTabStop(bool tabStop)
{
    FTabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TCustomControl::SetTimer(int id, int intervalMs)
{
    KillTimer(id);
    FTimers[id] = startTimer(intervalMs);
}

void TCustomControl::KillTimer(int id)
{
    const auto it = FTimers.find(id);
    if (it == FTimers.end())
        return;
    killTimer(it->second);
    FTimers.erase(it);
}

void TCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
}

void TCustomControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(shift, x, y);
}

void TCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
}

void TCustomControl::DblClick()
{
    if (OnDblClick)
        OnDblClick();
}

bool TCustomControl::MouseWheel(TShiftState, int, int, int) { return false; }

void TCustomControl::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(key, shift);
}

void TCustomControl::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(key, shift);
}

void TCustomControl::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(key);
}

void TCustomControl::DoEnter()
{
    if (OnEnter)
        OnEnter();
}

void TCustomControl::DoExit()
{
    if (OnExit)
        OnExit();
}

void TCustomControl::Resize()
{
    if (OnResize)
        OnResize();
}

void TCustomControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FCanvas.Attach(&painter);
    FCanvas.Font = Font();
    FCanvas.Pen = TPen();
    FCanvas.Brush = TBrush{FColor, TBrushStyle::bsSolid};
    struct Detach {
        TCanvas& c;
        ~Detach() { c.Detach(); }
    } detach{FCanvas};
    Guarded([&] { Paint(); });
}

void TCustomControl::mousePressEvent(QMouseEvent* event)
{
    TMouseButton b;
    if (!ToMouseButton(event->button(), b)) {
        event->ignore();
        return;
    }
    const QPoint p = Pos(event);
    Guarded([&] { MouseDown(b, ShiftStateFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = Pos(event);
    Guarded([&] { MouseMove(ShiftStateFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    TMouseButton b;
    if (!ToMouseButton(event->button(), b)) {
        event->ignore();
        return;
    }
    const QPoint p = Pos(event);
    Guarded([&] { MouseUp(b, ShiftStateFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TCustomControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    TMouseButton b;
    if (!ToMouseButton(event->button(), b)) {
        event->ignore();
        return;
    }
    const QPoint p = Pos(event);
    TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
    if (!FDoubleClicks) {
        Guarded([&] { MouseDown(b, shift, p.x(), p.y()); });
        return;
    }
    Guarded([&] { MouseDown(b, shift | ssDouble, p.x(), p.y()); });
    if (b == mbLeft)
        Guarded([&] { DblClick(); });
}

void TCustomControl::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    bool handled = true;
    Guarded([&] { handled = MouseWheel(ShiftStateFromQt(event->modifiers(), event->buttons()), delta, p.x(), p.y()); });
    if (!handled)
        event->ignore();
}

void TCustomControl::keyPressEvent(QKeyEvent* event)
{
    int key = VirtualKeyFromQt(event->key(), event->modifiers());
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    if (key != 0) {
        Guarded([&] { KeyDown(key, shift); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (text.size() == 1) {
        QChar ch = text.at(0);
        Guarded([&] { KeyPress(ch); });
        if (ch.isNull()) {
            event->accept();
            return;
        }
    }
    // Unhandled keys go on to the parent, as the window's own dialog keys must.
    event->ignore();
}

void TCustomControl::keyReleaseEvent(QKeyEvent* event)
{
    // Windows sends one key-up however long the key was held.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    int key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (key != 0)
        Guarded([&] { KeyUp(key, ShiftStateFromQt(event->modifiers())); });
    if (key == 0)
        event->accept();
    else
        event->ignore();
}

void TCustomControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FMouseInClient = true;
    Guarded([&] { MouseEnter(); });
}

void TCustomControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FMouseInClient = false;
    Guarded([&] { MouseLeave(); });
}

void TCustomControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    Guarded([&] { DoEnter(); });
}

void TCustomControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    Guarded([&] { DoExit(); });
}

void TCustomControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Guarded([&] { Resize(); });
}

void TCustomControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        Guarded([&] { EnabledChanged(); });
}

void TCustomControl::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu) {
        FPopupMenu->popup(event->globalPos());
        event->accept();
    } else {
        event->ignore();
    }
}

void TCustomControl::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : FTimers)
        if (qtId == event->timerId()) {
            Guarded([&] { Timer(id); });
            return;
        }
    QWidget::timerEvent(event);
}

}  // namespace platform
