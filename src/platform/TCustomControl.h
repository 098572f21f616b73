#pragma once
#include "platform/TCanvas.h"

#include "platform/Clock.h"
#include "platform/PaintGuard.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

// Base of the controls that paint themselves: turns Qt's events into the handlers of the Windows
// control model (Paint on a canvas with the region to repaint, MouseDown/Move/Up with button,
// shift state and position, KeyDown/KeyUp with virtual key codes, KeyPress with the character,
// enter/leave, focus, size, enabled change, timers by id, scroll codes). A control that never
// scrolls is light: it is its own client area (viewport() is the control). The first call for
// scroll bars, a frame or a strip gives it a client area of its own, a child widget inside them,
// onto which what stood on the control moves. Scroll bars are made only when first shown or
// asked for. "Has a window handle" means the object is alive.
class QScrollBar;

namespace platform {

class TEditorHost;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state bits.
using TShiftState = unsigned;
enum class TDragMode { dmManual, dmAutomatic };
enum class TDragKind { dkDrag, dkDock };
// The steps of a drag between controls as the control under the mouse receives them.
enum class TDragMessage { dmFindTarget, dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop };
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

enum TScrollBarKind { sbHorizontal, sbVertical };
// Which scroll bars a control may show.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Scroll codes (the Windows values) as Scroll receives them.
enum : int {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
    SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};

// A scroll bar's state with the Windows meaning: positions run from Min to Max - Page + 1.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    // The thumb's position while the user drags it, else Pos.
    int TrackPos = 0;
    // Shown, disabled, when nothing can scroll.
    bool AlwaysVisible = false;
};

// What the keyboard handling of a window leaves to the control (WM_GETDLGCODE's answer): the
// arrows reach KeyDown, Tab reaches KeyDown, characters reach KeyPress.
enum : unsigned { DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTCHARS = 0x80 };

// The hint of one place of a control: the text and the area it holds for.
struct THintInfo {
    QString Text;
    QRect Rect;
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

    // Attached to the painter while Paint runs; measures text for the screen at any time.
    TCanvas& Canvas() { return FCanvas; }

    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    // The area painted and clicked, without scroll bars; its coordinates are the handlers'.
    QRect ClientRect() const { return QRect(QPoint(0, 0), ClientSize()); }
    int ClientWidth() const { return ClientSize().width(); }
    int ClientHeight() const { return ClientSize().height(); }
    // Also right for a control not shown yet, whose client area Qt lays out only when shown.
    QSize ClientSize() const;
    QWidget* Client() const { return viewport(); }
    QWidget* viewport() const { return FClient; }
    // Whether the client area is a child widget of its own (see above).
    bool HasClientArea() const { return FClient != this; }

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // The control's font with its colour.
    TFont Font() const { return TFont(font(), FFontColor); }
    void SetFont(const TFont& font);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);

    // The hint HintAt answers by default, for the whole control.
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

    // Keys the window would otherwise take: Tab and Shift+Tab reach KeyDown only with WantTabs;
    // the arrows reach it unless WantArrows is switched off. Enter and Escape always reach KeyDown
    // and go on to the window when left alone.
    void SetWantTabs(bool on) { FWantTabs = on; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantArrows(bool on) { FWantArrows = on; }
    bool WantArrows() const { return FWantArrows; }

    // The cursor over the client area where CursorAt does not choose another.
    void SetCursor(const QCursor& cursor);
    QCursor Cursor() const { return FCursor; }
    // Keeps every mouse event for the control until released.
    void SetMouseCapture(bool on);
    bool MouseCapture() const;

    // A menu shown on a right click (and by controls that drop it down themselves).
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    QMenu* PopupMenu() const { return FPopupMenu; }

    // Asks for a repaint of the whole client area, of a rectangle or of a region later.
    void Invalidate();
    void InvalidateRect(const QRect& r);
    void InvalidateRegion(const QRegion& region);
    // Repaints at once (later while updates are locked).
    void Repaint();
    // While locked, repaints are gathered and painting waits; the last EndUpdate repaints what
    // was asked for in between, once. Unbalanced EndUpdate calls are ignored.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // An opaque control paints every pixel of its client area: nothing is filled behind it, and
    // scrolling moves its pixels. Off by default, so that the parent shows where nothing is painted.
    void SetOpaque(bool opaque);
    bool Opaque() const { return viewport()->testAttribute(Qt::WA_OpaquePaintEvent); }
    // The region Paint is repainting (client coordinates); empty outside Paint.
    const QRegion& UpdateRegion() const { return FUpdateRegion; }
    QRect UpdateRect() const { return FUpdateRegion.boundingRect(); }

    // Scroll bars. A bar shows when the style allows it and its range is larger than its page
    // (or it is always visible). Positions are in scroll units of ScrollUnit pixels: 1 for smooth
    // scrolling, a line's height for whole lines.
    void SetScrollBars(TScrollStyle style);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollInfo(TScrollBarKind bar, int min, int max, int page, int pos);
    TScrollInfo GetScrollInfo(TScrollBarKind bar) const { return FScroll[bar]; }
    void SetScrollAlwaysVisible(TScrollBarKind bar, bool on);
    // Sets the position, clamped, without moving the picture; answers the position taken.
    int SetScrollPos(TScrollBarKind bar, int pos);
    int ScrollPos(TScrollBarKind bar) const { return FScroll[bar].Pos; }
    // The highest position: Max - Page + 1, not below Min.
    int MaxScrollPos(TScrollBarKind bar) const;
    // Whether the bar shows now.
    bool ScrollBarShown(TScrollBarKind bar) const { return FBarShown[bar]; }
    // The bars themselves, made on first use.
    QScrollBar* horizontalScrollBar() const { return Bar(sbHorizontal); }
    QScrollBar* verticalScrollBar() const { return Bar(sbVertical); }
    void SetScrollUnit(TScrollBarKind bar, int pixels);
    int ScrollUnit(TScrollBarKind bar) const { return FScrollUnit[bar]; }
    // Moves to the position, clamped, and the picture with it; answers whether it moved.
    bool ScrollTo(TScrollBarKind bar, int pos);
    // Moves what is drawn by (dx, dy) pixels, with the child windows, and repaints only what was
    // uncovered; with a rectangle only that part moves. Pixels move only on an opaque control;
    // on another one the client area is repainted.
    void ScrollBy(int dx, int dy);
    void ScrollBy(int dx, int dy, const QRect& r);

    // A strip above the client area that belongs to the control but not to its client area (a
    // tree's header). Its handlers get client coordinates, so the strip's Y runs from minus its
    // height to 0; a press in it keeps the mouse for the strip until the release.
    void SetNonClientTop(int height);
    int NonClientTop() const { return FNonClientTop; }
    // Repaints the strip, or the part of it under a rectangle in client coordinates.
    void InvalidateNonClient();
    void InvalidateNonClient(const QRect& r);
    // The strip's widget; nil while there is no strip.
    QWidget* NonClientStrip() const;

    // A frame around the whole control (a border, a bevel): the client area, the strip and the
    // bars sit inside it, and PaintWindowFrame paints it.
    void SetFrameWidths(const QMargins& widths);
    QMargins FrameWidths() const { return FFrame; }

    // Timers by id on the platform clock, delivered to Timer(id) on the GUI thread every
    // intervalMs until killed, like a window timer; setting an existing id restarts it.
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    bool TimerActive(int id) const;

    // The control's editor host: a real editor laid over a rectangle of the client area.
    TEditorHost& EditorHost();

    // Dragging one control onto another inside the program. With dmAutomatic a left press starts
    // a drag once the mouse moves past the start distance; BeginDrag starts one by hand. While it
    // runs, the control under the mouse is asked through its OnDragOver whether it takes the
    // source (a control without OnDragOver takes nothing); the release drops onto it.
    void SetDragMode(TDragMode mode) { FDragMode = mode; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragKind(TDragKind kind) { FDragKind = kind; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragCursor(const QCursor& cursor) { FDragCursor = cursor; }
    QCursor DragCursor() const { return FDragCursor; }
    void BeginDrag(bool immediate);
    // Ends a running drag; with drop the control under the mouse gets it if it takes it.
    void EndDrag(bool drop);
    bool Dragging() const { return FDragState == TDragState::Dragging; }

    // One drag message: the control dragged, the mouse in the receiver's client area, whether the
    // receiver takes the drag (enter and move; starts true) and, for dmFindTarget, the control
    // that receives the drag's messages (the receiver itself unless it names another).
    struct TDragMessageRec {
        TDragMessage Message;
        TCustomControl* Source;
        QPoint Pos;
        bool Accept = true;
        TCustomControl* Target = nullptr;
    };

    std::function<void()> OnStartDrag;
    // On the target: x, y in its client area; accept starts true.
    std::function<void(TCustomControl* source, int x, int y, bool& accept)> OnDragOver;
    std::function<void(TCustomControl* source, int x, int y)> OnDragDrop;
    // On the source: the control that took the drop, or nullptr, and the point in its client area.
    std::function<void(TCustomControl* target, int x, int y)> OnEndDrag;

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

    QSize sizeHint() const override { return QWidget::sizeHint(); }
    QSize minimumSizeHint() const override { return QWidget::minimumSizeHint(); }

protected:
    // A drag reaches this control: dmFindTarget while the mouse is over it, then dmDragEnter,
    // dmDragMove for each move and dmDragLeave when it leaves or the drag ends, and dmDragDrop
    // after that leave when it drops here. The default asks OnDragOver on enter and move (a
    // control without it takes nothing) and hands the drop to OnDragDrop.
    virtual void DragMessage(TDragMessageRec& message);
    // A drag from this control ended, onto target (nil when nothing took it; (x, y) in the
    // target's client area, else in this one's). started is false for a drag given up before the
    // mouse passed the start distance. The default fires OnEndDrag for a drag that started.
    // The release of the button reaches MouseUp afterwards.
    virtual void DoEndDrag(TCustomControl* target, int x, int y, bool started);

    // Without double clicks a second press arrives as a plain MouseDown.
    void SetDoubleClicks(bool on) { FDoubleClicks = on; }

    // The handlers; the defaults fire the matching On... event.
    // Paint draws on Canvas(); UpdateRegion() and Canvas().ClipRect() tell what needs drawing.
    // An error thrown here is reported after the paint and the control shows an error mark.
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    // With or without a button held (the mouse is tracked).
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick();
    // Returns true when the wheel turn was used.
    virtual bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
    // Setting key (or the character) to 0 marks the key handled. A key left as it was goes on to
    // the parent, so that Enter and Escape reach the window and Tab moves the focus.
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
    // A scroll bar's action (SB_... code; pos is the thumb's for SB_THUMBTRACK and
    // SB_THUMBPOSITION). The default moves by one unit per line and one page per page.
    virtual void Scroll(TScrollBarKind bar, int code, int pos);
    // The hint for a place of the client area; the default is the control's Hint over all of it.
    virtual THintInfo HintAt(const QPoint& pos);
    // A control that shows hints in a window of its own answers true: it took the request,
    // whether it showed a hint or none. False leaves the place to HintAt and the platform's hint.
    virtual bool ShowOwnHint(const QPoint& /*clientPos*/, const QPoint& /*globalPos*/) { return false; }
    // The strip above the client area: painting (the painter takes client coordinates, r is the
    // part to paint) and the mouse, with client and screen points.
    virtual void PaintNonClient(QPainter& /*painter*/, const QRect& /*r*/) {}
    virtual void NCMouseDown(TMouseButton, TShiftState, const QPoint& /*pos*/, const QPoint& /*global*/) {}
    virtual void NCMouseMove(TShiftState, const QPoint& /*pos*/, const QPoint& /*global*/) {}
    virtual void NCMouseUp(TMouseButton, TShiftState, const QPoint& /*pos*/, const QPoint& /*global*/) {}
    virtual void NCDblClick(TMouseButton, TShiftState, const QPoint& /*pos*/, const QPoint& /*global*/) {}
    virtual void NCMouseLeave() {}
    // Paints the frame of SetFrameWidths; the painter covers the whole control.
    virtual void PaintWindowFrame(QPainter& /*painter*/) {}
    // The cursor over a place of the strip; the default is Cursor().
    virtual QCursor NCCursorAt(const QPoint& /*pos*/) { return FCursor; }
    // The cursor for a place of the client area; the default is Cursor().
    virtual QCursor CursorAt(int x, int y);
    // The keys this control takes from the window (DLGC_... flags): the switches' and characters
    // by default.
    virtual unsigned GetDlgCode();

    bool event(QEvent* event) override;
    // Every event of the client area passes here first; true means it was handled. Painting,
    // the mouse, the wheel and the context menu go on to the control's own handlers.
    virtual bool viewportEvent(QEvent* event);
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

private:
    friend class TEditorHost;
    friend class TNonClientStrip;
    friend class TClientArea;
    QScrollBar* Bar(TScrollBarKind bar) const;
    // Gives a light control its client area; nothing when it has one.
    void MakeClientArea();
    int BarExtent(TScrollBarKind bar) const;
    // Places the client area, the strip and the bars inside the control.
    void LayoutChildren();
    // The control's own pixels: the frame and the corner between the bars.
    void PaintOwnArea();
    // Hands a key to KeyDown as if typed on the control; answers the key as KeyDown left it.
    int DeliverKeyDown(int key, TShiftState shift);
    bool ShowHintAt(const QPoint& clientPos, const QPoint& globalPos);
    void UpdateCursorAt(const QPoint& clientPos);
    void ApplyScrollBar(TScrollBarKind bar);
    void ScrollBarAction(TScrollBarKind bar, int action);
    void ScrollBarReleased(TScrollBarKind bar);
    void ShowScrollPos(TScrollBarKind bar);
    void CheckClientSize();
    bool ForwardToClient(QEvent* event);

    TCanvas FCanvas;
    TPaintGuard FPaintGuard;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    QString FHint;
    bool FShowHint = true;
    bool FTabStop = false;
    bool FDoubleClicks = true;
    bool FMouseInClient = false;
    bool FWantTabs = false;
    bool FWantArrows = true;
    bool FForwarding = false;
    bool FClientIgnored = false;
    QEvent::Type FIgnoredType = QEvent::None;
    quint64 FIgnoredTime = 0;
    QPointF FIgnoredAt;
    QCursor FCursor;
    QPointer<QMenu> FPopupMenu;
    enum class TDragState { None, Pending, Dragging };
    TDragMode FDragMode = TDragMode::dmManual;
    TDragKind FDragKind = TDragKind::dkDrag;
    QCursor FDragCursor{Qt::DragMoveCursor};
    TDragState FDragState = TDragState::None;
    QPoint FDragStart;
    QPoint FDragLast;  // global
    // The control that receives the drag's messages at a global point (dmFindTarget).
    TCustomControl* DragControlAt(const QPoint& global);
    // Sends a drag message to a control; answers whether it takes the drag.
    bool SendDragMessage(TCustomControl* control, TDragMessage message, const QPoint& global);
    void DragMoved(const QPoint& global);
    QPointer<TCustomControl> FDragTarget;  // the control under the mouse during the drag
    bool FDragAccepted = false;
    void ArmTimer(int id, int intervalMs);
    std::map<int, std::unique_ptr<platform::ClockTimer>> FTimers;
    int FUpdateCount = 0;
    QRegion FPendingRegion;
    bool FPendingRepaint = false;
    QRegion FUpdateRegion;
    QSize FClientSize;
    TScrollStyle FScrollBars = ssNone;
    TScrollInfo FScroll[2];
    int FScrollUnit[2] = {1, 1};
    bool FSettingBar = false;
    QWidget* FClient = nullptr;
    mutable QScrollBar* FBar[2] = {nullptr, nullptr};
    bool FBarShown[2] = {false, false};
    QMargins FFrame;
    TEditorHost* FEditorHost = nullptr;  // child object, made on first use
    int FNonClientTop = 0;
    QWidget* FNonClientStrip = nullptr;  // child widget, made when a strip is first asked for
};

}  // namespace platform
