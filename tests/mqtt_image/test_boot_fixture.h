#pragma once
// Shared set-up of the update window tests: a program folder with MASTER, a configuration with its
// bank images, a real child process standing in for the updater, and a scripted echo client.
#include "platform/Dialogs.h"
#include "platform/IcmpEcho.h"
#include "support/FakeClock.h"
#include "support/ScriptedMessages.h"
#include "platform/StartProgram.h"
#include "support/TempDir.h"
#include "mqtt_image/UBoot.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "mqtt_image/UUpdateJob.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

// Echo client whose answers a test scripts, one per request. Waiting for a reply that does not
// come moves the fake clock on by the time waited.
class FakeEcho : public platform::EchoClient {
public:
    enum Answer { Reply, Silent, Fail, Unavailable };

    explicit FakeEcho(FakeClock& clock) : Clock(clock) {}

    std::deque<Answer> Script;  // answers to the first requests
    Answer Rest = Silent;       // answer to every later request
    std::vector<quint32> Requests;
    std::vector<qint64> SentAt;  // the fake time of each request
    std::function<void()> OnSend;

    void Send_Echo(quint32 address) override
    {
        Requests.push_back(address);
        SentAt.push_back(Clock.NowMs());
        if (OnSend)
            OnSend();
        Current = Script.empty() ? Rest : Script.front();
        if (!Script.empty())
            Script.pop_front();
        if (Current == Fail)
            throw platform::Exception(QStringLiteral("Cannot send an echo request: Network is unreachable"));
        if (Current == Unavailable)
            throw platform::EchoUnavailable(QStringLiteral("The system allows no ICMP socket for the ping"));
    }

    int Wait_Reply(int waitMs) override
    {
        if (Current == Reply) {
            Current = Silent;
            return 56;
        }
        Clock.Advance(waitMs);
        return -1;
    }

private:
    FakeClock& Clock;
    Answer Current = Silent;
};

// Exposes the show hook so that tests can lay the window out without a modal loop.
class TestBoot : public TFBoot {
public:
    using TFBoot::FormShow;
};

// Waits in real time for what a real child process does.
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs = 20000)
{
    for (int waited = 0; waited < limitMs; waited += 10) {
        if (condition())
            return true;
        QThread::msleep(10);
    }
    return condition();
}

class BootFixture : public ::testing::Test {
public:
    void SetUp() override
    {
        shell::Load_Default_Language();
        Program = Temp.Path() + QStringLiteral("/Program");
        ASSERT_TRUE(QDir().mkpath(Program + QStringLiteral("/MASTER")));
        ASSERT_TRUE(QDir().mkpath(Program + QStringLiteral("/PROJECTS/Demo/bin")));
        shell::App_State = {};
        shell::App_State.Exe_Folder = Program;
        shell::App_State.Master_Folder = Program + QStringLiteral("/MASTER");
        shell::App_State.Project_Folder = Program + QStringLiteral("/PROJECTS/Demo");
        shell::App_State.SW_Code = shell::SW_Code_Value;
        WriteFile(FirmwarePath(), "firmware image");
        WriteFile(Bank1Path(), QByteArray(2048, '\x11'));
        WriteFile(Bank2Path(), QByteArray(300, '\x22'));
        InstallUpdater();

        // The updater is a real program: the wait for it passes in real time as well.
        Clock.OnSleep = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
        auto echo = std::make_unique<FakeEcho>(Clock);
        Echo = echo.get();
        Boot.Set_Ping(std::move(echo));
        Boot.Form_Type = 1;
    }

    void TearDown() override
    {
        // An updater left running must not outlive the test.
        WriteFile(Program + QStringLiteral("/stop"), "");
        WaitUntil([] { return !platform::LastProgramStillRunning(); });
    }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void InstallUpdater()
    {
        const QString exe = Program + QStringLiteral("/Ethernet_Update.exe");
        QFile::remove(exe);
        ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_DATA_DIR "/fake_updater.sh"), exe));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void SetUpdaterMode(const char* mode) { WriteFile(Program + QStringLiteral("/updater_mode"), mode); }

    void SetBoxes(const QString& a, const QString& b, const QString& c, const QString& d)
    {
        Boot.E_IP1->setText(a);
        Boot.E_IP2->setText(b);
        Boot.E_IP3->setText(c);
        Boot.E_IP4->setText(d);
    }

    QString FirmwarePath() const { return Program + QStringLiteral("/MASTER/") + mqtt_image::Firmware_Image_Name; }
    QString Bank1Path() const { return Program + QStringLiteral("/PROJECTS/Demo/bin/bank1.bin"); }
    QString Bank2Path() const { return Program + QStringLiteral("/PROJECTS/Demo/bin/bank2.bin"); }
    QString JobPath() const { return Program + QStringLiteral("/Ethernet_Update.xml"); }
    QString Received(const QString& name) const { return Program + QStringLiteral("/received/") + name; }
    bool UpdaterRan() const { return QFile::exists(Received(QStringLiteral("done"))); }

    // The job as the updater received it, with the test's folder turned into the golden files' one.
    QByteArray ReceivedJobAsGolden() const
    {
        QByteArray job = ReadFile(Received(QStringLiteral("Ethernet_Update.xml")));
        return job.replace((Temp.Path() + QLatin1Char('/')).toUtf8(), QByteArray());
    }
    static QByteArray Golden(const char* name) { return ReadFile(QStringLiteral(TEST_DATA_DIR "/") + name); }

    FakeClock Clock;
    TempDir Temp;
    QString Program;
    ScriptedMessages Messages;
    TestBoot Boot;
    FakeEcho* Echo = nullptr;
};
