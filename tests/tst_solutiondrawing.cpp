#include "datarow.h"
#include "gridpicture.h"
#include "pixels.h"
#include "printerpage.h"
#include "renderer.h"
#include "samplepuzzle.h"

#include <QtTest>

namespace {

constexpr int screenPpi = 96;

// The small puzzle: HAUS across in row 1 from column 1, OST down in column 6 from row 1.
//   ......#
//   #HAUS.O
//   ......S
//   ......T
struct Drawn {
    QImage image;
    PuzzleGeometry g;
};

Drawn draw(PuzzleModel &model, const PuzzleSettings &settings) {
    QString error;
    Drawn d{renderPuzzleImage(model, settings, screenPpi, FixedPrinterQuery(defaultPdfPage()), &error),
            puzzleGeometry(model, settings, screenPpi)};
    if (d.image.isNull())
        qWarning("%s", qPrintable(error));
    return d;
}

// Settings with the solution word marked in the cells given as "column,row" (or "-" for none).
PuzzleSettings marked(const QString &word, const QStringList &cells, bool showSolution = false) {
    PuzzleSettings s;
    s.showSolution = showSolution;
    s.solution.word = word.toStdU16String();
    for (const QString &cell : cells) {
        const QStringList parts = cell.split(u',');
        s.solution.cells.push_back(parts.size() == 2 ? GridCell{parts[0].toInt(), parts[1].toInt()} : noCell);
    }
    return s;
}

QPoint cellOrigin(const PuzzleGeometry &g, int column, int row) {
    return {g.pageMargin + column * g.cellSize, g.gridTop + row * g.cellSize};
}

// The band just inside a cell's left line, where a heavy frame shows and a plain cell is white.
QRect innerLeftBand(const PuzzleGeometry &g, int column, int row) {
    const QPoint o = cellOrigin(g, column, row);
    return QRect(o.x() + g.lineWidth, o.y() + g.cellSize / 3, 1, g.cellSize / 3);
}

// The cell's top-left quarter inside any frame: where the number stands.
QRect numberCorner(const PuzzleGeometry &g, int column, int row) {
    const QPoint o = cellOrigin(g, column, row);
    return QRect(o.x() + 4 * g.lineWidth + 1, o.y() + 4 * g.lineWidth + 1, g.cellSize / 2 - 4 * g.lineWidth,
                 g.cellSize / 2 - 4 * g.lineWidth);
}

// Box i of the rows below the grid: the last row ends one bottom margin (Y0) above the picture's
// bottom, as many boxes a row as the grid has columns.
QPoint boxOrigin(const Drawn &d, int i, int boxes) {
    const int perRow = d.g.lastColumn + 1;
    const int rows = (boxes + perRow - 1) / perRow;
    const int top = d.g.height - d.g.gridTop - rows * d.g.cellSize;
    return {d.g.pageMargin + (i % perRow) * d.g.cellSize, top + (i / perRow) * d.g.cellSize};
}

QRect boxCentre(const Drawn &d, int i, int boxes) {
    const QPoint o = boxOrigin(d, i, boxes);
    return QRect(o.x() + d.g.cellSize / 3, o.y() + d.g.cellSize / 3, d.g.cellSize / 3, d.g.cellSize / 3);
}

} // namespace

class TestSolutionDrawing : public QObject {
    Q_OBJECT

    PuzzleModel model;

private slots:
    void initTestCase() { smallPuzzle(model); }

    // The picture grows by the caption and one cell a row of boxes, as many boxes a row as the grid has
    // columns (7 here); its width stays.
    void pictureGrowsByTheRowsOfBoxes_data() {
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("rows");
        addRow("one box", 1, 1);
        addRow("a full row", 7, 1);
        addRow("one more", 8, 2);
        addRow("three rows", 15, 3);
    }
    void pictureGrowsByTheRowsOfBoxes() {
        QFETCH(int, boxes);
        QFETCH(int, rows);
        const QSize plain = puzzlePictureSize(model, PuzzleSettings(), screenPpi);
        const QSize one = puzzlePictureSize(model, marked("H", {"1,1"}), screenPpi);
        const QSize grown =
            puzzlePictureSize(model, marked(QString(boxes, u'X'), QStringList(boxes, "-")), screenPpi);
        const int C = puzzleGeometry(model, PuzzleSettings(), screenPpi).cellSize;
        QCOMPARE(grown.width(), plain.width());
        QVERIFY(one.height() > plain.height() + C);
        QCOMPARE(grown.height(), one.height() + (rows - 1) * C);
        // The image is drawn at the size that was computed for it.
        QCOMPARE(draw(model, marked(QString(boxes, u'X'), QStringList(boxes, "-"))).image.size(), grown);
    }

    // A chosen cell is framed heavier than the others and carries its number in its top-left corner.
    void chosenCellsAreFramedAndNumbered_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("chosen");
        addRow("first letter", 1, 1, true);
        addRow("second letter", 6, 3, true);
        addRow("a letter of the same answer", 2, 1, false);
        addRow("crossing cell", 6, 1, false);
    }
    void chosenCellsAreFramedAndNumbered() {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(bool, chosen);
        const Drawn d = draw(model, marked("HT", {"1,1", "6,3"}));
        QVERIFY(!d.image.isNull());
        QCOMPARE(countPixels(d.image, innerLeftBand(d.g, column, row), isDark) > 0, chosen);
        QCOMPARE(countPixels(d.image, numberCorner(d.g, column, row), isDark) > 0, chosen);
        // With the solution shown, the letter stays clear of the number.
        const Drawn shown = draw(model, marked("HT", {"1,1", "6,3"}, true));
        const QPoint o = cellOrigin(shown.g, column, row);
        QVERIFY(countPixels(shown.image,
                            QRect(o.x() + shown.g.cellSize / 3, o.y() + shown.g.cellSize / 3,
                                  shown.g.cellSize / 3, shown.g.cellSize / 3),
                            isDark) > 0);
    }

    // The boxes below the grid hold the letters only when the solution is shown; a letter the puzzle
    // lacks still has its box, and shows the word's letter there.
    void boxesHoldTheLettersWhenShown_data() {
        QTest::addColumn<bool>("shown");
        addRow("solution shown", true);
        addRow("solution hidden", false);
    }
    void boxesHoldTheLettersWhenShown() {
        QFETCH(bool, shown);
        const Drawn d = draw(model, marked("HQT", {"1,1", "-", "6,3"}, shown));
        QVERIFY(!d.image.isNull());
        for (int i = 0; i < 3; ++i) {
            const QPoint o = boxOrigin(d, i, 3);
            // Each box has its outline on all four sides and a number in its corner.
            QVERIFY(countPixels(d.image, QRect(o.x(), o.y() + d.g.cellSize / 2, 1, 1), isDark) == 1);
            QVERIFY(countPixels(d.image, QRect(o.x() + d.g.cellSize, o.y() + d.g.cellSize / 2, 1, 1),
                                isDark) == 1);
            QVERIFY(countPixels(d.image, QRect(o.x() + d.g.cellSize / 2, o.y(), 1, 1), isDark) == 1);
            QVERIFY(countPixels(d.image, QRect(o.x() + d.g.cellSize / 2, o.y() + d.g.cellSize, 1, 1),
                                isDark) == 1);
            QVERIFY(countPixels(d.image, QRect(o.x() + 2, o.y() + 2, d.g.cellSize / 3, d.g.cellSize / 3),
                                isDark) > 0);
            QCOMPARE(countPixels(d.image, boxCentre(d, i, 3), isDark) > 0, shown);
        }
        // Nothing beyond the last box.
        QVERIFY(countPixels(d.image, boxCentre(d, 3, 3), isDark) == 0);
    }

    // A word switched off, or one without cells (it could not be marked), draws exactly the puzzle
    // without a word.
    void nothingMarkedDrawsThePlainPuzzle_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("cells");
        addRow("switched off", false, QStringList{"1,1"});
        addRow("no cells", true, QStringList());
    }
    void nothingMarkedDrawsThePlainPuzzle() {
        QFETCH(bool, enabled);
        QFETCH(QStringList, cells);
        PuzzleSettings settings = marked("HT", cells);
        settings.solution.enabled = enabled;
        QCOMPARE(draw(model, settings).image, draw(model, PuzzleSettings()).image);
    }

    // Stored cells that lie off the grid, name a clue or a free cell, or repeat, are numbered only where
    // they name a letter cell; the picture is drawn.
    void oddStoredCellsAreSkipped() {
        const Drawn d = draw(model, marked("ABCDE", {"100,0", "-5,2", "0,1", "5,0", "2,1"}));
        QVERIFY(!d.image.isNull());
        QVERIFY(countPixels(d.image, innerLeftBand(d.g, 2, 1), isDark) > 0);
        QVERIFY(countPixels(d.image, innerLeftBand(d.g, 5, 0), isDark) == 0);
    }

    // A grid narrower than the caption widens the picture so that the caption fits.
    void narrowGridMakesRoomForTheCaption() {
        PuzzleModel narrow;
        narrow.grid = gridFromPicture({"#", "A"});
        narrow.grid[cellIndex(0, 0)] = clueCellValue(0, true);
        // Without a title, which would widen the picture by itself.
        PuzzleSettings untitled;
        untitled.title.clear();
        const QSize plain = puzzlePictureSize(narrow, untitled, screenPpi);
        PuzzleSettings settings = marked("A", {"0,1"});
        settings.title.clear();
        const Drawn d = draw(narrow, settings);
        QVERIFY(d.image.width() > plain.width());
        // Below the grid, the caption ends before the right page margin.
        const int below = d.g.gridTop + 2 * d.g.cellSize + d.g.lineWidth;
        const QRect right(d.image.width() - d.g.pageMargin, below, d.g.pageMargin, d.image.height() - below);
        QCOMPARE(countPixels(d.image, right, isDark), 0);
    }
};

QTEST_MAIN(TestSolutionDrawing)
#include "tst_solutiondrawing.moc"
