// The serial-port component over a pseudo-terminal pair, and a wired scan over it.
#include "ScanFixture.h"

#include <functional>
#include <string_view>

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace mbus_test;

namespace {

// A pseudo-terminal: the component opens the far end by its path, the test plays the line.
struct Pty {
    Pty()
    {
        char name[256] = {};
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) == 0)
            Path = QString::fromLocal8Bit(name);
        termios raw{};
        ::tcgetattr(Master, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(Master, TCSANOW, &raw);
    }
    ~Pty()
    {
        ::close(Master);
        ::close(Slave);
    }
    Bytes Read_All() const
    {
        Bytes all;
        uint8_t buffer[512];
        for (;;) {
            pollfd p{Master, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0)
                return all;
            const ssize_t n = ::read(Master, buffer, sizeof buffer);
            if (n <= 0)
                return all;
            all.insert(all.end(), buffer, buffer + n);
        }
    }
    void Write(const Bytes& b) const { ASSERT_EQ(::write(Master, b.data(), b.size()), ssize_t(b.size())); }
    int Master = -1;
    int Slave = -1;
    QString Path;
};

template <typename F>
int Error_Code(F&& f, QString* message = nullptr)
{
    try {
        f();
    } catch (const ECommError& e) {
        if (message)
            *message = e.message();
        return e.ErrorCode;
    }
    return 0;
}

TEST(SerialPort, OpenRefusalsAndClosedPortAnswers)
{
    Pty pty;
    ASSERT_FALSE(pty.Path.isEmpty());
    TComm comm;
    EXPECT_EQ(comm.DeviceName(), "Com2");
    EXPECT_EQ(comm.InQueCount(), -1);
    EXPECT_EQ(comm.OutQueCount(), -1);
    QString message;
    EXPECT_EQ(Error_Code([&] { comm.SetDTRState(true); }, &message), -1);
    EXPECT_EQ(message, "Port not open, unable to complete operation (Error: -1) ");
    comm.PurgeIn();  // nothing while closed

    comm.SetDeviceName("/dev/null");
    EXPECT_EQ(Error_Code([&] { comm.Open(); }, &message), -1);
    EXPECT_TRUE(message.startsWith("Invalid device handle, access denied"));
    EXPECT_FALSE(comm.Enabled());
    comm.SetDeviceName("/nonexistent/tty");
    EXPECT_GT(Error_Code([&] { comm.Open(); }, &message), 0);
    EXPECT_TRUE(message.startsWith("Error accessing specified device"));
    // A rate the line cannot take fails the opening and leaves the port closed.
    comm.SetDeviceName(pty.Path);
    comm.SetBaudRate(TBaudrate::br14400);
    EXPECT_GT(Error_Code([&] { comm.Open(); }), 0);
    EXPECT_FALSE(comm.Enabled());

    comm.SetBaudRate(TBaudrate::br2400);
    comm.Open();
    EXPECT_EQ(Error_Code([&] { comm.Open(); }, &message), -1);
    EXPECT_EQ(message, "Port already assigned (open) (Error: -1) ");
    EXPECT_TRUE(comm.Enabled());
    EXPECT_EQ(Error_Code([&] { comm.SetDeviceName("/dev/other"); }), -1);
    EXPECT_EQ(Error_Code([&] { comm.SetReadBufSize(1); }), -1);
    TComm second;
    second.SetDeviceName(pty.Path);
    EXPECT_GT(Error_Code([&] { second.Open(); }), 0) << "the device is not shared";
    comm.Close();
    EXPECT_FALSE(comm.Enabled());
}

TEST(SerialPort, LineSettingsChangedWhileClosedApplyAtOpenAndOptionsSurviveFlowControl)
{
    Pty pty;
    TComm comm;
    comm.SetDeviceName(pty.Path);
    comm.SetBaudRate(TBaudrate::br2400);
    comm.SetOptions(coParityCheck);
    comm.SetFlowControl(TFlowControl::fcNone);
    comm.Open();
    termios tio{};
    ASSERT_EQ(::tcgetattr(comm.Handle(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B2400));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(tio.c_iflag & INPCK) << "options are applied after the flow-control flags";
    EXPECT_EQ(tio.c_cc[VSTART], 17);
    EXPECT_EQ(tio.c_cc[VSTOP], 19);
}

// A pseudo-terminal keeps eight data bits and no parity whatever it is asked (it has no framing);
// every other line setting changed on the open port takes effect and reads back, and the framing
// asked for is kept by the component.
TEST(SerialPort, LineSettingsChangedAfterOpenTakeEffect)
{
    struct Case {
        const char* Name;
        std::function<void(TComm&)> Change;
        std::function<bool(const termios&, TComm&)> Holds;
    };
    const Case cases[] = {
        {"baud rate", [](TComm& c) { c.SetBaudRate(TBaudrate::br4800); },
         [](const termios& t, TComm& c) { return ::cfgetospeed(&t) == B4800 && c.BaudRate() == TBaudrate::br4800; }},
        {"even parity", [](TComm& c) { c.SetParity(TParity::paEven); },
         [](const termios&, TComm& c) { return c.Parity() == TParity::paEven; }},
        {"two stop bits", [](TComm& c) { c.SetStopbits(TStopbits::sb20); },
         [](const termios& t, TComm&) { return (t.c_cflag & CSTOPB) != 0; }},
        {"seven data bits", [](TComm& c) { c.SetDatabits(TDatabits::da7); },
         [](const termios&, TComm& c) { return c.Databits() == TDatabits::da7; }},
        {"hardware flow control", [](TComm& c) { c.SetFlowControl(TFlowControl::fcCTS); },
         [](const termios& t, TComm&) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"software flow control", [](TComm& c) { c.SetFlowControl(TFlowControl::fcSoftware); },
         [](const termios& t, TComm&) { return (t.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF); }},
        {"parity check", [](TComm& c) { c.SetOptions(coParityCheck); },
         [](const termios& t, TComm&) { return (t.c_iflag & INPCK) != 0; }},
        {"XON character", [](TComm& c) { c.EventChars().SetXonChar(5); },
         [](const termios& t, TComm&) { return t.c_cc[VSTART] == 5; }},
    };
    // Each change alone, then all of them in turn on one port (8E2 with 7 bits at 4800 and so on).
    Pty shared;
    TComm all;
    all.SetDeviceName(shared.Path);
    all.Open();
    for (const Case& c : cases) {
        Pty pty;
        TComm comm;
        comm.SetDeviceName(pty.Path);
        comm.Open();
        for (TComm* port : {&comm, &all}) {
            QString message;
            EXPECT_EQ(Error_Code([&] { c.Change(*port); }, &message), 0) << c.Name << ": " << message.toStdString();
            termios tio{};
            ASSERT_EQ(::tcgetattr(port->Handle(), &tio), 0);
            EXPECT_TRUE(c.Holds(tio, *port)) << c.Name;
        }
    }
    termios tio{};
    ASSERT_EQ(::tcgetattr(all.Handle(), &tio), 0);
    for (const Case& c : cases) {
        if (std::string_view(c.Name) != "hardware flow control") {  // software flow control replaced it
            EXPECT_TRUE(c.Holds(tio, all)) << c.Name << " undone by a later change";
        }
    }
}

// A setting the device refuses is reported and not kept, so the next change is not refused with it.
TEST(SerialPort, RefusedSettingIsNotKept)
{
    Pty pty;
    TComm comm;
    comm.SetDeviceName(pty.Path);
    comm.SetParity(TParity::paEven);
    comm.SetDatabits(TDatabits::da7);
    comm.SetStopbits(TStopbits::sb20);
    ASSERT_EQ(Error_Code([&] { comm.Open(); }), 0) << "framing set before opening a pseudo-terminal";
    termios tio{};
    ASSERT_EQ(::tcgetattr(comm.Handle(), &tio), 0);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);

    QString message;
    EXPECT_EQ(Error_Code([&] { comm.SetBaudRate(TBaudrate::br14400); }, &message), EINVAL);
    EXPECT_TRUE(message.startsWith("Error updating DataControlBlock")) << message.toStdString();
    EXPECT_EQ(comm.BaudRate(), TBaudrate::br9600);
    EXPECT_EQ(Error_Code([&] { comm.SetDatabits(TDatabits::da4); }), EINVAL);
    EXPECT_EQ(comm.Databits(), TDatabits::da7);
    EXPECT_EQ(Error_Code([&] { comm.SetBaudRate(TBaudrate::br2400); }), 0);
    ASSERT_EQ(::tcgetattr(comm.Handle(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B2400));
}

TEST(SerialPort, ReadsWritesAndCharacterEventsOnTheCreatingThread)
{
    Pty pty;
    TComm comm;
    comm.SetDeviceName(pty.Path);
    const auto home = std::this_thread::get_id();
    std::vector<int> counts;
    bool other_thread = false;
    comm.OnRxChar = [&](int count) {
        other_thread |= std::this_thread::get_id() != home;
        counts.push_back(count);
    };
    comm.Open();
    uint8_t buffer[64];
    EXPECT_EQ(comm.Read(buffer, sizeof buffer), 0) << "nothing queued: back at once";
    const Bytes out = Hex("10 7B 01 7C 16");
    EXPECT_EQ(comm.Write(out.data(), int(out.size())), 5);
    EXPECT_EQ(pty.Read_All(), out);

    pty.Write(Hex("E5 E5 E5"));
    ASSERT_TRUE(Wait_For([&] { return !counts.empty(); }));
    EXPECT_EQ(counts, std::vector<int>{3});
    EXPECT_EQ(comm.InQueCount(), 3);
    // Unread bytes are not reported again.
    Wait_For([] { return false; }, 50);
    EXPECT_EQ(counts.size(), 1u);
    EXPECT_EQ(comm.Read(buffer, sizeof buffer), 3);
    pty.Write(Hex("01"));
    ASSERT_TRUE(Wait_For([&] { return counts.size() == 2; }));
    EXPECT_FALSE(other_thread);
    comm.PurgeIn();
    EXPECT_EQ(comm.InQueCount(), 0);
    // Closing while an event waits for this thread does not hang: the event thread is joined.
    pty.Write(Hex("02"));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the event thread sees the byte
    comm.Close();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(counts.size(), 2u) << "no event after the close";
}

TEST(SerialPort, WiredScanOverTheSerialLineSendsNoGatewayCommands)
{
    Pty pty;
    FakeClock clock(0xFFFFF000LL);
    // The meter at address 4 answers on the line; everything written is kept.
    Bytes line;
    std::mutex line_mutex;
    clock.OnSleep = [&](int) {
        const Bytes in = pty.Read_All();
        std::lock_guard lock(line_mutex);
        line.insert(line.end(), in.begin(), in.end());
        if (in == Hex("10 7B 04 7F 16"))
            pty.Write(Meter_Frame(4, 0x44));
    };
    TMBusScanDecode engine;
    engine.Set_Run(true);
    std::vector<Notification> notes;
    ASSERT_TRUE(engine.Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shSerial, pty.Path, 2400, 1, false, false,
                                  1, false, 0, false, [&](int e, int v, int f, int k) { notes.push_back({e, v, f, k}); }));
    ASSERT_TRUE(Wait_For([&] { return !engine.FInScan(); }));
    EXPECT_FALSE(engine.Comm().Enabled()) << "the final state closes the port";
    ASSERT_EQ(notes.size(), 253u);
    EXPECT_EQ(notes[5], (Notification{2, 4, 1, 1}));
    EXPECT_EQ(notes.back(), (Notification{3, 0, 0, 1}));
    std::lock_guard lock(line_mutex);
    ASSERT_GE(line.size(), 10u);
    EXPECT_EQ(Bytes(line.begin(), line.begin() + 10), Hex("10 40 FF 3F 16 10 7B 00 7B 16"))
        << "no analyzer command, no serial settings";
    EXPECT_EQ(Bytes(line.end() - 5, line.end()), Hex("10 7B FA 75 16")) << "and no disable command at the end";
    std::lock_guard list(engine.List_Mutex);
    ASSERT_EQ(engine.List_Slave_MBus.size(), 1u);
    EXPECT_EQ(engine.List_Slave_MBus[0]->Secondary_Addresss, "44");
}

}  // namespace
