#pragma once
#include "platform/TCanvas.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include <QMenu>

// Base of the controls that paint themselves: turns Qt's events into the handlers of the Windows
// control model (Paint on a canvas, MouseDown/Move/Up with button, shift state and position,
// KeyDown/KeyUp with virtual key codes, KeyPress with the character, enter/leave, focus, size,
// enabled change, timers by id). "Has a window handle" means the object is alive.
namespace platform {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state bits.
using TShiftState = unsigned;
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Virtual key codes (the Windows values) as KeyDown and KeyUp receive them.
enum : int {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
    VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76,
    VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B, VK_APPS = 0x5D,
};

// The virtual key code of a Qt key (letters and digits keep their upper-case character code);
// 0 for keys without one.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

class TCustomControl : public QWidget {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* parent = nullptr);
    ~TCustomControl() override;

    // Attached to the painter while Paint runs; measures text at any time.
    TCanvas& Canvas() { return FCanvas; }

    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    QRect ClientRect() const { return rect(); }

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // The control's font with its colour.
    TFont Font() const { return TFont(font(), FFontColor); }
    void SetFont(const TFont& font);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);

    void SetHint(const QString& hint);
    QString Hint() const { return FHint; }
    void SetShowHint(bool show);
    bool ShowHint() const { return FShowHint; }

    void SetTabStop(bool tabStop);
    bool TabStop() const { return FTabStop; }
    bool Focused() const { return hasFocus(); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    bool Showing() const { return isVisible(); }
    // The control's own Visible and Enabled, whatever its parents are.
    bool Visible() const { return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden)); }
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    bool HandleAllocated() const { return true; }
    bool MouseInClient() const { return FMouseInClient; }

    // A menu shown on a right click (and by controls that drop it down themselves).
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    QMenu* PopupMenu() const { return FPopupMenu; }

    // Asks for a repaint later / repaints at once.
    void Invalidate() { update(); }
    void Repaint() { repaint(); }

    // Timers by id, delivered to Timer(id) on the GUI thread; setting an existing id restarts it.
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    bool TimerActive(int id) const { return FTimers.count(id) != 0; }

    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TShiftState, int, int)> OnMouseMove;
    std::function<void(TMouseButton, TShiftState, int, int)> OnMouseUp;
    std::function<void()> OnDblClick;
    std::function<void(int& key, TShiftState)> OnKeyDown;
    std::function<void(int& key, TShiftState)> OnKeyUp;
    std::function<void(QChar& key)> OnKeyPress;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void()> OnResize;

protected:
    // Without double clicks a second press arrives as a plain MouseDown.
    void SetDoubleClicks(bool on) { FDoubleClicks = on; }

    // The handlers; the defaults fire the matching On... event.
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick();
    // Returns true when the wheel turn was used.
    virtual bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
    // Setting key (or the character) to 0 marks the key handled. A key left as it was goes on to
    // the parent, so that Enter and Escape reach the window.
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    virtual void EnabledChanged() {}
    virtual void Timer(int /*id*/) {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void UpdateToolTip();

    TCanvas FCanvas;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    QString FHint;
    bool FShowHint = true;
    bool FTabStop = false;
    bool FDoubleClicks = true;
    bool FMouseInClient = false;
    QPointer<QMenu> FPopupMenu;
    std::map<int, int> FTimers;  // id -> Qt timer id
};

}  // namespace platform
