#include "fastrun.h"
#include "generator.h"
#include "gridtext.h"
#include "progressrecorder.h"
#include "puzzlechecker.h"
#include "randomgenerator.h"
#include "runselection.h"
#include "testfiles.h"
#include "twosample.h"

#include <QtTest>

#include <thread>

namespace {

using Rows = std::vector<VectorWordTable::Row>;

enum class Engine { Literal, Fast };

GenerationStats generate(Engine engine, const Rows &rows, PuzzleModel &model, GeneratorStore &store,
                         GenerationOptions options) {
    const VectorWordTable table(rows, 0);
    return engine == Engine::Literal ? GenerateLiteral(table, model, store, options)
                                     : GenerateFast(table, model, store, options);
}

GenerationOptions optionsFor(int runs, std::uint64_t seed, int threads = 0) {
    GenerationOptions options;
    options.runs = runs;
    options.seed = seed;
    options.threads = threads;
    return options;
}

// A store that keeps the placements of every run, or only those of the best one.
GeneratorStore storeKeeping(bool everyRun) {
    GeneratorStore store(0);
    store.keepEveryRun = everyRun;
    return store;
}

// One generation into a model and store of its own; the store keeps every run's placements unless
// asked not to.
struct Generation {
    PuzzleModel model;
    GeneratorStore store;
    GenerationStats stats;
    Generation(Engine engine, const Rows &rows, const GenerationOptions &options, bool everyRun = true)
        : store(storeKeeping(everyRun)), stats(generate(engine, rows, model, store, options)) {}

    // The grid of one run, built from the placements the store kept.
    Grid grid(int run) const { return runGrid(model, *store.placementsOf(run)); }
};

// What one single-run generation produced, as seen from outside.
struct Outcomes {
    std::vector<int> placed;
    std::vector<int> placedSet; // bit i: entry i placed
    std::vector<int> failedRounds;
    std::vector<int> usedCells;
    std::vector<int> area;
};

Outcomes sample(Engine engine, const Rows &rows, int count, std::uint64_t firstSeed) {
    Outcomes o;
    PuzzleModel model;
    GeneratorStore store(0);
    GenerationOptions options = optionsFor(1, 0, 1);
    for (int i = 0; i < count; ++i) {
        options.seed = firstSeed + static_cast<std::uint64_t>(i);
        const GenerationStats stats = generate(engine, rows, model, store, options);
        int set = 0;
        int failed = 0;
        for (std::uint32_t e = 0; e < model.entryCount(); ++e) {
            failed += model.entry(e)->tries;
            if (model.entry(e)->tries < roundsPerEntry)
                set |= 1 << e;
        }
        o.placed.push_back(stats.placed);
        o.placedSet.push_back(set);
        o.failedRounds.push_back(failed);
        o.usedCells.push_back(stats.usedCells);
        o.area.push_back(stats.area);
    }
    return o;
}

// The grid moved to the top-left corner, as the chosen run is placed in grid.
Grid atCorner(const Grid &grid) {
    const BestRun m = measureGrid(grid);
    Grid moved = freeGrid();
    for (int x = m.minX; x < gridSize; ++x)
        for (int y = m.minY; y < gridSize; ++y)
            moved[cellIndex(x - m.minX, y - m.minY)] = grid[cellIndex(x, y)];
    return moved;
}

bool sameStore(const GeneratorStore &a, const GeneratorStore &b) {
    return a.everyRun == b.everyRun && a.placedPerRun == b.placedPerRun && a.figures == b.figures &&
           a.keptRun == b.keptRun && a.keptPlacements == b.keptPlacements && a.mostPlaced == b.mostPlaced &&
           a.placedInLastRun == b.placedInLastRun;
}

} // namespace

class TestFastGenerator : public QObject {
    Q_OBJECT

private slots:
    // Thousands of single runs of both engines with fixed seeds, compared outcome by outcome. The seeds
    // are fixed, so the test cannot flake; a p-value below 1e-6 means the distributions differ. The
    // fast engine gets three times the samples: same power for much less time.
    void sameDistributionAsLiteral_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("samples");
        QTest::newRow("eight animals")
            << QStringList{"katze", "hund", "elefant", "giraffe", "zebra", "ameise", "esel", "tiger"} << 2000;
        QTest::newRow("one common letter, one valid placement a round") << QStringList{"QAZ", "PAW"} << 20000;
        QTest::newRow("few common letters, rounds fail often")
            << QStringList{"QUARZ", "ZWECK", "KIWI", "JOB", "FJORD", "LUXUS"} << 2000;
        QTest::newRow("repeated letters, several crossings")
            << QStringList{"ANANAS", "BANANE", "NASA", "ANNA", "SAAL"} << 2000;
        QTest::newRow("answers of 99, 96 and 70 letters")
            << QStringList{QString("XO").repeated(49) + "X", QString("OX").repeated(48),
                           QString("XOO").repeated(23) + "X", "OXO", "BOX"}
            << 1000;
        QTest::newRow("answers of 96 and 95 letters that seldom fit")
            << QStringList{QString("ZY").repeated(48), QString("ZY").repeated(47) + "Z", "AZB", "CZD"}
            << 2000;
        QTest::newRow("codes above 255, code 1, blanks, question marks")
            << QStringList{QString::fromUtf16(u"\u03a9M\u03a9"),  "?M?",
                           QString::fromUtf16(u"\u0001MA"),       "A A",
                           QString::fromUtf16(u"\u00c4 \u00c4M"), "?A?"}
            << 2000;
    }
    void sameDistributionAsLiteral() {
        QFETCH(QStringList, answers);
        QFETCH(int, samples);
        const Rows rows = rowsOf(answers);
        const Outcomes literal = sample(Engine::Literal, rows, samples, 1);
        const Outcomes fast = sample(Engine::Fast, rows, 3 * samples, 1000001);
        const double threshold = 1e-6;
        const std::pair<const char *, double> tests[] = {
            {"placed", chiSquareTwoSample(literal.placed, fast.placed)},
            {"placed entries", chiSquareTwoSample(literal.placedSet, fast.placedSet)},
            {"failed rounds", chiSquareTwoSample(literal.failedRounds, fast.failedRounds)},
            {"used cells", chiSquareTwoSample(literal.usedCells, fast.usedCells)},
            {"used cells (KS)", kolmogorovSmirnovTwoSample(literal.usedCells, fast.usedCells)},
            {"area (KS)", kolmogorovSmirnovTwoSample(literal.area, fast.area)},
        };
        for (const auto &t : tests)
            if (t.second < threshold)
                QFAIL(qPrintable(
                    QStringLiteral("%1 differ: p = %2").arg(QLatin1String(t.first)).arg(t.second)));
    }

    // The comparisons above are only worth something if the tests see real differences.
    void twoSampleTestsSeeDifferences() {
        QCOMPARE(upperIncompleteGammaQ(1.0, 2.0), std::exp(-2.0)); // chi-square, 2 degrees
        QVERIFY(std::fabs(upperIncompleteGammaQ(0.5, 2.0) - std::erfc(std::sqrt(2.0))) < 1e-12); // 1 degree
        QVERIFY(std::fabs(upperIncompleteGammaQ(5.0, 20.0) - 1.6944744269e-5) < 1e-12);
        RandomGenerator rng(5);
        std::vector<int> a;
        std::vector<int> b;
        std::vector<int> shifted;
        for (int i = 0; i < 3000; ++i) {
            a.push_back(static_cast<int>(rng.Random(20)));
            b.push_back(static_cast<int>(rng.Random(20)));
            // one value in 20 is moved from 0..9 to 10..19
            const int v = static_cast<int>(rng.Random(20));
            shifted.push_back(v < 10 && rng.Random(5) == 0 ? v + 10 : v);
        }
        QVERIFY(chiSquareTwoSample(a, b) > 1e-3);
        QVERIFY(kolmogorovSmirnovTwoSample(a, b) > 1e-3);
        QVERIFY(chiSquareTwoSample(a, shifted) < 1e-6);
        QVERIFY(kolmogorovSmirnovTwoSample(a, shifted) < 1e-6);
    }

    // 1 - (1 - v/N)^1001 against a long double computation, down to the smallest chances.
    void roundSuccessChanceIsPrecise_data() {
        QTest::addColumn<int>("valid");
        QTest::addColumn<int>("combinations");
        QTest::newRow("one of 19800") << 1 << 19800;
        QTest::newRow("one of 1000") << 1 << 1000;
        QTest::newRow("three of 800") << 3 << 800;
        QTest::newRow("half") << 100 << 200;
        QTest::newRow("all") << 200 << 200;
        QTest::newRow("none") << 0 << 200;
    }
    void roundSuccessChanceIsPrecise() {
        QFETCH(int, valid);
        QFETCH(int, combinations);
        const long double miss = 1.0L - static_cast<long double>(valid) / combinations;
        const long double expected = 1.0L - std::pow(miss, static_cast<long double>(attemptsPerRound));
        const double chance = roundSuccessChance(valid, combinations);
        QVERIFY(chance >= 0.0 && chance <= 1.0);
        QVERIFY2(std::fabs(static_cast<long double>(chance) - expected) <= 1e-14L * expected,
                 qPrintable(QString::number(chance, 'g', 17)));
    }

    void fastPuzzlesKeepTheRules_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("seeds");
        QTest::newRow("20 words") << "woerter-20.txt" << 30;
        QTest::newRow("80 words") << "woerter.txt" << 10;
        QTest::newRow("999 words") << "woerter-999.txt" << 3;
        QTest::newRow("umlauts, blanks, repeats") << "" << 30;
    }
    void fastPuzzlesKeepTheRules() {
        QFETCH(QString, list);
        QFETCH(int, seeds);
        const Rows rows =
            list.isEmpty()
                ? rowsOf({QString::fromUtf16(u"k\u00e4se"), QString::fromUtf16(u"s\u00fc\u00dfe"), "ab cd",
                          "x y", "KÄSE", QString::fromUtf16(u"\u03a9mega"), "esel", "see", "ess", "?e?"})
                : readExampleList(list);
        QVERIFY(!rows.empty());
        for (int seed = 1; seed <= seeds; ++seed) {
            Generation g(Engine::Fast, rows, optionsFor(3, static_cast<std::uint64_t>(seed)));
            for (int r = 0; r < g.store.runs(); ++r) {
                const Grid run = g.grid(r);
                const std::vector<std::string> problems = checkPuzzle(atCorner(run), answersOf(g.model));
                if (!problems.empty())
                    QFAIL(qPrintable(QStringLiteral("seed %1: %2\n%3")
                                         .arg(seed)
                                         .arg(QString::fromStdString(problems.front()))
                                         .arg(QString::fromStdU16String(gridText(run)))));
                // The figures the run kept up as it went are those of its grid.
                QVERIFY(g.store.figures[static_cast<std::size_t>(r)] == runFigures(run));
                QCOMPARE(countClueCells(run), g.store.placedPerRun[static_cast<std::size_t>(r)]);
            }
            QCOMPARE(countClueCells(g.model.grid), g.stats.placed);
            QCOMPARE(g.store.mostPlaced, g.stats.placed);
            QVERIFY(g.stats.placed >= 1);
        }
    }

    // The entries' placement fields describe the last run: placed entries point at their clue cell.
    // Their direction is the chosen puzzle's where it names them, so the last run's is read from its grid.
    void entriesDescribeTheLastRun() {
        Generation g(Engine::Fast, readExampleList("woerter-20.txt"), optionsFor(5, 3));
        const Grid last = g.grid(g.store.runs() - 1);
        int placed = 0;
        for (std::uint32_t i = 0; i < g.model.entryCount(); ++i) {
            const TPuzzleEntry *e = g.model.entry(i);
            QCOMPARE(e->done, std::uint8_t(1));
            QCOMPARE(e->arrowkind, 0);
            QVERIFY(e->tries >= 0 && e->tries <= roundsPerEntry);
            QVERIFY(e->line >= 0 && e->line < gridSize && e->start >= 1);
            QVERIFY(e->start + static_cast<int>(entryTextLength(e->answer)) <= gridSize);
            if (e->tries == roundsPerEntry)
                continue;
            ++placed;
            const bool down =
                last[static_cast<std::size_t>(cellIndex(e->line, e->start - 1))] == clueCellValue(i, true);
            const int clue = down ? cellIndex(e->line, e->start - 1) : cellIndex(e->start - 1, e->line);
            QCOMPARE(last[static_cast<std::size_t>(clue)], clueCellValue(i, down));
        }
        QCOMPARE(placed, g.store.placedInLastRun);
        QCOMPARE(g.store.placedInLastRun, g.store.placedPerRun.back());
    }

    void sameResultOnAnyThreadCount_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("runs");
        QTest::newRow("100 words") << "woerter-100.txt" << 40;
        QTest::newRow("20 words, one run") << "woerter-20.txt" << 1;
    }
    void sameResultOnAnyThreadCount() {
        QFETCH(QString, list);
        QFETCH(int, runs);
        const Rows rows = readExampleList(list);
        // Every run's placements, and the best run's alone as the window keeps them.
        for (bool everyRun : {true, false}) {
            Generation one(Engine::Fast, rows, optionsFor(runs, 7, 1), everyRun);
            for (int threads : {2, 3, 0}) {
                Generation many(Engine::Fast, rows, optionsFor(runs, 7, threads), everyRun);
                QVERIFY(sameStore(one.store, many.store));
                QVERIFY(one.model.grid == many.model.grid);
                QCOMPARE(many.stats.bestRun, one.stats.bestRun);
                QCOMPARE(many.store.keptRun, one.stats.bestRun);
                for (std::uint32_t i = 0; i < one.model.entryCount(); ++i)
                    QVERIFY(std::memcmp(&one.model.entry(i)->spare, &many.model.entry(i)->spare,
                                        sizeof(TPuzzleEntry) - offsetof(TPuzzleEntry, spare)) == 0);
            }
            const Generation other(Engine::Fast, rows, optionsFor(runs, 8), everyRun);
            QVERIFY(!(other.store.keptPlacements == one.store.keptPlacements));
            QVERIFY(!everyRun || !(other.store.everyRun == one.store.everyRun));
        }
    }

    void progressReportsAndCancels_data() {
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("cancelAt"); // 0: never
        QTest::newRow("one thread") << 1 << 0;
        QTest::newRow("two threads") << 2 << 0;
        QTest::newRow("one thread, cancelled") << 1 << 5;
        QTest::newRow("two threads, cancelled") << 2 << 5;
    }
    void progressReportsAndCancels() {
        QFETCH(int, threads);
        QFETCH(int, cancelAt);
        // Enough work that the other thread cannot finish everything while the calling thread makes its
        // first run, even on a busy machine.
        const int runs = 1000;
        GenerationOptions options = optionsFor(runs, 11, threads);
        ProgressRecorder progress(cancelAt);
        options.onRunDone = progress.callback();
        const std::vector<int> &reports = progress.reports;
        const Rows rows = readExampleList("woerter-100.txt");
        const GenerationStats stats = Generation(Engine::Fast, rows, options).stats;
        QVERIFY2(progress.problem().empty(), progress.problem().c_str());
        if (cancelAt == 0) {
            QVERIFY(!stats.cancelled);
            QCOMPARE(reports.back(), runs);
            QCOMPARE(stats.runs, runs);
        } else {
            QVERIFY(stats.cancelled);
            QVERIFY(reports.back() >= cancelAt);
            if (threads == 1)
                QCOMPARE(stats.runs, cancelAt); // no run starts after the call that cancels
            QVERIFY(stats.runs >= reports.back() && stats.runs < runs);
        }
    }

    void edgeCases() {
        PuzzleModel model;
        GeneratorStore store = storeKeeping(true);
        const GenerationOptions options = optionsFor(50, 5);
        // No entries: nothing placed, grid all free, run 0 chosen.
        GenerationStats stats = generate(Engine::Fast, {{u"nur Frage", u""}}, model, store, options);
        QCOMPARE(model.entryCount(), 0u);
        QCOMPARE(stats.bestRun, 0);
        QCOMPARE(measureGrid(model.grid).usedCells, 0);
        // One answer of 99 letters: always at position 1 of its line, every run ties.
        stats = generate(Engine::Fast, {{u"lang", std::u16string(99, u'W')}}, model, store, options);
        QCOMPARE(stats.bestRun, 0);
        for (int run = 0; run < store.runs(); ++run)
            QCOMPARE(measureGrid(runGrid(model, *store.placementsOf(run))).area, 100);
        // Two answers without a common letter: one placed, the other given up after 5 rounds.
        stats = generate(Engine::Fast, {{u"a", u"ABCDEFG"}, {u"b", u"XYZ"}}, model, store, options);
        for (std::int32_t n : store.placedPerRun)
            QCOMPARE(n, 1);
        QCOMPARE(stats.usedCells, 4);
        QCOMPARE(model.entry(0)->tries + model.entry(1)->tries, roundsPerEntry + 0);
        // An answer cut to nothing by a zero code unit: only its clue cell, when it is the first entry.
        const Rows cut{{u"a", std::u16string(u"\0XY", 3)}, {u"b", u"XY"}};
        for (Engine engine : {Engine::Literal, Engine::Fast}) {
            stats = generate(engine, cut, model, store, options);
            QCOMPARE(stats.placed, 1);
            QCOMPARE(stats.usedCells, 1); // the empty answer's clue cell wins over the other answer
            for (std::int32_t n : store.placedPerRun)
                QCOMPARE(n, 1);
        }
    }
};

QTEST_APPLESS_MAIN(TestFastGenerator)
#include "tst_fastgenerator.moc"
