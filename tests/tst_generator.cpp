#include "entrycollector.h"
#include "generator.h"
#include "gridtext.h"
#include "literalgenerator.h"
#include "puzzlechecker.h"
#include "runselection.h"
#include "testfiles.h"

#include <QtTest>

namespace {

using Rows = std::vector<VectorWordTable::Row>;

// A literal generation into a model and store of its own; the store keeps every run's placements.
struct Generated {
    PuzzleModel model;
    GeneratorStore store{0};
    GenerationStats stats;

    Generated() { store.keepEveryRun = true; }
    Generated(const Rows &rows, int runs, std::uint64_t seed) : Generated() { run(rows, runs, seed); }
    void run(const Rows &rows, int runs, std::uint64_t seed, std::function<bool(int)> onRunDone = {}) {
        GenerationOptions options;
        options.runs = runs;
        options.seed = seed;
        options.onRunDone = std::move(onRunDone);
        stats = GenerateLiteral(VectorWordTable(rows, 999), model, store, options);
    }

    // The grid of one run, built from the placements the store kept.
    Grid grid(int run) const { return runGrid(model, *store.placementsOf(run)); }
};

bool allFree(const Grid &grid) {
    for (std::int32_t v : grid)
        if (v != cellFree)
            return false;
    return true;
}

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT

private slots:
    // The window generates from a copy of its word table: the copy yields the same entries, and a later
    // edit of the table does not reach it.
    void collectingEntriesFromTableAndCopy() {
        const Rows rows{
            {u"Tier", u"katze"},                  // entry 0, upper-cased
            {u"", u"ohneFrage"},                  // skipped: no clue
            {u"ohne Antwort", u""},               // skipped: no answer
            {u"K\u00e4se", u"k\u00e4se"},         // entry 1: the umlaut a capital too
            {u"  ", u"a b"},                      // entry 2: a clue of blanks is a clue, the blank goes
            {u"lang", std::u16string(100, u'x')}, // skipped: 100 code units
            {u"99", std::u16string(99, u'y')},    // entry 3
            {u"Stra\u00dfe", u"stra\u00dfe"},     // entry 4: ß as SS
        };
        VectorWordTable table(rows, 999);
        PuzzleModel fromTable;
        CollectEntries(table, fromTable, UmlautSpelling::Capitals);
        const VectorWordTable copy = copyWordRows(table);
        table.setCell(1, 1, u"hund");
        PuzzleModel fromCopy;
        CollectEntries(copy, fromCopy, UmlautSpelling::Capitals);
        const std::vector<std::u16string> answers{u"KATZE", u"K\u00c4SE", u"AB", std::u16string(99, u'Y'),
                                                  u"STRASSE"};
        for (PuzzleModel *model : {&fromTable, &fromCopy}) {
            QCOMPARE(answersOf(*model), answers);
            QCOMPARE(entryText(model->entry(0)->clue), std::u16string(u"Tier"));
            QCOMPARE(entryText(model->entry(1)->clue), std::u16string(u"K\u00e4se"));
            QCOMPARE(entryText(model->entry(2)->clue), std::u16string(u"  "));
        }
    }

    void generatedPuzzlesKeepTheRules_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("seeds");
        QTest::newRow("20 words") << "woerter-20.txt" << 40;
        QTest::newRow("80 words") << "woerter.txt" << 8;
        QTest::newRow("umlauts, blanks, repeats") << "" << 40;
    }
    void generatedPuzzlesKeepTheRules() {
        QFETCH(QString, list);
        QFETCH(int, seeds);
        const Rows rows = list.isEmpty()
                              ? Rows{{u"a", u"k\u00e4se"},  {u"b", u"s\u00fc\u00dfe"}, {u"c", u"ab cd"},
                                     {u"d", u"x y"},        {u"e", u"KÄSE"},           {u"f", u"k\u00e4se"},
                                     {u"g", u"\u03a9mega"}, {u"h", u"esel"},           {u"i", u"see"},
                                     {u"j", u"ess"}}
                              : readExampleList(list);
        QVERIFY(!rows.empty());
        for (int seed = 1; seed <= seeds; ++seed) {
            Generated g(rows, 3, static_cast<std::uint64_t>(seed));
            const auto problems = checkPuzzle(g.model.grid, answersOf(g.model));
            if (!problems.empty())
                QFAIL(qPrintable(QStringLiteral("seed %1: %2\n%3")
                                     .arg(seed)
                                     .arg(QString::fromStdString(problems.front()))
                                     .arg(QString::fromStdU16String(gridText(g.model.grid)))));
            QCOMPARE(countClueCells(g.model.grid), g.stats.placed);
            QVERIFY(g.stats.placed >= 1);
            QCOMPARE(g.store.mostPlaced, g.stats.placed);
            // Every run's kept placements rebuild the grid it measured.
            for (int r = 0; r < g.store.runs(); ++r) {
                const Grid run = g.grid(r);
                QVERIFY(g.store.figures[static_cast<std::size_t>(r)] == runFigures(run));
                QCOMPARE(countClueCells(run), g.store.placedPerRun[static_cast<std::size_t>(r)]);
            }
        }
    }

    void emptyTablePlacesNothing() {
        Generated g;
        g.model.AddEntry(u"alt", u"ALT"); // replaced by the new generation
        g.run({{u"nur Frage", u""}}, defaultRuns, 5);
        QCOMPARE(g.model.entryCount(), 0u);
        QCOMPARE(g.store.mostPlaced, 0);
        QCOMPARE(g.stats.bestRun, 0);
        QVERIFY(allFree(g.model.grid));
        QCOMPARE(g.store.runs(), defaultRuns);
    }

    void singleEntryPlacedAtTopLeft_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("short") << 4;
        QTest::newRow("99 code units") << 99;
    }
    void singleEntryPlacedAtTopLeft() {
        QFETCH(int, length);
        const std::u16string answer(static_cast<std::size_t>(length), u'W');
        Generated g({{u"Frage", answer}}, defaultRuns, 11);
        QCOMPARE(g.stats.bestRun, 0); // every run ties
        for (std::int32_t n : g.store.placedPerRun)
            QCOMPARE(n, 1);
        const std::int32_t clue = g.model.grid[cellIndex(0, 0)];
        QVERIFY(isClueCell(clue));
        QCOMPARE(clueEntryIndex(clue), 0u);
        const bool down = clueRunsDown(clue);
        for (int j = 1; j <= length; ++j)
            QCOMPARE(g.model.grid[down ? cellIndex(0, j) : cellIndex(j, 0)], std::int32_t('W'));
        QCOMPARE(g.stats.usedCells, length + 1);
        QCOMPARE(g.stats.area, length + 1);
        if (length == 99) // always at position 1 of its line, clue at 0, in every run
            for (int run = 0; run < g.store.runs(); ++run)
                QCOMPARE(measureGrid(g.grid(run)).area, 100);
    }

    void answersWithoutCommonLetter_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("usedCells");
        QTest::addColumn<bool>("runZeroWins");
        QTest::newRow("different lengths") << QString("ABCDEFG") << QString("XYZ") << 4 << false;
        QTest::newRow("equal lengths") << QString("ABC") << QString("XYZ") << 4 << true;
    }
    void answersWithoutCommonLetter() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, usedCells);
        QFETCH(bool, runZeroWins);
        Generated g({{u"eins", first.toStdU16String()}, {u"zwei", second.toStdU16String()}}, 200, 3);
        for (std::int32_t n : g.store.placedPerRun)
            QCOMPARE(n, 1);
        QCOMPARE(g.stats.usedCells, usedCells);
        if (runZeroWins)
            QCOMPARE(g.stats.bestRun, 0);
        // The given-up entry had its 5 rounds in the last run.
        int givenUp = 0;
        for (std::uint32_t i = 0; i < 2; ++i)
            if (g.model.entry(i)->tries == roundsPerEntry)
                ++givenUp;
        QCOMPARE(givenUp, 1);
    }

    void sameSeedSamePuzzle() {
        const Rows rows = readExampleList("woerter-20.txt");
        const Generated a(rows, 20, 42);
        const Generated b(rows, 20, 42);
        const Generated c(rows, 20, 43);
        QVERIFY(a.model.grid == b.model.grid);
        QCOMPARE(a.store.placedPerRun, b.store.placedPerRun);
        QVERIFY(a.store.everyRun == b.store.everyRun);
        QVERIFY(!(a.store.everyRun == c.store.everyRun));
    }

    void bestRunChoice_data() {
        // Each run: placed count, then a grid of that many used cells in a w x h box.
        QTest::addColumn<QList<int>>("placed");
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<QList<int>>("width"); // box width; height is used / width rounded up
        QTest::addColumn<int>("winner");
        QTest::newRow("most placed wins")
            << QList<int>{2, 3, 3} << QList<int>{4, 9, 8} << QList<int>{4, 9, 8} << 2;
        QTest::newRow("fewest used cells") << QList<int>{3, 3} << QList<int>{9, 8} << QList<int>{3, 8} << 1;
        QTest::newRow("then smallest box")
            << QList<int>{3, 3, 3} << QList<int>{6, 6, 6} << QList<int>{5, 4, 6} << 2;
        QTest::newRow("then lowest run")
            << QList<int>{3, 3, 3} << QList<int>{6, 6, 6} << QList<int>{3, 3, 3} << 0;
        QTest::newRow("fewer placed never wins")
            << QList<int>{1, 2} << QList<int>{1, 40} << QList<int>{1, 40} << 1;
    }
    void bestRunChoice() {
        QFETCH(QList<int>, placed);
        QFETCH(QList<int>, used);
        QFETCH(QList<int>, width);
        QFETCH(int, winner);
        // Each run's grid is rows of across answers from (10, 20) on: a clue cell and width - 1 letters
        // A, the last row shorter. The store is offered the runs in reverse order, as threads may.
        PuzzleModel model;
        GeneratorStore store(static_cast<int>(placed.size()));
        std::vector<std::vector<PlacedEntry>> runs(static_cast<std::size_t>(placed.size()));
        for (int r = 0; r < placed.size(); ++r) {
            for (int k = 0; k < used[r]; k += width[r]) {
                const int cells = std::min(width[r], used[r] - k);
                const std::uint32_t entry = model.entryCount();
                model.AddEntry(u"Frage", std::u16string(static_cast<std::size_t>(cells - 1), u'A'));
                runs[static_cast<std::size_t>(r)].push_back(
                    PlacedEntry{entry, Placement{false, 20 + k / width[r], 11}});
            }
            const Grid grid = runGrid(model, runs[static_cast<std::size_t>(r)]);
            QCOMPARE(measureGrid(grid).usedCells, used[r]);
            store.setRun(r, placed[r], runFigures(grid));
            store.mostPlaced = std::max(store.mostPlaced, placed[r]);
        }
        for (int r = static_cast<int>(placed.size()) - 1; r >= 0; --r)
            store.offerPlacements(r, runs[static_cast<std::size_t>(r)]);
        const BestRun best = ChooseBestRun(store);
        QCOMPARE(best.run, winner);
        QCOMPARE(store.keptRun, winner);
        QCOMPARE(best.minX, 10);
        QCOMPARE(best.minY, 20);
        Grid grid{};
        PlaceBestRun(model, store, best, grid);
        QVERIFY(isClueCell(grid[cellIndex(0, 0)]));
        QCOMPARE(grid[cellIndex(1, 0)], width[winner] > 1 ? std::int32_t('A') : cellFree);
        QCOMPARE(measureGrid(grid).usedCells, used[winner]);
        QCOMPARE(measureGrid(grid).minX, 0);
        QCOMPARE(measureGrid(grid).area, best.area);
    }

    void cancellingStopsAfterTheRun() {
        Generated g;
        int calls = 0;
        g.run(readExampleList("woerter-20.txt"), 50, 9, [&](int done) {
            ++calls;
            return done < 5;
        });
        QVERIFY(g.stats.cancelled);
        QCOMPARE(calls, 5);
        QCOMPARE(g.stats.runs, 5);
    }

    void statsDescribeTheGeneration() {
        Generated g(readExampleList("woerter-20.txt"), 30, 77);
        QCOMPARE(g.stats.entries, 20);
        QCOMPARE(g.stats.runs, 30);
        QVERIFY(g.stats.bestRun >= 0 && g.stats.bestRun < 30);
        QCOMPARE(g.store.placedPerRun[static_cast<std::size_t>(g.stats.bestRun)], g.stats.placed);
        const BestRun m = measureGrid(g.model.grid);
        QCOMPARE(m.usedCells, g.stats.usedCells);
        QCOMPARE(m.area, g.stats.area);
        double sum = 0;
        for (int n : g.store.placedPerRun)
            sum += n;
        QCOMPARE(g.stats.meanPlaced, sum / 30);
        QVERIFY(g.stats.meanPlaced <= g.stats.placed);
    }
};

QTEST_APPLESS_MAIN(TestGenerator)
#include "tst_generator.moc"
