#pragma once
#include "platform/Clock.h"
#include "platform/TCanvas.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

// A hint window of our own (the controls' tree hints, the grid's balloon tips, the drop-downs'
// hints): a borderless top-level window that never takes the focus, stays inside the desktop,
// paints itself through Paint and can run a step animation on clock timers, so nothing waits on
// the GUI thread while a hint fades or slides in.
namespace platform {

class THintWindow : public QWidget {
    Q_OBJECT
public:
    explicit THintWindow(QWidget* owner = nullptr);
    ~THintWindow() override;

    // The window's rectangle for the text, with its top-left at (0, 0): the text laid out
    // word-wrapped within maxWidth, with the frame and a margin around it.
    virtual QRect CalcHintRect(int maxWidth, const QString& text);
    // Shows the hint at the rectangle (screen coordinates), moved inside the desktop, on top of
    // everything and without taking the activation.
    virtual void ActivateHint(const QRect& rect, const QString& text);
    // Hides the hint and stops a running animation.
    void ReleaseHint();
    bool HintShown() const { return isVisible(); }
    const QString& Caption() const { return FCaption; }

    // Hides the hint after ms once shown (0: it stays until released).
    void SetHideTimeout(int ms) { FHideTimeout = ms; }
    int HideTimeout() const { return FHideTimeout; }

    // A rectangle moved so that it lies inside the desktop: past the bottom or right it moves up
    // or left to end there, above the top or left of the left edge it moves to start there.
    static QRect KeepOnDesktop(const QRect& rect, const QRect& desktop);
    // The desktop a hint at the point may use (the whole virtual desktop of its screen).
    static QRect DesktopAt(const QPoint& globalPos);
    // What the screen shows under the rectangle (screen coordinates); a null image where the
    // platform cannot read the screen.
    static QImage GrabScreen(const QRect& rect);

    // A step animation: `steps` steps spread over `durationMs` on clock timers. The callback gets
    // the current step (counting up to steps) and the step size (the steps taken since the last
    // call); answering false stops the run. At the end, or when stopped, it gets (0, 0) once
    // more. A new animation or StopAnimation ends the one running.
    using TAnimationStep = std::function<bool(int step, int stepSize)>;
    void Animate(int steps, int durationMs, TAnimationStep callback);
    void StopAnimation();
    bool Animating() const { return bool(FAnimation); }
    // Interval between animation ticks.
    static constexpr int AnimationTickMs = 15;

    // Fired when the window hides, whatever hid it.
    std::function<void()> OnHide;

protected:
    // Draws the hint; the canvas covers the whole window. The default: the platform's hint
    // colours and font, a black frame and the caption word-wrapped inside it.
    virtual void Paint(TCanvas& canvas);
    // The font hints are drawn in.
    static TFont HintFont();

    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AnimationTick();
    void FinishAnimation();

    QString FCaption;
    int FHideTimeout = 0;
    ClockTimer FHideTimer;
    ClockTimer FAnimationTimer;
    TAnimationStep FAnimation;
    int FSteps = 0;
    int FDuration = 0;
    int FStep = 0;
    qint64 FStartMs = 0;
    quint64 FRun = 0;  // counts the animations started
};

}  // namespace platform
