// The scan engine against the fake gateway on loopback, on the real clock: a wired primary scan of
// 250 addresses with 20 meters present (waits scaled down), 10,000 telegrams through the listener,
// and the engine's CPU while it waits for an answer. CPU is the whole process's (engine, listener
// and the fake gateway's thread), so the figures per address and per telegram are upper bounds.
#include "fake-gateway/GatewayScript.h"
#include "protocols/mbus/UMBusScanDecode.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

double Cpu_Seconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Wall_Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A widget application, since the scanner window's benchmark shares this program.
void Ensure_Application()
{
    static int argc = 1;
    static char name[] = "bench_mbus";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
}

template <typename Pred>
bool Wait_For(Pred&& done, double seconds = 60)
{
    const double limit = Wall_Seconds() + seconds;
    while (!done()) {
        QCoreApplication::sendPostedEvents();
        if (Wall_Seconds() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    QCoreApplication::sendPostedEvents();
    return true;
}

std::unique_ptr<TMBusScanDecode> Engine_For(const FakeGateway& gateway, double scale)
{
    auto engine = std::make_unique<TMBusScanDecode>();
    engine->Gateway_Port = gateway.Port();
    engine->Local_Address = QStringLiteral("127.0.0.1");
    engine->Local_Port = 0;
    engine->Time_Scale = scale;
    engine->Set_Run(true);
    return engine;
}

void BM_WiredPrimaryScan250(benchmark::State& state)
{
    Ensure_Application();
    const double scale = 0.02;
    double cpu = 0;
    double wall = 0;
    size_t found = 0;
    for (auto _ : state) {
        FakeGateway gateway;
        for (int i = 0; i < 20; ++i) {
            const auto a = uint8_t(1 + i * 12);
            FakeMeter meter;
            meter.Primary = a;
            meter.Id = 0x10000000u + a;
            meter.Frames = {fake_gateway::Wired_Frame(a, meter.Id, fake_gateway::Manufacturer_Code("KAM"), 1, 4,
                                                      {0x0C, 0x06, 0x78, 0x56, 0x34, 0x12, 0x04, 0x13, 0x4E, 0x61,
                                                       0x00, 0x00, 0x42, 0x6C, 0xBF, 0x1C})};
            gateway.Add_Meter(meter);
        }
        auto engine = Engine_For(gateway, scale);
        const double cpu0 = Cpu_Seconds();
        const double wall0 = Wall_Seconds();
        engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, QStringLiteral("127.0.0.1"), 2400, 1,
                           false, false, 1, false, 0, false, [](int, int, int, int) {});
        if (!Wait_For([&] { return !engine->FInScan(); })) {
            state.SkipWithError("the scan did not end");
            return;
        }
        cpu += Cpu_Seconds() - cpu0;
        wall += Wall_Seconds() - wall0;
        std::lock_guard lock(engine->List_Mutex);
        found = engine->List_Slave_MBus.size();
    }
    const double runs = double(state.iterations());
    state.counters["meters_found"] = double(found);
    state.counters["wall_s_per_scan"] = wall / runs;
    state.counters["cpu_us_per_address"] = cpu / runs / 250 * 1e6;
    state.counters["cpu_share_of_wall"] = cpu / wall;
}
BENCHMARK(BM_WiredPrimaryScan250)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_WirelessTelegrams10000(benchmark::State& state)
{
    Ensure_Application();
    const auto module = FakeGateway::Module::Telit;
    const fake_gateway::Key key{0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08,
                                0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00};
    const fake_gateway::Bytes records{0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x04, 0x6D, 0x32, 0x37, 0x1F, 0x15};
    std::vector<fake_gateway::Bytes> telegrams;
    for (uint32_t m = 0; m < 10; ++m)  // ten meters heard plain, ten in mode 5 (their keys given)
        for (bool encrypted : {false, true})
            telegrams.push_back(fake_gateway::Radio_Datagram(
                module, fake_gateway::Wireless_Telegram(fake_gateway::Manufacturer_Code("KAM"),
                                                        0x11000000u + m * 0x10 + (encrypted ? 1 : 0), 1, 7, 0x2A,
                                                        records, encrypted ? std::optional(key) : std::nullopt)));
    double cpu = 0;
    const int count = 10000;
    for (auto _ : state) {
        FakeGateway gateway;
        gateway.Set_Module(module);
        auto engine = Engine_For(gateway, 0.05);
        std::atomic<int> heard{0};
        engine->Start_Scan_Wireless(TSelectHard::shEthernet, QStringLiteral("127.0.0.1"), gateway.Port(), 5, 0, false,
                                    [&](int, const TSlave_wMBus*) { ++heard; }, false);
        if (!Wait_For([&] { return engine->Step_Scan() == 134; })) {
            state.SkipWithError("the engine did not reach listening");
            return;
        }
        // Every meter heard once and the encrypted ones given their keys, before the count starts.
        for (const auto& t : telegrams)
            gateway.Inject(t);
        Wait_For([&] { return heard.load() >= int(telegrams.size()); });
        for (int i = 1; i < int(telegrams.size()); i += 2) {
            Wait_For([&] { return engine->Step_Scan() == 134; });
            engine->Insert_Wireless_Key(i, key);
        }
        Wait_For([&] { return engine->Step_Scan() == 134; });
        const uint64_t delivered0 = engine->UDP_Server().DeliveredCount();
        const double cpu0 = Cpu_Seconds();
        for (int i = 0; i < count; ++i) {
            gateway.Inject(telegrams[size_t(i) % telegrams.size()]);
            if (i % 64 == 63)  // keep within the socket's receive buffer
                Wait_For([&] { return engine->UDP_Server().DeliveredCount() >= delivered0 + uint64_t(i) - 16; });
        }
        Wait_For([&] { return engine->UDP_Server().DeliveredCount() >= delivered0 + count; });
        cpu += Cpu_Seconds() - cpu0;
        state.counters["delivered"] = double(engine->UDP_Server().DeliveredCount() - delivered0);
        engine->Stop_Scan();
        Wait_For([&] { return !engine->FInScan(); });
        std::lock_guard lock(engine->List_Mutex);
        int keyed = 0;
        for (const auto& m : engine->List_Slave_wMBus)
            keyed += m->Enable_Key && !m->Cripted;
        state.counters["meters_decrypted"] = keyed;
    }
    state.counters["cpu_us_per_telegram"] = cpu / double(state.iterations()) / count * 1e6;
}
BENCHMARK(BM_WirelessTelegrams10000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// A meter that never answers at full time scale: the engine sits in its answer wait (REQ_UD2's
// long time limit at 2400 baud, about 1.8 s). Process CPU over 1 s of that wait.
void BM_CpuWhileWaitingForAnAnswer(benchmark::State& state)
{
    Ensure_Application();
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        FakeGateway gateway;
        auto engine = Engine_For(gateway, 1.0);
        engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, QStringLiteral("127.0.0.1"), 2400, 1,
                           false, false, 1, false, 0, false, [](int, int, int, int) {});
        // Past the gateway's set-up and into the first address's wait.
        const uint64_t sent0 = 4;
        Wait_For([&] { return gateway.Received_Count() >= sent0; });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const double cpu0 = Cpu_Seconds();
        const double wall0 = Wall_Seconds();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        cpu += Cpu_Seconds() - cpu0;
        wall += Wall_Seconds() - wall0;
        state.counters["datagrams_sent_meanwhile"] = double(gateway.Received_Count());
        engine->Abort_Scan();
        engine->Finish_Scan();
    }
    state.counters["cpu_ms_per_s_of_wait"] = cpu / wall * 1000;
}
BENCHMARK(BM_CpuWhileWaitingForAnAnswer)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
