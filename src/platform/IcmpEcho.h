#pragma once
#include "platform/Exception.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// ICMP echo (ping) over IPv4: a datagram ICMP socket where the system allows unprivileged ping,
// a raw ICMP socket otherwise.
namespace platform {

// The system allows neither kind of ICMP socket to this process.
class EchoUnavailable : public Exception {
public:
    using Exception::Exception;
};

// What a window needs of an echo client: send one request, then wait for its reply in short slices
// so that the caller can keep its window responsive in between.
class EchoClient {
public:
    virtual ~EchoClient() = default;
    // Sends one echo request to an IPv4 address (host byte order); the reply to it is the only one
    // awaited from now on. Throws EchoUnavailable when no ICMP socket can be opened, Exception when
    // the request cannot be sent.
    virtual void Send_Echo(quint32 address) = 0;
    // Waits at most waitMs for the reply to the last request. Returns the number of data bytes the
    // reply carried, or -1 when none has arrived.
    virtual int Wait_Reply(int waitMs) = 0;
};

class IcmpEcho final : public EchoClient {
public:
    enum class SocketKind { None, Datagram, Raw };

    // packetSize: size of the ICMP message sent, header included (at least 8).
    explicit IcmpEcho(int packetSize = 1024);
    ~IcmpEcho() override;
    IcmpEcho(const IcmpEcho&) = delete;
    IcmpEcho& operator=(const IcmpEcho&) = delete;

    void Send_Echo(quint32 address) override;
    int Wait_Reply(int waitMs) override;

    // The kind of socket in use; None until the first request.
    SocketKind Kind() const { return FKind; }

private:
    void Open();

    int Fd = -1;
    SocketKind FKind = SocketKind::None;
    int PacketSize;
    quint16 Identifier;
    quint16 Sequence = 0;
    quint16 Next_Sequence = 0;
    quint32 Target = 0;
    bool Awaiting = false;
    std::vector<std::uint8_t> Buffer;
};

// What identifies the reply to our request.
struct EchoExpectation {
    quint32 Source = 0;                    // the pinged address, host byte order
    std::optional<quint16> Identifier;     // not checked when empty (datagram sockets: the kernel owns it)
    quint16 Sequence = 0;
};

// The internet checksum (RFC 1071) of the bytes.
quint16 Icmp_Checksum(std::span<const std::uint8_t> bytes);

// An echo request of packetSize bytes (header included) with its checksum filled in.
std::vector<std::uint8_t> Build_Echo_Request(quint16 identifier, quint16 sequence, int packetSize);

// Whether a received packet is the echo reply we wait for: type 0 code 0, a valid checksum, our
// identifier and sequence, sent by the pinged address (from: the sender the socket reported, host
// byte order). withIpHeader: the packet starts with its IPv4 header (raw sockets). Returns the
// number of data bytes after the ICMP header, or -1 for anything else (error messages, our own
// request seen on loopback, other programs' replies, short or damaged packets).
int Echo_Reply_Size(std::span<const std::uint8_t> packet, bool withIpHeader, quint32 from,
                    const EchoExpectation& expected);

}  // namespace platform
