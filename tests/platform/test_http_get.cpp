#include "platform/HttpGet.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>
#include <netdb.h>
#include <sys/socket.h>

using platform::HttpGet;
using platform::HttpRequest;
using platform::HttpResult;

namespace {

HttpRequest loopbackRequest(quint16 port)
{
    HttpRequest r;
    r.Host = QStringLiteral("127.0.0.1");
    r.Port = port;
    r.Target = "/page.asp?key=AB12345";
    r.ConnectTimeoutMs = 2000;
    r.ReadTimeoutMs = 300;
    r.MaxBodyBytes = 64;
    return r;
}

struct ReplyCase {
    const char* Name;
    QByteArray Reply;
    bool Ok;
    int Status;
    QByteArray Body;
    const char* Why = "";  // part of the error text of a refused reply
};

class HttpGetReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(HttpGetReply, ReadsOrRefusesTheReply)
{
    const ReplyCase& c = GetParam();
    LoopbackHttpServer server(c.Reply);
    HttpRequest request = loopbackRequest(server.Port());
    request.ReadTimeoutMs = 3000;  // these servers answer at once; the limit is not what is tested
    const HttpResult r = HttpGet(request);
    EXPECT_EQ(r.Ok, c.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.Status, c.Status);
    if (c.Ok)
        EXPECT_EQ(r.Body, c.Body);
    else
        EXPECT_TRUE(r.Error.contains(QLatin1String(c.Why))) << r.Error.toStdString();
}

const QByteArray kLong(65, 'x');

INSTANTIATE_TEST_SUITE_P(
    Replies, HttpGetReply,
    ::testing::Values(
        ReplyCase{"BodyUntilClose", "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.007", true, 200, "VER. 1.007"},
        ReplyCase{"ContentLengthCutsExtraBytes", "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nVER. 1.007", true, 200, "VER."},
        ReplyCase{"BareNewlines", "HTTP/1.0 200 OK\nServer: x\n\nabc", true, 200, "abc"},
        ReplyCase{"EmptyBody", "HTTP/1.0 204 No Content\r\n\r\n", true, 204, ""},
        ReplyCase{"BodyAtTheCap", "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(64, 'x'), true, 200, QByteArray(64, 'x')},
        ReplyCase{"BodyOverTheCap", "HTTP/1.0 200 OK\r\n\r\n" + kLong, false, 200, {}, "too large"},
        ReplyCase{"ContentLengthOverTheCap", "HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nabc", false, 200, {}, "too large"},
        ReplyCase{"TruncatedBody", "HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\nVER. 1.007", false, 200, {}, "closed before"},
        ReplyCase{"NotFound", "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nVER", false, 404, {}, "status 404"},
        ReplyCase{"ServerError", "HTTP/1.0 500 Internal Server Error\r\n\r\n", false, 500, {}, "status 500"},
        ReplyCase{"RedirectNotFollowed", "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:1/\r\n\r\n", false, 302, {}, "status 302"},
        ReplyCase{"NoStatusLine", "VER. 1.007", false, 0, {}, "closed before"},
        ReplyCase{"GarbageStatus", "HTTP/1.0 2x0 OK\r\n\r\nabc", false, 0, {}, "Malformed"},
        ReplyCase{"HeadCutShort", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n", false, 0, {}, "closed before"},
        ReplyCase{"BadContentLength", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabc", false, 0, {}, "Malformed"},
        ReplyCase{"ChunkedNotDecoded", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", false, 200, {}, "Unsupported"},
        ReplyCase{"NothingAtAll", "", false, 0, {}, "closed before"}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.Name); });

TEST(HttpGet, SendsAPlainHttp10GetWithTheGivenHeaders)
{
    LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nok");
    HttpRequest request = loopbackRequest(server.Port());
    request.Headers = {{"Accept", "text/html"}, {"User-Agent", "Test Agent"}};
    ASSERT_TRUE(HttpGet(request).Ok);
    EXPECT_EQ(server.LastRequest(), "GET /page.asp?key=AB12345 HTTP/1.0\r\nHost: 127.0.0.1:" +
                                        QByteArray::number(server.Port()) +
                                        "\r\nAccept: text/html\r\nUser-Agent: Test Agent\r\n\r\n");
}

// Whether the system resolves "localhost" to an IPv4 address (the loopback server listens on one).
bool LocalhostHasIpv4()
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo("localhost", nullptr, &hints, &found) != 0)
        return false;
    ::freeaddrinfo(found);
    return true;
}

TEST(HttpGet, ResolvesAHostName)
{
    if (!LocalhostHasIpv4())
        GTEST_SKIP() << "\"localhost\" does not resolve to an IPv4 address on this machine";
    LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nnamed");
    HttpRequest request = loopbackRequest(server.Port());
    request.Host = QStringLiteral("localhost");
    const HttpResult r = HttpGet(request);
    // "localhost" may resolve to ::1 first; the IPv4 address must then be tried next.
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.Body, "named");
}

TEST(HttpGet, RefusedConnectionIsAFailure)
{
    const HttpResult r = HttpGet(loopbackRequest(LoopbackHttpServer::RefusedPort()));
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Status, 0);
    EXPECT_FALSE(r.Error.isEmpty());
}

TEST(HttpGet, ServerThatClosesAtOnceIsAFailure)
{
    LoopbackHttpServer server("", LoopbackHttpServer::Mode::CloseAtOnce);
    const HttpResult r = HttpGet(loopbackRequest(server.Port()));
    EXPECT_FALSE(r.Ok);
}

TEST(HttpGet, GivesUpOnAServerThatNeverAnswers)
{
    LoopbackHttpServer server("", LoopbackHttpServer::Mode::Silent);
    const HttpResult r = HttpGet(loopbackRequest(server.Port()));
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Error.contains(QStringLiteral("timed out"))) << r.Error.toStdString();
}

TEST(HttpGet, GivesUpOnAReplyThatTricklesPastTheLimit)
{
    // Each byte comes well within the limit, but the whole reply cannot.
    LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nVER. 1.007 and a long tail of text",
                              LoopbackHttpServer::Mode::Trickle);
    const HttpResult r = HttpGet(loopbackRequest(server.Port()));
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Error.contains(QStringLiteral("timed out"))) << r.Error.toStdString();
}

TEST(HttpGet, RefusesRequestsThatWouldInjectLines)
{
    LoopbackHttpServer server("HTTP/1.0 200 OK\r\n\r\nok");
    HttpRequest bad = loopbackRequest(server.Port());
    bad.Target = "/a HTTP/1.0\r\nX: y";
    EXPECT_FALSE(HttpGet(bad).Ok);
    bad = loopbackRequest(server.Port());
    bad.Headers = {{"User-Agent", "x\r\nInjected: 1"}};
    EXPECT_FALSE(HttpGet(bad).Ok);
    bad = loopbackRequest(server.Port());
    bad.Host = QString();
    EXPECT_FALSE(HttpGet(bad).Ok);
    EXPECT_EQ(server.Connections(), 0);
}

TEST(HttpGet, UnknownHostIsAFailure)
{
    HttpRequest request = loopbackRequest(LoopbackHttpServer::RefusedPort());
    request.Host = QStringLiteral("no-such-host.invalid");
    const HttpResult r = HttpGet(request);
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.isEmpty());
}

}  // namespace
