// The scanner window's wireless views while 10,000 telegrams arrive from the fake gateway on
// loopback through the real engine: the GUI thread's own CPU time per telegram (its event handling
// only: the queued updates, the table refreshes and the tree of the chosen meter rebuilt with them),
// with the updates coalesced as the window does, and, for comparison, the same updates each shown
// at once.
#include "fake-gateway/GatewayScript.h"
#include "grid/core/ExtStringGrid.h"
#include "protocols/mbus/UMBusScanDecode.h"
#include "protocols/mbus/UScanDecode.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <chrono>
#include <ctime>
#include <thread>

#include "controls/buttons_pages/PicButton.h"

namespace {

double Thread_Cpu_Seconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Wall() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

void Ensure_Widgets()
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

class Scanner : public TFScanDecode {
public:
    using TFScanDecode::FormClose;
    using TFScanDecode::FormShow;
};

// Handles the GUI thread's events until `done`, adding the thread's CPU spent doing so to `gui`.
template <typename Pred>
bool Pump(Pred&& done, double& gui, double seconds = 60)
{
    const double limit = Wall() + seconds;
    while (!done()) {
        const double t0 = Thread_Cpu_Seconds();
        QApplication::processEvents();
        gui += Thread_Cpu_Seconds() - t0;
        if (Wall() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

std::vector<fake_gateway::Bytes> Telegrams(const fake_gateway::Key& key)
{
    const fake_gateway::Bytes records{0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x04, 0x6D, 0x32, 0x37, 0x1F, 0x15};
    std::vector<fake_gateway::Bytes> telegrams;
    for (uint32_t m = 0; m < 10; ++m)  // ten meters heard plain, ten in mode 5
        for (bool encrypted : {false, true})
            telegrams.push_back(fake_gateway::Radio_Datagram(
                FakeGateway::Module::Telit,
                fake_gateway::Wireless_Telegram(fake_gateway::Manufacturer_Code("KAM"), 0x11000000u + m * 0x10 + encrypted,
                                                1, 7, 0x2A, records, encrypted ? std::optional(key) : std::nullopt)));
    return telegrams;
}

void BM_ScannerViews10000Telegrams(benchmark::State& state)
{
    Ensure_Widgets();
    const fake_gateway::Key key{0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08,
                                0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00};
    const auto telegrams = Telegrams(key);
    const int count = 10000;
    double gui_total = 0;
    int refreshes = 0;
    for (auto _ : state) {
        FakeGateway gateway;
        gateway.Set_Module(FakeGateway::Module::Telit);
        Scanner window;
        TMBusScanDecode& engine = window.TR_ScanDecode();
        engine.Gateway_Port = gateway.Port();
        engine.Local_Address = QStringLiteral("127.0.0.1");
        engine.Local_Port = 0;
        engine.Time_Scale = 0.05;
        window.Form_Type = 1;
        window.XML_Code_Dev = 18;
        window.show();
        window.FormShow();
        window.CB_ScanMethod->setCurrentIndex(1);
        window.Move_Object_Type_Form();
        window.E_Port->setText(QString::number(gateway.Port()));
        for (QLineEdit* e : {window.E_IP1, window.E_IP2, window.E_IP3, window.E_IP4})
            e->setText(e == window.E_IP1 ? QStringLiteral("127") : e == window.E_IP4 ? QStringLiteral("1") : QStringLiteral("0"));
        window.Btn_StartScan->Click();
        double ignored = 0;
        if (!Pump([&] { return engine.Step_Scan() == 134; }, ignored)) {
            state.SkipWithError("the engine did not reach listening");
            return;
        }
        for (const auto& t : telegrams)
            gateway.Inject(t);
        Pump([&] { return window.ESG_Wireless->RowCount() > int(telegrams.size()); }, ignored);
        for (int i = 1; i < int(telegrams.size()); i += 2) {
            Pump([&] { return engine.Step_Scan() == 134; }, ignored);
            engine.Insert_Wireless_Key(i, key);
        }
        Pump([&] { return engine.Step_Scan() == 134; }, ignored);
        // The user looks at one meter's tree while the telegrams arrive.
        window.ESG_WirelessClickCell(1, 0);

        const int refreshes0 = window.Wireless_Refreshes();
        const uint64_t delivered0 = engine.UDP_Server().DeliveredCount();
        double gui = 0;
        for (int i = 0; i < count; ++i) {
            gateway.Inject(telegrams[size_t(i) % telegrams.size()]);
            if (i % 64 == 63)  // keep within the socket's receive buffer
                Pump([&] { return engine.UDP_Server().DeliveredCount() >= delivered0 + uint64_t(i) - 16; }, gui);
        }
        Pump([&] { return engine.UDP_Server().DeliveredCount() >= delivered0 + count; }, gui);
        // The last updates still queued and the last refresh.
        const double settle = Wall() + 3.0 * TFScanDecode::Wireless_Refresh_Ms / 1000;
        Pump([&] { return Wall() > settle; }, gui);
        gui_total += gui;
        refreshes += window.Wireless_Refreshes() - refreshes0;
        state.counters["delivered"] = double(engine.UDP_Server().DeliveredCount() - delivered0);
        window.close();
    }
    state.counters["gui_us_per_telegram"] = gui_total / double(state.iterations()) / count * 1e6;
    state.counters["table_refreshes"] = double(refreshes) / double(state.iterations());
}
BENCHMARK(BM_ScannerViews10000Telegrams)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// The table alone: 10,000 updates handed to the window directly, twenty meters in turn, coalesced
// (one refresh per batch) against each update shown at once.
void BM_ScannerViewsCoalescedOrNot(benchmark::State& state)
{
    Ensure_Widgets();
    const bool coalesced = state.range(0) != 0;
    const int count = 10000;
    std::vector<TSlave_wMBus> meters(20);
    for (size_t i = 0; i < meters.size(); ++i) {
        meters[i].ALA_Address = int32_t(0x11000000 + i);
        meters[i].ALA_Manu_str = QStringLiteral("KAM");
        meters[i].Cripted = i % 2;
    }
    double gui = 0;
    for (auto _ : state) {
        Scanner window;
        window.Form_Type = 1;
        window.CB_ScanMethod->setCurrentIndex(1);
        window.Form_Style(4);
        const double t0 = Thread_Cpu_Seconds();
        for (int i = 0; i < count; ++i) {
            TSlave_wMBus& m = meters[size_t(i) % meters.size()];
            m.RSSI = int8_t(-(i % 90));
            m.DateTime = QDateTime::currentDateTime();
            window.Update_Grid_Wireless(int(size_t(i) % meters.size()), &m);
            // The window's refresh timer falls due once per 100 ms; at 10,000 telegrams in a few
            // seconds that is about every 250th update.
            if (!coalesced || i % 250 == 249)
                window.Flush_Wireless();
        }
        window.Flush_Wireless();
        gui += Thread_Cpu_Seconds() - t0;
    }
    state.counters["gui_us_per_telegram"] = gui / double(state.iterations()) / count * 1e6;
}
BENCHMARK(BM_ScannerViewsCoalescedOrNot)->Arg(1)->Arg(0)->ArgNames({"coalesced"})->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
