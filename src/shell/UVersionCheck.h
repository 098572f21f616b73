#pragma once
#include "platform/Clock.h"

#include <QObject>
#include <QString>
#include <functional>

// The maker's addresses and the check for a newer version of this program on the maker's server.
namespace shell {

// The maker, in one place: web name, home page, the version server and the download page.
inline const QString Maker_Web_Name = QStringLiteral("www.kelvor.example");
inline const QString Maker_Home_Page = QStringLiteral("http://www.kelvor.example/");
inline const QString Maker_Version_Host = QStringLiteral("www.kelvor.example");
inline const QString Version_Page_Path = QStringLiteral("/home/download/GetversionSW.asp");
inline const QString Manual_Document_Code = QStringLiteral("MN00718_ENG");

// The first check comes a minute after start, every later one two hours after the previous one.
constexpr int Version_First_Check_Ms = 60000;
constexpr int Version_Check_Interval_Ms = 7200000;

// Where and how the version is asked for. Tests point it at a loopback server.
struct Version_Server {
    QString Host = Maker_Version_Host;
    quint16 Port = 80;
    // A check runs on the GUI thread: an unanswered server may hold it this long at most.
    int Connect_Timeout_Ms = 4000;
    int Read_Timeout_Ms = 4000;
    // The reply is a short text; anything longer is not a version reply.
    qint64 Max_Reply_Bytes = 4096;
};
extern Version_Server Version_Check_Server;

// The maker's download page for this program, which the new-version links open.
QString Version_Page_Link();

// The version in a text such as "VER. 1.007" or "1.006" as a four-digit number (1007), -1 when the
// text does not hold one.
int Conv_Version(const QString& text);

// Whether a reply of the version server names a version newer than this program's.
bool Is_Newer_Version(const QString& reply);

// Asks the server for the current version; the reply body, or an empty text on any failure.
QString Request_Version(const Version_Server& server);

// True when the server reports a newer version; a failed request means no newer version is known.
bool Check_Version(const Version_Server& server);
bool Check_Version_Newer();

// The periodic check: the first tick after First_Interval_Ms, then one every Next_Interval_Ms.
// Each tick stops the timer, runs Check, hands its answer to On_Result and starts the timer again
// with the longer interval. Enabling an already running timer does not restart it.
class TVersion_Timer : public QObject {
    Q_OBJECT
public:
    explicit TVersion_Timer(QObject* parent = nullptr);

    void Set_Enabled(bool enabled);
    bool Enabled() const { return Timer.IsActive(); }
    int Interval() const { return Interval_Ms; }
    // A running timer starts its wait again with the new first interval.
    void Set_Intervals(int first_ms, int next_ms);

    std::function<bool()> Check = [] { return Check_Version_Newer(); };
    std::function<void(bool newer)> On_Result;

    // One tick, as the timer runs it.
    void Timer_UpdateTimer();

private:
    void Start() { Timer.Start(Interval_Ms, this, [this] { Timer_UpdateTimer(); }); }

    platform::ClockTimer Timer;
    int Interval_Ms = Version_First_Check_Ms;
    int Next_Interval_Ms = Version_Check_Interval_Ms;
};

}  // namespace shell
