#pragma once
#include "platform/Exception.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The serial-port component over termios: open and close, reads and writes with time limits,
// queue counts and purges, line settings, the output lines and the modem input lines, and an
// event thread whose line events reach the handlers on the thread that created the component.

enum class TBaudrate : uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600,
    br115200, br128000, br256000, br1500000, br3000000
};
enum class TParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum class TStopbits : uint8_t { sb10, sb15, sb20 };
enum class TDatabits : uint8_t { da4, da5, da6, da7, da8 };
enum class TFlowControl : uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum TCommOption : uint8_t {
    coParityCheck = 1, coDsrSensitivity = 2, coIgnoreXOff = 4, coErrorChar = 8, coNullStrip = 16
};
using TCommOptions = uint8_t;
// Event-mask bits.
enum TCommEventType : uint32_t {
    evRxChar = 0x01, evRxFlag = 0x02, evTxEmpty = 0x04, evCts = 0x08, evDsr = 0x10, evRlsd = 0x20,
    evBreak = 0x40, evError = 0x80, evRing = 0x100
};
using TCommEventTypes = uint32_t;
constexpr TCommEventTypes All_Comm_Events = 0x1FF;

int Baud_Value(TBaudrate rate);

class ECommError : public platform::Exception {
public:
    ECommError(const QString& text, int code)
        : platform::Exception(text + QStringLiteral(" (Error: %1) ").arg(code)), ErrorCode(code) {}
    int ErrorCode;
};

class TCustomComm;

// The five special characters; setting one applies the line state through the owner.
class TCommEventChars {
public:
    explicit TCommEventChars(TCustomComm* owner) : FOwner(owner) {}
    uint8_t XonChar() const { return Chars[0]; }
    uint8_t XoffChar() const { return Chars[1]; }
    uint8_t ErrorChar() const { return Chars[2]; }
    uint8_t EofChar() const { return Chars[3]; }
    uint8_t EvtChar() const { return Chars[4]; }
    void SetXonChar(uint8_t c) { Set(0, c); }
    void SetXoffChar(uint8_t c) { Set(1, c); }
    void SetErrorChar(uint8_t c) { Set(2, c); }
    void SetEofChar(uint8_t c) { Set(3, c); }
    void SetEvtChar(uint8_t c) { Set(4, c); }
    // Copies the characters without applying them.
    void Assign(const TCommEventChars& other) { Chars = other.Chars; }

private:
    void Set(int i, uint8_t c);
    TCustomComm* FOwner;
    std::array<uint8_t, 5> Chars{17, 19, 0, 0, 0};
};

class TCustomComm {
public:
    using TNotify = std::function<void()>;
    using TCountEvent = std::function<void(int count)>;
    using TErrorEvent = std::function<void(uint32_t errors)>;

    TCustomComm();
    virtual ~TCustomComm();
    TCustomComm(const TCustomComm&) = delete;
    TCustomComm& operator=(const TCustomComm&) = delete;

    bool Enabled() const { return FHandle >= 0; }
    int Handle() const { return FHandle; }
    // Opens the device and starts the event thread; a failure on the way closes the port again.
    void Open();
    // Stops and joins the event thread, then closes the device.
    void Close();
    // Bytes written, or -1 when the time limit passed first.
    int Write(const void* buf, int count);
    // The bytes already queued (possibly none) without waiting.
    int Read(void* buf, int count);
    int InQueCount() const;
    int OutQueCount() const;
    void PurgeIn();
    void PurgeOut();
    void SetDTRState(bool state);
    void SetRTSState(bool state);
    void SetBREAKState(bool state);
    void SetXONState(bool state);
    bool CTS() const { return ModemBit(0x10); }
    bool DSR() const { return ModemBit(0x20); }
    bool RING() const { return ModemBit(0x40); }
    bool RLSD() const { return ModemBit(0x80); }
    // Hold states are not reported by this platform: always false.
    bool CtsHold() const { return false; }
    bool DsrHold() const { return false; }
    bool RlsdHold() const { return false; }
    bool XoffHold() const { return false; }
    bool XOffSent() const { return false; }

    QString DeviceName() const { return FDeviceName; }
    void SetDeviceName(const QString& name);
    int ReadTimeout = 1000;
    int WriteTimeout = 1000;
    int ReadBufSize() const { return FReadBufSize; }
    void SetReadBufSize(int size);
    int WriteBufSize() const { return FWriteBufSize; }
    void SetWriteBufSize(int size);
    TCommEventTypes MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TCommEventTypes events);
    TBaudrate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudrate rate);
    TParity Parity() const { return FParity; }
    void SetParity(TParity parity);
    TStopbits Stopbits() const { return FStopbits; }
    void SetStopbits(TStopbits bits);
    TDatabits Databits() const { return FDatabits; }
    void SetDatabits(TDatabits bits);
    TCommOptions Options() const { return FOptions; }
    void SetOptions(TCommOptions options);
    TFlowControl FlowControl() const { return FFlowControl; }
    void SetFlowControl(TFlowControl flow);
    TCommEventChars& EventChars() { return FEventChars; }

    TNotify OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
    TErrorEvent OnError;
    TCountEvent OnRxChar;

    // Applies the line settings to the open device.
    void UpdateCommState();

protected:
    virtual void CreateHandle();

private:
    void CheckOpen() const;
    void EscapeComm(unsigned long request, int arg) const;
    bool ModemBit(int bit) const;
    void EventLoop(int fd, int wakeFd);
    // Runs on the component's own thread.
    void HandleCommEvent(uint32_t status);

    int FHandle = -1;
    bool Pseudo_Terminal = false;
    QString FDeviceName = QStringLiteral("Com2");
    int FReadBufSize = 4096;
    int FWriteBufSize = 2048;
    TCommEventTypes FMonitorEvents = All_Comm_Events;
    TBaudrate FBaudRate = TBaudrate::br9600;
    TParity FParity = TParity::paNone;
    TStopbits FStopbits = TStopbits::sb10;
    TDatabits FDatabits = TDatabits::da8;
    TCommOptions FOptions = 0;
    TFlowControl FFlowControl = TFlowControl::fcDefault;
    TCommEventChars FEventChars{this};
    std::mutex FCriticalSection;

    // The event thread and its hand-off to the component's thread.
    std::unique_ptr<QObject> Home;
    std::thread FEventThread;
    int WakeFd = -1;
    std::atomic<bool> Stopping{false};
    std::atomic<uint64_t> Taken{0};  // reads and purges, so that new bytes are told from old
    std::mutex EventMutex;
    std::condition_variable EventDone;
};

class TComm : public TCustomComm {};
