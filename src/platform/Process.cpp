#include "platform/Process.h"

#include "platform/Clock.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {
pid_t g_leftRunning = 0;

// Reaps the program left running by an earlier wait once it has ended.
void reapLeftRunning()
{
    if (g_leftRunning > 0) {
        int status = 0;
        const pid_t r = waitpid(g_leftRunning, &status, WNOHANG);
        if (r == g_leftRunning || (r < 0 && errno == ECHILD))
            g_leftRunning = 0;
    }
}
}  // namespace

bool LastProgramStillRunning()
{
    reapLeftRunning();
    return g_leftRunning > 0;
}

ProgramRun StartProgramAndWait(const QString& program, const QString& parameters, int timeoutMs)
{
    ProgramRun run;
    reapLeftRunning();

    std::vector<std::string> args{program.toStdString()};
    for (const QString& a : QProcess::splitCommand(parameters))
        args.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        run.Error = QStringLiteral("Cannot start \"%1\": %2").arg(program, QString::fromLocal8Bit(std::strerror(rc)));
        return run;
    }
    run.Started = true;

    Clock& clock = CurrentClock();
    const qint64 start = clock.NowMs();
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            run.Finished = true;
            run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return run;
        }
        if (r < 0) {
            run.Finished = true;
            return run;
        }
        if (clock.NowMs() - start >= timeoutMs) {
            g_leftRunning = pid;
            return run;
        }
        clock.Sleep(10);
    }
}

bool OpenLink(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }

}  // namespace platform
