#include "datarow.h"
#include "generator.h"
#include "gridpicture.h"
#include "randomgenerator.h"
#include "solutionword.h"
#include "testfiles.h"

#include <QtTest>

#include <algorithm>
#include <set>

Q_DECLARE_METATYPE(SolutionProblem)

namespace {

// The puzzle the fast generator makes from an example list with a seed.
Grid generatedGrid(const QString &list, std::uint64_t seed) {
    PuzzleModel model;
    GeneratorStore store(30);
    GenerationOptions options;
    options.runs = 30;
    options.seed = seed;
    options.threads = 1;
    GenerateFast(VectorWordTable(readExampleList(list), 999), model, store, options);
    return model.grid;
}

std::vector<GridCell> letterCells(const Grid &grid) {
    std::vector<GridCell> cells;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y)
            if (const std::int32_t v = grid[cellIndex(x, y)]; v >= 'A' && v <= maxLetterCode)
                cells.push_back({x, y});
    return cells;
}

char16_t letterAt(const Grid &grid, GridCell c) {
    return static_cast<char16_t>(grid[cellIndex(c.column, c.row)]);
}

bool sideBySide(GridCell a, GridCell b) {
    return std::abs(a.column - b.column) + std::abs(a.row - b.row) == 1;
}

int sideBySidePairs(const std::vector<GridCell> &cells) {
    int pairs = 0;
    for (std::size_t i = 0; i < cells.size(); ++i)
        for (std::size_t j = i + 1; j < cells.size(); ++j)
            pairs += sideBySide(cells[i], cells[j]) ? 1 : 0;
    return pairs;
}

// The letter cells of every answer, read from the grid: from the cell after each clue cell in its
// direction up to the first cell that holds no letter. The first answer is the one whose first letter
// lies nearest the top-left corner.
std::vector<std::vector<GridCell>> answersOf(const Grid &grid) {
    std::vector<std::vector<GridCell>> answers;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isClueCell(v))
                continue;
            const int dx = clueRunsDown(v) ? 0 : 1, dy = 1 - dx;
            std::vector<GridCell> answer;
            for (int cx = x + dx, cy = y + dy;
                 cx < gridSize && cy < gridSize && isLetterCell(grid[cellIndex(cx, cy)]); cx += dx, cy += dy)
                answer.push_back({cx, cy});
            if (!answer.empty())
                answers.push_back(answer);
        }
    std::stable_sort(answers.begin(), answers.end(), [](const auto &a, const auto &b) {
        return a.front().column + a.front().row < b.front().column + b.front().row;
    });
    return answers;
}

// The most chosen cells that one answer holds.
int mostInOneAnswer(const std::vector<std::vector<GridCell>> &answers, const std::vector<GridCell> &cells) {
    int most = 0;
    for (const auto &answer : answers) {
        const auto inAnswer = std::count_if(cells.begin(), cells.end(), [&](GridCell c) {
            return std::find(answer.begin(), answer.end(), c) != answer.end();
        });
        most = std::max(most, static_cast<int>(inAnswer));
    }
    return most;
}

// Cells that a word can be spread over as well as wished: no two side by side, no two in one answer,
// drawn at random.
std::vector<GridCell> spreadCells(const Grid &grid, std::size_t n, RandomGenerator &random) {
    const auto answers = answersOf(grid);
    std::vector<GridCell> pool = letterCells(grid), picked;
    for (std::size_t i = pool.size(); i > 1; --i)
        std::swap(pool[i - 1], pool[random.Random(static_cast<std::uint32_t>(i))]);
    for (const GridCell c : pool) {
        if (picked.size() == n)
            break;
        std::vector<GridCell> with = picked;
        with.push_back(c);
        if (sideBySidePairs(with) == 0 && mostInOneAnswer(answers, with) <= 1)
            picked = with;
    }
    return picked;
}

std::u16string lettersOf(const Grid &grid, const std::vector<GridCell> &cells) {
    std::u16string word;
    for (const GridCell c : cells)
        word += letterAt(grid, c);
    return word;
}

std::u16string lowerCase(std::u16string word) {
    for (char16_t &c : word)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return word;
}

} // namespace

class TestSolutionWord : public QObject {
    Q_OBJECT

private slots:
    // Words of every length up to the number of letter cells, made of the puzzle's own letters: every
    // letter gets a cell that holds it, no cell twice, the same cells on every call, and none side by
    // side as long as the word is not long enough to force it.
    void everyLengthGetsItsLetters_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 6; ++seed)
            addRow(qPrintable(QStringLiteral("20 words, seed %1").arg(seed)),
                   QStringLiteral("woerter-20.txt"), seed);
        addRow("80 words", QStringLiteral("woerter.txt"), 7);
        addRow("100 words", QStringLiteral("woerter-100.txt"), 8);
    }
    void everyLengthGetsItsLetters() {
        QFETCH(QString, list);
        QFETCH(int, seed);
        const Grid grid = generatedGrid(list, static_cast<std::uint64_t>(seed));
        std::vector<GridCell> pool = letterCells(grid);
        QVERIFY(pool.size() > 100);
        RandomGenerator random(static_cast<std::uint64_t>(seed) * 1000);
        for (std::size_t i = pool.size(); i > 1; --i)
            std::swap(pool[i - 1], pool[random.Random(static_cast<std::uint32_t>(i))]);

        for (std::size_t n = 1; n <= pool.size(); ++n) {
            const std::u16string letters = lettersOf(grid, {pool.begin(), pool.begin() + n});
            // Half the words typed in lower case: they are written as answers are.
            const std::u16string word = n % 2 ? lowerCase(letters) : letters;
            const SolutionChoice choice = chooseSolutionCells(grid, word, UmlautSpelling::Capitals);
            QCOMPARE(choice.problem, SolutionProblem::None);
            QCOMPARE(choice.letters, letters);
            QCOMPARE(choice.cells.size(), n);
            for (std::size_t i = 0; i < n; ++i) {
                QVERIFY2(isOnGrid(choice.cells[i]), qPrintable(QStringLiteral("length %1").arg(n)));
                QCOMPARE(letterAt(grid, choice.cells[i]), letters[i]);
            }
            const std::set<std::pair<int, int>> distinct = [&] {
                std::set<std::pair<int, int>> s;
                for (const GridCell c : choice.cells)
                    s.insert({c.column, c.row});
                return s;
            }();
            QCOMPARE(distinct.size(), n);
            QCOMPARE(choice.sideBySide, sideBySidePairs(choice.cells));
            if (n <= pool.size() / 5)
                QVERIFY2(choice.sideBySide == 0, qPrintable(QStringLiteral("length %1").arg(n)));
            if (n % 11 == 0)
                QVERIFY(chooseSolutionCells(grid, word, UmlautSpelling::Capitals).cells == choice.cells);
        }
    }

    // Short words that the puzzle can spread perfectly: no two cells side by side, no two in one answer
    // (so not all in the top-left-most one), and the same cells again for the same puzzle and word.
    void shortWordsAreSpread_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("seeds");
        addRow("20 words", QStringLiteral("woerter-20.txt"), 30);
        addRow("80 words", QStringLiteral("woerter.txt"), 10);
        addRow("100 words", QStringLiteral("woerter-100.txt"), 6);
    }
    void shortWordsAreSpread() {
        QFETCH(QString, list);
        QFETCH(int, seeds);
        for (int seed = 1; seed <= seeds; ++seed) {
            const Grid grid = generatedGrid(list, static_cast<std::uint64_t>(seed) + 100);
            const auto answers = answersOf(grid);
            RandomGenerator random(static_cast<std::uint64_t>(seed));
            for (std::size_t n = 1; n <= 15; ++n) {
                const std::u16string word = lettersOf(grid, spreadCells(grid, n, random));
                const SolutionChoice choice = chooseSolutionCells(grid, word, UmlautSpelling::Capitals);
                const QString where =
                    QStringLiteral("seed %1, word %2").arg(seed).arg(QString::fromStdU16String(word));
                QCOMPARE(choice.cells.size(), word.size());
                QVERIFY2(sideBySidePairs(choice.cells) == 0, qPrintable(where));
                QVERIFY2(mostInOneAnswer(answers, choice.cells) == 1, qPrintable(where));
                // Not gathered in the answer nearest the top-left corner, as a first-found choice would be.
                if (n >= 2)
                    QVERIFY2(mostInOneAnswer({answers.front()}, choice.cells) <= 1, qPrintable(where));
                QVERIFY(chooseSolutionCells(grid, word, UmlautSpelling::Capitals).cells == choice.cells);
            }
        }
    }

    // A letter the puzzle lacks, or lacks once more, keeps its box without a cell and is reported once;
    // the other letters still get their cells.
    void missingLettersAreReported_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("withoutCell"); // "-" for a letter without a cell
        addRow("all there", QStringLiteral("ort"), QString(), QStringLiteral("ORT"));
        addRow("one missing", QStringLiteral("hqs"), QStringLiteral("Q"), QStringLiteral("H-S"));
        addRow("missing twice", QStringLiteral("xtx"), QStringLiteral("X"), QStringLiteral("-T-"));
        addRow("one too many", QStringLiteral("ssa"), QStringLiteral("S"), QStringLiteral("S-A"));
        addRow("two missing", QStringLiteral("jak"), QStringLiteral("JK"), QStringLiteral("-A-"));
    }
    void missingLettersAreReported() {
        QFETCH(QString, word);
        QFETCH(QString, missing);
        QFETCH(QString, withoutCell);
        const Grid grid = gridFromPicture({
            "#HAUS.",
            "......",
            "#ORT..",
        });
        const SolutionChoice choice =
            chooseSolutionCells(grid, word.toStdU16String(), UmlautSpelling::Capitals);
        QCOMPARE(choice.problem, SolutionProblem::None);
        QCOMPARE(QString::fromStdU16String(missingSolutionLetters(choice.letters, choice.cells)), missing);
        QString seen;
        for (const GridCell c : choice.cells)
            seen += isOnGrid(c) ? QChar(letterAt(grid, c)) : QChar(u'-');
        QCOMPARE(seen, withoutCell);
    }

    // A word that cannot be marked gets no cells at all and a message that says why.
    void wordsThatCannotBeMarked_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<SolutionProblem>("problem");
        QTest::addColumn<QString>("message");
        addRow("empty", QString(), SolutionProblem::None, QString());
        addRow("one more than the cells", QStringLiteral("hausortx"), SolutionProblem::TooLong,
               QStringLiteral("Das Lösungswort hat 8 Buchstaben, das Rätsel aber nur 7 Buchstabenfelder. "
                              "Bitte ein kürzeres Wort wählen."));
        addRow(
            "euro sign", QStringLiteral("H€"), SolutionProblem::UnusableCharacter,
            QStringLiteral("Im Lösungswort steht „€“; dieses Zeichen kann in keinem Buchstabenfeld stehen."));
        addRow(
            "emoji whole", QStringLiteral("A\U0001F600"), SolutionProblem::UnusableCharacter,
            QStringLiteral("Im Lösungswort steht „\U0001F600“; dieses Zeichen kann in keinem Buchstabenfeld "
                           "stehen."));
        addRow("control character", QStringLiteral("HA\x01US"), SolutionProblem::UnusableCharacter,
               QStringLiteral("Im Lösungswort steht ein Steuerzeichen; dieses Zeichen kann in keinem "
                              "Buchstabenfeld stehen."));
        addRow(
            "question mark", QStringLiteral("H?"), SolutionProblem::UnusableCharacter,
            QStringLiteral("Im Lösungswort steht „?“; dieses Zeichen kann in keinem Buchstabenfeld stehen."));
        addRow(
            "long and unusable: the character first", QStringLiteral("HAUSORT €"),
            SolutionProblem::UnusableCharacter,
            QStringLiteral("Im Lösungswort steht „€“; dieses Zeichen kann in keinem Buchstabenfeld stehen."));
    }
    void wordsThatCannotBeMarked() {
        QFETCH(QString, word);
        QFETCH(SolutionProblem, problem);
        QFETCH(QString, message);
        const Grid grid = gridFromPicture({
            "#HAUS",
            "#ORT.",
        });
        const SolutionChoice choice =
            chooseSolutionCells(grid, word.toStdU16String(), UmlautSpelling::Capitals);
        QCOMPARE(choice.problem, problem);
        QVERIFY(choice.cells.empty());
        QCOMPARE(QString::fromStdU16String(solutionProblemText(choice)), message);
    }

    // Before the first generation the grid holds no letters, and after generating from an empty table
    // every cell is free: there is nothing to mark yet.
    void noPuzzleYet_data() {
        QTest::addColumn<bool>("zeros");
        addRow("grid of zeros", true);
        addRow("free grid", false);
    }
    void noPuzzleYet() {
        QFETCH(bool, zeros);
        const Grid grid = zeros ? Grid{} : freeGrid();
        const SolutionChoice choice = chooseSolutionCells(grid, u"A", UmlautSpelling::Capitals);
        QCOMPARE(choice.problem, SolutionProblem::NoPuzzle);
        QVERIFY(choice.cells.empty());
        QCOMPARE(QString::fromStdU16String(solutionProblemText(choice)),
                 QStringLiteral("Das Lösungswort wird markiert, sobald ein Rätsel erzeugt ist."));
    }

    // The word is written as the puzzle writes answers under each umlaut choice, blanks and hyphens
    // dropped: it finds its letters in the cells that hold them.
    void umlautsAndSharpS_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("spelling");
        QTest::addColumn<QString>("letters");
        const int capitals = int(UmlautSpelling::Capitals), digraphs = int(UmlautSpelling::Digraphs),
                  asTyped = int(UmlautSpelling::AsTyped);
        addRow("Ä Ö Ü: small umlaut", QStringLiteral("käse"), capitals, QStringLiteral("KÄSE"));
        addRow("Ä Ö Ü: capital umlauts", QStringLiteral("Äöü"), capitals, QStringLiteral("ÄÖÜ"));
        addRow("Ä Ö Ü: sharp s", QStringLiteral("fuß"), capitals, QStringLiteral("FUSS"));
        addRow("AE OE UE: small umlaut", QStringLiteral("käse"), digraphs, QStringLiteral("KAESE"));
        addRow("AE OE UE: sharp s", QStringLiteral("Fuß"), digraphs, QStringLiteral("FUSS"));
        addRow("as typed: small umlaut", QStringLiteral("käse"), asTyped, QStringLiteral("KäSE"));
        addRow("as typed: capital umlauts", QStringLiteral("ÄÖÜ"), asTyped, QStringLiteral("ÄÖÜ"));
        addRow("as typed: sharp s", QStringLiteral("fuß"), asTyped, QStringLiteral("FUß"));
        addRow("blank, tab and hyphen dropped", QStringLiteral("Kä-se\tFu ß"), capitals,
               QStringLiteral("KÄSEFUSS"));
    }
    void umlautsAndSharpS() {
        QFETCH(QString, word);
        QFETCH(int, spelling);
        QFETCH(QString, letters);
        const Grid grid = gridFromPicture({
            "#KÄSE#KAESE",
            "#FUSS#KäSE.",
            "#FUß.#ÄÖÜ..",
        });
        const SolutionChoice choice =
            chooseSolutionCells(grid, word.toStdU16String(), static_cast<UmlautSpelling>(spelling));
        QCOMPARE(choice.problem, SolutionProblem::None);
        QCOMPARE(QString::fromStdU16String(choice.letters), letters);
        QCOMPARE(choice.cells.size(), choice.letters.size());
        for (std::size_t i = 0; i < choice.cells.size(); ++i) {
            QVERIFY(isOnGrid(choice.cells[i]));
            QCOMPARE(letterAt(grid, choice.cells[i]), choice.letters[i]);
        }
    }

    // The boxes below the puzzle hold the letters of the chosen cells, and the word's own letter where a
    // letter has no cell or its cell no longer holds a letter.
    void boxLetters_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("cells"); // "column,row" or "-" each, space separated
        QTest::addColumn<QString>("boxes"); // "_" for a box left empty
        addRow("cells", QStringLiteral("HU"), QStringLiteral("1,0 3,0"), QStringLiteral("HU"));
        addRow("missing letter from the word", QStringLiteral("hqs"), QStringLiteral("1,0 - 4,0"),
               QStringLiteral("HQS"));
        addRow("cell without a letter", QStringLiteral("hx"), QStringLiteral("1,0 0,0"),
               QStringLiteral("HX"));
        addRow("word changed since", QStringLiteral("abc"), QStringLiteral("1,0 -"), QStringLiteral("H_"));
        addRow("off the grid", QStringLiteral("h"), QStringLiteral("100,0"), QStringLiteral("H"));
    }
    void boxLetters() {
        QFETCH(QString, word);
        QFETCH(QString, cells);
        QFETCH(QString, boxes);
        const Grid grid = gridFromPicture({"#HAUS"});
        SolutionWord solution;
        solution.word = word.toStdU16String();
        for (const QString &cell : cells.split(u' ')) {
            const QStringList parts = cell.split(u',');
            solution.cells.push_back(parts.size() == 2 ? GridCell{parts[0].toInt(), parts[1].toInt()}
                                                       : noCell);
        }
        QString drawn =
            QString::fromStdU16String(solutionBoxLetters(grid, solution, UmlautSpelling::Capitals));
        drawn.replace(QChar(u'\0'), QChar(u'_'));
        QCOMPARE(drawn, boxes);
    }
};

QTEST_APPLESS_MAIN(TestSolutionWord)
#include "tst_solutionword.moc"
