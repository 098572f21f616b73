#include "platform/Exception.h"
#include "platform/Process.h"
#include "platform/StartProgram.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {
QString Script(const TempDir& dir, const QString& name, const QByteArray& body, bool executable = true)
{
    dir.Write(name, "#!/bin/sh\n" + body + "\n");
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        p |= QFile::ExeOwner;
    QFile::setPermissions(dir.File(name), p);
    return dir.File(name);
}
// The program left running ends on its own within a real-time limit.
bool EndsSoon()
{
    for (int i = 0; i < 2000 && platform::LastProgramStillRunning(); ++i)
        QThread::msleep(10);
    return !platform::LastProgramStillRunning();
}
}  // namespace

TEST(StartProgramAndWait, WaitsForTheExitAndPassesParameters)
{
    TempDir dir;
    const auto run = platform::StartProgramAndWait(
        Script(dir, QStringLiteral("a.sh"), "printf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"\nexit 3\n"),
        QStringLiteral("one \"two words\""), 150000);
    EXPECT_TRUE(run.Started);
    EXPECT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(dir.Read(QStringLiteral("args")), QByteArray("one|two words|"));
    EXPECT_FALSE(platform::LastProgramStillRunning());
}

// The wait's limit runs on the fake clock: a program that never ends is left running once exactly
// the limit has passed, however long that is.
TEST(StartProgramAndWait, LeavesALateProgramRunningAndTracksIt)
{
    TempDir dir;
    FakeClock clock(0);
    const auto run = platform::StartProgramAndWait(
        Script(dir, QStringLiteral("late.sh"), "while [ ! -e \"$(dirname \"$0\")/stop\" ]; do sleep 0.02; done\n"),
        QString(), platform::Start_Program_Wait_Ms);
    EXPECT_TRUE(run.Started);
    EXPECT_FALSE(run.Finished);
    EXPECT_EQ(clock.NowMs(), platform::Start_Program_Wait_Ms);
    EXPECT_TRUE(platform::LastProgramStillRunning());
    dir.Write(QStringLiteral("stop"), "");
    EXPECT_TRUE(EndsSoon());
}

TEST(StartProgramAndWait, ReportsWhatCannotStart)
{
    TempDir dir;
    dir.Write(QStringLiteral("plain.txt"), "not a program");
    for (const QString& program : {dir.File(QStringLiteral("missing")), dir.File(QStringLiteral("plain.txt"))}) {
        const auto run = platform::StartProgramAndWait(program, QString(), 1000);
        EXPECT_FALSE(run.Started) << program.toStdString();
        EXPECT_TRUE(run.Error.contains(program));
    }
}

TEST(StartProgram, ProgramThatCannotStartIsReportedAndNothingRuns)
{
    TempDir dir;
    struct Case {
        QString Program;
        const char* Reason;
    };
    const Case cases[] = {
        {dir.File(QStringLiteral("missing.exe")), "does not exist"},
        {dir.Path(), "does not exist"},  // a folder
        {Script(dir, QStringLiteral("plain.exe"), "touch ran", false), "not executable"},
    };
    for (const Case& c : cases) {
        try {
            platform::Start_Program(c.Program, QString(), 0, 1000);
            ADD_FAILURE() << "started " << c.Program.toStdString();
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains(c.Program)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QLatin1String(c.Reason))) << e.message().toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("ran")));
}

TEST(StartProgram, WaitsForTheProgramAndPassesItsParameters)
{
    TempDir dir;
    const QString out = dir.File(QStringLiteral("args"));
    const QString exe =
        Script(dir, QStringLiteral("tool.exe"), "sleep 0.2; echo \"$@\" > \"" + out.toUtf8() + "\"; exit 3");
    const platform::ProgramRun run = platform::Start_Program(exe, QStringLiteral("-a \"two words\""), 0);
    EXPECT_TRUE(run.Started);
    EXPECT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(dir.Read(QStringLiteral("args")), QByteArray("-a two words\n"));
    EXPECT_FALSE(platform::LastProgramStillRunning());
}

TEST(StartProgram, ProgramRunningPastTheLimitIsLeftRunning)
{
    TempDir dir;
    FakeClock clock(0);
    const QString stop = dir.File(QStringLiteral("stop"));
    const QString exe = Script(dir, QStringLiteral("slow.exe"),
                               "while [ ! -e \"" + stop.toUtf8() + "\" ]; do sleep 0.05; done");
    const platform::ProgramRun run = platform::Start_Program(exe, QString(), 0, 100);
    EXPECT_TRUE(run.Started);
    EXPECT_FALSE(run.Finished);
    EXPECT_EQ(clock.Sleeps(), std::vector<int>(10, 10));
    EXPECT_TRUE(platform::LastProgramStillRunning());

    dir.Write(QStringLiteral("stop"), "");
    EXPECT_TRUE(EndsSoon());
}
