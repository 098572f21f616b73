#pragma once
#include <QtGlobal>
#include <functional>

class QObject;

// Time and timers for everything that waits or runs later. The program uses the real clock over
// steady_clock and QTimer; tests install a fake one and move its time by hand.
namespace platform {

// Names one scheduled callback; 0 never names one.
using TimerId = quint64;

class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic milliseconds from an arbitrary origin; only differences mean something.
    virtual qint64 NowMs() const = 0;

    // Runs action once, on the GUI thread, after delayMs (0: at the next pass of the event loop),
    // unless cancelled first. context must not be null: the callback dies with it, so an owner
    // that is destroyed never hears of its callback again.
    virtual TimerId Schedule(int delayMs, QObject* context, std::function<void()> action) = 0;
    // Forgets a scheduled callback; ids already fired, cancelled or unknown are ignored.
    virtual void Cancel(TimerId id) = 0;
    // Whether the callback is still waiting to run.
    virtual bool Pending(TimerId id) const = 0;

    // Blocks the calling thread for ms without handling events (a fake clock only moves its time).
    virtual void Sleep(int ms) = 0;
};

// The clock in use: the real one unless a test has set another.
Clock& CurrentClock();
// Installs a clock (the caller keeps ownership); nullptr restores the real one.
void SetClock(Clock* clock);
// A fresh id for a clock to hand out. Ids are unique across all clocks, so cancelling on a clock
// that has since been swapped for another never hits somebody else's callback.
TimerId NextTimerId();

inline qint64 NowMs() { return CurrentClock().NowMs(); }

// One restartable single-shot timer owned by an object: starting it again replaces the earlier
// callback, and destroying it cancels the callback.
class ClockTimer {
public:
    ClockTimer() = default;
    ~ClockTimer() { Stop(); }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    void Start(int delayMs, QObject* context, std::function<void()> action);
    void Stop();
    bool IsActive() const;

private:
    TimerId Id = 0;
};

}  // namespace platform
