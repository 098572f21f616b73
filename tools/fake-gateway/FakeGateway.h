#pragma once
#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace platform {
class UdpSocket;
}

// A wired meter behind the fake gateway.
struct FakeMeter {
    int Primary = -1;                       // primary address, -1 for none
    uint32_t Id = 0;                        // identification number as eight BCD digits (0x12345678)
    std::vector<std::vector<uint8_t>> Frames;  // answers to REQ_UD2 in turn; the last one repeats
    bool Silent = false;                    // never answers REQ_UD2
    bool Acknowledges = true;               // answers SND_NKE and the application reset with E5
    int Reply_Delay_Ms = 0;                 // its REQ_UD2 answers come this late (program clock)
    int Ack_Delay_Ms = 0;                   // its E5 answers come this late (program clock)
};

// A gateway on a real UDP socket that speaks the scanner's text commands, keeps its mode, relays
// M-Bus frames to scripted meters in analyzer mode and plays a Telit or RadioCrafts radio module in
// configuration mode. It records every datagram it receives. Delayed answers fall due on the
// program's clock. Thread-safe; the server thread is joined by the destructor.
class FakeGateway {
public:
    enum class Mode { Normal, Analyzer, Configuration };
    enum class Module { Telit, RadioCrafts };
    using Bytes = std::vector<uint8_t>;

    explicit FakeGateway(const QString& address = QStringLiteral("127.0.0.1"), quint16 port = 0);
    ~FakeGateway();
    FakeGateway(const FakeGateway&) = delete;
    FakeGateway& operator=(const FakeGateway&) = delete;

    bool Ok() const { return Fd >= 0; }
    quint16 Port() const { return BoundPort; }

    // Scripting; set before the scan.
    void Add_Meter(FakeMeter meter);
    void Set_Module(Module module);
    // Text commands left unanswered: the next `count` commands that start with `command`.
    void Ignore_Command(const QByteArray& command, int count = 1);
    // Answers the next command that starts with `command` with `answer` instead.
    void Answer_Command(const QByteArray& command, const Bytes& answer);
    // Sends `datagram` just before the answer to the next command that starts with `command`, as a
    // telegram or a meter's late answer still on its way would arrive.
    void Before_Answer(const QByteArray& command, const Bytes& datagram);
    // The radio module answers "ERROR" to the key it is given (Telit: the first key register).
    void Refuse_Keys(bool refuse);

    // Sends a datagram to the engine (the last sender) now, as the radio module or a meter would.
    void Inject(const Bytes& datagram);

    // What it has seen.
    std::vector<Bytes> Received() const;
    std::vector<QByteArray> Received_Texts() const;  // each datagram as text
    Mode Current_Mode() const;
    uint32_t Baudrate() const;
    int Parity_Code() const;
    std::map<int, Bytes> RadioCrafts_Addresses() const;
    std::map<int, Bytes> RadioCrafts_Keys() const;
    // The radio module has left its set-up dialogue and passes on what it hears.
    bool Radio_Listening() const;
    uint64_t Sent_Count() const { return Sent.load(); }
    uint64_t Received_Count() const { return Received_Total.load(); }

    // Lock-step with a peer on a fake clock: sends the answers that have fallen due, then waits
    // (real time, bounded) until every datagram the peer sent has been handled here and every
    // datagram sent from here has reached the peer's handler. False when the bound passed.
    bool Settle();
    // The peer that Settle keeps step with; what it sent and received before does not count.
    void Attach(const platform::UdpSocket& peer);

private:
    struct Pending {
        qint64 Due;
        Bytes Data;
    };
    void Serve();
    void Handle(const Bytes& in);
    void Handle_Frame(const Bytes& in);
    void Handle_Radio(const Bytes& in);
    void Reply(Bytes data, int delayMs = 0);
    void Send_Now(const Bytes& data);
    void Send_Due();
    std::vector<FakeMeter*> Addressed(uint8_t a);

    mutable std::mutex Mutex;
    int Fd = -1;
    int WakeFd = -1;
    quint16 BoundPort = 0;
    std::thread Server;
    std::atomic<bool> Stop{false};
    std::atomic<uint64_t> Sent{0};
    std::atomic<uint64_t> Received_Total{0};
    std::atomic<const platform::UdpSocket*> Peer{nullptr};
    uint64_t Peer_Sent_Base = 0;
    uint64_t Peer_Delivered_Base = 0;

    // Guarded by Mutex.
    bool Have_Peer = false;
    uint32_t Peer_Ip = 0;
    uint16_t Peer_Port = 0;
    Mode Gateway_Mode = Mode::Normal;
    Module Radio = Module::Telit;
    std::vector<FakeMeter> Meters;
    std::vector<size_t> Frame_Counts;
    std::set<size_t> Selected;
    std::vector<Bytes> Log;
    std::deque<Pending> Delayed;
    std::vector<std::pair<QByteArray, int>> Ignored;
    std::vector<std::pair<QByteArray, Bytes>> Replacements;
    std::vector<std::pair<QByteArray, Bytes>> Preceding;
    bool Keys_Refused = false;
    uint32_t Line_Baud = 0;
    int Line_Parity = -1;
    bool Telit_Command_Mode = false;
    bool Radio_Listens = false;
    // RadioCrafts: what the next bytes mean.
    enum class Expect { Command, Config, Position_B, Block_B, Position_K, Block_K, Position_A, Block_A };
    Expect Rc_Expect = Expect::Command;
    int Rc_Position = 0;
    std::map<int, Bytes> Rc_Addresses;
    std::map<int, Bytes> Rc_Keys;
};
