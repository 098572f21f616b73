#include "fake-gateway/FakeGateway.h"

#include "platform/Clock.h"
#include "platform/UdpSocket.h"

#include <chrono>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Bytes = FakeGateway::Bytes;

Bytes From_Text(const QByteArray& text) { return Bytes(text.begin(), text.end()); }
Bytes Lfcr(const char* text) { return From_Text(QByteArray("\n\r") + text + "\n\r"); }
bool Starts_With(const Bytes& in, const QByteArray& text)
{
    return in.size() >= size_t(text.size()) && std::equal(text.begin(), text.end(), in.begin(),
                                                          [](char a, uint8_t b) { return uint8_t(a) == b; });
}
bool Is(const Bytes& in, const char* text) { return in.size() == std::strlen(text) && Starts_With(in, text); }

// What several meters answering at once look like on the line.
const Bytes Collision_Noise = {0x68, 0x3F, 0xE5, 0x00, 0xFF, 0x12};

bool Id_Matches(uint32_t id, const Bytes& frame)
{
    // Bytes 7 to 10: the BCD identification number, least significant byte first; F is any digit.
    for (int byte = 0; byte < 4; ++byte) {
        const uint8_t mask = frame[size_t(7 + byte)];
        const uint8_t digits = uint8_t(id >> (8 * byte));
        for (int shift : {0, 4}) {
            const int want = mask >> shift & 0xF;
            if (want != 0xF && want != (digits >> shift & 0xF))
                return false;
        }
    }
    return true;
}

}  // namespace

FakeGateway::FakeGateway(const QString& address, quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    ::inet_pton(AF_INET, address.toLatin1().constData(), &addr.sin_addr);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    Fd = fd;
    BoundPort = ntohs(addr.sin_port);
    WakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    Server = std::thread([this] { Serve(); });
}

FakeGateway::~FakeGateway()
{
    Stop = true;
    if (WakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = ::write(WakeFd, &one, sizeof one);
    }
    if (Server.joinable())
        Server.join();
    if (Fd >= 0)
        ::close(Fd);
    if (WakeFd >= 0)
        ::close(WakeFd);
}

void FakeGateway::Add_Meter(FakeMeter meter)
{
    std::lock_guard lock(Mutex);
    Meters.push_back(std::move(meter));
    Frame_Counts.push_back(0);
}

void FakeGateway::Set_Module(Module module)
{
    std::lock_guard lock(Mutex);
    Radio = module;
}

void FakeGateway::Ignore_Command(const QByteArray& command, int count)
{
    std::lock_guard lock(Mutex);
    Ignored.emplace_back(command, count);
}

void FakeGateway::Answer_Command(const QByteArray& command, const Bytes& answer)
{
    std::lock_guard lock(Mutex);
    Replacements.emplace_back(command, answer);
}

void FakeGateway::Before_Answer(const QByteArray& command, const Bytes& datagram)
{
    std::lock_guard lock(Mutex);
    Preceding.emplace_back(command, datagram);
}

void FakeGateway::Refuse_Keys(bool refuse)
{
    std::lock_guard lock(Mutex);
    Keys_Refused = refuse;
}

std::vector<Bytes> FakeGateway::Received() const
{
    std::lock_guard lock(Mutex);
    return Log;
}

std::vector<QByteArray> FakeGateway::Received_Texts() const
{
    std::vector<QByteArray> texts;
    for (const Bytes& b : Received())
        texts.emplace_back(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    return texts;
}

FakeGateway::Mode FakeGateway::Current_Mode() const
{
    std::lock_guard lock(Mutex);
    return Gateway_Mode;
}

uint32_t FakeGateway::Baudrate() const
{
    std::lock_guard lock(Mutex);
    return Line_Baud;
}

int FakeGateway::Parity_Code() const
{
    std::lock_guard lock(Mutex);
    return Line_Parity;
}

std::map<int, Bytes> FakeGateway::RadioCrafts_Addresses() const
{
    std::lock_guard lock(Mutex);
    return Rc_Addresses;
}

bool FakeGateway::Radio_Listening() const
{
    std::lock_guard lock(Mutex);
    return Gateway_Mode == Mode::Configuration && Radio_Listens;
}

std::map<int, Bytes> FakeGateway::RadioCrafts_Keys() const
{
    std::lock_guard lock(Mutex);
    return Rc_Keys;
}

void FakeGateway::Inject(const Bytes& datagram)
{
    std::lock_guard lock(Mutex);
    Send_Now(datagram);
}

void FakeGateway::Send_Now(const Bytes& data)
{
    if (!Have_Peer)
        return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = Peer_Ip;
    to.sin_port = Peer_Port;
    if (::sendto(Fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) == ssize_t(data.size()))
        ++Sent;
}

void FakeGateway::Reply(Bytes data, int delayMs)
{
    if (delayMs <= 0)
        Send_Now(data);
    else
        Delayed.push_back({platform::NowMs() + delayMs, std::move(data)});
}

void FakeGateway::Send_Due()
{
    const qint64 now = platform::NowMs();
    for (auto it = Delayed.begin(); it != Delayed.end();) {
        if (it->Due <= now) {
            Send_Now(it->Data);
            it = Delayed.erase(it);
        } else {
            ++it;
        }
    }
}

void FakeGateway::Attach(const platform::UdpSocket& peer)
{
    std::lock_guard lock(Mutex);
    Peer_Sent_Base = peer.SentCount() - Received_Total.load();
    Peer_Delivered_Base = peer.DeliveredCount() - Sent.load();
    Peer = &peer;
}

bool FakeGateway::Settle()
{
    uint64_t sent_base = 0;
    uint64_t delivered_base = 0;
    {
        std::lock_guard lock(Mutex);
        Send_Due();
        sent_base = Peer_Sent_Base;
        delivered_base = Peer_Delivered_Base;
    }
    const platform::UdpSocket* peer = Peer.load();
    if (!peer)
        return true;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Received_Total.load() + sent_base < peer->SentCount() ||
           (peer->Active() && peer->DeliveredCount() < Sent.load() + delivered_base)) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    return true;
}

void FakeGateway::Serve()
{
    std::vector<uint8_t> buffer(65536);
    pollfd fds[2] = {{Fd, POLLIN, 0}, {WakeFd, POLLIN, 0}};
    while (!Stop.load()) {
        bool delayed = false;
        {
            std::lock_guard lock(Mutex);
            Send_Due();
            delayed = !Delayed.empty();
        }
        if (::poll(fds, 2, delayed ? 2 : -1) <= 0 || !(fds[0].revents & POLLIN))
            continue;
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n = ::recvfrom(Fd, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
        if (n < 0)
            continue;
        {
            std::lock_guard lock(Mutex);
            Have_Peer = true;
            Peer_Ip = from.sin_addr.s_addr;
            Peer_Port = from.sin_port;
            const Bytes in(buffer.begin(), buffer.begin() + n);
            Log.push_back(in);
            Handle(in);
        }
        ++Received_Total;
    }
}

void FakeGateway::Handle(const Bytes& in)
{
    for (auto it = Ignored.begin(); it != Ignored.end(); ++it) {
        if (Starts_With(in, it->first)) {
            if (--it->second <= 0)
                Ignored.erase(it);
            return;
        }
    }
    for (auto it = Preceding.begin(); it != Preceding.end(); ++it) {
        if (Starts_With(in, it->first)) {
            Send_Now(it->second);
            Preceding.erase(it);
            break;
        }
    }
    for (auto it = Replacements.begin(); it != Replacements.end(); ++it) {
        if (Starts_With(in, it->first)) {
            Reply(it->second);
            Replacements.erase(it);
            return;
        }
    }
    if (Is(in, "Kelvor_Enable_Analyzer_Mode")) {
        Gateway_Mode = Mode::Analyzer;
        Reply(Lfcr("Analyzer_Mode Enabled!"));
    } else if (Is(in, "Kelvor_Disable_Analyzer_Mode")) {
        Gateway_Mode = Mode::Normal;
        Reply(Lfcr("Analyzer_Mode Disabled!"));
    } else if (Is(in, "Kelvor_Enable_Configuration_Mode")) {
        Gateway_Mode = Mode::Configuration;
        Telit_Command_Mode = false;
        Radio_Listens = false;
        Rc_Expect = Expect::Command;
        Reply(Lfcr("Configuration_Mode Enabled!"));
    } else if (Is(in, "Kelvor_Disable_Configuration_Mode")) {
        Gateway_Mode = Mode::Normal;
        Reply(Lfcr("Configuration_Mode Disabled!"));
    } else if (Gateway_Mode == Mode::Configuration && Is(in, "Kelvor_Type_Radio_Module")) {
        Reply(Lfcr(Radio == Module::Telit ? "TELIT" : "RADIOCRAFTS"));
    } else if (Gateway_Mode == Mode::Analyzer && in.size() == 17 && Starts_With(in, "Kelvor_S_M:") && in[15] == ',') {
        Line_Baud = uint32_t(in[11]) << 24 | uint32_t(in[12]) << 16 | uint32_t(in[13]) << 8 | in[14];
        Line_Parity = in[16];
        Reply(From_Text("\n\rDone!"));
    } else if (Gateway_Mode == Mode::Analyzer) {
        Handle_Frame(in);
    } else if (Gateway_Mode == Mode::Configuration) {
        Handle_Radio(in);
    }
}

std::vector<FakeMeter*> FakeGateway::Addressed(uint8_t a)
{
    std::vector<FakeMeter*> found;
    for (size_t i = 0; i < Meters.size(); ++i)
        if ((a == 253 && Selected.contains(i)) || (a != 253 && Meters[i].Primary == a))
            found.push_back(&Meters[i]);
    return found;
}

void FakeGateway::Handle_Frame(const Bytes& in)
{
    const auto ack = [&](const std::vector<FakeMeter*>& meters) {
        if (meters.size() == 1 && meters[0]->Acknowledges)
            Reply({0xE5}, meters[0]->Ack_Delay_Ms);
        else if (meters.size() > 1)
            Reply(Collision_Noise);
    };
    if (in.size() == 5 && in[0] == 0x10 && in[4] == 0x16) {
        const uint8_t c = in[1];
        const uint8_t a = in[2];
        if (c == 0x40) {
            if (a == 255) {
                Selected.clear();
                std::fill(Frame_Counts.begin(), Frame_Counts.end(), 0);
                return;
            }
            for (FakeMeter* m : Addressed(a))
                Frame_Counts[size_t(m - Meters.data())] = 0;
            ack(Addressed(a));
            return;
        }
        if (c == 0x5B || c == 0x7B) {
            const auto meters = Addressed(a);
            if (meters.size() > 1) {
                Reply(Collision_Noise);
                return;
            }
            if (meters.empty() || meters[0]->Silent || meters[0]->Frames.empty())
                return;
            FakeMeter& m = *meters[0];
            size_t& count = Frame_Counts[size_t(&m - Meters.data())];
            Reply(m.Frames[std::min(count, m.Frames.size() - 1)], m.Reply_Delay_Ms);
            ++count;
        }
        return;
    }
    if (in.size() >= 9 && in[0] == 0x68 && in[3] == 0x68) {
        const uint8_t a = in[5];
        const uint8_t ci = in[6];
        if (ci == 0x50) {
            if (a != 255)
                ack(Addressed(a));
            return;
        }
        if (ci == 0x52 && a == 0xFD && in.size() == 17) {
            Selected.clear();
            for (size_t i = 0; i < Meters.size(); ++i)
                if (Id_Matches(Meters[i].Id, in)) {
                    Selected.insert(i);
                    Frame_Counts[i] = 0;
                }
            if (Selected.empty())
                Reply(From_Text("NO_SLAVE\n\r"));
            else if (Selected.size() == 1)
                Reply({0xE5});
            else
                Reply(Collision_Noise);
        }
    }
}

void FakeGateway::Handle_Radio(const Bytes& in)
{
    if (Radio == Module::Telit) {
        if (Is(in, "+++")) {
            Telit_Command_Mode = true;
            Radio_Listens = false;
            Reply(From_Text("OK\r"));
        } else if (Telit_Command_Mode && Starts_With(in, "AT") && in.back() == '\r') {
            if (Is(in, "ATO\r")) {
                Telit_Command_Mode = false;
                Radio_Listens = true;
            }
            Reply(From_Text(Keys_Refused && Starts_With(in, "ATS470=") ? "ERROR\r" : "OK\r"));
        }
        return;
    }
    const Bytes prompt = {'>'};
    switch (Rc_Expect) {
    case Expect::Command:
        if (in.size() != 1)
            return;
        Radio_Listens = in[0] == 'X';
        switch (in[0]) {
        case 0x00: case 0xFF: Reply(prompt); break;
        case '0': {
            Bytes dump(256, 0x11);
            dump.push_back('>');
            Reply(dump);
            break;
        }
        case 'M': Reply(prompt); Rc_Expect = Expect::Config; break;
        case 'B': Reply(prompt); Rc_Expect = Expect::Position_B; break;
        case 'K': Reply(prompt); Rc_Expect = Expect::Position_K; break;
        case 'A': Reply(prompt); Rc_Expect = Expect::Position_A; break;
        default: break;  // "X": back to listening, no answer
        }
        return;
    case Expect::Config:
        Rc_Expect = Expect::Command;
        Reply(prompt);
        return;
    case Expect::Position_B:
    case Expect::Position_K:
    case Expect::Position_A:
        Rc_Position = in.empty() ? -1 : in[0];
        Rc_Expect = Rc_Expect == Expect::Position_B ? Expect::Block_B
                    : Rc_Expect == Expect::Position_K ? Expect::Block_K : Expect::Block_A;
        return;
    case Expect::Block_B:
        if (std::all_of(in.begin(), in.end(), [](uint8_t b) { return b == 0; }))
            Rc_Addresses.erase(Rc_Position);
        else
            Rc_Addresses[Rc_Position] = in;
        Rc_Expect = Expect::Command;
        Reply(prompt);
        return;
    case Expect::Block_K:
        Rc_Expect = Expect::Command;
        if (Keys_Refused) {
            Reply(From_Text("E"));
            return;
        }
        Rc_Keys[Rc_Position] = in;
        Reply(prompt);
        return;
    case Expect::Block_A:
        Rc_Expect = Expect::Command;
        Reply(prompt);
        return;
    }
}
