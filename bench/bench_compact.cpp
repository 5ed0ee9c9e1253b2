// Puts the standard layout (1001 randomised runs, the fast engine) and the compact layout side by side
// on the example word lists and prints a Markdown table: entries placed, fill (used cells / box), the
// box, the zoom at which the puzzle fits an A4 page at the default settings, and wall and processor
// time; each figure the median over the seeds.
//
//   bench_compact [--seeds N] [--effort N] [--threads N] [LIST[:ROWS]...]
//
// Without lists: the examples of 20, 30, 50 and 100 words and the first 200 rows of the 999-word list.
// The compact layout runs three ways: without a frame (aiming at the page's shape), in the frame of
// cells an A4 page holds at the defaults, and in a frame of 22 x 33 cells.

#include "generator.h"
#include "gridtext.h"
#include "pagefit.h"
#include "wordlist.h"

#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int minimumZoom = 10;
constexpr int maximumZoom = 1000;
constexpr int fixedFrameWidth = 22;
constexpr int fixedFrameHeight = 33;

struct Measure {
    int placed = 0;
    int entries = 0;
    double fill = 0;
    int columns = 0;
    int rows = 0;
    int zoom = 0;
    double seconds = 0;
    double cpuSeconds = 0;
};

using Engine = std::function<GenerationStats(const WordTable &, PuzzleModel &, GeneratorStore &,
                                             const GenerationOptions &)>;

Measure measure(const Engine &engine, const WordTable &table, const GenerationOptions &options) {
    PuzzleModel model;
    GeneratorStore store(defaultRuns); // the store exists before a generation, as in the window
    const auto begin = std::chrono::steady_clock::now();
    const std::clock_t cpuBegin = std::clock();
    const GenerationStats stats = engine(table, model, store, options);
    Measure m;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    m.cpuSeconds = static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC;
    m.placed = stats.placed;
    m.entries = stats.entries;
    m.fill = stats.area > 0 ? static_cast<double>(stats.usedCells) / stats.area : 0;
    const GridExtent extent = usedExtent(model.grid);
    m.columns = extent.columns;
    m.rows = extent.rows;
    m.zoom = fitPageZoom(model, PuzzleSettings(), defaultPdfPage(), minimumZoom, maximumZoom).value_or(0);
    return m;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The medians of the runs; the box is that of the run with the median fill.
Measure medianOf(const std::vector<Measure> &runs) {
    Measure m;
    std::vector<int> placed;
    std::vector<double> fill;
    std::vector<int> zoom;
    std::vector<double> seconds;
    std::vector<double> cpu;
    for (const Measure &r : runs) {
        placed.push_back(r.placed);
        fill.push_back(r.fill);
        zoom.push_back(r.zoom);
        seconds.push_back(r.seconds);
        cpu.push_back(r.cpuSeconds);
    }
    m.entries = runs.front().entries;
    m.placed = median(placed);
    m.fill = median(fill);
    m.zoom = median(zoom);
    m.seconds = median(seconds);
    m.cpuSeconds = median(cpu);
    for (const Measure &r : runs)
        if (r.fill == m.fill) {
            m.columns = r.columns;
            m.rows = r.rows;
        }
    return m;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the title's height needs fonts
    int seeds = 3;
    int effort = defaultCompactEffort;
    int threads = 0;
    QStringList lists;
    const QStringList arguments = app.arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--seeds") && hasValue)
            seeds = std::max(1, arguments[++i].toInt());
        else if (a == QLatin1String("--effort") && hasValue)
            effort = std::max(1, arguments[++i].toInt());
        else if (a == QLatin1String("--threads") && hasValue)
            threads = std::max(0, arguments[++i].toInt());
        else
            lists << a;
    }
    if (lists.isEmpty())
        for (const char *name :
             {"woerter-20.txt", "woerter-30.txt", "woerter-50.txt", "woerter-100.txt", "woerter-999.txt:200"})
            lists << QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + QLatin1String(name);

    const CellCount page = pageCellFrame(PuzzleSettings(), defaultPdfPage());
    std::printf("Seeds 1 to %d, medians; compact effort %d steps on %s. A4 page at the defaults: %d x %d "
                "cells.\n\n",
                seeds, effort,
                threads == 0 ? "all hardware threads" : qPrintable(QString::number(threads) + " threads"),
                page.columns, page.rows);
    std::printf("| list | layout | placed | fill | box | zoom for A4 | wall s | cpu s |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const QString &listArgument : lists) {
        const QString path = listArgument.section(u':', 0, 0);
        const int rowLimit =
            listArgument.contains(u':') ? listArgument.section(u':', 1).toInt() : int(maxWordListRows);
        WordList words = readWordList(path, static_cast<std::size_t>(rowLimit));
        if (!words.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(words.error));
            return 1;
        }
        const VectorWordTable table(std::move(words.rows), static_cast<int>(maxWordListRows));

        struct Layout {
            const char *name;
            Engine engine;
            int frameWidth;
            int frameHeight;
        };
        const Layout layouts[] = {
            {"standard", &GenerateFast, 0, 0},
            {"compact", &GenerateCompact, 0, 0},
            {"compact, page frame", &GenerateCompact, page.columns, page.rows},
            {"compact, 22 x 33", &GenerateCompact, fixedFrameWidth, fixedFrameHeight},
        };
        for (const Layout &layout : layouts) {
            std::vector<Measure> runs;
            for (int seed = 1; seed <= seeds; ++seed) {
                GenerationOptions options;
                options.seed = static_cast<std::uint64_t>(seed);
                options.threads = threads;
                options.effort = effort;
                options.frameWidth = layout.frameWidth;
                options.frameHeight = layout.frameHeight;
                options.shapeWidth = page.columns;
                options.shapeHeight = page.rows;
                runs.push_back(measure(layout.engine, table, options));
            }
            const Measure m = medianOf(runs);
            std::printf("| %s | %s | %d/%d | %.1f %% | %d x %d | %d %% | %.2f | %.2f |\n",
                        qPrintable(listArgument.section(u'/', -1)), layout.name, m.placed, m.entries,
                        100 * m.fill, m.columns, m.rows, m.zoom, m.seconds, m.cpuSeconds);
            std::fflush(stdout);
        }
    }
    return 0;
}
