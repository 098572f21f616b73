#pragma once
// A scan engine on the fake clock talking to a fake gateway on loopback, in lock-step: each pause
// of the engine first lets the gateway answer and the answer arrive.
#include "MBusFrames.h"
#include "protocols/mbus/UMBusScanDecode.h"
#include "support/FakeClock.h"
#include "fake-gateway/FakeGateway.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mbus_test {

struct Notification {
    int Event, Value, Found, Kind;
    bool operator==(const Notification&) const = default;
};

// Waits for another thread (real time, bounded), handing queued calls on meanwhile.
template <typename Pred>
bool Wait_For(Pred&& done, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        QCoreApplication::sendPostedEvents();
        if (timer.elapsed() > ms)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    QCoreApplication::sendPostedEvents();
    return true;
}

class ScanTest : public ::testing::Test {
protected:
    // The clock starts shortly before the 32-bit millisecond tick wraps, so every scan crosses it.
    ScanTest() : clock(0xFFFFF000LL)
    {
        clock.OnSleep = [this](int) {
            if (!active.load()->Settle())
                settle_failed = true;
            if (++sleeps == hold_at_sleep) {
                std::unique_lock lock(hold_mutex);
                held = true;
                hold_cv.notify_all();
                hold_cv.wait(lock, [this] { return !held; });
            }
        };
        engine = std::make_unique<TMBusScanDecode>();
        engine->Gateway_Port = gateway.Port();
        gateway.Attach(engine->UDP_Server());
        engine->Local_Address = QStringLiteral("127.0.0.1");
        engine->Local_Port = 0;
        engine->Set_Run(true);
    }
    ~ScanTest() override
    {
        Release();
        engine->Finish_Scan();
        active = &gateway;
        engine.reset();
        EXPECT_FALSE(settle_failed) << "the gateway and the engine fell out of step";
    }

    // Holds the engine thread at its n-th pause from now, so that a test can act mid-scan.
    void Hold_At_Sleep(int n) { hold_at_sleep = sleeps.load() + n; }
    bool Wait_Held()
    {
        std::unique_lock lock(hold_mutex);
        return hold_cv.wait_for(lock, std::chrono::seconds(20), [this] { return held; });
    }
    void Release()
    {
        std::lock_guard lock(hold_mutex);
        held = false;
        hold_cv.notify_all();
    }

    TProc_Slave_List Recorder()
    {
        return [this](int e, int v, int f, int k) { notes.push_back({e, v, f, k}); };
    }

    bool Start_Primary(int cut_after = 1, bool app_reset = false, bool snd_nke = false, bool fix_c = false,
                       uint8_t fix_value = 0)
    {
        return engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, QStringLiteral("127.0.0.1"),
                                  2400, 1, app_reset, snd_nke, cut_after, fix_c, fix_value, false, Recorder());
    }

    void Run_To_End()
    {
        ASSERT_TRUE(Wait_For([this] { return !engine->FInScan(); })) << "the scan did not end";
    }

    // The frames the gateway received, as hex text, from the first one that starts with `from`.
    std::vector<QString> Sent_Hex() const
    {
        std::vector<QString> hex;
        for (const Bytes& b : gateway.Received())
            hex.push_back(QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())).toHex(' ').toUpper());
        return hex;
    }

    // Talks to another gateway while it lives; ends a scan still running before that gateway goes.
    struct Use_Gateway {
        Use_Gateway(ScanTest& test, FakeGateway& other) : Test(test)
        {
            other.Attach(Test.engine->UDP_Server());
            Test.active = &other;
            Test.engine->Gateway_Port = other.Port();
        }
        ~Use_Gateway()
        {
            Test.engine->Finish_Scan();
            Test.gateway.Attach(Test.engine->UDP_Server());
            Test.active = &Test.gateway;
            Test.engine->Gateway_Port = Test.gateway.Port();
        }
        ScanTest& Test;
    };

    FakeClock clock;
    FakeGateway gateway;
    std::atomic<FakeGateway*> active{&gateway};
    std::unique_ptr<TMBusScanDecode> engine;
    std::vector<Notification> notes;
    bool settle_failed = false;
    std::atomic<int> sleeps{0};
    std::atomic<int> hold_at_sleep{-1};
    std::mutex hold_mutex;
    std::condition_variable hold_cv;
    bool held = false;
};

// The answer of a meter with the water meter's header at address `a` with identification `id`.
inline Bytes Meter_Frame(uint8_t a, uint32_t id, const Bytes& records = Water_Meter_Records())
{
    Bytes header = Water_Meter_Header();
    for (int i = 0; i < 4; ++i)
        header[size_t(i)] = uint8_t(id >> (8 * i));
    return Long_Frame(0x08, a, 0x72, header, records);
}

}  // namespace mbus_test
