// A fake gateway on a UDP port, for trying the scanner without a device:
//
//   fake-gateway [--address A] [--port N] [--script FILE] [--every MS] [--verbose] [--print-script]
//
// It serves the wired meters of its script in analyzer mode and plays its radio module in
// configuration mode; while the module listens it sends the script's telegrams every MS
// milliseconds (default 1000). A line of hex on the input is sent to the scanner as one datagram.
// With --verbose it prints every datagram it receives. It runs until interrupted.
#include "fake-gateway/GatewayScript.h"

#include "platform/Clock.h"
#include "protocols/mbus/UMBusDecode.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace {

std::atomic<bool> Interrupted{false};

void On_Signal(int) { Interrupted = true; }

int Usage()
{
    std::fputs("usage: fake-gateway [--address A] [--port N] [--script FILE] [--every MS] [--verbose] [--print-script]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString address = QStringLiteral("127.0.0.1");
    QString script_file;
    int port = 10000;
    int every = 1000;
    bool verbose = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
        bool ok = true;
        if (a == "--address") address = next();
        else if (a == "--port") port = next().toInt(&ok);
        else if (a == "--script") script_file = next();
        else if (a == "--every") every = next().toInt(&ok);
        else if (a == "--verbose") verbose = true;
        else if (a == "--print-script") {
            std::fputs(qPrintable(fake_gateway::Default_Script_Text()), stdout);
            return 0;
        } else return Usage();
        if (!ok || port < 0 || port > 65535 || every <= 0)
            return Usage();
    }
    QString text = fake_gateway::Default_Script_Text();
    if (!script_file.isEmpty()) {
        QFile file(script_file);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "fake-gateway: cannot read %s\n", qPrintable(script_file));
            return 1;
        }
        text = QString::fromUtf8(file.readAll());
    }
    QString error;
    const auto script = fake_gateway::Parse_Script(text, &error);
    if (!script) {
        std::fprintf(stderr, "fake-gateway: %s: %s\n", qPrintable(script_file), qPrintable(error));
        return 1;
    }
    FakeGateway gateway(address, quint16(port));
    if (!gateway.Ok()) {
        std::fprintf(stderr, "fake-gateway: cannot bind %s:%d\n", qPrintable(address), port);
        return 1;
    }
    fake_gateway::Load(gateway, *script);
    std::printf("fake gateway on %s:%u: %zu wired meters, %zu telegrams\n", qPrintable(address),
                unsigned(gateway.Port()), script->Meters.size(), script->Telegrams.size());
    std::fflush(stdout);

    struct sigaction action {};
    action.sa_handler = On_Signal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    pollfd input{STDIN_FILENO, POLLIN, 0};
    std::string line;
    size_t shown = 0;
    qint64 next_telegrams = platform::NowMs() + every;
    while (!Interrupted.load()) {
        const int ready = ::poll(&input, input.fd >= 0 ? 1 : 0, verbose ? std::min(every, 50) : every);
        if (verbose) {
            const auto received = gateway.Received_Texts();
            for (; shown < received.size(); ++shown) {
                const QByteArray& d = received[shown];
                const bool text = d.size() > 3 && std::all_of(d.begin(), d.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
                std::printf("<- %s\n", text ? d.constData() : d.toHex(' ').toUpper().constData());
            }
            std::fflush(stdout);
        }
        if (ready > 0) {
            char buffer[4096];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                input.fd = -1;  // the input ended: keep serving
                continue;
            }
            line.append(buffer, size_t(n));
            for (size_t end; (end = line.find('\n')) != std::string::npos; line.erase(0, end + 1)) {
                std::vector<uint8_t> datagram;
                if (Hex_To_Bytes(QString::fromStdString(line.substr(0, end)), datagram) && !datagram.empty())
                    gateway.Inject(datagram);
                else if (end > 0)
                    std::fputs("fake-gateway: not hex\n", stderr);
            }
            continue;
        }
        if (platform::NowMs() < next_telegrams)
            continue;
        next_telegrams = platform::NowMs() + every;
        if (gateway.Radio_Listening())
            for (const auto& telegram : script->Telegrams)
                gateway.Inject(telegram);
    }
    std::printf("fake gateway: %llu datagrams received, %llu sent\n", (unsigned long long)gateway.Received_Count(),
                (unsigned long long)gateway.Sent_Count());
    return 0;
}
