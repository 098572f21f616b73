#include "shell/UVersionCheck.h"

#include "platform/HttpGet.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"

#include <QUrl>

namespace shell {

Version_Server Version_Check_Server;

QString Version_Page_Link()
{
    return Maker_Home_Page + QStringLiteral("home/download/?nomesw=") + QString::fromLatin1(QUrl::toPercentEncoding(SW_Code_Value));
}

int Conv_Version(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const QString t = Trim_Blanks(blank >= 0 ? text.mid(blank + 1) : text);
    if (t.size() < 5)
        return -1;
    int value = 0;
    for (const qsizetype i : {0, 2, 3, 4}) {
        const QChar c = t.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool Is_Newer_Version(const QString& reply)
{
    const QString r = Trim_Blanks(reply.toUpper());
    if (r.isEmpty() || r == QLatin1String("VER. 0.000"))
        return false;
    const int local = Conv_Version(SW_Version);
    const int remote = Conv_Version(Trim_Blanks(reply));
    return local != -1 && remote != -1 && local < remote;
}

QString Request_Version(const Version_Server& server)
{
    platform::HttpRequest request;
    request.Host = server.Host;
    request.Port = server.Port;
    request.Target = Version_Page_Path.toLatin1() + "?nomesw=" + QUrl::toPercentEncoding(SW_Code_Value);
    request.Headers = {
        {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
        {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
    };
    request.ConnectTimeoutMs = server.Connect_Timeout_Ms;
    request.ReadTimeoutMs = server.Read_Timeout_Ms;
    request.MaxBodyBytes = server.Max_Reply_Bytes;
    const platform::HttpResult result = platform::HttpGet(request);
    return result.Ok ? QString::fromLatin1(result.Body) : QString();
}

bool Check_Version(const Version_Server& server) { return Is_Newer_Version(Request_Version(server)); }

bool Check_Version_Newer() { return Check_Version(Version_Check_Server); }

TVersion_Timer::TVersion_Timer(QObject* parent) : QObject(parent) {}

void TVersion_Timer::Set_Enabled(bool enabled)
{
    if (!enabled)
        Timer.Stop();
    else if (!Timer.IsActive())
        Start();
}

void TVersion_Timer::Set_Intervals(int first_ms, int next_ms)
{
    Interval_Ms = first_ms;
    Next_Interval_Ms = next_ms;
    if (Timer.IsActive())
        Start();
}

void TVersion_Timer::Timer_UpdateTimer()
{
    Timer.Stop();
    const bool newer = Check ? Check() : false;
    if (On_Result)
        On_Result(newer);
    Interval_Ms = Next_Interval_Ms;
    Start();
}

}  // namespace shell
