#include "support/LoopbackHttpServer.h"
#include "shell/UComon.h"
#include "shell/UVersionCheck.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

using namespace shell;

namespace {

// Points the version check at a loopback server for one test and restores the maker's server.
class VersionServer : public ::testing::Test {
protected:
    void TearDown() override { Version_Check_Server = Version_Server(); }
    static Version_Server Loopback(quint16 port)
    {
        Version_Server s;
        s.Host = QStringLiteral("127.0.0.1");
        s.Port = port;
        s.Connect_Timeout_Ms = 2000;
        s.Read_Timeout_Ms = 300;
        s.Max_Reply_Bytes = 64;
        return s;
    }
};

QByteArray ok(const QByteArray& body) { return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

TEST(VersionCheck, ConvVersionReadsOneDigitAPointAndThreeDigits)
{
    struct Case {
        const char* Text;
        int Value;
    };
    const Case cases[] = {
        {"VER. 1.007", 1007}, {"1.006", 1006},      {"VER. 0.000", 0},     {"VER. 1.01", -1},
        {"VER. x.007", -1},   {"ERROR", -1},        {"", -1},              {"VER.  2.100 ", 2100},
        {"VER. 1.0071", 1007}, {"VER. 1.00a", -1},  {"VER. 1.-07", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Conv_Version(QString::fromLatin1(c.Text)), c.Value) << c.Text;
    // The version the information window shows is the one compared here.
    EXPECT_EQ(Conv_Version(SW_Version), 1006);
}

TEST(VersionCheck, OnlyAStrictlyNewerVersionCounts)
{
    struct Case {
        const char* Reply;
        bool Newer;
    };
    const Case cases[] = {
        {"VER. 1.007", true},  {"  VER. 1.007\r\n", true}, {"ver. 2.000", true}, {"VER. 1.006", false},
        {"VER. 0.900", false}, {"VER. 0.000", false},      {"ERROR", false},     {"", false},
        {"VER. 1.01", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Is_Newer_Version(QString::fromLatin1(c.Reply)), c.Newer) << c.Reply;
}

struct ServerCase {
    const char* Name;
    QByteArray Reply;
    LoopbackHttpServer::Mode Mode;
    bool Newer;
};

class VersionCheckAgainstServer : public VersionServer, public ::testing::WithParamInterface<ServerCase> {};

TEST_P(VersionCheckAgainstServer, AnswersWhetherTheServerHasANewerVersion)
{
    const ServerCase& c = GetParam();
    LoopbackHttpServer server(c.Reply, c.Mode);
    EXPECT_EQ(Check_Version(Loopback(server.Port())), c.Newer);
    EXPECT_EQ(server.Connections(), 1);
}

using Mode = LoopbackHttpServer::Mode;
INSTANTIATE_TEST_SUITE_P(
    Replies, VersionCheckAgainstServer,
    ::testing::Values(ServerCase{"Newer", ok("VER. 1.007"), Mode::Reply, true},
                      ServerCase{"Same", ok("VER. 1.006"), Mode::Reply, false},
                      ServerCase{"Older", ok("VER. 0.900"), Mode::Reply, false},
                      ServerCase{"Unknown", ok("VER. 0.000"), Mode::Reply, false},
                      ServerCase{"Error", ok("ERROR"), Mode::Reply, false},
                      ServerCase{"Empty", ok(""), Mode::Reply, false},
                      ServerCase{"TooShort", ok("VER. 1.01"), Mode::Reply, false},
                      ServerCase{"ErrorStatus", "HTTP/1.0 500 Server Error\r\n\r\nVER. 9.999", Mode::Reply, false},
                      ServerCase{"NotFound", "HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", Mode::Reply, false},
                      ServerCase{"HugeReply", ok("VER. 9.999" + QByteArray(100, ' ')), Mode::Reply, false},
                      ServerCase{"ClosedAtOnce", "", Mode::CloseAtOnce, false},
                      ServerCase{"NeverAnswers", "", Mode::Silent, false}),
    [](const ::testing::TestParamInfo<ServerCase>& info) { return std::string(info.param.Name); });

TEST_F(VersionServer, RefusedConnectionMeansNoNewerVersion)
{
    EXPECT_FALSE(Check_Version(Loopback(LoopbackHttpServer::RefusedPort())));
}

TEST_F(VersionServer, AsksForThisProgramsCodeWithThePlainRequest)
{
    LoopbackHttpServer server(ok("VER. 1.006"));
    Request_Version(Loopback(server.Port()));
    const QByteArray request = server.LastRequest();
    EXPECT_TRUE(request.startsWith("GET /home/download/GetversionSW.asp?nomesw=" + SW_Code_Value.toLatin1() +
                                   " HTTP/1.0\r\n"))
        << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_TRUE(request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
    EXPECT_TRUE(request.endsWith("\r\n\r\n"));
}

TEST_F(VersionServer, RequestGivesTheBodyOrNothing)
{
    LoopbackHttpServer good(ok("VER. 1.007"));
    EXPECT_EQ(Request_Version(Loopback(good.Port())), QStringLiteral("VER. 1.007"));
    LoopbackHttpServer bad("HTTP/1.0 503 Busy\r\n\r\nVER. 1.007");
    EXPECT_TRUE(Request_Version(Loopback(bad.Port())).isEmpty());
}

TEST_F(VersionServer, TimerChecksFirstAfterTheShortIntervalThenAfterTheLongOne)
{
    FakeClock clock;
    TVersion_Timer timer;
    EXPECT_EQ(timer.Interval(), Version_First_Check_Ms);
    EXPECT_FALSE(timer.Enabled());

    LoopbackHttpServer server(ok("VER. 1.007"));
    Version_Check_Server = Loopback(server.Port());
    std::vector<bool> results;
    timer.On_Result = [&](bool newer) { results.push_back(newer); };
    timer.Set_Enabled(true);
    timer.Set_Enabled(true);  // already running: not restarted
    clock.Advance(Version_First_Check_Ms - 1);
    EXPECT_TRUE(results.empty());
    clock.Advance(1);
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), Version_Check_Interval_Ms);

    clock.Advance(Version_Check_Interval_Ms - 1);
    EXPECT_EQ(results.size(), 1u);
    clock.Advance(1);
    EXPECT_EQ(results.size(), 2u);

    timer.Set_Enabled(false);
    EXPECT_FALSE(timer.Enabled());
    clock.Advance(3 * Version_Check_Interval_Ms);
    EXPECT_EQ(results.size(), 2u);
    timer.Set_Enabled(true);
    EXPECT_EQ(timer.Interval(), Version_Check_Interval_Ms);  // switched on again: the long wait
    clock.Advance(Version_Check_Interval_Ms);
    EXPECT_EQ(results.size(), 3u);
}

TEST(VersionTimer, NewIntervalsRestartARunningWait)
{
    FakeClock clock;
    TVersion_Timer timer;
    int ticks = 0;
    timer.Check = [] { return false; };
    timer.On_Result = [&](bool) { ++ticks; };
    timer.Set_Enabled(true);
    clock.Advance(50000);
    timer.Set_Intervals(20000, 30000);
    clock.Advance(19999);
    EXPECT_EQ(ticks, 0);
    clock.Advance(1);
    EXPECT_EQ(ticks, 1);
    clock.Advance(30000);
    EXPECT_EQ(ticks, 2);
}

TEST(VersionTimer, ATimerDestroyedWhileWaitingNeverTicks)
{
    FakeClock clock;
    int ticks = 0;
    {
        TVersion_Timer timer;
        timer.Check = [&] { return ++ticks > 0; };
        timer.Set_Enabled(true);
    }
    clock.Advance(2 * Version_First_Check_Ms);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(clock.PendingCount(), 0);
}

TEST_F(VersionServer, TimerTickWithAnUnreachableServerReportsNoNewerVersion)
{
    Version_Check_Server = Loopback(LoopbackHttpServer::RefusedPort());
    TVersion_Timer timer;
    int calls = 0;
    bool last = true;
    timer.On_Result = [&](bool newer) {
        ++calls;
        last = newer;
    };
    timer.Timer_UpdateTimer();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(last);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), Version_Check_Interval_Ms);
}

}  // namespace
