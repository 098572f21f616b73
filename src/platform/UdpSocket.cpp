#include "platform/UdpSocket.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

bool Resolve(const QString& host, quint16 port, sockaddr_in& out)
{
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (host.isEmpty()) {
        out.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    const QByteArray name = host.toLatin1();
    if (::inet_pton(AF_INET, name.constData(), &out.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return false;
    out.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

}  // namespace

UdpSocket::~UdpSocket() { Deactivate(); }

void UdpSocket::SetHandler(Handler handler)
{
    std::lock_guard lock(Mutex);
    OnDatagram = std::move(handler);
}

void UdpSocket::SetBinding(const QString& localAddress, quint16 localPort)
{
    std::lock_guard lock(Mutex);
    LocalAddress = localAddress;
    LocalPortWanted = localPort;
}

QString UdpSocket::BindingAddress() const
{
    std::lock_guard lock(Mutex);
    return LocalAddress;
}

quint16 UdpSocket::BindingPort() const
{
    std::lock_guard lock(Mutex);
    return LocalPortWanted;
}

bool UdpSocket::Activate(QString* error)
{
    std::lock_guard lock(Mutex);
    if (Fd.load() >= 0)
        return true;
    const auto fail = [&](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    sockaddr_in local{};
    if (!Resolve(LocalAddress, LocalPortWanted, local))
        return fail("unknown local address");
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail("socket");
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const bool ok = fail("bind");
        ::close(fd);
        return ok;
    }
    socklen_t len = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len);
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        const bool ok = fail("eventfd");
        ::close(fd);
        return ok;
    }
    WakeFd = wake;
    BoundPort = ntohs(local.sin_port);
    Fd = fd;
    Listener = std::thread([this, fd, wake, handler = OnDatagram] { Listen(fd, wake, handler); });
    return true;
}

void UdpSocket::Deactivate()
{
    std::lock_guard lock(Mutex);
    const int fd = Fd.load();
    if (fd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(WakeFd, &one, sizeof one);
    if (Listener.joinable())
        Listener.join();
    Fd = -1;
    BoundPort = 0;
    ::close(fd);
    ::close(WakeFd);
    WakeFd = -1;
}

bool UdpSocket::Send(const QString& host, quint16 port, std::span<const uint8_t> bytes)
{
    std::lock_guard lock(Mutex);
    const int fd = Fd.load();
    sockaddr_in to{};
    if (fd < 0 || !Resolve(host, port, to))
        return false;
    const ssize_t n = ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    if (n != ssize_t(bytes.size()))
        return false;
    ++Sent;
    return true;
}

void UdpSocket::Listen(int fd, int wakeFd, const Handler& handler)
{
    // One byte more than the buffer tells a datagram that does not fit from one that fills it.
    std::vector<uint8_t> buffer(Receive_Buffer_Bytes + 1);
    pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0)
            continue;
        if (size_t(n) <= Receive_Buffer_Bytes && handler)
            handler(std::span<const uint8_t>(buffer.data(), size_t(n)));
        ++Delivered;
    }
}

}  // namespace platform
