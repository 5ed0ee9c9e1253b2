#include "compactchain.h"
#include "compactsearch.h"
#include "datarow.h"
#include "generator.h"
#include "gridpicture.h"
#include "gridtext.h"
#include "placement.h"
#include "progressrecorder.h"
#include "puzzlechecker.h"
#include "runselection.h"
#include "testfiles.h"

#include <QtTest>

#include <map>
#include <thread>

namespace {

using Rows = std::vector<VectorWordTable::Row>;

GenerationOptions compactOptions(int effort, std::uint64_t seed, int frameWidth = 0, int frameHeight = 0,
                                 int threads = 0) {
    GenerationOptions options;
    options.effort = effort;
    options.seed = seed;
    options.frameWidth = frameWidth;
    options.frameHeight = frameHeight;
    options.threads = threads;
    return options;
}

// One compact generation into a model and store of its own.
struct Generation {
    PuzzleModel model;
    GeneratorStore store{0};
    GenerationStats stats;
    Generation(const Rows &rows, const GenerationOptions &options)
        : stats(GenerateCompact(VectorWordTable(rows, 0), model, store, options)) {}
};

// The answers as the compact layout takes them, and a search on them with an ample budget.
struct Workbench {
    explicit Workbench(const std::vector<std::u16string> &answers, std::uint64_t seed = 1)
        : words(answers), search(words, seed, budget) {}
    CompactWords words;
    SearchBudget budget{1 << 30};
    CompactSearch search;
};

// The answers of a layout in its own order, as checkPuzzle takes them.
std::vector<std::u16string> answersOf(const CompactWords &words) {
    std::vector<std::u16string> answers;
    for (const CompactWord &w : words.words)
        answers.push_back(w.answer);
    return answers;
}

std::vector<std::string> layoutProblems(const CompactLayout &layout) {
    return checkPuzzle(compactGrid(layout), answersOf(layout.words()));
}

// The layout's cells where they lie in its frame (compactGrid moves them to the corner).
Grid gridAsPlaced(const CompactLayout &layout) {
    Grid grid = freeGrid();
    for (int w = 0; w < static_cast<int>(layout.words().words.size()); ++w) {
        const CompactPlacement &at = layout.placement(w);
        if (!at.placed)
            continue;
        const Placement p{at.down, at.down ? at.x : at.y, at.down ? at.y : at.x};
        commitPlacement(grid, layout.words().words[static_cast<std::size_t>(w)].answer, p,
                        static_cast<std::uint32_t>(w));
    }
    return grid;
}

bool samePuzzle(const Generation &a, const Generation &b) {
    if (!(a.model.grid == b.model.grid) || a.model.entryCount() != b.model.entryCount())
        return false;
    for (std::uint32_t i = 0; i < a.model.entryCount(); ++i)
        if (std::memcmp(&const_cast<PuzzleModel &>(a.model).entry(i)->spare,
                        &const_cast<PuzzleModel &>(b.model).entry(i)->spare,
                        sizeof(TPuzzleEntry) - offsetof(TPuzzleEntry, spare)) != 0)
            return false;
    return true;
}

// Answers of few letters that cross in many ways.
const std::vector<std::u16string> crossingAnswers{
    u"ABBA",    u"BAD", u"DAB",  u"CAB",  u"ABCD", u"BEAD", u"ADD", u"CEDAR", u"RACE", u"ACE",
    u"DEBACLE", u"ARC", u"BARD", u"CRAB", u"EAR",  u"ERA",  u"BEE", u"DEED",  u"ACRE", u"CEDE"};

QString text(const Grid &grid) {
    return QString::fromStdU16String(gridText(grid));
}

// The first entry that the puzzle leaves out although it could cross it inside a frame of
// frameWidth x frameHeight (the puzzle moved as needed), as the program's own placement test sees it;
// -1 when there is none. With no entry placed, any entry that fits the frame on its own counts.
int entryThatStillFits(const Grid &puzzle, const std::vector<std::u16string> &answers, int frameWidth,
                       int frameHeight) {
    std::vector<bool> named(answers.size(), false);
    for (std::int32_t v : puzzle)
        if (isClueCell(v) && clueEntryIndex(v) < answers.size())
            named[clueEntryIndex(v)] = true;
    const bool empty = measureGrid(puzzle).usedCells == 0;
    const int w = usedExtent(puzzle).columns;
    const int h = usedExtent(puzzle).rows;
    std::map<std::pair<int, int>, Grid> shifted; // the puzzle moved right and down
    const auto puzzleAt = [&](int dx, int dy) -> const Grid & {
        auto found = shifted.find({dx, dy});
        if (found != shifted.end())
            return found->second;
        Grid g = freeGrid();
        for (int x = 0; x + dx < gridSize && x < w; ++x)
            for (int y = 0; y + dy < gridSize && y < h; ++y)
                g[cellIndex(x + dx, y + dy)] = puzzle[cellIndex(x, y)];
        return shifted.emplace(std::make_pair(dx, dy), g).first->second;
    };
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (named[i])
            continue;
        const int length = static_cast<int>(answers[i].size());
        if (empty) {
            if (length + 1 <= std::max(frameWidth, frameHeight))
                return static_cast<int>(i);
            continue;
        }
        for (const bool down : {false, true}) {
            // The first letter relative to the puzzle, so that some letter lies on a used line.
            const int along = down ? h : w;
            const int across = down ? w : h;
            const int frameAlong = down ? frameHeight : frameWidth;
            const int frameAcross = down ? frameWidth : frameHeight;
            for (int line = 0; line < across; ++line)
                for (int start = 1 - length; start < along; ++start) {
                    const int low = std::min(0, start - 1);
                    const int high = std::max(along - 1, start + length - 1);
                    if (high - low + 1 > frameAlong || across > frameAcross)
                        continue;
                    const Grid &g = down ? puzzleAt(0, -low) : puzzleAt(-low, 0);
                    const PlacementTest t = testPlacement(g, answers[i], {down, line, start - low});
                    if (t.crossed && !t.conflict)
                        return static_cast<int>(i);
                }
        }
    }
    return -1;
}

} // namespace

class TestCompactGenerator : public QObject {
    Q_OBJECT

private slots:
    void compactPuzzlesKeepTheRules_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("frameWidth"); // 0: no frame
        QTest::addColumn<int>("frameHeight");
        QTest::addColumn<int>("seeds");
        QTest::addColumn<int>("effort");
        addRow("20 words", QString("woerter-20.txt"), 0, 0, 12, 20000);
        addRow("30 words", QString("woerter-30.txt"), 0, 0, 8, 20000);
        addRow("50 words", QString("woerter-50.txt"), 0, 0, 6, 20000);
        addRow("80 words", QString("woerter.txt"), 0, 0, 4, 20000);
        addRow("100 words", QString("woerter-100.txt"), 0, 0, 4, 30000);
        addRow("999 words, more than the grid holds", QString("woerter-999.txt"), 0, 0, 1, 3000);
        addRow("30 words in 22 x 33", QString("woerter-30.txt"), 22, 33, 6, 20000);
        addRow("50 words in 22 x 33", QString("woerter-50.txt"), 22, 33, 6, 20000);
        addRow("20 words in 17 x 24", QString("woerter-20.txt"), 17, 24, 6, 20000);
        addRow("100 words in 12 x 12", QString("woerter-100.txt"), 12, 12, 6, 20000);
        addRow("80 words in 40 x 6", QString("woerter.txt"), 40, 6, 6, 20000);
        addRow("20 words in 4 x 3, three letters at most", QString("woerter-20.txt"), 4, 3, 3, 2000);
        addRow("20 words in 2 x 2, nothing fits", QString("woerter-20.txt"), 2, 2, 2, 2000);
        addRow("umlauts, blanks, repeats", QString(), 0, 0, 20, 5000);
        addRow("umlauts, blanks, repeats in 7 x 7", QString(), 7, 7, 20, 5000);
    }
    // Every puzzle keeps the rules, lies inside its frame, and leaves no entry out that could still
    // cross it there.
    void compactPuzzlesKeepTheRules() {
        QFETCH(QString, list);
        QFETCH(int, frameWidth);
        QFETCH(int, frameHeight);
        QFETCH(int, seeds);
        QFETCH(int, effort);
        const Rows rows =
            list.isEmpty()
                ? rowsOf({QString::fromUtf16(u"k\u00e4se"), QString::fromUtf16(u"s\u00fc\u00dfe"), "ab cd",
                          "x y", "KÄSE", "esel", "see", "ess", "eselsohr", "ohr", "oase", "SEESEE"})
                : readExampleList(list);
        QVERIFY(!rows.empty());
        for (int seed = 1; seed <= seeds; ++seed) {
            const Generation g(
                rows, compactOptions(effort, static_cast<std::uint64_t>(seed), frameWidth, frameHeight));
            const std::vector<std::u16string> answers = answersOf(const_cast<PuzzleModel &>(g.model));
            const auto fail = [&](const QString &why) {
                QFAIL(qPrintable(QStringLiteral("seed %1: %2\n%3").arg(seed).arg(why, text(g.model.grid))));
            };
            const std::vector<std::string> problems = checkPuzzle(g.model.grid, answers);
            if (!problems.empty())
                fail(QString::fromStdString(problems.front()));
            QCOMPARE(countClueCells(g.model.grid), g.stats.placed);
            QCOMPARE(g.stats.entries, static_cast<int>(answers.size()));
            const GridExtent extent = usedExtent(g.model.grid);
            const int fw = frameWidth > 0 ? frameWidth : gridSize;
            const int fh = frameHeight > 0 ? frameHeight : gridSize;
            if (g.stats.placed > 0 && (extent.columns > fw || extent.rows > fh))
                fail(QStringLiteral("the puzzle outgrows its frame"));
            const int left = entryThatStillFits(g.model.grid, answers, fw, fh);
            if (left >= 0)
                fail(QStringLiteral("entry %1 (%2) was left out but still fits")
                         .arg(left)
                         .arg(QString::fromStdU16String(answers[static_cast<std::size_t>(left)])));
        }
    }

    // The check above is only worth something if it sees an entry that fits.
    void leftOutCheckSeesRoom_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<int>("frameHeight");
        QTest::addColumn<int>("fitting");
        addRow("SEE down from the S", QStringList{"HAUS", "XYZ", "SEE"}, 5, 4, 2);
        addRow("no room for SEE", QStringList{"HAUS", "XYZ", "SEE"}, 5, 3, -1);
        addRow("UHU down through either U", QStringList{"HAUS", "UHU"}, 5, 4, 1);
        addRow("UHU across cannot cross HAUS", QStringList{"HAUS", "UHU"}, 9, 1, -1);
    }
    void leftOutCheckSeesRoom() {
        QFETCH(QStringList, answers);
        QFETCH(int, frameWidth);
        QFETCH(int, frameHeight);
        QFETCH(int, fitting);
        std::vector<std::u16string> texts;
        for (const QString &a : answers)
            texts.push_back(a.toStdU16String());
        QCOMPARE(entryThatStillFits(gridFromPicture({"#HAUS"}), texts, frameWidth, frameHeight), fitting);
    }

    // The two traps of rebuilding layouts. HAUS across is crossed in neighbouring cells by OMA (ending
    // on its A) and UHR (starting on its U).
    void movingALayoutKeepsEveryAnswer() {
        Workbench bench({u"HAUS", u"OMA", u"UHR"});
        CompactLayout layout(bench.words, 6, 6);
        layout.place(0, false, 1, 3);
        layout.place(1, true, 2, 1);
        layout.place(2, true, 3, 3);
        QCOMPARE(text(compactGrid(layout)), QString("..#..\n"
                                                    "..O..\n"
                                                    "..M#.\n"
                                                    "#HAUS\n"
                                                    "...H.\n"
                                                    "...R.\n"));
        QVERIFY(layoutProblems(layout).empty());
        // Answer by answer through the rules, UHR cannot follow OMA: its U would stand beside OMA's A.
        CompactLayout rebuilt(bench.words, 6, 6);
        rebuilt.place(1, true, 2, 1);
        QCOMPARE(rebuilt.crossings(2, true, 3, 3), -1);
        // Moving copies the layout as it is.
        const CompactLayout moved = bench.search.moved(layout, 9, 8, 2, 1);
        QCOMPARE(moved.placedCount(), 3);
        QCOMPARE(text(compactGrid(moved)), text(compactGrid(layout)));
        QCOMPARE(bench.search.cropped(moved).placedCount(), 3);
    }

    // Taking HAUS out would leave OMA's A and UHR's U side by side: one of them goes too.
    void removingAnAnswerTakesACrosserAlong() {
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            Workbench bench({u"HAUS", u"OMA", u"UHR"}, seed);
            CompactLayout layout(bench.words, 6, 6);
            layout.place(0, false, 1, 3);
            layout.place(1, true, 2, 1);
            layout.place(2, true, 3, 3);
            bench.search.removeAnswer(layout, 0);
            QCOMPARE(layout.placedCount(), 1);
            QVERIFY(layoutProblems(layout).empty());
        }
    }

    // The layout's own rule test against the program's placement test, on layouts that grow at random
    // and lose answers at random.
    void crossingsAgreeWithThePlacementTest() {
        const int n = static_cast<int>(crossingAnswers.size());
        RandomGenerator rng(99);
        int valid = 0;
        int invalid = 0;
        for (int round = 0; round < 30; ++round) {
            Workbench bench(crossingAnswers, static_cast<std::uint64_t>(round));
            CompactLayout layout(bench.words, gridSize, gridSize);
            layout.place(round % n, round % 2 == 0, 40, 40);
            for (int probe = 0; probe < 1500; ++probe) {
                if (probe % 100 == 99) {
                    bench.search.ruin(layout, 1 + static_cast<int>(rng.Random(4)));
                    const std::vector<std::string> problems = layoutProblems(layout);
                    QVERIFY2(problems.empty(), problems.empty() ? "" : problems.front().c_str());
                }
                const int word = static_cast<int>(rng.Random(static_cast<std::uint32_t>(n)));
                if (layout.placedCount() == 0)
                    layout.place(word, false, 40, 40);
                if (layout.placement(word).placed)
                    continue;
                const std::u16string &answer = crossingAnswers[static_cast<std::size_t>(word)];
                const int length = static_cast<int>(answer.size());
                // Near a letter of a placed answer, sometimes one cell off.
                int other = static_cast<int>(rng.Random(static_cast<std::uint32_t>(n)));
                while (!layout.placement(other).placed)
                    other = (other + 1) % n;
                const CompactPlacement &at = layout.placement(other);
                const int i = static_cast<int>(rng.Random(
                    static_cast<std::uint32_t>(crossingAnswers[static_cast<std::size_t>(other)].size())));
                const bool down = rng.Random(2) == 0;
                const int cx = at.down ? at.x : at.x + i;
                const int cy = at.down ? at.y + i : at.y;
                const int j = static_cast<int>(rng.Random(static_cast<std::uint32_t>(length)));
                int x = down ? cx : cx - j;
                int y = down ? cy - j : cy;
                x += static_cast<int>(rng.Random(8) == 0 ? rng.Random(3) : 1) - 1;
                y += static_cast<int>(rng.Random(8) == 0 ? rng.Random(3) : 1) - 1;
                const int line = down ? x : y;
                const int start = down ? y : x;
                if (line < 0 || line >= gridSize || start < 1 || start + length > gridSize)
                    continue;
                const int shared = layout.crossings(word, down, x, y);
                const PlacementTest t = testPlacement(gridAsPlaced(layout), answer, {down, line, start});
                QCOMPARE(shared < 0, t.conflict);
                QCOMPARE(shared > 0, !t.conflict && t.crossed);
                (shared > 0 ? valid : invalid) += 1;
                if (shared > 0 && rng.Random(2) == 0)
                    layout.place(word, down, x, y);
            }
        }
        QVERIFY2(valid > 1000 && invalid > 1000,
                 qPrintable(QStringLiteral("%1 valid, %2 invalid").arg(valid).arg(invalid)));
    }

    // Searching moves every way keeps the rules, and the layout kept step by step equals one placed
    // afresh.
    void searchMovesKeepTheRules() {
        for (std::uint64_t seed = 1; seed <= 10; ++seed) {
            Workbench bench(crossingAnswers, seed);
            CompactLayout layout(bench.words, 14, 12);
            bench.search.recreate(layout);
            for (int step = 0; step < 30; ++step) {
                bench.search.improve(layout, 20, static_cast<int>(crossingAnswers.size()) + 1);
                if (step % 10 == 9)
                    layout = bench.search.moved(layout, 13, 13,
                                                static_cast<int>(bench.search.random().Random(3)) - 1, 0);
                const std::vector<std::string> problems = layoutProblems(layout);
                QVERIFY2(problems.empty(), problems.empty() ? "" : problems.front().c_str());
                CompactLayout afresh(bench.words, layout.width(), layout.height());
                for (int w = 0; w < static_cast<int>(crossingAnswers.size()); ++w)
                    if (layout.placement(w).placed)
                        afresh.place(w, layout.placement(w).down, layout.placement(w).x,
                                     layout.placement(w).y);
                QCOMPARE(afresh.usedCells(), layout.usedCells());
                for (int w = 0; w < static_cast<int>(crossingAnswers.size()); ++w)
                    for (int x = 0; x < layout.width(); ++x)
                        for (int y = 0; y < layout.height(); ++y)
                            for (const bool down : {false, true})
                                QCOMPARE(afresh.crossings(w, down, x, y), layout.crossings(w, down, x, y));
            }
        }
    }

    void sameResultOnAnyThreadCount_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<int>("frameHeight");
        addRow("100 words", QString("woerter-100.txt"), 0, 0);
        addRow("50 words in 22 x 33", QString("woerter-50.txt"), 22, 33);
    }
    void sameResultOnAnyThreadCount() {
        QFETCH(QString, list);
        QFETCH(int, frameWidth);
        QFETCH(int, frameHeight);
        const Rows rows = readExampleList(list);
        const Generation one(rows, compactOptions(20000, 7, frameWidth, frameHeight, 1));
        for (int threads : {2, 3, 0, 1}) {
            const Generation many(rows, compactOptions(20000, 7, frameWidth, frameHeight, threads));
            QVERIFY(samePuzzle(one, many));
            QCOMPARE(many.stats.placed, one.stats.placed);
        }
        const Generation other(rows, compactOptions(20000, 8, frameWidth, frameHeight));
        QVERIFY(!(other.model.grid == one.model.grid));
    }

    void progressReportsAndCancels_data() {
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("cancelAt"); // 0: never
        addRow("one thread", 1, 0);
        addRow("two threads", 2, 0);
        addRow("one thread, cancelled", 1, 5000);
        addRow("two threads, cancelled", 2, 5000);
    }
    void progressReportsAndCancels() {
        QFETCH(int, threads);
        QFETCH(int, cancelAt);
        const int effort = 40000;
        GenerationOptions options = compactOptions(effort, 11, 0, 0, threads);
        ProgressRecorder progress(cancelAt);
        options.onRunDone = progress.callback();
        const std::vector<int> &reports = progress.reports;
        PuzzleModel model;
        model.grid = freeGrid();
        GeneratorStore store(0);
        const GenerationStats stats =
            GenerateCompact(VectorWordTable(readExampleList("woerter-100.txt"), 0), model, store, options);
        QVERIFY2(progress.problem().empty(), progress.problem().c_str());
        QVERIFY(reports.back() <= effort);
        QCOMPARE(stats.cancelled, cancelAt > 0);
        if (cancelAt == 0) {
            QCOMPARE(reports.back(), effort);
            QCOMPARE(stats.placed, 100);
        } else {
            QVERIFY(reports.back() >= cancelAt && reports.back() < effort);
            QCOMPARE(measureGrid(model.grid).usedCells, 0); // grid untouched
            QCOMPARE(store.runs(), 0);
        }
    }

    // Letters that no cell holds as themselves are written as "?" and never crossed, not even by a
    // question mark or by the same letter.
    void lettersNoCellHoldsAreNeverCrossed() {
        const Rows rows =
            rowsOf({QString::fromUtf16(u"\u03a9M\u03a9"), "?M?", QString::fromUtf16(u"\u03a9\u03a9"),
                    QString::fromUtf16(u"\u0001MA"), "MAMA", "OMA", "AMME", "?????"});
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            Generation g(rows, compactOptions(3000, seed));
            const std::vector<std::u16string> answers = answersOf(g.model);
            QVERIFY(checkPuzzle(g.model.grid, answers).empty());
            std::vector<int> cover(gridCells, 0);
            std::vector<bool> unheld(gridCells, false);
            for (std::uint32_t i = 0; i < g.model.entryCount(); ++i) {
                const TPuzzleEntry *e = g.model.entry(i);
                if (e->tries != 0)
                    continue;
                const Placement p{e->down != 0, e->line, e->start};
                const std::u16string &a = answers[i];
                for (int j = 0; j < static_cast<int>(a.size()); ++j) {
                    const int cell = lineCellIndex(p, e->line, e->start + j);
                    ++cover[static_cast<std::size_t>(cell)];
                    if (!isLetterCell(a[static_cast<std::size_t>(j)]))
                        unheld[static_cast<std::size_t>(cell)] = true;
                }
            }
            for (int cell = 0; cell < gridCells; ++cell)
                if (unheld[static_cast<std::size_t>(cell)])
                    QVERIFY2(cover[static_cast<std::size_t>(cell)] == 1, qPrintable(text(g.model.grid)));
        }
    }

    // The entries' placement fields describe the puzzle: placed entries point at their clue cell, the
    // others are given up.
    void entriesDescribeThePuzzle() {
        const Generation g(readExampleList("woerter-100.txt"), compactOptions(20000, 3, 14, 14));
        QVERIFY(g.stats.placed < 100);
        int placed = 0;
        for (std::uint32_t i = 0; i < g.model.entryCount(); ++i) {
            const TPuzzleEntry *e = const_cast<PuzzleModel &>(g.model).entry(i);
            QCOMPARE(e->done, std::uint8_t(1));
            QCOMPARE(e->arrowkind, 0);
            if (e->tries == roundsPerEntry)
                continue;
            QCOMPARE(e->tries, 0);
            ++placed;
            const int clue = e->down ? cellIndex(e->line, e->start - 1) : cellIndex(e->start - 1, e->line);
            QCOMPARE(g.model.grid[static_cast<std::size_t>(clue)], clueCellValue(i, e->down != 0));
        }
        QCOMPARE(placed, g.stats.placed);
        QCOMPARE(g.store.runs(), 1);
        QCOMPARE(g.store.mostPlaced, g.stats.placed);
        // The store keeps the one run's placements, from which the window builds the grid again.
        QVERIFY(g.store.placementsOf(0));
        QVERIFY(runGrid(g.model, *g.store.placementsOf(0)) == g.model.grid);
    }

    void edgeCases() {
        // No entries: nothing placed, grid all free.
        Generation none({{u"nur Frage", u""}}, compactOptions(1000, 5));
        QCOMPARE(none.model.entryCount(), 0u);
        QCOMPARE(measureGrid(none.model.grid).usedCells, 0);
        QVERIFY(!none.stats.cancelled);
        // One answer of 99 letters fills a whole line of the grid, clue cell included.
        Generation longest({{u"lang", std::u16string(99, u'W')}}, compactOptions(1000, 5));
        QCOMPARE(longest.stats.placed, 1);
        QCOMPARE(longest.stats.area, 100);
        // ... but no frame of 60 x 60.
        Generation framed({{u"lang", std::u16string(99, u'W')}}, compactOptions(1000, 5, 60, 60));
        QCOMPARE(framed.stats.placed, 0);
        // Two answers without a common letter: only one can be placed.
        Generation apart({{u"a", u"ABCDEFG"}, {u"b", u"XYZ"}}, compactOptions(1000, 5));
        QCOMPARE(apart.stats.placed, 1);
        QVERIFY(checkPuzzle(apart.model.grid, answersOf(apart.model)).empty());
        // An answer cut to nothing by a zero code unit has no letter to cross with.
        Generation cut({{u"a", std::u16string(u"\0XY", 3)}, {u"b", u"XY"}, {u"c", u"YX"}},
                       compactOptions(1000, 5));
        QCOMPARE(cut.stats.placed, 2);
        QVERIFY(checkPuzzle(cut.model.grid, answersOf(cut.model)).empty());
        // The effort is at least one step, and a frame larger than the grid is the grid.
        Generation tiny(readExampleList("woerter-20.txt"), compactOptions(0, 5, 500, 500));
        QVERIFY(tiny.stats.placed >= 1);
        QVERIFY(checkPuzzle(tiny.model.grid, answersOf(tiny.model)).empty());
    }

    // What the compact layout is for: far denser puzzles than the standard layout's (about 22 %).
    void compactPuzzlesAreDense_data() {
        QTest::addColumn<QString>("list");
        addRow("20 words", QString("woerter-20.txt"));
        addRow("100 words", QString("woerter-100.txt"));
    }
    void compactPuzzlesAreDense() {
        QFETCH(QString, list);
        const Rows rows = readExampleList(list);
        const Generation g(rows, compactOptions(60000, 1));
        QCOMPARE(g.stats.placed, static_cast<int>(rows.size()));
        const double fill = static_cast<double>(g.stats.usedCells) / g.stats.area;
        QVERIFY2(fill >= 0.44, qPrintable(QString::number(fill)));
    }
};

QTEST_APPLESS_MAIN(TestCompactGenerator)
#include "tst_compactgenerator.moc"
