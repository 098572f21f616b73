#include "platform/StartProgram.h"

#include "platform/Exception.h"

#include <QFileInfo>

namespace platform {

void Check_Program_Startable(const QString& NomeSW)
{
    const QFileInfo info(NomeSW);
    if (!info.exists() || !info.isFile())
        throw Exception(QStringLiteral("Cannot start \"%1\": the file does not exist.").arg(NomeSW));
    if (!info.isExecutable())
        throw Exception(QStringLiteral("Cannot start \"%1\": the file is not executable.").arg(NomeSW));
}

ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo, int waitMs)
{
    Q_UNUSED(tipo);
    Check_Program_Startable(NomeSW);
    ProgramRun run = StartProgramAndWait(NomeSW, Parameter, waitMs);
    if (!run.Started)
        throw Exception(run.Error);
    return run;
}

}  // namespace platform
