#include "platform/HintWindow.h"
#include "platform/TCustomControl.h"

#include "support/FakeClock.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using platform::THintWindow;

TEST(HintWindow, StaysInsideTheDesktop)
{
    const QRect desktop(0, 0, 800, 600);
    struct Case {
        QRect In;
        QPoint TopLeft;
    } cases[] = {
        {QRect(10, 10, 100, 20), QPoint(10, 10)},     // inside: unchanged
        {QRect(750, 10, 100, 20), QPoint(700, 10)},   // past the right: ends there
        {QRect(10, 590, 100, 20), QPoint(10, 580)},   // past the bottom: ends there
        {QRect(-30, -5, 100, 20), QPoint(0, 0)},      // above and left: starts there
        {QRect(790, 595, 100, 20), QPoint(700, 580)}, // past both
        {QRect(10, 10, 900, 20), QPoint(0, 10)},      // wider than the desktop: left edge wins
    };
    for (const Case& c : cases) {
        const QRect r = THintWindow::KeepOnDesktop(c.In, desktop);
        EXPECT_EQ(r.topLeft(), c.TopLeft) << c.In.x() << "," << c.In.y();
        EXPECT_EQ(r.size(), c.In.size());
    }
}

TEST(HintWindow, AnimationRunsOnTheClockAndEndsWithAZeroStep)
{
    FakeClock clock;
    THintWindow window;
    std::vector<std::pair<int, int>> calls;
    window.Animate(10, 100, [&](int step, int size) {
        calls.emplace_back(step, size);
        return true;
    });
    // Nothing happens until time passes: the GUI thread is never held.
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(window.Animating());
    clock.Advance(50);
    ASSERT_FALSE(calls.empty());
    EXPECT_LT(calls.back().first, 10);
    clock.Advance(100);
    EXPECT_FALSE(window.Animating());
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back(), std::make_pair(0, 0));
    EXPECT_EQ(calls[calls.size() - 2].first, 10);
    // The sizes add up to the steps taken.
    int sum = 0;
    for (size_t i = 0; i + 1 < calls.size(); ++i)
        sum += calls[i].second;
    EXPECT_EQ(sum, 10);
}

TEST(HintWindow, AnimationStopsWhenTheStepRefusesOrTheWindowHides)
{
    FakeClock clock;
    THintWindow window;
    int calls = 0;
    window.Animate(100, 1000, [&](int step, int) {
        ++calls;
        return step < 20;
    });
    clock.Advance(2000);
    EXPECT_FALSE(window.Animating());
    const int afterRefusal = calls;
    clock.Advance(2000);
    EXPECT_EQ(calls, afterRefusal);

    window.ActivateHint(QRect(10, 10, 50, 20), "x");
    bool hidden = false;
    window.OnHide = [&] { hidden = true; };
    bool endCall = false;
    window.Animate(100, 1000, [&](int step, int size) {
        if (step == 0 && size == 0)
            endCall = true;
        return true;
    });
    window.ReleaseHint();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(endCall);
    EXPECT_FALSE(window.Animating());
}

TEST(HintWindow, HidesAfterItsTimeout)
{
    FakeClock clock;
    THintWindow window;
    window.SetHideTimeout(500);
    window.ActivateHint(QRect(0, 0, 60, 20), "tip");
    EXPECT_TRUE(window.HintShown());
    EXPECT_EQ(window.Caption(), "tip");
    clock.Advance(499);
    EXPECT_TRUE(window.HintShown());
    clock.Advance(1);
    EXPECT_FALSE(window.HintShown());
}

namespace {
class OwnHintControl : public platform::TCustomControl {
public:
    bool ShowOwnHint(const QPoint& clientPos, const QPoint&) override
    {
        Asked.push_back(clientPos);
        return clientPos.x() < 50;
    }
    std::vector<QPoint> Asked;
};
}  // namespace

TEST(HintWindow, AControlTakesTheHintRequestItself)
{
    OwnHintControl control;
    control.resize(100, 40);
    control.SetHint("plain");
    for (int x : {10, 70}) {
        QHelpEvent help(QEvent::ToolTip, QPoint(x, 5), control.viewport()->mapToGlobal(QPoint(x, 5)));
        QApplication::sendEvent(control.viewport(), &help);
        // Taken: no platform hint; left alone: the control's hint shows.
        EXPECT_EQ(QToolTip::text().contains("plain"), x >= 50) << x;
    }
    QToolTip::hideText();
    ASSERT_EQ(control.Asked.size(), 2u);
    EXPECT_EQ(control.Asked[0], QPoint(10, 5));
}
