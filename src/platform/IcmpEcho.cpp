#include "platform/IcmpEcho.h"
#include "platform/FileUtil.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {
constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
constexpr int kIcmpHeader = 8;
constexpr int kMaxPacket = 65536;
// Linux raw ICMP sockets can drop every type outside a mask (linux/icmp.h, which clashes with the
// libc headers, so the two values are repeated here).
constexpr int kIcmpFilterOption = 1;
struct IcmpFilter {
    std::uint32_t Data;
};

quint16 read16(std::span<const std::uint8_t> b, std::size_t at) { return quint16((b[at] << 8) | b[at + 1]); }
}  // namespace

quint16 Icmp_Checksum(std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        sum += std::uint32_t(bytes[i] << 8 | bytes[i + 1]);
    if (i < bytes.size())
        sum += std::uint32_t(bytes[i] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum & 0xFFFF);
}

std::vector<std::uint8_t> Build_Echo_Request(quint16 identifier, quint16 sequence, int packetSize)
{
    std::vector<std::uint8_t> p(std::size_t(qMax(packetSize, kIcmpHeader)), 0);
    p[0] = kEchoRequest;
    p[1] = 0;
    p[4] = std::uint8_t(identifier >> 8);
    p[5] = std::uint8_t(identifier);
    p[6] = std::uint8_t(sequence >> 8);
    p[7] = std::uint8_t(sequence);
    for (std::size_t i = kIcmpHeader; i < p.size(); ++i)
        p[i] = std::uint8_t('a' + (i - kIcmpHeader) % 26);
    const quint16 sum = Icmp_Checksum(p);
    p[2] = std::uint8_t(sum >> 8);
    p[3] = std::uint8_t(sum);
    return p;
}

int Echo_Reply_Size(std::span<const std::uint8_t> packet, bool withIpHeader, quint32 from,
                    const EchoExpectation& expected)
{
    if (from != expected.Source)
        return -1;
    std::span<const std::uint8_t> icmp = packet;
    if (withIpHeader) {
        if (packet.size() < 20 || (packet[0] >> 4) != 4 || packet[9] != IPPROTO_ICMP)
            return -1;
        const std::size_t headerLength = std::size_t(packet[0] & 0x0F) * 4;
        const std::size_t totalLength = read16(packet, 2);
        if (headerLength < 20 || totalLength < headerLength || totalLength > packet.size())
            return -1;
        icmp = packet.subspan(headerLength, totalLength - headerLength);
    }
    if (icmp.size() < std::size_t(kIcmpHeader))
        return -1;
    if (icmp[0] != kEchoReply || icmp[1] != 0 || Icmp_Checksum(icmp) != 0)
        return -1;
    if (expected.Identifier && read16(icmp, 4) != *expected.Identifier)
        return -1;
    if (read16(icmp, 6) != expected.Sequence)
        return -1;
    return int(icmp.size()) - kIcmpHeader;
}

IcmpEcho::IcmpEcho(int packetSize)
    : PacketSize(qMax(packetSize, kIcmpHeader)), Identifier(quint16(QRandomGenerator::global()->bounded(65536)))
{
}

IcmpEcho::~IcmpEcho()
{
    if (Fd >= 0)
        ::close(Fd);
}

void IcmpEcho::Open()
{
    if (Fd >= 0)
        return;
    Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (Fd >= 0) {
        FKind = SocketKind::Datagram;
        return;
    }
    const int datagramError = errno;
    Fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (Fd < 0) {
        const int rawError = errno;
        throw EchoUnavailable(
            QStringLiteral("The system allows no ICMP socket for the ping (datagram socket: %1; raw socket: %2). "
                           "Allow unprivileged ping (net.ipv4.ping_group_range) or grant the program the right "
                           "to use raw sockets.")
                .arg(ErrnoText(datagramError), ErrnoText(rawError)));
    }
    FKind = SocketKind::Raw;
    // Everything but echo replies is dropped by the kernel; the reply check below still runs.
    const IcmpFilter filter{~(std::uint32_t(1) << kEchoReply)};
    ::setsockopt(Fd, SOL_RAW, kIcmpFilterOption, &filter, sizeof filter);
}

void IcmpEcho::Send_Echo(quint32 address)
{
    Open();
    // A new sequence number per request, so that a late reply to an earlier request is not taken
    // for the answer to this one.
    Sequence = Next_Sequence++;
    Target = address;
    Awaiting = false;
    const std::vector<std::uint8_t> packet = Build_Echo_Request(Identifier, Sequence, PacketSize);

    sockaddr_in dest{};
    dest.sin_family = AF_INET;
    dest.sin_addr.s_addr = htonl(address);
    ssize_t sent;
    do {
        sent = ::sendto(Fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&dest), sizeof dest);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        const int err = errno;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &dest.sin_addr, text, sizeof text);
        throw Exception(QStringLiteral("Cannot send an echo request to %1: %2")
                            .arg(QString::fromLatin1(text), ErrnoText(err)));
    }
    Awaiting = true;
}

int IcmpEcho::Wait_Reply(int waitMs)
{
    QElapsedTimer clock;
    clock.start();
    if (Fd < 0 || !Awaiting) {
        ::usleep(useconds_t(qMax(waitMs, 0)) * 1000);
        return -1;
    }
    if (Buffer.empty())
        Buffer.resize(kMaxPacket);

    // A datagram ICMP socket only receives replies that carry the identifier the kernel gave it
    // (it rewrites ours when sending), so the identifier is checked on raw sockets only.
    EchoExpectation expected;
    expected.Source = Target;
    expected.Sequence = Sequence;
    if (FKind == SocketKind::Raw)
        expected.Identifier = Identifier;

    for (;;) {
        const qint64 left = waitMs - clock.elapsed();
        pollfd pfd{Fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(qMax<qint64>(left, 0)));
        if (ready > 0) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(Fd, Buffer.data(), Buffer.size(), MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
            // Errors (an ICMP error reported on the socket, an interrupted call) are no reply.
            if (n >= 0) {
                const int size = Echo_Reply_Size(std::span<const std::uint8_t>(Buffer.data(), std::size_t(n)),
                                                 FKind == SocketKind::Raw, ntohl(from.sin_addr.s_addr), expected);
                if (size >= 0) {
                    Awaiting = false;
                    return size;
                }
            }
        } else if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (clock.elapsed() >= waitMs)
            return -1;
    }
}

}  // namespace platform
