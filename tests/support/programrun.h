#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Runs one of the build's programs as a child process and collects what it said.

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool crashed = false; // ended by a signal; exitCode is then meaningless
    int endSignal = 0;    // the signal that ended it (runProgramBytes only)
};

// Runs program with arguments and waits for it to end, at most timeoutMilliseconds. childSetup, when
// given, runs in the child right before the program starts (for example to set resource limits).
ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMilliseconds,
                      const std::function<void()> &childSetup = {});

// How runProgramBytes starts a program: arguments and environment as bytes, so that file names which
// are not UTF-8 reach it unchanged.
struct ProgramStart {
    QList<QByteArray> arguments;
    QList<QByteArray> environment;    // "NAME=value", replacing or adding to this process's environment
    QByteArray standardOutputFile;    // when not empty, standard output goes into this file (e.g. /dev/full)
    int timeoutMilliseconds = 120000; // then it is killed and counts as crashed
    int signalAfterMilliseconds = -1; // when not negative, signalNumber is sent after this long
    int signalNumber = 15;            // SIGTERM
    int userId = -1;                  // when not negative, the program runs as this user (and group)
};
ProgramRun runProgramBytes(const QByteArray &program, const ProgramStart &start);
