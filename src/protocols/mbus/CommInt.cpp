#include "protocols/mbus/CommInt.h"

#include <QMetaObject>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int Closed_Code = -1;

// A pseudo-terminal's far end (Unix 98 slaves, majors 136 to 143): it carries bytes without
// framing, so its driver keeps eight data bits and no parity whatever it is asked.
bool Is_Pseudo_Terminal(const struct stat& st) { return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143; }

// The framing bits a pseudo-terminal does not keep.
constexpr tcflag_t Framing_Bits = PARENB | PARODD | CMSPAR | CSIZE;

speed_t Speed_Code(TBaudrate rate)
{
    switch (rate) {
    case TBaudrate::br110: return B110;
    case TBaudrate::br300: return B300;
    case TBaudrate::br600: return B600;
    case TBaudrate::br1200: return B1200;
    case TBaudrate::br2400: return B2400;
    case TBaudrate::br4800: return B4800;
    case TBaudrate::br9600: return B9600;
    case TBaudrate::br19200: return B19200;
    case TBaudrate::br38400: return B38400;
    case TBaudrate::br57600: return B57600;
    case TBaudrate::br115200: return B115200;
    case TBaudrate::br1500000: return B1500000;
    case TBaudrate::br3000000: return B3000000;
    default: return B0;  // 14400, 56000, 128000, 256000: no termios rate
    }
}

}  // namespace

int Baud_Value(TBaudrate rate)
{
    static constexpr int values[] = {110,   300,   600,    1200,   2400,   4800,    9600,   14400,  19200,
                                     38400, 56000, 57600, 115200, 128000, 256000, 1500000, 3000000};
    return values[size_t(rate)];
}

void TCommEventChars::Set(int i, uint8_t c)
{
    if (Chars[size_t(i)] == c)
        return;
    const uint8_t before = Chars[size_t(i)];
    Chars[size_t(i)] = c;
    try {
        FOwner->UpdateCommState();
    } catch (...) {
        Chars[size_t(i)] = before;
        throw;
    }
}

TCustomComm::TCustomComm() : Home(std::make_unique<QObject>()) {}

TCustomComm::~TCustomComm() { Close(); }

void TCustomComm::CheckOpen() const
{
    if (Enabled())
        throw ECommError(QStringLiteral("Port already assigned (open)"), Closed_Code);
}

void TCustomComm::SetDeviceName(const QString& name)
{
    if (name == FDeviceName)
        return;
    CheckOpen();
    FDeviceName = name;
}

void TCustomComm::SetReadBufSize(int size)
{
    if (size == FReadBufSize)
        return;
    CheckOpen();
    FReadBufSize = size;
}

void TCustomComm::SetWriteBufSize(int size)
{
    if (size == FWriteBufSize)
        return;
    CheckOpen();
    FWriteBufSize = size;
}

void TCustomComm::SetMonitorEvents(TCommEventTypes events)
{
    if (events == FMonitorEvents)
        return;
    CheckOpen();
    FMonitorEvents = events;
}

// A setting the open device refused is not kept, so that later changes are not refused with it.
#define COMM_STATE_SETTER(Name, Type, Field)  \
    void TCustomComm::Set##Name(Type value)   \
    {                                         \
        if (value == Field)                   \
            return;                           \
        const Type before = Field;            \
        Field = value;                        \
        try {                                 \
            UpdateCommState();                \
        } catch (...) {                       \
            Field = before;                   \
            throw;                            \
        }                                     \
    }
COMM_STATE_SETTER(BaudRate, TBaudrate, FBaudRate)
COMM_STATE_SETTER(Parity, TParity, FParity)
COMM_STATE_SETTER(Stopbits, TStopbits, FStopbits)
COMM_STATE_SETTER(Databits, TDatabits, FDatabits)
COMM_STATE_SETTER(Options, TCommOptions, FOptions)
COMM_STATE_SETTER(FlowControl, TFlowControl, FFlowControl)
#undef COMM_STATE_SETTER

void TCustomComm::CreateHandle()
{
    const QByteArray path = FDeviceName.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ECommError(QStringLiteral("Error accessing specified device"), errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !::isatty(fd)) {
        ::close(fd);
        throw ECommError(QStringLiteral("Invalid device handle, access denied"), Closed_Code);
    }
    // Not shared: a second opener is refused as the platform would refuse it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        throw ECommError(QStringLiteral("Error accessing specified device"), error);
    }
    Pseudo_Terminal = Is_Pseudo_Terminal(st);
    FHandle = fd;
}

void TCustomComm::Open()
{
    CheckOpen();
    CreateHandle();
    try {
        termios tio{};
        if (::tcgetattr(FHandle, &tio) != 0)
            throw ECommError(QStringLiteral("Error updating CommTimeouts"), errno);
        // Binary mode; a read returns at once with what is queued.
        ::cfmakeraw(&tio);
        tio.c_cflag |= CREAD | CLOCAL;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::tcsetattr(FHandle, TCSANOW, &tio) != 0)
            throw ECommError(QStringLiteral("Error updating CommTimeouts"), errno);
        UpdateCommState();
        if (FReadBufSize <= 0 || FWriteBufSize <= 0)
            throw ECommError(QStringLiteral("Error initializing Read/Write Buffers"), EINVAL);
        WakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (WakeFd < 0)
            throw ECommError(QStringLiteral("Error accessing specified device"), errno);
    } catch (...) {
        ::close(FHandle);
        FHandle = -1;
        throw;
    }
    Stopping = false;
    FEventThread = std::thread([this, fd = FHandle, wake = WakeFd] { EventLoop(fd, wake); });
}

void TCustomComm::Close()
{
    if (!Enabled())
        return;
    {
        std::lock_guard lock(EventMutex);
        Stopping = true;
    }
    EventDone.notify_all();
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(WakeFd, &one, sizeof one);
    if (FEventThread.joinable())
        FEventThread.join();
    ::tcflush(FHandle, TCIOFLUSH);
    ::close(FHandle);
    ::close(WakeFd);
    Pseudo_Terminal = false;
    FHandle = -1;
    WakeFd = -1;
}

void TCustomComm::UpdateCommState()
{
    if (!Enabled())
        return;
    termios tio{};
    ::tcgetattr(FHandle, &tio);
    const speed_t speed = Speed_Code(FBaudRate);
    if (speed == B0 || FDatabits == TDatabits::da4)
        throw ECommError(QStringLiteral("Error updating DataControlBlock"), EINVAL);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB | CSIZE);
    switch (FParity) {
    case TParity::paNone: break;
    case TParity::paOdd: tio.c_cflag |= PARENB | PARODD; break;
    case TParity::paEven: tio.c_cflag |= PARENB; break;
    case TParity::paMark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case TParity::paSpace: tio.c_cflag |= PARENB | CMSPAR; break;
    }
    if (FStopbits != TStopbits::sb10)
        tio.c_cflag |= CSTOPB;  // one and a half stop bits are sent as two
    static constexpr tcflag_t sizes[] = {CS5, CS5, CS6, CS7, CS8};
    tio.c_cflag |= sizes[size_t(FDatabits)];
    tio.c_cc[VSTART] = FEventChars.XonChar();
    tio.c_cc[VSTOP] = FEventChars.XoffChar();
    switch (FFlowControl) {
    case TFlowControl::fcNone:
        tio.c_cflag &= ~CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
        break;
    case TFlowControl::fcCTS: tio.c_cflag |= CRTSCTS; break;
    case TFlowControl::fcDTR: break;  // no DSR/DTR handshake on this platform
    case TFlowControl::fcSoftware: tio.c_iflag |= IXON | IXOFF; break;
    case TFlowControl::fcDefault: break;
    }
    // Options after the flow control, so that flow control never undoes them.
    tio.c_iflag = (FOptions & coParityCheck) ? (tio.c_iflag | INPCK) : (tio.c_iflag & ~tcflag_t(INPCK));
    tio.c_iflag = (FOptions & coIgnoreXOff) ? (tio.c_iflag | IXANY) : (tio.c_iflag & ~tcflag_t(IXANY));
    if (::tcsetattr(FHandle, TCSANOW, &tio) == 0)
        return;
    const int error = errno;
    // The C library reports EINVAL when the driver quietly kept other framing bits than asked.
    // A pseudo-terminal has no framing to set: accept it when everything else took effect.
    termios now{};
    if (error == EINVAL && Pseudo_Terminal && ::tcgetattr(FHandle, &now) == 0 && now.c_iflag == tio.c_iflag &&
        (now.c_cflag & ~Framing_Bits) == (tio.c_cflag & ~Framing_Bits) && ::cfgetospeed(&now) == speed &&
        std::equal(std::begin(now.c_cc), std::end(now.c_cc), std::begin(tio.c_cc)))
        return;
    throw ECommError(QStringLiteral("Error updating DataControlBlock"), error);
}

int TCustomComm::Write(const void* buf, int count)
{
    std::lock_guard lock(FCriticalSection);
    if (!Enabled())
        throw ECommError(QStringLiteral("Write error"), EBADF);
    const auto* bytes = static_cast<const uint8_t*>(buf);
    int done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WriteTimeout);
    while (done < count) {
        const ssize_t n = ::write(FHandle, bytes + done, size_t(count - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw ECommError(QStringLiteral("Write error"), errno);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::tcflush(FHandle, TCOFLUSH);
            return -1;
        }
        pollfd p{FHandle, POLLOUT, 0};
        ::poll(&p, 1, int(left.count()));
    }
    return done;
}

int TCustomComm::Read(void* buf, int count)
{
    std::lock_guard lock(FCriticalSection);
    if (!Enabled())
        throw ECommError(QStringLiteral("Read error"), EBADF);
    const ssize_t n = ::read(FHandle, buf, size_t(count));
    if (n > 0)
        ++Taken;
    if (n >= 0)
        return int(n);
    if (errno == EAGAIN || errno == EINTR)
        return 0;
    throw ECommError(QStringLiteral("Read error"), errno);
}

int TCustomComm::InQueCount() const
{
    int n = 0;
    return Enabled() && ::ioctl(FHandle, FIONREAD, &n) == 0 ? n : -1;
}

int TCustomComm::OutQueCount() const
{
    int n = 0;
    return Enabled() && ::ioctl(FHandle, TIOCOUTQ, &n) == 0 ? n : -1;
}

void TCustomComm::PurgeIn()
{
    if (Enabled()) {
        ::tcflush(FHandle, TCIFLUSH);
        ++Taken;
    }
}

void TCustomComm::PurgeOut()
{
    if (Enabled())
        ::tcflush(FHandle, TCOFLUSH);
}

void TCustomComm::EscapeComm(unsigned long request, int arg) const
{
    if (!Enabled())
        throw ECommError(QStringLiteral("Port not open, unable to complete operation"), Closed_Code);
    if (::ioctl(FHandle, request, &arg) != 0)
        throw ECommError(QStringLiteral("EscapeCommFunction failure"), errno);
}

void TCustomComm::SetDTRState(bool state) { EscapeComm(state ? TIOCMBIS : TIOCMBIC, TIOCM_DTR); }

void TCustomComm::SetRTSState(bool state) { EscapeComm(state ? TIOCMBIS : TIOCMBIC, TIOCM_RTS); }

void TCustomComm::SetBREAKState(bool state)
{
    if (!Enabled())
        throw ECommError(QStringLiteral("Port not open, unable to complete operation"), Closed_Code);
    if (::ioctl(FHandle, state ? TIOCSBRK : TIOCCBRK) != 0)
        throw ECommError(QStringLiteral("EscapeCommFunction failure"), errno);
    ::tcflush(FHandle, TCIOFLUSH);
}

void TCustomComm::SetXONState(bool state)
{
    if (!Enabled())
        throw ECommError(QStringLiteral("Port not open, unable to complete operation"), Closed_Code);
    if (::tcflow(FHandle, state ? TCOON : TCOOFF) != 0)
        throw ECommError(QStringLiteral("EscapeCommFunction failure"), errno);
}

bool TCustomComm::ModemBit(int bit) const
{
    int lines = 0;
    if (!Enabled() || ::ioctl(FHandle, TIOCMGET, &lines) != 0)
        return false;
    const int platformBit = bit == 0x10 ? TIOCM_CTS : bit == 0x20 ? TIOCM_DSR : bit == 0x40 ? TIOCM_RNG : TIOCM_CAR;
    return (lines & platformBit) != 0;
}

void TCustomComm::EventLoop(int fd, int wakeFd)
{
    int reported = 0;  // bytes queued when the last character event was delivered
    uint64_t taken = Taken.load();
    for (;;) {
        int queued = 0;
        ::ioctl(fd, FIONREAD, &queued);
        // Bytes were read or purged since: whatever is queued now is new.
        if (Taken.load() != taken) {
            taken = Taken.load();
            reported = 0;
        }
        // Data already reported and still unread is not reported again; new bytes are.
        const bool watchData = queued == 0 || queued > reported;
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, short(watchData ? POLLIN : 0), 0}};
        const int n = ::poll(fds, 2, watchData ? -1 : 10);
        if (Stopping.load() || fds[0].revents)
            return;
        if (n < 0 && errno != EINTR)
            return;
        uint32_t status = 0;
        if (fds[1].revents & POLLIN)
            status |= evRxChar;
        if (fds[1].revents & (POLLERR | POLLHUP)) {
            // A line without a peer keeps signalling; look again a little later.
            status |= evError;
            pollfd wake{wakeFd, POLLIN, 0};
            ::poll(&wake, 1, 20);
        }
        status &= FMonitorEvents;
        if (status == 0)
            continue;
        ::ioctl(fd, FIONREAD, &queued);
        reported = queued;
        // Deliver on the component's thread and wait for it, unless the port is being closed.
        auto done = std::make_shared<bool>(false);
        const bool posted = QMetaObject::invokeMethod(
            Home.get(),
            [this, status, done] {
                {
                    std::lock_guard lock(EventMutex);
                    if (Stopping.load())
                        return;
                }
                HandleCommEvent(status);
                std::lock_guard lock(EventMutex);
                *done = true;
                EventDone.notify_all();
            },
            Qt::QueuedConnection);
        if (!posted)
            continue;
        std::unique_lock lock(EventMutex);
        EventDone.wait(lock, [&] { return *done || Stopping.load(); });
    }
}

void TCustomComm::HandleCommEvent(uint32_t status)
{
    if (!Enabled())
        return;
    const int queued = InQueCount();
    if ((status & evBreak) && OnBreak) OnBreak();
    if ((status & evCts) && OnCts) OnCts();
    if ((status & evDsr) && OnDsr) OnDsr();
    if ((status & evError) && OnError) OnError(status);
    if ((status & evRing) && OnRing) OnRing();
    if ((status & evRlsd) && OnRlsd) OnRlsd();
    if ((status & evRxChar) && OnRxChar && queued > 0) OnRxChar(queued);
    if ((status & evRxFlag) && OnRxFlag) OnRxFlag();
    if ((status & evTxEmpty) && OnTxEmpty) OnTxEmpty();
}
