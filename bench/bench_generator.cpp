// Times the literal generator (attempt by attempt, the reference) and the fast generator side by side on
// the example word lists, and prints the times and their ratio.
//
//   bench_generator [--cold [--against CLI]] [--literal-runs N] [--threads N] [--repeat N] [LIST...]
//
// By default both engines run in this process. The fast engine's first call is timed on its own: the
// first generation after start-up, with fresh memory and threads; then the median of --repeat further
// calls. Processor times count every thread, so on a busy machine they are the fairer comparison with
// the single-threaded literal engine than wall times.
//
// --cold times generations the way a user meets them: each one a process of its own,
// `wabrix-cli generate LIST -o FILE --runs 1001`, with --engine literal for the reference, and the
// processor time (user + system) and peak memory of the whole process, start-up included; the median
// of --repeat processes for the fast engine, one process for the literal one. --against CLI times
// another build's wabrix-cli as well, its processes and this build's taken in turn, so that both meet
// the machine in the same state: how to compare a change before and after on a machine whose speed
// drifts from minute to minute.
//
// A full literal generation of 999 words takes minutes, so the literal engine makes fewer runs on lists
// of more than 100 entries and its time is scaled up to 1001 runs (the output says so). Runs are
// independent and equally expensive on average, so the scaled figure estimates a full generation.

#include "generator.h"
#include "wordlist.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Timing {
    double seconds = 0;     // wall time, for the runs actually made
    double cpuSeconds = 0;  // processor time of all threads
    long peakKilobytes = 0; // peak resident memory (cold runs only)
    int runs = 0;
    GenerationStats stats;
};

Timing timeGeneration(bool fast, const WordTable &table, int runs, int threads) {
    PuzzleModel model;
    GeneratorStore store(defaultRuns); // the store exists before a generation, as in the window
    GenerationOptions options;
    options.runs = runs;
    options.seed = 1;
    options.threads = threads;
    const auto begin = std::chrono::steady_clock::now();
    const std::clock_t cpuBegin = std::clock();
    Timing t;
    t.stats =
        fast ? GenerateFast(table, model, store, options) : GenerateLiteral(table, model, store, options);
    t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    t.cpuSeconds = static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC;
    t.runs = runs;
    return t;
}

// One generation by wabrix-cli in a process of its own; runs < 0 stands for a failed start.
Timing timeProcess(const QString &list, const QString &output, bool fast, int runs, int seed,
                   const std::string &cli = WABRIX_CLI) {
    const std::vector<std::string> arguments{cli,
                                             "generate",
                                             list.toStdString(),
                                             "-o",
                                             output.toStdString(),
                                             "--runs",
                                             std::to_string(runs),
                                             "--seed",
                                             std::to_string(seed),
                                             "--engine",
                                             fast ? "fast" : "literal"};
    std::vector<char *> argv;
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    Timing t;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        t.runs = -1;
        return t;
    }
    t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    t.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    t.peakKilobytes = usage.ru_maxrss;
    t.runs = runs;
    return t;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Arguments {
    QStringList lists;
    bool cold = false;
    std::string against; // another wabrix-cli to time in turn with this build's
    int literalRunsForLargeLists = 50;
    int threads = 0;
    int repeat = 5;
};

// The literal engine's figures for a full generation, from literalRuns runs, and their description.
double scaledToFullGeneration(double seconds, int literalRuns) {
    return seconds * defaultRuns / literalRuns;
}

void printScaleNote(const Timing &literal) {
    if (literal.runs != defaultRuns)
        std::printf("%-18s * literal: %d runs took %.3f s of processor time, scaled to %d runs\n", "",
                    literal.runs, literal.cpuSeconds, defaultRuns);
}

int literalRunsFor(int entries, const Arguments &a) {
    return entries > 100 ? std::min(a.literalRunsForLargeLists, defaultRuns) : defaultRuns;
}

int benchmarkWarm(const Arguments &a) {
    std::printf("Generation of %d runs, seed 1, in this process; fast engine on %s: its first call, then the "
                "median of %d; literal engine once.\n",
                defaultRuns,
                a.threads == 0 ? "all hardware threads" : qPrintable(QString::number(a.threads) + " threads"),
                a.repeat);
    std::printf("%-18s %7s %12s %10s %10s %9s %9s %8s %8s %16s\n", "list", "entries", "literal cpu",
                "first s", "first cpu", "fast s", "fast cpu", "first x", "cpu x", "mean placed l/f");
    for (const QString &path : a.lists) {
        WordList words = readWordList(path);
        if (!words.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(words.error));
            return 1;
        }
        const VectorWordTable table(std::move(words.rows), 999);

        const Timing first = timeGeneration(true, table, defaultRuns, a.threads);
        std::vector<double> fastTimes;
        std::vector<double> fastCpuTimes;
        for (int r = 0; r < a.repeat; ++r) {
            const Timing t = timeGeneration(true, table, defaultRuns, a.threads);
            fastTimes.push_back(t.seconds);
            fastCpuTimes.push_back(t.cpuSeconds);
        }
        const double fastCpu = median(fastCpuTimes);

        // Lists of many entries: fewer literal runs, scaled to a full generation.
        const Timing literal = timeGeneration(false, table, literalRunsFor(first.stats.entries, a), 1);
        const double literalCpu = scaledToFullGeneration(literal.cpuSeconds, literal.runs);
        std::printf("%-18s %7d %11.3f%s %10.4f %10.4f %9.4f %9.4f %7.0fx %7.0fx %7.1f/%-7.1f\n",
                    qPrintable(path.section(u'/', -1)), first.stats.entries, literalCpu,
                    literal.runs == defaultRuns ? " " : "*", first.seconds, first.cpuSeconds,
                    median(fastTimes), fastCpu, literalCpu / first.cpuSeconds, literalCpu / fastCpu,
                    literal.stats.meanPlaced, first.stats.meanPlaced);
        printScaleNote(literal);
        std::fflush(stdout);
    }
    return 0;
}

int benchmarkCold(const Arguments &a) {
    std::printf("Generation of %d runs by %s, each a process of its own: processor time (user + system) "
                "of the whole process; fast engine median of %d processes, literal engine one.\n",
                defaultRuns, WABRIX_CLI, a.repeat);
    if (!a.against.empty())
        std::printf("Against %s, its processes and these taken in turn.\n", a.against.c_str());
    std::printf("%-18s %7s %12s %10s %9s %8s %10s", "list", "entries", "literal cpu", "fast cpu", "fast s",
                "cpu x", "fast peak");
    if (!a.against.empty())
        std::printf(" %10s %9s %8s %10s", "other cpu", "other s", "cpu x", "other peak");
    std::printf("\n");
    const QString output = QDir::temp().filePath(QStringLiteral("bench_generator-%1.wbx").arg(getpid()));
    for (const QString &path : a.lists) {
        WordList words = readWordList(path);
        if (!words.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(words.error));
            return 1;
        }
        const int entries = static_cast<int>(words.rows.size());
        std::vector<double> fastCpuTimes, otherCpuTimes;
        std::vector<double> fastTimes, otherTimes;
        long peak = 0;
        long otherPeak = 0;
        for (int r = 0; r < a.repeat; ++r) {
            const Timing t = timeProcess(path, output, true, defaultRuns, r + 1);
            if (t.runs < 0) {
                std::fprintf(stderr, "%s generate %s failed\n", WABRIX_CLI, qPrintable(path));
                return 1;
            }
            fastCpuTimes.push_back(t.cpuSeconds);
            fastTimes.push_back(t.seconds);
            peak = std::max(peak, t.peakKilobytes);
            if (a.against.empty())
                continue;
            const Timing o = timeProcess(path, output, true, defaultRuns, r + 1, a.against);
            if (o.runs < 0) {
                std::fprintf(stderr, "%s generate %s failed\n", a.against.c_str(), qPrintable(path));
                return 1;
            }
            otherCpuTimes.push_back(o.cpuSeconds);
            otherTimes.push_back(o.seconds);
            otherPeak = std::max(otherPeak, o.peakKilobytes);
        }
        const Timing literal = timeProcess(path, output, false, literalRunsFor(entries, a), 1);
        if (literal.runs < 0) {
            std::fprintf(stderr, "%s generate --engine literal %s failed\n", WABRIX_CLI, qPrintable(path));
            return 1;
        }
        const double literalCpu = scaledToFullGeneration(literal.cpuSeconds, literal.runs);
        const double fastCpu = median(fastCpuTimes);
        std::printf("%-18s %7d %11.3f%s %10.4f %9.4f %7.0fx %7.1f MB", qPrintable(path.section(u'/', -1)),
                    entries, literalCpu, literal.runs == defaultRuns ? " " : "*", fastCpu, median(fastTimes),
                    literalCpu / fastCpu, static_cast<double>(peak) / 1024);
        if (!a.against.empty()) {
            const double otherCpu = median(otherCpuTimes);
            std::printf(" %10.4f %9.4f %7.0fx %7.1f MB", otherCpu, median(otherTimes), literalCpu / otherCpu,
                        static_cast<double>(otherPeak) / 1024);
        }
        std::printf("\n");
        printScaleNote(literal);
        std::fflush(stdout);
    }
    QFile::remove(output);
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    Arguments a;
    const QStringList arguments = app.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--cold"))
            a.cold = true;
        else if (argument == QLatin1String("--literal-runs") && hasValue)
            a.literalRunsForLargeLists = std::max(1, arguments[++i].toInt());
        else if (argument == QLatin1String("--threads") && hasValue)
            a.threads = std::max(0, arguments[++i].toInt());
        else if (argument == QLatin1String("--repeat") && hasValue)
            a.repeat = std::max(1, arguments[++i].toInt());
        else if (argument == QLatin1String("--against") && hasValue)
            a.against = arguments[++i].toStdString();
        else
            a.lists << argument;
    }
    if (a.lists.isEmpty())
        for (const char *name : {"woerter-20.txt", "woerter-100.txt", "woerter-999.txt"})
            a.lists << QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + QLatin1String(name);
    return a.cold ? benchmarkCold(a) : benchmarkWarm(a);
}
