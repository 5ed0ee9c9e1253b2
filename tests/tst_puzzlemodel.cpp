#include "gridpicture.h"
#include "placement.h"
#include "puzzlemodel.h"

#include <QtTest>

class TestPuzzleModel : public QObject {
    Q_OBJECT

private slots:
    void clueCellEncoding_data() {
        QTest::addColumn<quint32>("entry");
        QTest::addColumn<bool>("down");
        QTest::addColumn<qint32>("value");
        QTest::newRow("entry 5 across") << 5u << false << 261;
        QTest::newRow("entry 5 down") << 5u << true << 1073742085;
        QTest::newRow("entry 0 across") << 0u << false << 256;
        QTest::newRow("largest index with arrow kind 0")
            << (0xFFFFFu - 256) << true << (0xFFFFF + 0x40000000);
    }
    void clueCellEncoding() {
        QFETCH(quint32, entry);
        QFETCH(bool, down);
        QFETCH(qint32, value);
        QCOMPARE(clueCellValue(entry, down), value);
        QVERIFY(isClueCell(value));
        QCOMPARE(clueEntryIndex(value), entry);
        QCOMPARE(clueRunsDown(value), down);
        QCOMPARE(clueArrowKind(value), 0);
    }

    void arrowKindDecoding() {
        const std::int32_t v = clueBase + 7 + (3 << arrowKindShift) + clueDownBit;
        QCOMPARE(clueArrowKind(v), 3);
        QCOMPARE(clueEntryIndex(v), 7u);
        QVERIFY(clueRunsDown(v));
    }

    void cellClassification_data() {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("kind");
        QTest::newRow("free") << 1 << "free";
        QTest::newRow("empty letter 0") << 0 << "letter";
        QTest::newRow("A") << 65 << "letter";
        QTest::newRow("255") << 255 << "letter";
        QTest::newRow("256") << 256 << "clue";
        QTest::newRow("negative") << -5 << "letter";
    }
    void cellClassification() {
        QFETCH(qint32, value);
        QFETCH(QString, kind);
        QCOMPARE(isFreeCell(value), kind == "free");
        QCOMPARE(isLetterCell(value), kind == "letter");
        QCOMPARE(isClueCell(value), kind == "clue");
    }

    void letterCellValues_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("stored");
        QTest::newRow("A") << 0x41 << 0x41;
        QTest::newRow("Ä") << 196 << 196;
        QTest::newRow("ß") << 223 << 223;
        QTest::newRow("ÿ") << 255 << 255;
        QTest::newRow("Ω above 255") << 0x3A9 << 63;
        QTest::newRow("code 1 would read as free") << 1 << 63;
    }
    void letterCellValues() {
        QFETCH(int, code);
        QFETCH(int, stored);
        QCOMPARE(letterCellValue(static_cast<char16_t>(code)), stored);
    }

    void entryTextsAreOwnedZeroTerminatedCopies() {
        PuzzleModel model;
        std::u16string clue = u"Haustier";
        TPuzzleEntry *e = model.AddEntry(clue, u"KATZE");
        QVERIFY(e);
        QCOMPARE(model.currentEntry, e);
        clue[0] = u'X';
        QCOMPARE(entryText(e->clue), std::u16string(u"Haustier"));
        QCOMPARE(e->answer[5], u'\0');
        QCOMPARE(entryText(e->answer), std::u16string(u"KATZE"));
        TPuzzleEntry *empty = model.AddEntry(u"", u"");
        QVERIFY(empty->clue && empty->answer); // an empty text still owns its terminator
        QCOMPARE(empty->clue[0], u'\0');
        QCOMPARE(entryTextLength(empty->answer), std::size_t(0));
        QCOMPARE(empty->spare, std::uint8_t(0));
        QCOMPARE(empty->padding, std::uint8_t(0));
        QCOMPARE(empty->arrowkind, 0);
    }

    void freeRatenEmptiesList() {
        PuzzleModel model;
        for (int i = 0; i < 150; ++i)
            model.AddEntry(u"Frage", u"ANTWORT");
        model.releaseEntries();
        QCOMPARE(model.entryCount(), 0u);
        QVERIFY(!model.currentEntry);
        model.releaseEntries(); // twice is harmless
    }

    void entryOfClueCell() {
        PuzzleModel model;
        model.AddEntry(u"a", u"A");
        model.AddEntry(u"b", u"B");
        model.entry(0);
        QCOMPARE(model.entryOfClueCell(clueCellValue(1, true)), &model.entryAt(1));
        QCOMPARE(model.currentEntry, &model.entryAt(0)); // looking up leaves the cursor
        QVERIFY(!model.entryOfClueCell(clueCellValue(2, false)));
    }

    // Every entry a clue cell names takes that cell's direction and arrow kind, the last cell column by
    // column when two name the same entry; an entry no cell names keeps its fields.
    void clueCellsGiveTheirEntriesDirectionAndKind() {
        PuzzleModel model;
        for (const char16_t *answer : {u"HAUS", u"OST", u"X", u"FREI"}) {
            TPuzzleEntry *e = model.AddEntry(u"Frage", answer);
            e->down = 7;
            e->arrowkind = 99;
        }
        model.grid = gridFromPicture({".....#", "#HAUS.", ".....O", "..#..S", "..X..T"});
        model.grid[cellIndex(5, 0)] = clueCellValue(1, true);
        model.grid[cellIndex(2, 3)] = clueCellValue(2, true, 1);
        model.grid[cellIndex(9, 9)] = clueCellValue(2, false, 2); // later in column order: it counts
        model.grid[cellIndex(9, 8)] = clueCellValue(9, true);     // no such entry
        model.storeClueDirections();
        const std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {0, 2}, {7, 99}};
        for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
            QCOMPARE(int(model.entry(i)->down), expected[i].first);
            QCOMPARE(model.entry(i)->arrowkind, expected[i].second);
        }
    }

    void freshModelGridHoldsZeros() {
        PuzzleModel model;
        for (std::int32_t v : model.grid)
            QCOMPARE(v, 0);
    }

    void takeOverCopiesEntriesAndGrid() {
        PuzzleModel source;
        source.AddEntry(u"Tier", u"HUND")->line = 7;
        source.grid.fill(cellFree);
        source.grid[3] = 'H';
        PuzzleModel target;
        target.AddEntry(u"alt", u"ALT");
        target.takeOver(source);
        QCOMPARE(target.entryCount(), 1u);
        QCOMPARE(entryText(target.entry(0)->answer), std::u16string(u"HUND"));
        QCOMPARE(target.entry(0)->line, 7);
        QCOMPARE(target.grid[3], std::int32_t('H'));
        QCOMPARE(source.entryCount(), 0u);
    }

    // Placements tested against small pictures; the answer goes across on row `line` from column
    // `start` (clue cell at start - 1) unless `down` is set.
    void placementTest_data() {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("conflict");
        QTest::addColumn<bool>("crossed");

        const QStringList abcDown{"..A....", "..B....", "..C...."};
        QTest::newRow("empty grid") << QStringList{"......."} << "HAUS" << false << 0 << 1 << false << false;
        QTest::newRow("crosses a matching letter") << abcDown << "XBY" << false << 1 << 1 << false << true;
        QTest::newRow("other letter in the way") << abcDown << "XQY" << false << 1 << 1 << true << false;
        QTest::newRow("clue cell under a letter")
            << QStringList{"...#..."} << "HAUS" << false << 0 << 1 << true << false;
        QTest::newRow("letter beside a free cell")
            << QStringList{"...Z...", "......."} << "HAUS" << false << 1 << 1 << true << false;
        QTest::newRow("clue beside a free cell is fine")
            << QStringList{"...#...", "......."} << "HAUS" << false << 1 << 1 << false << false;
        QTest::newRow("neighbours of a crossing are not tested")
            << QStringList{".Z.....", ".B.....", ".Z....."} << "BX" << false << 1 << 1 << false << true;
        QTest::newRow("letter right after the end")
            << QStringList{".....Q."} << "HAUS" << false << 0 << 1 << true << false;
        QTest::newRow("clue right after the end is fine")
            << QStringList{".....#."} << "HAUS" << false << 0 << 1 << false << false;
        QTest::newRow("clue position taken by a letter")
            << QStringList{"Q......"} << "HAUS" << false << 0 << 1 << true << false;
        QTest::newRow("clue position taken by a clue")
            << QStringList{"#......"} << "HAUS" << false << 0 << 1 << true << false;
        QTest::newRow("down crossing")
            << QStringList{"......", "..HAUS", "......"} << "UX" << true << 4 << 1 << false << true;
        QTest::newRow("down beside a letter")
            << QStringList{"......", "...A..", "......"} << "XYZ" << true << 2 << 1 << true << false;
        QTest::newRow("clue cell never matches a letter")
            << QStringList{"..#...."} << "ABC" << false << 0 << 1 << true << false;
    }
    void placementTest() {
        QFETCH(QStringList, picture);
        QFETCH(QString, answer);
        QFETCH(bool, down);
        QFETCH(int, line);
        QFETCH(int, start);
        QFETCH(bool, conflict);
        QFETCH(bool, crossed);
        std::vector<std::string> rows;
        for (const QString &r : picture)
            rows.push_back(r.toStdString());
        const PlacementTest t =
            testPlacement(gridFromPicture(rows), answer.toStdU16String(), Placement{down, line, start});
        QCOMPARE(t.conflict, conflict);
        QCOMPARE(t.crossed, crossed);
    }

    void placementAtGridEdges() {
        Grid g = freeGrid();
        // 99 letters fill a line from position 1; nothing lies after the last letter.
        const std::u16string longest(99, u'A');
        const Placement at{true, 99, 1};
        QVERIFY(!testPlacement(g, longest, at).conflict);
        commitPlacement(g, longest, at, 3);
        QCOMPARE(g[cellIndex(99, 0)], clueCellValue(3, true));
        QCOMPARE(g[cellIndex(99, 99)], std::int32_t('A'));
        // Line 0 has no neighbour line above; line 99 none below.
        QVERIFY(!testPlacement(freeGrid(), u"AB", Placement{false, 0, 1}).conflict);
    }

    void commitWritesLettersAndClue() {
        Grid g = freeGrid();
        commitPlacement(g, u"K\u00e4\u03a9", Placement{false, 2, 5}, 4);
        QCOMPARE(g[cellIndex(4, 2)], clueCellValue(4, false));
        QCOMPARE(g[cellIndex(5, 2)], std::int32_t('K'));
        QCOMPARE(g[cellIndex(6, 2)], std::int32_t(0xE4));
        QCOMPARE(g[cellIndex(7, 2)], std::int32_t(63));
        // A letter above 255 never crosses: no cell holds its code.
        QVERIFY(!testPlacement(g, u"\u03a9", Placement{true, 7, 2}).crossed);
    }
};

QTEST_APPLESS_MAIN(TestPuzzleModel)
#include "tst_puzzlemodel.moc"
