#pragma once
#include <QString>

namespace platform {

struct ProgramRun {
    bool Started = false;   // false: Error says why nothing ran
    bool Finished = false;  // false after a start: still running when the wait ended
    int ExitCode = -1;
    QString Error;
};

// Starts a program with its command-line parameters and waits for it in 10 ms steps, without
// processing window messages, until it exits or timeoutMs have passed. A program still running at
// the end is left running.
ProgramRun StartProgramAndWait(const QString& program, const QString& parameters, int timeoutMs);

// Whether the last program that StartProgramAndWait left running is still running.
bool LastProgramStillRunning();

// Opens a web address in the default browser.
bool OpenLink(const QString& url);

}  // namespace platform
