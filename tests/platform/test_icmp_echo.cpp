#include "platform/IcmpEcho.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using platform::Echo_Reply_Size;
using platform::EchoExpectation;

namespace {

constexpr quint32 kGateway = 0xC0A802CD;  // 192.168.2.205
constexpr quint32 kOther = 0xC0A802CE;
constexpr quint16 kId = 0x1234;
constexpr quint16 kSeq = 7;

void put16(std::vector<std::uint8_t>& p, std::size_t at, quint16 v)
{
    p[at] = std::uint8_t(v >> 8);
    p[at + 1] = std::uint8_t(v);
}

void fixChecksum(std::vector<std::uint8_t>& icmp)
{
    put16(icmp, 2, 0);
    put16(icmp, 2, platform::Icmp_Checksum(icmp));
}

// An ICMP message: a request turned into a reply, or any other type.
std::vector<std::uint8_t> icmpMessage(std::uint8_t type, quint16 id, quint16 seq, int size = 64)
{
    std::vector<std::uint8_t> p = platform::Build_Echo_Request(id, seq, size);
    p[0] = type;
    fixChecksum(p);
    return p;
}

std::vector<std::uint8_t> withIpHeader(const std::vector<std::uint8_t>& icmp, quint32 source, int extraOptionWords = 0)
{
    const std::size_t header = 20 + std::size_t(extraOptionWords) * 4;
    std::vector<std::uint8_t> p(header, 0);
    p[0] = std::uint8_t(0x40 | (header / 4));
    put16(p, 2, quint16(header + icmp.size()));
    p[8] = 64;
    p[9] = 1;  // ICMP
    p[12] = std::uint8_t(source >> 24);
    p[13] = std::uint8_t(source >> 16);
    p[14] = std::uint8_t(source >> 8);
    p[15] = std::uint8_t(source);
    p.insert(p.end(), icmp.begin(), icmp.end());
    return p;
}

// A destination-unreachable message quoting our request, as a router would send it.
std::vector<std::uint8_t> unreachableQuotingRequest()
{
    std::vector<std::uint8_t> p(8, 0);
    p[0] = 3;
    p[1] = 1;
    const auto quoted = withIpHeader(platform::Build_Echo_Request(kId, kSeq, 64), 0x0A000001);
    p.insert(p.end(), quoted.begin(), quoted.begin() + 28);
    fixChecksum(p);
    return p;
}

EchoExpectation expect(std::optional<quint16> id = kId)
{
    EchoExpectation e;
    e.Source = kGateway;
    e.Identifier = id;
    e.Sequence = kSeq;
    return e;
}

struct EchoReplyCase {
    const char* Name;
    std::vector<std::uint8_t> Packet;
    bool IpHeader;
    quint32 From;
    EchoExpectation Expected;
    int Result;
};

std::vector<EchoReplyCase> replyCases()
{
    const auto reply = icmpMessage(0, kId, kSeq);
    std::vector<EchoReplyCase> cases = {
        {"raw reply", withIpHeader(reply, kGateway), true, kGateway, expect(), 56},
        {"raw reply after IP options", withIpHeader(reply, kGateway, 2), true, kGateway, expect(), 56},
        {"datagram reply", reply, false, kGateway, expect(std::nullopt), 56},
        {"datagram reply, kernel identifier", icmpMessage(0, 0x0999, kSeq), false, kGateway, expect(std::nullopt), 56},
        {"reply without data", icmpMessage(0, kId, kSeq, 8), false, kGateway, expect(), 0},
        {"another program's identifier", withIpHeader(icmpMessage(0, kId + 1, kSeq), kGateway), true, kGateway,
         expect(), -1},
        {"reply to an earlier request", withIpHeader(icmpMessage(0, kId, kSeq - 1), kGateway), true, kGateway,
         expect(), -1},
        {"reply from another host", withIpHeader(reply, kOther), true, kOther, expect(), -1},
        {"own request seen on loopback", withIpHeader(icmpMessage(8, kId, kSeq), kGateway), true, kGateway,
         expect(), -1},
        {"destination unreachable", withIpHeader(unreachableQuotingRequest(), kGateway), true, kGateway, expect(), -1},
        {"datagram error message", unreachableQuotingRequest(), false, kGateway, expect(std::nullopt), -1},
        {"short ICMP header", std::vector<std::uint8_t>(reply.begin(), reply.begin() + 7), false, kGateway,
         expect(std::nullopt), -1},
        {"short IP header", std::vector<std::uint8_t>(12, 0x45), true, kGateway, expect(), -1},
        {"empty packet", {}, false, kGateway, expect(std::nullopt), -1},
    };
    auto badSum = reply;
    badSum[20] ^= 0xFF;
    cases.push_back({"damaged data", badSum, false, kGateway, expect(std::nullopt), -1});
    auto longHeader = withIpHeader(reply, kGateway);
    longHeader[0] = 0x4F;  // 60-byte header claimed
    longHeader.resize(40);
    put16(longHeader, 2, 40);
    cases.push_back({"header longer than the packet", longHeader, true, kGateway, expect(), -1});
    auto lengthBeyond = withIpHeader(reply, kGateway);
    put16(lengthBeyond, 2, quint16(lengthBeyond.size() + 100));
    cases.push_back({"total length beyond the packet", lengthBeyond, true, kGateway, expect(), -1});
    auto notIcmp = withIpHeader(reply, kGateway);
    notIcmp[9] = 17;
    cases.push_back({"not ICMP", notIcmp, true, kGateway, expect(), -1});
    return cases;
}

}  // namespace

TEST(IcmpEchoReply, OnlyTheReplyToOurRequestCounts)
{
    for (const EchoReplyCase& c : replyCases())
        EXPECT_EQ(Echo_Reply_Size(c.Packet, c.IpHeader, c.From, c.Expected), c.Result) << c.Name;
}

TEST(IcmpEchoReply, RequestCarriesIdentifierSequenceAndValidChecksum)
{
    for (int size : {8, 9, 64, 1024}) {
        const auto p = platform::Build_Echo_Request(0xBEEF, 0x0102, size);
        ASSERT_EQ(p.size(), std::size_t(size));
        EXPECT_EQ(p[0], 8);
        EXPECT_EQ(p[1], 0);
        EXPECT_EQ(p[4], 0xBE);
        EXPECT_EQ(p[5], 0xEF);
        EXPECT_EQ(p[6], 0x01);
        EXPECT_EQ(p[7], 0x02);
        EXPECT_EQ(platform::Icmp_Checksum(p), 0) << size;
    }
}

TEST(IcmpEchoReply, ChecksumOfKnownBytes)
{
    // RFC 1071's example words 0001 f203 f4f5 f6f7 sum to ddf2 (one's complement 220d).
    const std::vector<std::uint8_t> bytes{0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    EXPECT_EQ(platform::Icmp_Checksum(bytes), 0x220D);
}

// A real echo over loopback. Needs either a datagram ICMP socket (net.ipv4.ping_group_range) or a
// raw one (root or CAP_NET_RAW).
TEST(IcmpEchoLoopback, LocalHostAnswersEveryRequest)
{
    platform::IcmpEcho echo(1024);
    constexpr quint32 loopback = 0x7F000001;
    try {
        echo.Send_Echo(loopback);
    } catch (const platform::EchoUnavailable& e) {
        GTEST_SKIP() << "this machine allows no ICMP socket: " << e.message().toStdString();
    }
    EXPECT_NE(echo.Kind(), platform::IcmpEcho::SocketKind::None);
    EXPECT_EQ(echo.Wait_Reply(2000), 1024 - 8);
    // Once answered, the request is no longer awaited.
    EXPECT_EQ(echo.Wait_Reply(20), -1);

    echo.Send_Echo(loopback);
    EXPECT_EQ(echo.Wait_Reply(2000), 1024 - 8);
}

TEST(IcmpEchoLoopback, NothingAwaitedBeforeTheFirstRequest)
{
    platform::IcmpEcho echo;
    EXPECT_EQ(echo.Wait_Reply(5), -1);
    EXPECT_EQ(echo.Kind(), platform::IcmpEcho::SocketKind::None);
}
