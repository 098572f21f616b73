#include "platform/Clock.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>
#include <unordered_map>

namespace platform {
namespace {

class RealClock final : public Clock {
public:
    qint64 NowMs() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    TimerId Schedule(int delayMs, QObject* context, std::function<void()> action) override
    {
        Q_ASSERT(context);
        if (!context)
            return 0;
        const TimerId id = NextTimerId();
        // The timer is a child of the context, so it goes when its owner goes.
        auto* timer = new QTimer(context);
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        Timers.emplace(id, timer);
        QObject::connect(timer, &QObject::destroyed, [this, id] { Timers.erase(id); });
        QObject::connect(timer, &QTimer::timeout, timer, [this, id, timer, action = std::move(action)] {
            Timers.erase(id);
            timer->deleteLater();
            action();
        });
        timer->start(qMax(delayMs, 0));
        return id;
    }

    void Cancel(TimerId id) override
    {
        const auto it = Timers.find(id);
        if (it == Timers.end())
            return;
        QTimer* timer = it->second;
        Timers.erase(it);
        timer->stop();
        // Later, not now: the callback being cancelled may be the one running.
        timer->deleteLater();
    }

    bool Pending(TimerId id) const override { return Timers.contains(id); }

    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(qMax(ms, 0))); }

private:
    std::unordered_map<TimerId, QTimer*> Timers;
};

RealClock& realClock()
{
    // Never destroyed: timers of objects that die during exit still tell it they are gone.
    static RealClock* const clock = new RealClock;
    return *clock;
}

std::atomic<Clock*> g_clock{nullptr};
std::atomic<TimerId> g_lastId{0};

}  // namespace

Clock& CurrentClock()
{
    Clock* clock = g_clock.load();
    return clock ? *clock : realClock();
}

void SetClock(Clock* clock) { g_clock.store(clock); }

TimerId NextTimerId() { return ++g_lastId; }

void ClockTimer::Start(int delayMs, QObject* context, std::function<void()> action)
{
    Stop();
    Id = CurrentClock().Schedule(delayMs, context, std::move(action));
}

void ClockTimer::Stop()
{
    if (Id != 0)
        CurrentClock().Cancel(Id);
    Id = 0;
}

bool ClockTimer::IsActive() const { return Id != 0 && CurrentClock().Pending(Id); }

}  // namespace platform
