#include "crossinggrid.h"
#include "fastrun.h"
#include "gridtext.h"
#include "placement.h"
#include "randomgenerator.h"
#include "rankedlist.h"
#include "roomtable.h"

#include <QtTest>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

using Answers = std::vector<std::u16string>;

int placementCode(const Placement &at) {
    return (at.down ? 1 : 0) * 10000 + at.line * 100 + at.start;
}

// Every valid placement of a crossing answer, found by testing all combinations of direction, line and
// start exactly as one literal attempt does.
std::vector<Placement> allValidPlacements(const Grid &grid, const std::u16string &answer) {
    std::vector<Placement> valid;
    const int length = static_cast<int>(answer.size());
    for (int down = 0; down < 2; ++down)
        for (int line = 0; line < gridSize; ++line)
            for (int start = 1; start + length <= gridSize; ++start) {
                const Placement at{down == 1, line, start};
                const PlacementTest test = testPlacement(grid, answer, at);
                if (!test.conflict && test.crossed)
                    valid.push_back(at);
            }
    return valid;
}

std::vector<int> codes(const std::vector<Placement> &placements) {
    std::vector<int> c;
    for (const Placement &at : placements)
        c.push_back(placementCode(at));
    std::sort(c.begin(), c.end());
    return c;
}

// The crossable cells of the letter with room for before letters before them and after letters after
// them, asked for one of the rooms alone where the other is 0.
std::set<std::uint32_t> candidateKeys(const CrossingGrid &grid, std::int32_t letter, int before, int after) {
    std::set<std::uint32_t> keys;
    const auto count = [&] {
        if (after == 0)
            return grid.countWithRoomBefore(letter, before);
        return before == 0 ? grid.countWithRoomAfter(letter, after)
                           : grid.countWithRooms(letter, before, after);
    };
    const auto find = [&](int i) {
        if (after == 0)
            return grid.withRoomBefore(letter, before, i);
        return before == 0 ? grid.withRoomAfter(letter, after, i) : grid.withRooms(letter, before, after, i);
    };
    for (int i = 0; i < count(); ++i)
        keys.insert(find(i));
    return keys;
}

// Checks, for one answer on the current grid, that the crossings find exactly the valid placements and
// that the candidates by either room and by both include the first crossing of each.
QString compareWithAllPlacements(const CrossingGrid &grid, const std::u16string &text) {
    const auto problem = [&text](const QString &what) {
        return QString::fromStdU16String(text) + ": " + what;
    };
    const FastAnswer answer = makeFastAnswer(text);
    const Grid cells = grid.cells();
    const std::vector<Placement> valid = allValidPlacements(cells, text);
    std::vector<Placement> fits;
    grid.collectFits(answer, fits);
    const std::vector<int> validCodes = codes(valid);
    if (codes(fits) != validCodes)
        return problem(QStringLiteral("%1 placements found, %2 valid").arg(fits.size()).arg(valid.size()));
    // Any crossing, asked directly, fits exactly when it is the first crossing of a valid placement.
    int accepted = 0;
    for (int j = 0; j < answer.length; ++j) {
        const std::int32_t letter = answer.match[static_cast<std::size_t>(j)];
        if (letter == noMatch)
            continue;
        for (std::uint32_t key : candidateKeys(grid, letter, 0, 0)) {
            Placement at;
            if (!grid.firstCrossingFits(key, j, answer, at))
                continue;
            ++accepted;
            const int p = at.start + j;
            bool firstCrossing = key == CrossingGrid::crossingKey(at, p);
            for (int q = at.start; q < p; ++q)
                firstCrossing = firstCrossing &&
                                isFreeCell(cells[static_cast<std::size_t>(at.down ? cellIndex(at.line, q)
                                                                                  : cellIndex(q, at.line))]);
            if (!firstCrossing ||
                !std::binary_search(validCodes.begin(), validCodes.end(), placementCode(at)))
                return problem(QStringLiteral("crossing %1 at letter %2 accepted wrongly").arg(key).arg(j));
        }
    }
    if (accepted != static_cast<int>(valid.size()))
        return problem(
            QStringLiteral("%1 crossings accepted, %2 valid placements").arg(accepted).arg(valid.size()));
    std::map<std::tuple<std::int32_t, int, int>, std::set<std::uint32_t>> known;
    for (const Placement &at : valid) {
        int j = 0;
        int cell = 0;
        for (;; ++j) {
            const int p = at.start + j;
            cell = at.down ? cellIndex(at.line, p) : cellIndex(p, at.line);
            if (!isFreeCell(cells[static_cast<std::size_t>(cell)]))
                break;
        }
        const std::int32_t letter = answer.match[static_cast<std::size_t>(j)];
        const std::uint32_t key = CrossingGrid::crossingKey(at, at.start + j);
        const int after = answer.length - 1 - j;
        // The grid holds rooms up to its limit: asking for more gets the same cells.
        auto candidates = [&](int before, int after) -> const std::set<std::uint32_t> & {
            before = std::min(before, grid.roomLimit());
            after = std::min(after, grid.roomLimit());
            const auto id = std::make_tuple(letter, before, after);
            auto found = known.find(id);
            if (found == known.end())
                found = known.emplace(id, candidateKeys(grid, letter, before, after)).first;
            return found->second;
        };
        if (!candidates(j, 0).count(key) || !candidates(0, after).count(key) ||
            !candidates(j, after).count(key))
            return problem(
                QStringLiteral("first crossing of placement %1 is no candidate").arg(placementCode(at)));
        if (!grid.roomsAllow(key, std::min(j, grid.roomLimit()), std::min(after, grid.roomLimit())))
            return problem(
                QStringLiteral("rooms kept for placement %1 are too small").arg(placementCode(at)));
    }
    return {};
}

// Checks that the cells found by rooms are exactly the crossable cells whose kept rooms allow them, for
// every letter and every pair of rooms up to the grid's limit: the groups and counts the grid keeps
// agree with the rooms it keeps per cell.
QString compareGroupsWithRooms(const CrossingGrid &grid, const std::vector<std::int32_t> &letters) {
    for (std::int32_t letter : letters) {
        const std::set<std::uint32_t> all = candidateKeys(grid, letter, 0, 0);
        for (int before = 0; before <= grid.roomLimit(); ++before)
            for (int after = 0; after <= grid.roomLimit(); ++after) {
                std::set<std::uint32_t> allowed;
                for (std::uint32_t key : all)
                    if (grid.roomsAllow(key, before, after))
                        allowed.insert(key);
                const std::set<std::uint32_t> found = candidateKeys(grid, letter, before, after);
                if (found != allowed)
                    return QStringLiteral(
                               "letter %1, room before %2, room after %3: %4 cells found, %5 allowed")
                        .arg(letter)
                        .arg(before)
                        .arg(after)
                        .arg(found.size())
                        .arg(allowed.size());
            }
    }
    return {};
}

// Rows for the tests of the groupings by key: keys drawn from 0 to limit, and from 0 to limitAfter once
// the grouping has been cleared.
void addKeyLimits() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("limitAfter");
    QTest::newRow("keys 0") << 0 << 0;
    QTest::newRow("keys up to 3") << 3 << 3;
    QTest::newRow("keys up to the most") << keyedgroups::maxKey << keyedgroups::maxKey;
    QTest::newRow("the most, then up to 2") << keyedgroups::maxKey << 2;
    QTest::newRow("up to 2, then the most") << 2 << keyedgroups::maxKey;
}

} // namespace

class TestCrossingGrid : public QObject {
    Q_OBJECT

private slots:
    void rankedListCountsAndFindsByKey_data() { addKeyLimits(); }
    void rankedListCountsAndFindsByKey() {
        QFETCH(int, limit);
        QFETCH(int, limitAfter);
        RankedList list;
        list.clear();
        RankedList::Slots places(200, -1);
        std::map<std::uint32_t, int> keys; // the reference: item -> key
        RandomGenerator rng(static_cast<std::uint64_t>(limit) + 1);
        for (int step = 0; step < 3000; ++step) {
            if (step == 1500) {
                list.clear();
                keys.clear();
                places.assign(places.size(), -1);
                limit = limitAfter;
            }
            const std::uint32_t item = rng.Random(200);
            const int key = static_cast<int>(rng.Random(static_cast<std::uint32_t>(limit) + 1));
            const auto found = keys.find(item);
            if (found == keys.end()) {
                list.insert(item, key, places);
                keys[item] = key;
            } else if (rng.Random(4) == 0) {
                list.remove(item, found->second, places);
                keys.erase(found);
            } else {
                list.changeKey(item, found->second, key, places);
                found->second = key;
            }
            QCOMPARE(list.size(), static_cast<int>(keys.size()));
            for (int m = 0; m <= limit + 1; ++m) {
                int expected = 0;
                for (const auto &k : keys)
                    expected += k.second >= m ? 1 : 0;
                QCOMPARE(list.countAtLeast(m), expected);
                std::set<std::uint32_t> seen;
                for (int i = 0; i < expected; ++i) {
                    const std::uint32_t at = list.atLeast(m, i);
                    QVERIFY(keys.count(at) && keys[at] >= m);
                    QVERIFY(seen.insert(at).second);
                }
            }
        }
    }

    void roomTableCountsAndFindsByBothRooms_data() { addKeyLimits(); }
    void roomTableCountsAndFindsByBothRooms() {
        QFETCH(int, limit);
        QFETCH(int, limitAfter);
        RoomTable table;
        table.clear();
        constexpr std::uint32_t items = 60;
        RoomTable::Slots places(items, -1);
        std::map<std::uint32_t, std::pair<int, int>> rooms; // the reference: item -> (before, after)
        RandomGenerator rng(static_cast<std::uint64_t>(limit) + 1);
        const auto room = [&] { return static_cast<int>(rng.Random(static_cast<std::uint32_t>(limit) + 1)); };
        for (int step = 0; step < 600; ++step) {
            if (step == 300) {
                // Filled anew at once, the items counted together.
                table.clear();
                rooms.clear();
                places.assign(places.size(), -1);
                limit = limitAfter;
                for (std::uint32_t item = 0; item < items; item += 2) {
                    rooms[item] = {room(), room()};
                    table.putUncounted(item, rooms[item].first, rooms[item].second, places);
                }
                table.countAll();
            }
            const std::uint32_t item = rng.Random(items);
            const std::pair<int, int> to{room(), rng.Random(4) == 0 ? limit : room()};
            const auto found = rooms.find(item);
            if (found == rooms.end()) {
                table.insert(item, to.first, to.second, places);
                rooms[item] = to;
            } else if (rng.Random(4) == 0) {
                table.remove(item, found->second.first, found->second.second, places);
                rooms.erase(found);
            } else {
                // Often only one of the rooms changes, as when a cell's rooms are measured anew.
                const std::pair<int, int> moved =
                    rng.Random(2) == 0 ? std::make_pair(to.first, found->second.second) : to;
                table.move(item, found->second.first, found->second.second, moved.first, moved.second,
                           places);
                found->second = moved;
            }
            QCOMPARE(table.size(), static_cast<int>(rooms.size()));
            for (int before = 0; before <= std::min(limit + 1, RoomTable::maxRoom); ++before)
                for (int after = 0; after <= std::min(limit + 1, RoomTable::maxRoom); ++after) {
                    std::set<std::uint32_t> expected;
                    for (const auto &r : rooms)
                        if (r.second.first >= before && r.second.second >= after)
                            expected.insert(r.first);
                    QCOMPARE(table.count(before, after), static_cast<int>(expected.size()));
                    std::set<std::uint32_t> seen;
                    for (int i = 0; i < table.count(before, after); ++i)
                        QVERIFY(seen.insert(table.find(before, after, i)).second);
                    QVERIFY2(seen == expected,
                             qPrintable(QStringLiteral("before %1, after %2").arg(before).arg(after)));
                }
        }
    }

    // A free cell beside a letter ends the room after of the crossable cells before it; once an answer
    // running through it makes it a letter, the room reaches further. The answers go in at fixed
    // places, and the crossings must then still find every valid placement.
    void roomAfterWidensWhenItsEndBecomesALetter_data() {
        QTest::addColumn<int>("roomsAfterFrom");
        QTest::newRow("rooms after kept") << 0;
        QTest::newRow("rooms after kept from the third answer on") << 12;
    }
    void roomAfterWidensWhenItsEndBecomesALetter() {
        QFETCH(int, roomsAfterFrom);
        const std::vector<std::pair<std::u16string, Placement>> answers{
            {u"ABCDE", Placement{false, 10, 11}}, // across row 10 from column 11
            {u"XPQR", Placement{true, 14, 12}},   // down column 14 from row 12: (13, 12) can take no letter
            {u"MNX", Placement{false, 12, 12}},   // across row 12, crossing X: (13, 12) becomes N
        };
        std::vector<FastAnswer> fastAnswers;
        for (const auto &a : answers)
            fastAnswers.push_back(makeFastAnswer(a.first));
        fastAnswers.push_back(makeFastAnswer(u"CAN"));
        CrossingGrid grid(4, crossingLetters(fastAnswers), roomsAfterFrom);
        grid.reset();
        Grid expected = freeGrid();
        for (std::size_t i = 0; i < answers.size(); ++i) {
            grid.commit(fastAnswers[i], answers[i].second, static_cast<std::uint32_t>(i));
            commitPlacement(expected, answers[i].first, answers[i].second, static_cast<std::uint32_t>(i));
            // Every room measured anew, as after missed crossings, up to the last answer: C's room
            // after ends at (13, 12) until MNX goes in.
            if (i + 1 < answers.size())
                for (std::int32_t letter : crossingLetters(fastAnswers))
                    for (std::uint32_t key : candidateKeys(grid, letter, 0, 0))
                        grid.refreshRooms(key);
        }
        QVERIFY(grid.cells() == expected);
        // CAN down column 13 from row 10: C crossed, A into a free cell, N onto the new N.
        const std::vector<Placement> valid = allValidPlacements(grid.cells(), u"CAN");
        QVERIFY(std::any_of(valid.begin(), valid.end(),
                            [](const Placement &at) { return at.down && at.line == 13 && at.start == 10; }));
        const QString problem = compareWithAllPlacements(grid, u"CAN");
        QVERIFY2(problem.isEmpty(),
                 qPrintable(problem + "\n" + QString::fromStdU16String(gridText(grid.cells())).left(1600)));
    }

    // A random walk of placements, each drawn from all valid ones: at every step the crossings must
    // find exactly the placements that the literal test accepts.
    void crossingsFindExactlyTheValidPlacements_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("roomLimit");      // -1: the longest answer's length - 1
        QTest::addColumn<int>("roomsAfterFrom"); // used cells from which rooms after are kept
        QTest::addColumn<bool>("measureAnew");   // rooms of random cells measured anew after each step
        QTest::addColumn<int>("seed");
        const int always = 0;
        const int never = gridCells + 1;
        const int midway = 60;
        const QStringList words{"KATZE",   "HUND", "ELEFANT", "GIRAFFE", "ZEBRA", "AMEISE",  "ESEL",  "TIGER",
                                "NASHORN", "ENTE", "AFFE",    "REH",     "HAI",   "SEEIGEL", "ANANAS"};
        QTest::newRow("animals") << words << -1 << always << false << 1;
        QTest::newRow("animals, other seed") << words << -1 << always << false << 2;
        QTest::newRow("animals, rooms after from midway") << words << -1 << midway << true << 7;
        QTest::newRow("animals, no rooms after") << words << -1 << never << true << 8;
        QTest::newRow("animals, rooms held up to 2") << words << 2 << always << false << 3;
        QTest::newRow("repeated letters")
            << QStringList{"ANANAS", "BANANE", "NASA", "ANNA", "SAAL", "AA"} << -1 << always << false << 3;
        QTest::newRow("repeated letters, no rooms after")
            << QStringList{"ANANAS", "BANANE", "NASA", "ANNA", "SAAL", "AA"} << -1 << never << true << 9;
        const QStringList longAnswers{QString(99, 'A'), QString("AB").repeated(30), "BAB", "ABBA"};
        QTest::newRow("long answers") << longAnswers << -1 << always << false << 4;
        QTest::newRow("long answers, rooms held up to 5") << longAnswers << 5 << always << false << 6;
        QTest::newRow("long answers, rooms after from midway") << longAnswers << -1 << midway << true << 10;
        const QStringList uncrossable{
            QString::fromUtf16(u"\u03a9?\u03a9"), "?A?", QString::fromUtf16(u"\u0001A\u0001"), " A ", "A A",
            QString::fromUtf16(u"\u00c4 \u00c4"), "A?A"};
        QTest::newRow("codes that cannot cross") << uncrossable << -1 << always << false << 5;
    }
    void crossingsFindExactlyTheValidPlacements() {
        QFETCH(QStringList, answers);
        QFETCH(int, roomLimit);
        QFETCH(int, roomsAfterFrom);
        QFETCH(bool, measureAnew);
        QFETCH(int, seed);
        Answers texts;
        std::vector<FastAnswer> fastAnswers;
        int longest = 0;
        for (const QString &a : answers) {
            texts.push_back(a.toStdU16String());
            fastAnswers.push_back(makeFastAnswer(texts.back()));
            longest = std::max(longest, static_cast<int>(a.size()));
        }
        const std::vector<std::int32_t> letters = crossingLetters(fastAnswers);
        CrossingGrid grid(roomLimit < 0 ? longest - 1 : roomLimit, letters, roomsAfterFrom);
        grid.reset();
        // The grid as the literal generator's placements leave it, kept beside the crossing grid.
        Grid cells = grid.cells();
        RandomGenerator rng(static_cast<std::uint64_t>(seed));
        const std::size_t first = rng.Random(static_cast<std::uint32_t>(texts.size()));
        const Placement firstAt = randomPlacement(static_cast<int>(texts[first].size()), rng);
        commitPlacement(cells, texts[first], firstAt, 0);
        grid.commit(fastAnswers[first], firstAt, 0);
        for (std::uint32_t step = 1; step < 40; ++step) {
            QVERIFY(grid.cells() == cells);
            const QString groups = compareGroupsWithRooms(grid, letters);
            if (!groups.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1, %2").arg(step).arg(groups)));
            std::vector<std::pair<std::size_t, Placement>> choices;
            for (std::size_t a = 0; a < texts.size(); ++a) {
                const QString problem = compareWithAllPlacements(grid, texts[a]);
                if (!problem.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("step %1, %2\n%3")
                                         .arg(step)
                                         .arg(problem)
                                         .arg(QString::fromStdU16String(gridText(cells)))));
                for (const Placement &at : allValidPlacements(cells, texts[a]))
                    choices.emplace_back(a, at);
            }
            if (choices.empty())
                break;
            const auto &chosen = choices[rng.Random(static_cast<std::uint32_t>(choices.size()))];
            commitPlacement(cells, texts[chosen.first], chosen.second, step);
            grid.commit(fastAnswers[chosen.first], chosen.second, step);
            // The generator measures the rooms of cells anew when their crossings miss: a third of
            // the crossable cells, drawn at random, are measured anew before the next comparison.
            if (measureAnew)
                for (std::int32_t letter : letters)
                    for (std::uint32_t key : candidateKeys(grid, letter, 0, 0))
                        if (rng.Random(3) == 0)
                            grid.refreshRooms(key);
        }
    }
};

QTEST_APPLESS_MAIN(TestCrossingGrid)
#include "tst_crossinggrid.moc"
