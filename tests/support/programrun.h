#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Runs one of the build's programs as a child process and collects what it said.

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool crashed = false; // ended by a signal; exitCode is then meaningless
};

// Runs program with arguments and waits for it to end, at most timeoutMilliseconds. childSetup, when
// given, runs in the child right before the program starts (for example to set resource limits).
ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMilliseconds,
                      const std::function<void()> &childSetup = {});
