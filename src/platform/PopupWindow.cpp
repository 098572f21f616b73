#include "platform/PopupWindow.h"

#include "platform/Guard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace platform {

namespace {

// The start of a span of the length within [low, high), as near to want as it goes.
int Clamp(int want, int length, int low, int high) { return std::max(low, std::min(want, high - length)); }

}  // namespace

QRect PlacePopup(const QRect& anchor, const QSize& size, const QRect& workArea, TPopupPlacement placement)
{
    const int top = workArea.top(), bottom = workArea.top() + workArea.height();
    const int below = anchor.top() + anchor.height();
    const int above = anchor.top() - size.height();
    bool down = placement != ppAbove;
    if (placement == ppAuto && below + size.height() > bottom)
        down = above < top && bottom - below >= anchor.top() - top;
    const int x = Clamp(anchor.left(), size.width(), workArea.left(), workArea.left() + workArea.width());
    const int y = Clamp(down ? below : above, size.height(), top, bottom);
    return QRect(QPoint(x, y), size);
}

QRect WorkAreaAt(const QPoint& globalPos)
{
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

TPopupWindow::TPopupWindow(QWidget* owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TPopupWindow::Popup(const QRect& anchor, TPopupPlacement placement)
{
    setGeometry(PlacePopup(anchor, size(), WorkAreaAt(anchor.center()), placement));
    FCancelled = true;
    FShown = true;
    show();
}

void TPopupWindow::ClosePopup(bool cancelled)
{
    if (!isVisible())
        return;
    FCancelled = cancelled;
    hide();
}

void TPopupWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        ClosePopup(true);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPopupWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A click outside closes the popup without asking: that close counts as cancelled.
    if (!FShown)
        return;
    FShown = false;
    const bool cancelled = FCancelled;
    FCancelled = true;
    if (OnClose)
        Guarded([&] { OnClose(cancelled); });
}

}  // namespace platform
