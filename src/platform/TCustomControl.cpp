#include "platform/TCustomControl.h"

#include "platform/EditorHost.h"
#include "platform/Guard.h"
#include "platform/PlainText.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>
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

bool IsTabKey(const QKeyEvent* e)
{
    return (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// Whether an event is the copy of another that Qt passes on to the parent.
bool SameInput(const QSinglePointEvent& e, QEvent::Type type, quint64 time, const QPointF& globalPos)
{
    return e.type() == type && e.timestamp() == time && e.globalPosition() == globalPos;
}

// Mouse presses, releases, double clicks and moves, and wheel turns.
bool IsPointerInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel: return true;
    default: return false;
    }
}

// What else the client area hands to the control: hints, painting, the context menu, drops.
bool IsClientAreaEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::ToolTip:
    case QEvent::Paint:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop: return true;
    default: return false;
    }
}

bool IsArrowKey(int key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

// Qt's scroll bar actions as the Windows scroll codes.
int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

}  // namespace

// The client area: its events go to the control first.
class TClientArea : public QWidget {
public:
    explicit TClientArea(TCustomControl* owner) : QWidget(owner), FOwner(owner) {}
    // The owner is going: what the client area gets from now on is its own.
    void Detach() { FOwner = nullptr; }

protected:
    bool event(QEvent* event) override
    {
        return (FOwner && FOwner->viewportEvent(event)) || QWidget::event(event);
    }

private:
    TCustomControl* FOwner;
};

TCustomControl::TCustomControl(QWidget* parent) : QWidget(parent), FClient(this)
{
    // A light control: the control is its own client area until it asks for scroll bars, a frame
    // or a strip. Nothing is filled, so the parent shows wherever the control paints nothing.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FCanvas.Font = Font();
    FCanvas.SetMeasureDevice(this);
    FClientSize = size();
}

TCustomControl::~TCustomControl()
{
    if (HasClientArea())
        static_cast<TClientArea*>(FClient)->Detach();
    FTimers.clear();
}

void TCustomControl::MakeClientArea()
{
    if (HasClientArea())
        return;
    // What stood on the control in client coordinates moves onto the client area, which takes
    // over the control's client settings.
    QList<QWidget*> children;
    for (QObject* o : this->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
            children.append(w);
    auto* client = new TClientArea(this);
    client->setAutoFillBackground(false);
    client->setBackgroundRole(QPalette::Window);
    client->setFocusProxy(this);
    client->setMouseTracking(true);
    client->setAttribute(Qt::WA_OpaquePaintEvent, testAttribute(Qt::WA_OpaquePaintEvent));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    client->setAcceptDrops(acceptDrops());
    setAcceptDrops(false);
    if (testAttribute(Qt::WA_SetCursor)) {
        client->setCursor(cursor());
        unsetCursor();
    }
    const bool grabbed = QWidget::mouseGrabber() == this;
    for (QWidget* w : children) {
        const bool hidden = w->isHidden();
        const QRect geometry = w->geometry();
        w->setParent(client);
        w->setGeometry(geometry);
        w->setHidden(hidden);
    }
    FClient = client;
    FCanvas.SetMeasureDevice(client);
    LayoutChildren();
    if (isVisible())
        client->show();
    if (grabbed) {
        releaseMouse();
        client->grabMouse();
    }
}

QScrollBar* TCustomControl::Bar(TScrollBarKind bar) const
{
    if (FBar[bar])
        return FBar[bar];
    auto* self = const_cast<TCustomControl*>(this);
    self->MakeClientArea();
    auto* sb = new QScrollBar(bar == sbHorizontal ? Qt::Horizontal : Qt::Vertical, self);
    // A window's scroll bars never take the focus from it.
    sb->setFocusPolicy(Qt::NoFocus);
    sb->setSingleStep(1);
    sb->hide();
    connect(sb, &QAbstractSlider::actionTriggered, self, [self, bar](int action) { self->ScrollBarAction(bar, action); });
    connect(sb, &QAbstractSlider::sliderReleased, self, [self, bar] { self->ScrollBarReleased(bar); });
    FBar[bar] = sb;
    self->ApplyScrollBar(bar);
    return sb;
}

int TCustomControl::BarExtent(TScrollBarKind bar) const
{
    if (!FBarShown[bar])
        return 0;
    const QSize hint = Bar(bar)->sizeHint();
    return bar == sbHorizontal ? hint.height() : hint.width();
}

QSize TCustomControl::ClientSize() const
{
    // From the control's own size, which is right before Qt delivers the pending resize.
    const QSize size(width() - FFrame.left() - FFrame.right() - BarExtent(sbVertical),
                     height() - FFrame.top() - FFrame.bottom() - FNonClientTop - BarExtent(sbHorizontal));
    return size.expandedTo(QSize(0, 0));
}

void TCustomControl::LayoutChildren()
{
    if (!HasClientArea())
        return;
    const QSize client = ClientSize();
    const QRect inner = rect().marginsRemoved(FFrame);
    const int vbar = BarExtent(sbVertical);
    const int hbar = BarExtent(sbHorizontal);
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const int clientLeft = inner.left() + (rightToLeft ? vbar : 0);
    FClient->setGeometry(clientLeft, inner.top() + FNonClientTop, client.width(), client.height());
    if (FNonClientStrip) {
        FNonClientStrip->setGeometry(clientLeft, inner.top(), client.width(), FNonClientTop);
        FNonClientStrip->setVisible(FNonClientTop > 0);
    }
    // The bars run beside the strip too, and leave the corner between them free.
    if (FBar[sbVertical]) {
        if (FBarShown[sbVertical])
            FBar[sbVertical]->setGeometry(rightToLeft ? inner.left() : inner.right() + 1 - vbar, inner.top(), vbar,
                                          std::max(0, inner.height() - hbar));
        FBar[sbVertical]->setVisible(FBarShown[sbVertical]);
    }
    if (FBar[sbHorizontal]) {
        if (FBarShown[sbHorizontal])
            FBar[sbHorizontal]->setGeometry(clientLeft, inner.bottom() + 1 - hbar, std::max(0, inner.width() - vbar),
                                            hbar);
        FBar[sbHorizontal]->setVisible(FBarShown[sbHorizontal]);
    }
}

void TCustomControl::SetFrameWidths(const QMargins& widths)
{
    if (widths == FFrame)
        return;
    if (!widths.isNull())
        MakeClientArea();
    FFrame = widths;
    CheckClientSize();
    update();
}

void TCustomControl::PaintOwnArea()
{
    QPainter painter(this);
    if (!FFrame.isNull())
        Guarded([&] { PaintWindowFrame(painter); });
    if (!FBarShown[sbHorizontal] || !FBarShown[sbVertical])
        return;
    const QRect inner = rect().marginsRemoved(FFrame);
    const int vbar = BarExtent(sbVertical);
    const int hbar = BarExtent(sbHorizontal);
    const int left = layoutDirection() == Qt::RightToLeft ? inner.left() : inner.right() + 1 - vbar;
    painter.fillRect(QRect(left, inner.bottom() + 1 - hbar, vbar, hbar), palette().window());
}

TEditorHost& TCustomControl::EditorHost()
{
    if (!FEditorHost)
        FEditorHost = new TEditorHost(this);
    return *FEditorHost;
}

void TCustomControl::SetColor(TColor color)
{
    FColor = color;
    Invalidate();
}

void TCustomControl::SetFont(const TFont& font)
{
    setFont(font);
    FFontColor = font.Color;
    Invalidate();
}

void TCustomControl::SetFontColor(TColor color)
{
    FFontColor = color;
    Invalidate();
}

void TCustomControl::SetHint(const QString& hint)
{
    FHint = hint;
    setToolTip(FShowHint ? PlainHint(FHint) : QString());
}

void TCustomControl::SetShowHint(bool show)
{
    FShowHint = show;
    setToolTip(FShowHint ? PlainHint(FHint) : QString());
}

void TCustomControl::SetOpaque(bool opaque) { viewport()->setAttribute(Qt::WA_OpaquePaintEvent, opaque); }

void TCustomControl::SetTabStop(bool tabStop)
{
    FTabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TCustomControl::SetCursor(const QCursor& cursor)
{
    FCursor = cursor;
    viewport()->setCursor(cursor);
}

void TCustomControl::SetMouseCapture(bool on)
{
    if (on)
        viewport()->grabMouse();
    else if (MouseCapture())
        viewport()->releaseMouse();
}

bool TCustomControl::MouseCapture() const { return QWidget::mouseGrabber() == viewport(); }

void TCustomControl::Invalidate() { InvalidateRegion(QRegion(ClientRect())); }

void TCustomControl::InvalidateRect(const QRect& r) { InvalidateRegion(QRegion(r)); }

void TCustomControl::InvalidateRegion(const QRegion& region)
{
    if (FUpdateCount > 0) {
        FPendingRegion += region;
        return;
    }
    viewport()->update(region);
}

void TCustomControl::Repaint()
{
    if (FUpdateCount > 0) {
        FPendingRegion += ClientRect();
        return;
    }
    viewport()->repaint();
}

void TCustomControl::BeginUpdate() { ++FUpdateCount; }

void TCustomControl::EndUpdate()
{
    if (FUpdateCount == 0 || --FUpdateCount > 0)
        return;
    const QRegion pending = FPendingRegion;
    FPendingRegion = QRegion();
    if (!pending.isEmpty())
        viewport()->update(pending);
}

void TCustomControl::SetTimer(int id, int intervalMs)
{
    std::unique_ptr<platform::ClockTimer>& timer = FTimers[id];
    if (!timer)
        timer = std::make_unique<platform::ClockTimer>();
    ArmTimer(id, intervalMs);
}

void TCustomControl::ArmTimer(int id, int intervalMs)
{
    const auto it = FTimers.find(id);
    if (it == FTimers.end())
        return;
    it->second->Start(intervalMs, this, [this, id, intervalMs] {
        // Armed again first, so that the handler can kill or restart its own timer.
        ArmTimer(id, intervalMs);
        Guarded([&] { Timer(id); });
    });
}

void TCustomControl::KillTimer(int id)
{
    // The callback that is running may be this timer's; the clock cancels it safely.
    FTimers.erase(id);
}

bool TCustomControl::TimerActive(int id) const
{
    const auto it = FTimers.find(id);
    return it != FTimers.end() && it->second->IsActive();
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

// Scrolling

void TCustomControl::SetScrollBars(TScrollStyle style)
{
    if (style != ssNone)
        MakeClientArea();
    FScrollBars = style;
    ApplyScrollBar(sbHorizontal);
    ApplyScrollBar(sbVertical);
}

int TCustomControl::MaxScrollPos(TScrollBarKind bar) const
{
    const TScrollInfo& info = FScroll[bar];
    return std::max(info.Min, info.Page > 0 ? info.Max - info.Page + 1 : info.Max);
}

void TCustomControl::SetScrollInfo(TScrollBarKind bar, int min, int max, int page, int pos)
{
    TScrollInfo& info = FScroll[bar];
    info.Min = min;
    info.Max = std::max(min, max);
    info.Page = std::clamp(page, 0, info.Max - info.Min + 1);
    info.Pos = std::clamp(pos, info.Min, MaxScrollPos(bar));
    info.TrackPos = info.Pos;
    ApplyScrollBar(bar);
}

void TCustomControl::SetScrollAlwaysVisible(TScrollBarKind bar, bool on)
{
    if (on)
        MakeClientArea();
    FScroll[bar].AlwaysVisible = on;
    ApplyScrollBar(bar);
}

int TCustomControl::SetScrollPos(TScrollBarKind bar, int pos)
{
    TScrollInfo& info = FScroll[bar];
    info.Pos = std::clamp(pos, info.Min, MaxScrollPos(bar));
    info.TrackPos = info.Pos;
    ApplyScrollBar(bar);
    return info.Pos;
}

void TCustomControl::SetScrollUnit(TScrollBarKind bar, int pixels) { FScrollUnit[bar] = std::max(1, pixels); }

bool TCustomControl::ScrollTo(TScrollBarKind bar, int pos)
{
    const int old = FScroll[bar].Pos;
    const int now = SetScrollPos(bar, pos);
    if (now == old)
        return false;
    const int pixels = (old - now) * FScrollUnit[bar];
    if (bar == sbHorizontal)
        ScrollBy(layoutDirection() == Qt::RightToLeft ? -pixels : pixels, 0);
    else
        ScrollBy(0, pixels);
    return true;
}

void TCustomControl::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    if (FUpdateCount > 0) {
        FPendingRegion += ClientRect();
        return;
    }
    viewport()->scroll(dx, dy);
}

void TCustomControl::ScrollBy(int dx, int dy, const QRect& r)
{
    if (dx == 0 && dy == 0)
        return;
    if (FUpdateCount > 0) {
        FPendingRegion += r;
        return;
    }
    viewport()->scroll(dx, dy, r);
}

void TCustomControl::ApplyScrollBar(TScrollBarKind bar)
{
    const TScrollInfo& info = FScroll[bar];
    const bool allowed = FScrollBars == ssBoth || FScrollBars == (bar == sbHorizontal ? ssHorizontal : ssVertical);
    const bool scrollable = MaxScrollPos(bar) > info.Min;
    const bool shown = allowed && (scrollable || info.AlwaysVisible);
    if (!shown && !FBar[bar] && !FBarShown[bar])
        return;
    QScrollBar* sb = Bar(bar);
    FSettingBar = true;
    sb->setRange(info.Min, MaxScrollPos(bar));
    sb->setPageStep(std::max(1, info.Page));
    sb->setValue(info.Pos);
    sb->setEnabled(scrollable);
    FSettingBar = false;
    if (shown == FBarShown[bar])
        return;
    FBarShown[bar] = shown;
    CheckClientSize();
}

void TCustomControl::ScrollBarAction(TScrollBarKind bar, int action)
{
    if (FSettingBar)
        return;
    const int code = ScrollCodeOf(action);
    if (code < 0)
        return;
    QScrollBar* sb = bar == sbHorizontal ? horizontalScrollBar() : verticalScrollBar();
    if (code == SB_THUMBTRACK) {
        // The thumb follows the hand while it drags, whether the control follows or not.
        FScroll[bar].TrackPos = sb->sliderPosition();
        Guarded([&] { Scroll(bar, code, FScroll[bar].TrackPos); });
        return;
    }
    Guarded([&] { Scroll(bar, code, FScroll[bar].Pos); });
    ShowScrollPos(bar);
    Guarded([&] { Scroll(bar, SB_ENDSCROLL, FScroll[bar].Pos); });
}

void TCustomControl::ScrollBarReleased(TScrollBarKind bar)
{
    const int track = FScroll[bar].TrackPos;
    Guarded([&] { Scroll(bar, SB_THUMBPOSITION, track); });
    FScroll[bar].TrackPos = FScroll[bar].Pos;
    ShowScrollPos(bar);
    Guarded([&] { Scroll(bar, SB_ENDSCROLL, FScroll[bar].Pos); });
}

void TCustomControl::ShowScrollPos(TScrollBarKind bar)
{
    // The bar shows what the control made of the action, not Qt's own step.
    QScrollBar* sb = bar == sbHorizontal ? horizontalScrollBar() : verticalScrollBar();
    FSettingBar = true;
    sb->setSliderPosition(FScroll[bar].Pos);
    FSettingBar = false;
}

void TCustomControl::Scroll(TScrollBarKind bar, int code, int pos)
{
    const TScrollInfo& info = FScroll[bar];
    switch (code) {
    case SB_LINEUP: ScrollTo(bar, info.Pos - 1); break;
    case SB_LINEDOWN: ScrollTo(bar, info.Pos + 1); break;
    case SB_PAGEUP: ScrollTo(bar, info.Pos - std::max(1, info.Page)); break;
    case SB_PAGEDOWN: ScrollTo(bar, info.Pos + std::max(1, info.Page)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(bar, pos); break;
    case SB_TOP: ScrollTo(bar, info.Min); break;
    case SB_BOTTOM: ScrollTo(bar, MaxScrollPos(bar)); break;
    default: break;
    }
}

// Hints, cursors, keys

THintInfo TCustomControl::HintAt(const QPoint&)
{
    return THintInfo{FShowHint ? FHint : QString(), ClientRect()};
}

bool TCustomControl::ShowHintAt(const QPoint& clientPos, const QPoint& globalPos)
{
    bool own = false;
    Guarded([&] { own = ShowOwnHint(clientPos, globalPos); });
    if (own) {
        QToolTip::hideText();
        return true;
    }
    THintInfo info;
    Guarded([&] { info = HintAt(clientPos); });
    if (info.Text.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    // The hint is someone's text, never mark-up.
    QToolTip::showText(globalPos, Qt::convertFromPlainText(info.Text, Qt::WhiteSpaceNoWrap), viewport(),
                       info.Rect.isValid() ? info.Rect : ClientRect());
    return true;
}

QCursor TCustomControl::CursorAt(int, int) { return FCursor; }

void TCustomControl::UpdateCursorAt(const QPoint& clientPos)
{
    QCursor cursor = FCursor;
    Guarded([&] { cursor = CursorAt(clientPos.x(), clientPos.y()); });
    if (cursor.shape() != viewport()->cursor().shape() || cursor.shape() == Qt::BitmapCursor)
        viewport()->setCursor(cursor);
}

unsigned TCustomControl::GetDlgCode()
{
    return DLGC_WANTCHARS | (FWantArrows ? DLGC_WANTARROWS : 0u) | (FWantTabs ? DLGC_WANTTAB : 0u);
}

int TCustomControl::DeliverKeyDown(int key, TShiftState shift)
{
    Guarded([&] { KeyDown(key, shift); });
    return key;
}

// Events

bool TCustomControl::ForwardToClient(QEvent* event)
{
    // Mouse events sent to the control itself (not by the window system, which picks the client
    // area) go to the client area, which turns them into the handlers.
    if (FForwarding)
        return false;
    FForwarding = true;
    const QPoint offset = viewport()->pos();
    bool accepted = false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        QMouseEvent mapped(e->type(), e->position() - offset, e->scenePosition(), e->globalPosition(), e->button(),
                           e->buttons(), e->modifiers());
        QCoreApplication::sendEvent(viewport(), &mapped);
        accepted = mapped.isAccepted();
        break;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        QWheelEvent mapped(e->position() - offset, e->globalPosition(), e->pixelDelta(), e->angleDelta(), e->buttons(),
                           e->modifiers(), e->phase(), e->inverted());
        QCoreApplication::sendEvent(viewport(), &mapped);
        accepted = mapped.isAccepted();
        break;
    }
    default: break;
    }
    FForwarding = false;
    event->setAccepted(accepted);
    return accepted;
}

bool TCustomControl::event(QEvent* event)
{
    const QEvent::Type type = event->type();
    // A light control is its own client area: what the client area would get goes its way.
    if (!HasClientArea() && (IsPointerInput(type) || IsClientAreaEvent(type)) && viewportEvent(event))
        return true;
    if (IsPointerInput(type)) {
        // One the client area left alone passes by on its way to the parent.
        if (FClientIgnored && SameInput(*static_cast<QSinglePointEvent*>(event), FIgnoredType, FIgnoredTime,
                                        FIgnoredAt)) {
            FClientIgnored = false;
            return false;
        }
        return ForwardToClient(event);
    }
    switch (type) {
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint client = help->pos() - viewport()->pos();
        bool shown = false;
        if (ClientRect().contains(client))
            shown = ShowHintAt(client, help->globalPos());
        else
            // Outside the client area (a header above it) only the control's own hints show.
            Guarded([&] { shown = ShowOwnHint(client, help->globalPos()); });
        if (!shown)
            event->ignore();
        return true;
    }
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        // Qt moves the focus on Tab before the control sees the key; a control that wants Tab
        // takes it first, and Tab left alone still moves the focus.
        if (IsTabKey(ke) && (GetDlgCode() & DLGC_WANTTAB)) {
            keyPressEvent(ke);
            if (!ke->isAccepted())
                focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            // Handled either way: the window must not move the focus a second time.
            ke->accept();
            return true;
        }
        break;
    }
    case QEvent::ContextMenu:
        // One from the mouse came through the client area already.
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse)
            return false;
        break;
    case QEvent::Paint:
        // The client area paints itself; the control paints only its frame and the corner.
        PaintOwnArea();
        return true;
    case QEvent::LayoutDirectionChange:
    case QEvent::StyleChange:
        LayoutChildren();
        break;
    default: break;
    }
    return QWidget::event(event);
}

bool TCustomControl::viewportEvent(QEvent* event)
{
    FClientIgnored = false;
    if (IsPointerInput(event->type())) {
        const bool result = QWidget::event(event);
        // Qt passes an ignored event on to the parent, except a wheel turn it did not get from
        // the window system.
        FClientIgnored = !event->isAccepted() && (event->spontaneous() || event->type() != QEvent::Wheel);
        if (FClientIgnored) {
            const auto* e = static_cast<QSinglePointEvent*>(event);
            FIgnoredType = e->type();
            FIgnoredTime = e->timestamp();
            FIgnoredAt = e->globalPosition();
        }
        return result;
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!ShowHintAt(help->pos(), help->globalPos()))
            event->ignore();
        return true;
    }
    // Painting, the context menu and drops reach the control's handlers with the client area's
    // event. Others are the client area's own: its resize is the control's doing, which
    // CheckClientSize reports.
    return IsClientAreaEvent(event->type()) && QWidget::event(event);
}

void TCustomControl::paintEvent(QPaintEvent* event)
{
    if (FUpdateCount > 0) {
        // Painting waits for EndUpdate, which repaints what was skipped.
        FPendingRegion += event->region();
        return;
    }
    QPainter painter(viewport());
    FCanvas.Attach(&painter);
    FCanvas.SetPaintRegion(event->region());
    FUpdateRegion = event->region();
    FCanvas.Font = Font();
    FCanvas.Pen = TPen();
    FCanvas.Brush = TBrush{FColor, TBrushStyle::bsSolid};
    struct Detach {
        TCustomControl& c;
        ~Detach()
        {
            c.FCanvas.Detach();
            c.FCanvas.SetPaintRegion(QRegion());
            c.FUpdateRegion = QRegion();
        }
    } detach{*this};
    FPaintGuard.Run(this, painter, ClientRect(), [this] { Paint(); });
}

void TCustomControl::mousePressEvent(QMouseEvent* event)
{
    TMouseButton b;
    if (!ToMouseButton(event->button(), b)) {
        event->ignore();
        return;
    }
    const QPoint p = Pos(event);
    if (b == mbLeft && FDragMode == TDragMode::dmAutomatic && FDragKind == TDragKind::dkDrag && isEnabled()) {
        BeginDrag(false);
        FDragStart = p;
    }
    Guarded([&] { MouseDown(b, ShiftStateFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = Pos(event);
    if (FDragState == TDragState::Pending && (event->buttons() & Qt::LeftButton) &&
        (p - FDragStart).manhattanLength() >= QApplication::startDragDistance()) {
        FDragState = TDragState::Dragging;
        Guarded([&] {
            if (OnStartDrag)
                OnStartDrag();
        });
    }
    if (FDragState == TDragState::Dragging) {
        DragMoved(event->globalPosition().toPoint());
        return;
    }
    if (!event->buttons())
        UpdateCursorAt(p);
    Guarded([&] { MouseMove(ShiftStateFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TCustomControl::BeginDrag(bool immediate)
{
    FDragState = immediate ? TDragState::Dragging : TDragState::Pending;
    FDragStart = viewport()->mapFromGlobal(QCursor::pos());
    FDragLast = QCursor::pos();
    if (immediate)
        Guarded([&] {
            if (OnStartDrag)
                OnStartDrag();
        });
}

TCustomControl* TCustomControl::DragControlAt(const QPoint& global)
{
    QWidget* top = window();
    for (QWidget* w = top->childAt(top->mapFromGlobal(global)); w; w = w->parentWidget()) {
        auto* control = qobject_cast<TCustomControl*>(w);
        if (!control)
            continue;
        TDragMessageRec m{TDragMessage::dmFindTarget, this, control->viewport()->mapFromGlobal(global)};
        m.Target = control;
        Guarded([&] { control->DragMessage(m); });
        return m.Target && m.Target->isEnabled() ? m.Target : nullptr;
    }
    return nullptr;
}

bool TCustomControl::SendDragMessage(TCustomControl* control, TDragMessage message, const QPoint& global)
{
    TDragMessageRec m{message, this, control->viewport()->mapFromGlobal(global)};
    Guarded([&] { control->DragMessage(m); });
    return m.Accept;
}

void TCustomControl::DragMessage(TDragMessageRec& m)
{
    switch (m.Message) {
    case TDragMessage::dmDragEnter:
    case TDragMessage::dmDragMove:
        if (!OnDragOver)
            m.Accept = false;
        else
            OnDragOver(m.Source, m.Pos.x(), m.Pos.y(), m.Accept);
        break;
    case TDragMessage::dmDragDrop:
        if (OnDragDrop)
            OnDragDrop(m.Source, m.Pos.x(), m.Pos.y());
        break;
    default: break;
    }
}

void TCustomControl::DoEndDrag(TCustomControl* target, int x, int y, bool started)
{
    if (started && OnEndDrag)
        OnEndDrag(target, x, y);
}

void TCustomControl::DragMoved(const QPoint& global)
{
    FDragLast = global;
    TCustomControl* under = DragControlAt(global);
    if (under != FDragTarget) {
        if (TCustomControl* old = FDragTarget)
            SendDragMessage(old, TDragMessage::dmDragLeave, global);
        FDragTarget = under;
        FDragAccepted = under && SendDragMessage(under, TDragMessage::dmDragEnter, global);
    } else if (under)
        FDragAccepted = SendDragMessage(under, TDragMessage::dmDragMove, global);
    viewport()->setCursor(FDragTarget && FDragAccepted ? FDragCursor : QCursor(Qt::ForbiddenCursor));
}

void TCustomControl::EndDrag(bool drop)
{
    if (FDragState != TDragState::Dragging) {
        const bool pending = FDragState == TDragState::Pending;
        FDragState = TDragState::None;
        if (pending) {
            const QPoint local = viewport()->mapFromGlobal(FDragLast);
            Guarded([&] { DoEndDrag(nullptr, local.x(), local.y(), false); });
        }
        return;
    }
    FDragState = TDragState::None;
    viewport()->setCursor(FCursor);
    // The control under the mouse hears that the drag leaves it, then of the drop if it took it.
    QPointer<TCustomControl> target = FDragTarget.data();
    const bool accepted = FDragAccepted;
    FDragTarget = nullptr;
    FDragAccepted = false;
    if (target)
        SendDragMessage(target, TDragMessage::dmDragLeave, FDragLast);
    const bool dropped = drop && accepted && target;
    if (dropped)
        SendDragMessage(target, TDragMessage::dmDragDrop, FDragLast);
    TCustomControl* into = dropped && target ? target.data() : nullptr;
    const QPoint local = (into ? into->viewport() : viewport())->mapFromGlobal(FDragLast);
    Guarded([&] { DoEndDrag(into, local.x(), local.y(), true); });
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    TMouseButton b;
    if (!ToMouseButton(event->button(), b)) {
        event->ignore();
        return;
    }
    const QPoint p = Pos(event);
    if (b == mbLeft && FDragState != TDragState::None) {
        const bool dragged = FDragState == TDragState::Dragging;
        // The drop goes where the button was let go.
        if (dragged && event->globalPosition().toPoint() != FDragLast)
            DragMoved(event->globalPosition().toPoint());
        EndDrag(true);
        // A drag ends the press somewhere else: the control is told of the release outside itself,
        // so a button that was dragged is not clicked.
        if (dragged) {
            const QPoint outside(-1, -1);
            Guarded([&] { MouseUp(b, ShiftStateFromQt(event->modifiers(), event->buttons()), outside.x(), outside.y()); });
            return;
        }
    }
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
    if (event->key() == Qt::Key_Escape && Dragging()) {
        EndDrag(false);
        return;
    }
    int key = VirtualKeyFromQt(event->key(), event->modifiers());
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    if (IsArrowKey(key) && !(GetDlgCode() & DLGC_WANTARROWS)) {
        event->ignore();
        return;
    }
    if (key != 0) {
        Guarded([&] { KeyDown(key, shift); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    if (text.size() == 1 && (GetDlgCode() & DLGC_WANTCHARS)) {
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
    CheckClientSize();
}

void TCustomControl::CheckClientSize()
{
    LayoutChildren();
    // The control and its client area both report their sizes; Resize runs once per change of
    // the client area, also when a scroll bar comes or goes.
    const QSize size = ClientSize();
    if (size == FClientSize)
        return;
    FClientSize = size;
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


}  // namespace platform

namespace platform {

// The strip above the client area: hands its painting and mouse to the control in client
// coordinates.
class TNonClientStrip : public QWidget {
public:
    explicit TNonClientStrip(TCustomControl* owner) : QWidget(owner), FOwner(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    QPoint ToClient(const QPointF& p) const { return p.toPoint() - QPoint(0, FOwner->FNonClientTop); }
    static TMouseButton Button(Qt::MouseButton b)
    {
        return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
    }
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.translate(0, FOwner->FNonClientTop);
        const QRect r = event->rect().translated(0, -FOwner->FNonClientTop);
        Guarded([&] { FOwner->PaintNonClient(painter, r); });
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        const QPoint p = ToClient(e->position());
        Guarded([&] { FOwner->NCMouseDown(Button(e->button()), ShiftStateFromQt(e->modifiers(), e->buttons()), p,
                                          e->globalPosition().toPoint()); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        const QPoint p = ToClient(e->position());
        Guarded([&] { FOwner->NCDblClick(Button(e->button()), ShiftStateFromQt(e->modifiers(), e->buttons()) | ssDouble,
                                         p, e->globalPosition().toPoint()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPoint p = ToClient(e->position());
        Guarded([&] {
            FOwner->NCMouseMove(ShiftStateFromQt(e->modifiers(), e->buttons()), p, e->globalPosition().toPoint());
            setCursor(FOwner->NCCursorAt(p));
        });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const QPoint p = ToClient(e->position());
        Guarded([&] { FOwner->NCMouseUp(Button(e->button()), ShiftStateFromQt(e->modifiers(), e->buttons()), p,
                                        e->globalPosition().toPoint()); });
    }
    void leaveEvent(QEvent*) override
    {
        Guarded([&] { FOwner->NCMouseLeave(); });
    }

private:
    TCustomControl* FOwner;
};

void TCustomControl::SetNonClientTop(int height)
{
    height = std::max(height, 0);
    if (height == FNonClientTop && (height == 0 || FNonClientStrip))
        return;
    if (height > 0)
        MakeClientArea();
    FNonClientTop = height;
    if (!FNonClientStrip && height > 0)
        FNonClientStrip = new TNonClientStrip(this);
    CheckClientSize();
}

QWidget* TCustomControl::NonClientStrip() const
{
    return FNonClientStrip;
}

void TCustomControl::InvalidateNonClient()
{
    if (FNonClientStrip)
        FNonClientStrip->update();
}

void TCustomControl::InvalidateNonClient(const QRect& r)
{
    if (FNonClientStrip)
        FNonClientStrip->update(r.translated(0, FNonClientTop));
}

}  // namespace platform
