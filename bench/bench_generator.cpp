// Times the literal generator (attempt by attempt, the reference) and the fast generator side by side on
// the example word lists, and prints the times and their ratio.
//
//   bench_generator [--literal-runs N] [--threads N] [--repeat N] [LIST...]
//
// A full literal generation of 999 words takes minutes, so by default the literal engine makes fewer
// runs on that list and its time is scaled up to 1001 runs (the output says so). Runs are independent
// and equally expensive on average, so the scaled figure estimates a full generation. Besides wall
// times it prints the fast engine's processor time over all threads: on a machine that other work keeps
// busy, that is the fairer comparison with the single-threaded literal engine.

#include "generator.h"
#include "wordlist.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct Timing {
    double seconds = 0;    // wall time, for the runs actually made
    double cpuSeconds = 0; // processor time of all threads
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList lists;
    int literalRunsForLargeLists = 50;
    int threads = 0;
    int repeat = 5;
    const QStringList arguments = app.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--literal-runs") && hasValue)
            literalRunsForLargeLists = std::max(1, arguments[++i].toInt());
        else if (a == QLatin1String("--threads") && hasValue)
            threads = std::max(0, arguments[++i].toInt());
        else if (a == QLatin1String("--repeat") && hasValue)
            repeat = std::max(1, arguments[++i].toInt());
        else
            lists << a;
    }
    if (lists.isEmpty())
        for (const char *name : {"woerter-20.txt", "woerter-100.txt", "woerter-999.txt"})
            lists << QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + QLatin1String(name);

    std::printf(
        "Generation of %d runs, seed 1; fast engine on %s, median of %d; literal engine once.\n", defaultRuns,
        threads == 0 ? "all hardware threads" : qPrintable(QString::number(threads) + " threads"), repeat);
    std::printf("%-18s %7s %12s %9s %7s %12s %9s %16s\n", "list", "entries", "literal s", "fast s", "ratio",
                "fast cpu s", "cpu ratio", "mean placed l/f");
    for (const QString &path : lists) {
        WordList words = readWordList(path);
        if (!words.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(words.error));
            return 1;
        }
        const VectorWordTable table(std::move(words.rows), 999);

        std::vector<double> fastTimes;
        std::vector<double> fastCpuTimes;
        GenerationStats fastStats;
        timeGeneration(true, table, defaultRuns, threads); // warm-up
        for (int r = 0; r < repeat; ++r) {
            const Timing t = timeGeneration(true, table, defaultRuns, threads);
            fastTimes.push_back(t.seconds);
            fastCpuTimes.push_back(t.cpuSeconds);
            fastStats = t.stats;
        }
        const double fast = median(fastTimes);
        const double fastCpu = median(fastCpuTimes);

        // Lists of many entries: fewer literal runs, scaled to a full generation.
        const int literalRuns =
            fastStats.entries > 100 ? std::min(literalRunsForLargeLists, defaultRuns) : defaultRuns;
        const Timing literal = timeGeneration(false, table, literalRuns, 1);
        const double literalFull = literal.seconds * defaultRuns / literalRuns;
        char literalText[64];
        if (literalRuns == defaultRuns)
            std::snprintf(literalText, sizeof literalText, "%.3f", literalFull);
        else
            std::snprintf(literalText, sizeof literalText, "%.3f*", literalFull);
        // The literal engine runs on one thread: its wall time is its processor time.
        std::printf("%-18s %7d %12s %9.4f %6.0fx %12.4f %8.0fx %7.1f/%-7.1f\n",
                    qPrintable(path.section(u'/', -1)), fastStats.entries, literalText, fast,
                    literalFull / fast, fastCpu, literalFull / fastCpu, literal.stats.meanPlaced,
                    fastStats.meanPlaced);
        if (literalRuns != defaultRuns)
            std::printf("%-18s * literal: %d runs took %.3f s, scaled to %d runs\n", "", literalRuns,
                        literal.seconds, defaultRuns);
        std::fflush(stdout);
    }
    return 0;
}
