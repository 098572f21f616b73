#include "platform/HintWindow.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

namespace platform {

THintWindow::THintWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

THintWindow::~THintWindow()
{
    FAnimation = nullptr;
    OnHide = nullptr;
}

TFont THintWindow::HintFont()
{
    return TFont(QToolTip::font(), clInfoText);
}

QRect THintWindow::CalcHintRect(int maxWidth, const QString& text)
{
    TCanvas canvas;
    canvas.Font = HintFont();
    QRect r(0, 0, std::max(maxWidth, 1), 0);
    canvas.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    // Frame and margins: 1 pixel of frame and 2 of space on each side, 3 more at the left.
    return QRect(0, 0, r.width() + 9, r.height() + 6);
}

QRect THintWindow::KeepOnDesktop(const QRect& rect, const QRect& desktop)
{
    QRect r = rect;
    if (r.bottom() > desktop.bottom())
        r.moveBottom(desktop.bottom());
    if (r.right() > desktop.right())
        r.moveRight(desktop.right());
    if (r.top() < desktop.top())
        r.moveTop(desktop.top());
    if (r.left() < desktop.left())
        r.moveLeft(desktop.left());
    return r;
}

QRect THintWindow::DesktopAt(const QPoint& globalPos)
{
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

QImage THintWindow::GrabScreen(const QRect& rect)
{
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen || rect.isEmpty())
        return QImage();
    const QRect local = rect.translated(-screen->geometry().topLeft());
    return screen->grabWindow(0, local.x(), local.y(), local.width(), local.height())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void THintWindow::ActivateHint(const QRect& rect, const QString& text)
{
    FCaption = text;
    const QRect r = KeepOnDesktop(rect, DesktopAt(rect.topLeft()));
    setGeometry(r);
    if (!isVisible())
        show();
    update();
}

void THintWindow::ReleaseHint()
{
    StopAnimation();
    if (isVisible())
        hide();
}

void THintWindow::Paint(TCanvas& canvas)
{
    const QRect r = rect();
    canvas.Brush = TBrush{clInfoBk, TBrushStyle::bsSolid};
    canvas.Pen = TPen{clBlack};
    canvas.Rectangle(r);
    canvas.Font = HintFont();
    canvas.Brush.Style = TBrushStyle::bsClear;
    QRect text = r.adjusted(4, 2, -2, -2);
    canvas.DrawText(FCaption, text, DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    canvas.SetPaintRegion(event->region());
    Paint(canvas);
    canvas.Detach();
}

void THintWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FHideTimeout > 0)
        FHideTimer.Start(FHideTimeout, this, [this] { ReleaseHint(); });
}

void THintWindow::hideEvent(QHideEvent* event)
{
    FHideTimer.Stop();
    StopAnimation();
    QWidget::hideEvent(event);
    if (OnHide)
        OnHide();
}

void THintWindow::Animate(int steps, int durationMs, TAnimationStep callback)
{
    StopAnimation();
    if (!callback)
        return;
    ++FRun;
    FAnimation = std::move(callback);
    FSteps = std::max(steps, 0);
    FDuration = std::max(durationMs, 0);
    FStep = 0;
    FStartMs = NowMs();
    if (FSteps == 0 || FDuration == 0) {
        // Nothing to spread out: the last step at once.
        FStep = FSteps;
        TAnimationStep step = FAnimation;
        if (FSteps > 0 && !step(FSteps, FSteps)) {
            FinishAnimation();
            return;
        }
        FinishAnimation();
        return;
    }
    FAnimationTimer.Start(std::min(AnimationTickMs, FDuration), this, [this] { AnimationTick(); });
}

void THintWindow::AnimationTick()
{
    if (!FAnimation)
        return;
    const qint64 elapsed = std::max<qint64>(NowMs() - FStartMs, 0);
    const int target = elapsed >= FDuration ? FSteps : int(elapsed * FSteps / FDuration);
    if (target > FStep) {
        const int size = target - FStep;
        FStep = target;
        // The callback may stop or restart the animation: it runs on a copy.
        TAnimationStep step = FAnimation;
        const quint64 run = FRun;
        const bool more = step(FStep, size);
        if (run != FRun || !FAnimation)
            return;
        if (!more) {
            FinishAnimation();
            return;
        }
    }
    if (FStep >= FSteps) {
        FinishAnimation();
        return;
    }
    FAnimationTimer.Start(AnimationTickMs, this, [this] { AnimationTick(); });
}

void THintWindow::FinishAnimation()
{
    FAnimationTimer.Stop();
    TAnimationStep step = std::move(FAnimation);
    FAnimation = nullptr;
    if (step)
        step(0, 0);
}

void THintWindow::StopAnimation()
{
    if (FAnimation)
        FinishAnimation();
    FAnimationTimer.Stop();
}

}  // namespace platform
