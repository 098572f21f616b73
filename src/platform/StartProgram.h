#pragma once
#include "platform/Process.h"

#include <QString>

namespace platform {

// How long Start_Program waits for the program it started.
constexpr int Start_Program_Wait_Ms = 150000;

// Throws Exception naming the program when it does not exist or cannot be executed.
void Check_Program_Startable(const QString& NomeSW);

// Runs a program with its command-line parameters and waits on the calling thread, without
// processing window messages, until it exits or waitMs have passed; a program still running then is
// left running (LastProgramStillRunning). tipo 0 asks for a visible window: programs here open their
// own windows, so it changes nothing. Throws Exception when the program cannot be started.
ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo,
                         int waitMs = Start_Program_Wait_Ms);

}  // namespace platform
