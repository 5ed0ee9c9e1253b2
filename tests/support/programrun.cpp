#include "programrun.h"

#include <QProcess>

ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMilliseconds,
                      const std::function<void()> &childSetup) {
    QProcess process;
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(program, arguments);
    process.waitForFinished(timeoutMilliseconds);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() == QProcess::CrashExit};
}
