#include "Process.h"
#include "TempDir.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {
QString script(const TempDir& dir, const QString& name, const QByteArray& body)
{
    dir.Write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(dir.File(name), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return dir.File(name);
}
}  // namespace

TEST(StartProgramAndWait, WaitsForTheExitAndPassesParameters)
{
    TempDir dir;
    const auto run = platform::StartProgramAndWait(
        script(dir, QStringLiteral("a.sh"), "printf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"\nexit 3\n"),
        QStringLiteral("one \"two words\""), 150000);
    EXPECT_TRUE(run.Started);
    EXPECT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(dir.Read(QStringLiteral("args")), QByteArray("one|two words|"));
    EXPECT_FALSE(platform::LastProgramStillRunning());
}

TEST(StartProgramAndWait, LeavesALateProgramRunningAndTracksIt)
{
    TempDir dir;
    const QString stop = dir.File(QStringLiteral("stop"));
    const auto run = platform::StartProgramAndWait(
        script(dir, QStringLiteral("late.sh"), "while [ ! -e \"$(dirname \"$0\")/stop\" ]; do sleep 0.02; done\n"),
        QString(), 30);
    EXPECT_TRUE(run.Started);
    EXPECT_FALSE(run.Finished);
    EXPECT_TRUE(platform::LastProgramStillRunning());
    dir.Write(QStringLiteral("stop"), "");
    for (int i = 0; i < 500 && platform::LastProgramStillRunning(); ++i)
        QThread::msleep(10);
    EXPECT_FALSE(platform::LastProgramStillRunning());
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
