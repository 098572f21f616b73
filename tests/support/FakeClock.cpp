#include "support/FakeClock.h"

#include <algorithm>
#include <gtest/gtest.h>

FakeClock::FakeClock(qint64 startMs) : Now(startMs), Previous(&platform::CurrentClock())
{
    platform::SetClock(this);
}

FakeClock::~FakeClock() { platform::SetClock(Previous); }

platform::TimerId FakeClock::Schedule(int delayMs, QObject* context, std::function<void()> action)
{
    if (!context) {
        ADD_FAILURE() << "a callback was scheduled without a context object";
        return 0;
    }
    const platform::TimerId id = platform::NextTimerId();
    Entries.push_back(Entry{id, Now.load() + std::max(delayMs, 0), context, std::move(action)});
    return id;
}

void FakeClock::Cancel(platform::TimerId id)
{
    std::erase_if(Entries, [id](const Entry& e) { return e.Id == id; });
}

bool FakeClock::Pending(platform::TimerId id) const
{
    return std::any_of(Entries.begin(), Entries.end(), [id](const Entry& e) { return e.Id == id && e.Context; });
}

void FakeClock::Sleep(int ms)
{
    SleepLog.push_back(ms);
    Now += std::max(ms, 0);
    if (OnSleep)
        OnSleep(ms);
}

std::optional<FakeClock::Entry> FakeClock::TakeNext(qint64 limitMs)
{
    std::erase_if(Entries, [](const Entry& e) { return !e.Context; });
    // Entries are in scheduling order, so the first of the earliest keeps ties in that order.
    auto next = std::min_element(Entries.begin(), Entries.end(),
                                 [](const Entry& a, const Entry& b) { return a.DueMs < b.DueMs; });
    if (next == Entries.end() || next->DueMs > limitMs)
        return std::nullopt;
    Entry taken = std::move(*next);
    Entries.erase(next);
    return taken;
}

int FakeClock::Advance(qint64 ms)
{
    const qint64 target = Now.load() + std::max<qint64>(ms, 0);
    int ran = 0;
    while (std::optional<Entry> e = TakeNext(target)) {
        Now = std::max(Now.load(), e->DueMs);
        ++ran;
        e->Action();
    }
    Now = std::max(Now.load(), target);
    return ran;
}

int FakeClock::PendingCount() const
{
    return int(std::count_if(Entries.begin(), Entries.end(), [](const Entry& e) { return bool(e.Context); }));
}

std::optional<qint64> FakeClock::NextDueMs() const
{
    std::optional<qint64> due;
    for (const Entry& e : Entries)
        if (e.Context && (!due || e.DueMs < *due))
            due = e.DueMs;
    return due;
}
