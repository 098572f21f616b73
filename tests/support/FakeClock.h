#pragma once
#include "platform/Clock.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// A clock whose time moves only when a test moves it. Installs itself while it lives and restores
// the clock it replaced. Scheduled callbacks run during Advance, in the order they fall due (equal
// times in the order scheduled), each seeing NowMs() at its own due time. A callback whose context
// has gone is dropped. Sleep moves the time without running callbacks, as a blocked thread would.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(qint64 startMs = 1000);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    qint64 NowMs() const override { return Now.load(); }
    platform::TimerId Schedule(int delayMs, QObject* context, std::function<void()> action) override;
    void Cancel(platform::TimerId id) override;
    bool Pending(platform::TimerId id) const override;
    void Sleep(int ms) override;

    // Moves the time on by ms, running every callback that falls due on the way (also those that
    // the callbacks schedule). Returns the number of callbacks run.
    int Advance(qint64 ms);
    // Runs the callbacks due now (delay 0 and overdue ones) without moving the time.
    int RunDue() { return Advance(0); }
    // Callbacks waiting whose context is still alive.
    int PendingCount() const;
    // When the next live callback falls due.
    std::optional<qint64> NextDueMs() const;
    // Every Sleep the code under test made, in order.
    const std::vector<int>& Sleeps() const { return SleepLog; }

    // What a Sleep does besides moving the time, e.g. a real pause where the code waits for a real
    // child process, whose pace no fake clock sets.
    std::function<void(int ms)> OnSleep;

private:
    struct Entry {
        platform::TimerId Id;
        qint64 DueMs;
        QPointer<QObject> Context;
        std::function<void()> Action;
    };
    // The next entry due at or before limitMs, dropping those whose context has gone.
    std::optional<Entry> TakeNext(qint64 limitMs);

    std::atomic<qint64> Now;
    std::vector<Entry> Entries;  // in the order scheduled
    std::vector<int> SleepLog;
    platform::Clock* Previous;
};
