// Runs a scan with the real engine against a gateway and writes the result lists as a meter list
// (M_Bus.xml in its scan dialect).
//
//   mbus-scan [--secondary] [--wireless MODE] [--baud N] [--cut-after N] [--reset] [--snd-nke]
//             [--time-scale F] [--report FILE] [--key ID:KEY] HOST:PORT OUT.xml
//
// --report also writes the scan report (every meter with every record) to FILE; --key gives a
// wireless meter heard encrypted its key (ID in eight digits, KEY in 32 hex digits).
// A wireless scan listens until the input ends (Ctrl-D). Exits 0 when the scan ran to its end.
#include "protocols/mbus/UMBusScanDecode.h"
#include "protocols/mbus/UScanResults.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <array>
#include <cstdio>
#include <map>
#include <unistd.h>

namespace {

int Usage()
{
    std::fputs("usage: mbus-scan [--secondary] [--wireless MODE] [--baud N] [--cut-after N] [--reset] [--snd-nke]"
               " [--time-scale F] [--report FILE] [--key ID:KEY] HOST:PORT OUT.xml\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool secondary = false, reset = false, nke = false;
    int wireless = -1, baud = 2400, cut = 1;
    double scale = 1.0;
    QString report;
    std::map<uint32_t, std::array<uint8_t, 16>> keys;  // given to a meter once it is heard encrypted
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == "--secondary") secondary = true;
        else if (a == "--reset") reset = true;
        else if (a == "--snd-nke") nke = true;
        else if (a == "--wireless") wireless = next().toInt();
        else if (a == "--baud") baud = next().toInt();
        else if (a == "--cut-after") cut = next().toInt();
        else if (a == "--time-scale") scale = next().toDouble();
        else if (a == "--report") report = next();
        else if (a == "--key") {
            // ID:KEY, the meter's eight digits and its 32 hex digits.
            const QStringList parts = next().split(u':');
            std::vector<uint8_t> key;
            bool ok = false;
            const uint32_t id = parts.value(0).toUInt(&ok, 16);
            if (parts.size() != 2 || parts[0].size() != 8 || !ok || !Hex_To_Bytes(parts[1], key) || key.size() != 16)
                return Usage();
            std::array<uint8_t, 16> k{};
            std::copy(key.begin(), key.end(), k.begin());
            keys[id] = k;
        }
        else if (a.startsWith("--")) return Usage();
        else positional << a;
    }
    if (positional.size() != 2 || !positional[0].contains(':') || scale <= 0)
        return Usage();
    const QString host = positional[0].section(':', 0, -2);
    const auto port = quint16(positional[0].section(':', -1).toUInt());
    const QString out = positional[1];

    TMBusScanDecode engine;
    engine.Time_Scale = scale;
    engine.SaveXMLFile = report;
    engine.Gateway_Port = port;
    engine.Set_Run(true);
    bool started = false;
    if (wireless < 0) {
        started = engine.Start_Scan(secondary ? TScanType::saSecondaryAddress : TScanType::saPrimaryAddress,
                                    TSelectHard::shEthernet, host, baud, 1, reset, nke, cut, false, 0, false,
                                    [](int event, int value, int found, int kind) {
                                        if (event == 2 && found && kind == 1)
                                            std::printf("found primary %d\n", value);
                                        else if (event == 2 && found)
                                            std::printf("found secondary %08X\n", unsigned(value));
                                        else if (event == 2 && kind == 1 && value % 25 == 0)
                                            std::printf("address %d\n", value);
                                        else if (event == 4)
                                            std::printf("collision at %08X\n", unsigned(value));
                                        else if (event == 3)
                                            std::printf("scan ended\n");
                                        std::fflush(stdout);
                                    });
    } else {
        engine.Local_Port = 0;
        started = engine.Start_Scan_Wireless(TSelectHard::shEthernet, host, port, wireless, 0, false,
                                             [&](int index, const TSlave_wMBus* m) {
                                                 std::printf("meter %d: %s %08X%s\n", index, qPrintable(m->ALA_Manu_str),
                                                             unsigned(m->ALA_Address), m->Cripted ? " (encrypted)" : "");
                                                 const auto key = keys.find(uint32_t(m->ALA_Address));
                                                 if (m->Cripted && key != keys.end() &&
                                                     engine.Insert_Wireless_Key(index, key->second)) {
                                                     std::printf("key given to meter %d\n", index);
                                                     keys.erase(key);
                                                 }
                                                 std::fflush(stdout);
                                             },
                                             false);
    }
    if (!started) {
        std::fputs("mbus-scan: the scan could not start\n", stderr);
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            engine.Stop_Scan();
        }
    });
    input.setEnabled(wireless >= 0);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!engine.FInScan())
            app.quit();
    });
    poll.start(20);
    app.exec();
    QCoreApplication::sendPostedEvents();
    if (engine.FResult() != 1) {
        std::fputs("mbus-scan: the gateway did not answer as expected\n", stderr);
        return 1;
    }
    TSaveConfXML save;
    save.File_Name = out;
    save.Node_ID_Type = secondary ? 1 : 0;
    save.SND_NKE = nke;
    save.Reset_App = reset;
    save.Cut_After = cut;
    try {
        const bool written =
            Save_Scan_Result(engine, wireless < 0 ? TMBusType::mtWired : TMBusType::mtWireless, save, true);
        std::printf("%s\n", written ? qPrintable("wrote " + out) : "no meter found: nothing written");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mbus-scan: %s\n", e.what());
        return 1;
    }
    return 0;
}
