#include "platform/Clock.h"
#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

TEST(FakeClock, RunsCallbacksInDueOrderEachAtItsOwnTime)
{
    FakeClock clock(100);
    QObject owner;
    std::vector<std::pair<char, qint64>> ran;
    platform::CurrentClock().Schedule(30, &owner, [&] { ran.push_back({'c', clock.NowMs()}); });
    platform::CurrentClock().Schedule(10, &owner, [&] { ran.push_back({'a', clock.NowMs()}); });
    platform::CurrentClock().Schedule(10, &owner, [&] { ran.push_back({'b', clock.NowMs()}); });
    platform::CurrentClock().Schedule(31, &owner, [&] { ran.push_back({'d', clock.NowMs()}); });

    EXPECT_EQ(clock.Advance(9), 0);
    EXPECT_EQ(clock.Advance(21), 3);
    EXPECT_EQ(ran, (std::vector<std::pair<char, qint64>>{{'a', 110}, {'b', 110}, {'c', 130}}));
    EXPECT_EQ(clock.NowMs(), 130);
    EXPECT_EQ(clock.NextDueMs(), 131);
}

TEST(FakeClock, CallbacksScheduledWhileAdvancingRunInTheSameAdvance)
{
    FakeClock clock(0);
    QObject owner;
    std::vector<qint64> ticks;
    std::function<void()> tick = [&] {
        ticks.push_back(clock.NowMs());
        platform::CurrentClock().Schedule(40, &owner, tick);
    };
    platform::CurrentClock().Schedule(40, &owner, tick);
    clock.Advance(130);
    EXPECT_EQ(ticks, (std::vector<qint64>{40, 80, 120}));
    EXPECT_EQ(clock.PendingCount(), 1);
}

TEST(FakeClock, CancelledAndOrphanedCallbacksNeverRun)
{
    FakeClock clock;
    int ran = 0;
    QObject keeper;
    auto owner = std::make_unique<QObject>();
    const platform::TimerId cancelled = platform::CurrentClock().Schedule(5, &keeper, [&] { ++ran; });
    platform::CurrentClock().Schedule(5, owner.get(), [&] { ++ran; });
    platform::CurrentClock().Cancel(cancelled);
    owner.reset();
    EXPECT_FALSE(clock.Pending(cancelled));
    EXPECT_EQ(clock.PendingCount(), 0);
    EXPECT_EQ(clock.Advance(100), 0);
    EXPECT_EQ(ran, 0);
}

TEST(FakeClock, SleepMovesTimeWithoutRunningCallbacks)
{
    FakeClock clock(0);
    QObject owner;
    int ran = 0;
    platform::CurrentClock().Schedule(10, &owner, [&] { ++ran; });
    platform::CurrentClock().Sleep(50);
    EXPECT_EQ(clock.NowMs(), 50);
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(clock.RunDue(), 1);
    EXPECT_EQ(clock.Sleeps(), std::vector<int>{50});
}

TEST(FakeClock, RestoresTheClockItReplaced)
{
    platform::Clock* real = &platform::CurrentClock();
    {
        FakeClock outer;
        {
            FakeClock inner;
            EXPECT_EQ(&platform::CurrentClock(), &inner);
        }
        EXPECT_EQ(&platform::CurrentClock(), &outer);
    }
    EXPECT_EQ(&platform::CurrentClock(), real);
}

TEST(ClockTimer, RestartReplacesTheCallbackAndDestructionCancelsIt)
{
    FakeClock clock(0);
    QObject owner;
    std::vector<int> ran;
    {
        platform::ClockTimer timer;
        timer.Start(10, &owner, [&] { ran.push_back(1); });
        clock.Advance(5);
        timer.Start(10, &owner, [&] { ran.push_back(2); });
        EXPECT_TRUE(timer.IsActive());
        clock.Advance(9);
        EXPECT_TRUE(ran.empty());
        clock.Advance(1);
        EXPECT_EQ(ran, std::vector<int>{2});
        EXPECT_FALSE(timer.IsActive());
        timer.Start(10, &owner, [&] { ran.push_back(3); });
    }
    clock.Advance(100);
    EXPECT_EQ(ran, std::vector<int>{2});
}

TEST(ClockTimer, StoppingAfterTheClockWasSwappedTouchesNoOtherCallback)
{
    QObject owner;
    int ran = 0;
    platform::ClockTimer timer;
    {
        FakeClock first;
        timer.Start(10, &owner, [] {});
    }
    FakeClock second;
    platform::CurrentClock().Schedule(10, &owner, [&] { ++ran; });
    timer.Stop();
    second.Advance(10);
    EXPECT_EQ(ran, 1);
}

// The real clock: callbacks run from the event loop, die with their context, and can be cancelled.
TEST(RealClock, RunsFromTheEventLoopUnlessCancelledOrOrphaned)
{
    platform::Clock& clock = platform::CurrentClock();
    QObject keeper;
    auto orphan = std::make_unique<QObject>();
    std::vector<int> ran;
    clock.Schedule(0, &keeper, [&] { ran.push_back(1); });
    const platform::TimerId cancelled = clock.Schedule(0, &keeper, [&] { ran.push_back(2); });
    clock.Schedule(0, orphan.get(), [&] { ran.push_back(3); });
    const platform::TimerId last = clock.Schedule(1, &keeper, [&] { ran.push_back(4); });
    clock.Cancel(cancelled);
    orphan.reset();
    EXPECT_TRUE(clock.Pending(last));

    QElapsedTimer guard;
    guard.start();
    while (clock.Pending(last) && guard.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(ran, (std::vector<int>{1, 4}));
    EXPECT_FALSE(clock.Pending(last));
}

TEST(RealClock, IsMonotonic)
{
    const qint64 a = platform::NowMs();
    platform::CurrentClock().Sleep(2);
    EXPECT_GE(platform::NowMs() - a, 2);
}

}  // namespace
