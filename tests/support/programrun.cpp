#include "programrun.h"

#include <QElapsedTimer>
#include <QProcess>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

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

namespace {

// This process's environment with the given "NAME=value" entries put in.
QList<QByteArray> environmentWith(const QList<QByteArray> &changes) {
    QList<QByteArray> entries;
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool replaced = false;
        for (const QByteArray &change : changes)
            replaced = replaced || change.startsWith(name);
        if (!replaced)
            entries << entry;
    }
    return entries + changes;
}

std::vector<char *> pointersTo(QList<QByteArray> &strings) {
    std::vector<char *> pointers;
    for (QByteArray &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ProgramRun runProgramBytes(const QByteArray &program, const ProgramStart &start) {
    ProgramRun run;
    QList<QByteArray> arguments = QList<QByteArray>{program} + start.arguments;
    QList<QByteArray> environment = environmentWith(start.environment);
    // Everything the child needs is made before fork: after it, only exec may follow.
    std::vector<char *> argv = pointersTo(arguments), envp = pointersTo(environment);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return run;
    const int outputFile = start.standardOutputFile.isEmpty()
                               ? -1
                               : ::open(start.standardOutputFile.constData(), O_WRONLY | O_CLOEXEC);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(outputFile >= 0 ? outputFile : out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        if (start.userId >= 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(static_cast<gid_t>(start.userId)) != 0 ||
             ::setuid(static_cast<uid_t>(start.userId)) != 0))
            ::_exit(126);
        ::execve(program.constData(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (outputFile >= 0)
        ::close(outputFile);
    QElapsedTimer clock;
    clock.start();
    bool signalled = false;
    pollfd pipes[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    QByteArray *targets[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0 && child > 0) {
        if (!signalled && start.signalAfterMilliseconds >= 0 &&
            clock.elapsed() >= start.signalAfterMilliseconds) {
            ::kill(child, start.signalNumber);
            signalled = true;
        }
        if (clock.elapsed() > start.timeoutMilliseconds) {
            ::kill(child, SIGKILL);
            break;
        }
        if (::poll(pipes, 2, 10) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (pipes[i].fd < 0 || !(pipes[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[65536];
            const ssize_t n = ::read(pipes[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                targets[i]->append(buffer, n);
            } else {
                ::close(pipes[i].fd);
                pipes[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd &p : pipes)
        if (p.fd >= 0)
            ::close(p.fd);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child) {
        if (WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            run.crashed = true;
            run.endSignal = WTERMSIG(status);
        }
    }
    return run;
}
