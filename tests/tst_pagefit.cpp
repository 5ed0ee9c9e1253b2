#include "datarow.h"
#include "jobpagefit.h"
#include "pagefit.h"
#include "renderer.h"
#include "samplepuzzle.h"

#include <QtTest>

Q_DECLARE_METATYPE(PuzzleSettings)

namespace {

constexpr int minimumZoom = 10;
constexpr int maximumZoom = 1000;

PrinterPage landscape(PrinterPage page) {
    std::swap(page.width, page.height);
    return page;
}

// A model whose used cells reach column columns - 1 and row rows - 1.
void fillExtent(PuzzleModel &model, int columns, int rows) {
    model.grid = freeGrid();
    model.grid[cellIndex(columns - 1, rows - 1)] = 'A';
    model.grid[cellIndex(0, 0)] = 'B';
}

bool extentFits(const PuzzleSettings &settings, const PrinterPage &page, int columns, int rows) {
    PuzzleModel model;
    fillExtent(model, columns, rows);
    return puzzleFitsPage(model, settings, page);
}

// The settings with a solution word of the given number of letters: its cells as yet unchosen, or
// chosen (noCell stands in for each, which draws the same row of boxes).
PuzzleSettings withSolutionWord(PuzzleSettings settings, int letters, bool chosen) {
    settings.solution.word = std::u16string(static_cast<std::size_t>(letters), u'E');
    if (chosen)
        settings.solution.cells.assign(static_cast<std::size_t>(letters), noCell);
    return settings;
}

PuzzleSettings settingsWith(double cellWidth, double zoom, double pageMargin) {
    PuzzleSettings s;
    s.cellWidth = cellWidth;
    s.zoom = zoom;
    s.pageMargin = pageMargin;
    return s;
}

// A title of W's as long as still fits the page's width with the puzzle at the settings; the solution
// page's " – Lösung" then pushes its title past the page's edge.
std::u16string longestTitleThatFits(const PuzzleModel &model, PuzzleSettings settings,
                                    const PrinterPage &page) {
    std::u16string title;
    for (;;) {
        settings.title = title + u'W';
        if (!puzzleFitsPage(model, settings, page))
            return title;
        title += u'W';
    }
}

} // namespace

class TestPageFit : public QObject {
    Q_OBJECT

private slots:
    void pageFrameIsTheMostThatFits_data() {
        QTest::addColumn<PuzzleSettings>("settings");
        QTest::addColumn<bool>("onItsSide");
        addRow("A4 at the defaults", PuzzleSettings(), false);
        addRow("8 mm cells", settingsWith(8, 100, 15), false);
        addRow("zoom 50", settingsWith(10, 50, 15), false);
        addRow("wide margin", settingsWith(10, 100, 40), false);
        addRow("landscape", PuzzleSettings(), true);
        addRow("3 mm cells at zoom 10 reach the grid's size", settingsWith(3, 10, 1), false);
    }
    // A puzzle of the frame's size fits the page; one more column or row does not.
    void pageFrameIsTheMostThatFits() {
        QFETCH(PuzzleSettings, settings);
        QFETCH(bool, onItsSide);
        const PrinterPage page = onItsSide ? landscape(defaultPdfPage()) : defaultPdfPage();
        const CellCount frame = pageCellFrame(settings, page);
        QVERIFY(frame.columns >= 1 && frame.columns <= gridSize);
        QVERIFY(frame.rows >= 1 && frame.rows <= gridSize);
        QVERIFY(extentFits(settings, page, frame.columns, frame.rows));
        QVERIFY(frame.columns == gridSize || !extentFits(settings, page, frame.columns + 1, frame.rows));
        QVERIFY(frame.rows == gridSize || !extentFits(settings, page, frame.columns, frame.rows + 1));
        if (onItsSide) {
            const CellCount upright = pageCellFrame(settings, defaultPdfPage());
            QVERIFY(frame.columns > upright.columns && frame.rows < upright.rows);
        }
    }

    void pageFrameLeavesRoomForTheSolutionWord_data() {
        QTest::addColumn<int>("letters");
        QTest::addColumn<bool>("onItsSide");
        addRow("one letter", 1, false);
        addRow("eight letters", 8, false);
        addRow("eight letters, landscape", 8, true);
        addRow("forty letters wrap at the frame's width", 40, false);
        addRow("ninety letters wrap, landscape", 90, true);
    }
    // A puzzle of the frame's size with the word's boxes below fits the page; one more row does not.
    // The frame is no wider for it, and shorter than without a word.
    void pageFrameLeavesRoomForTheSolutionWord() {
        QFETCH(int, letters);
        QFETCH(bool, onItsSide);
        const PrinterPage page = onItsSide ? landscape(defaultPdfPage()) : defaultPdfPage();
        const CellCount plain = pageCellFrame(PuzzleSettings(), page);
        const CellCount frame = pageCellFrame(withSolutionWord(PuzzleSettings(), letters, false), page);
        const PuzzleSettings drawn = withSolutionWord(PuzzleSettings(), letters, true);
        QVERIFY(frame.columns >= 1 && frame.rows >= 1);
        QVERIFY(extentFits(drawn, page, frame.columns, frame.rows));
        QVERIFY(!extentFits(drawn, page, frame.columns, frame.rows + 1));
        QCOMPARE(frame.columns, plain.columns);
        QVERIFY(frame.rows < plain.rows);
        // A word switched off takes no room.
        PuzzleSettings off = withSolutionWord(PuzzleSettings(), letters, false);
        off.solution.enabled = false;
        QCOMPARE(pageCellFrame(off, page).rows, plain.rows);
    }

    void fitZoomCountsTheSolutionBoxes_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("letters");
        // Puzzles that the page's height limits: the boxes below cost zoom.
        addRow("tall puzzle, short word", 10, 30, 5);
        addRow("taller puzzle, one row of boxes", 12, 45, 12);
        addRow("tall puzzle, word in four rows of boxes", 10, 60, 40);
    }
    // The zoom that fits the page fits the picture with its boxes, and is smaller than without them when
    // the page's height is what limits it.
    void fitZoomCountsTheSolutionBoxes() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, letters);
        const PrinterPage page = defaultPdfPage();
        PuzzleModel model;
        fillExtent(model, columns, rows);
        PuzzleSettings settings = withSolutionWord(PuzzleSettings(), letters, true);
        const std::optional<int> zoom = fitPageZoom(model, settings, page, minimumZoom, maximumZoom);
        const std::optional<int> plainZoom =
            fitPageZoom(model, PuzzleSettings(), page, minimumZoom, maximumZoom);
        QVERIFY(zoom && plainZoom);
        QVERIFY(*zoom < *plainZoom);
        settings.zoom = *zoom;
        QVERIFY(puzzleFitsPage(model, settings, page));
        settings.zoom = *zoom + 1;
        QVERIFY(!puzzleFitsPage(model, settings, page));
    }

    void jobFitsWhenEveryPageFits_data() {
        QTest::addColumn<int>("letters");
        QTest::addColumn<bool>("showSolution");
        addRow("no solution word", 0, false);
        addRow("solution word", 6, false);
        addRow("solution word, letters shown", 6, true);
    }
    // With a title that just fits on the puzzle page, the solution page's longer title does not: a job
    // with the solution page does not fit, and its fitted zoom makes every page fit.
    void jobFitsWhenEveryPageFits() {
        QFETCH(int, letters);
        QFETCH(bool, showSolution);
        const PrinterPage page = defaultPdfPage();
        PuzzleModel model;
        fillExtent(model, 5, 5);
        PuzzleSettings settings = withSolutionWord(PuzzleSettings(), letters, letters > 0);
        settings.showSolution = showSolution;
        settings.title = longestTitleThatFits(model, settings, page);
        QVERIFY(jobFitsPage(model, settings, PrintPages::Puzzle, page));
        QVERIFY(!jobFitsPage(model, settings, PrintPages::Solution, page));
        QVERIFY(!jobFitsPage(model, settings, PrintPages::Both, page));
        for (const PrintPages pages : {PrintPages::Puzzle, PrintPages::Solution, PrintPages::Both}) {
            const std::optional<int> zoom =
                fitJobZoom(model, settings, pages, page, minimumZoom, maximumZoom);
            QVERIFY(zoom);
            PuzzleSettings fitted = settings;
            fitted.zoom = *zoom;
            QVERIFY(jobFitsPage(model, fitted, pages, page));
            fitted.zoom = *zoom + 1;
            QVERIFY(!jobFitsPage(model, fitted, pages, page));
        }
        QVERIFY(!fitJobZoom(model, settings, PrintPages::Both, PrinterPage{}, minimumZoom, maximumZoom));
        QVERIFY(jobFitsPage(model, settings, PrintPages::Both, PrinterPage{}));
    }

    void pageFrameOfNothing() {
        QCOMPARE(pageCellFrame(settingsWith(100, 1000, 15), defaultPdfPage()).columns, 0);
        QCOMPARE(pageCellFrame(PuzzleSettings(), PrinterPage{}).rows, 0);
    }

    void fitZoomIsTheLargestThatFits_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("onItsSide");
        addRow("small puzzle: larger than 100 %", 7, 4, false);
        addRow("wide puzzle", 60, 10, false);
        addRow("tall puzzle", 10, 60, false);
        addRow("tall puzzle, landscape page", 10, 60, true);
        addRow("whole grid", 100, 100, false);
    }
    void fitZoomIsTheLargestThatFits() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, onItsSide);
        const PrinterPage page = onItsSide ? landscape(defaultPdfPage()) : defaultPdfPage();
        PuzzleModel model;
        fillExtent(model, columns, rows);
        PuzzleSettings settings;
        const std::optional<int> zoom = fitPageZoom(model, settings, page, minimumZoom, maximumZoom);
        QVERIFY(zoom);
        QVERIFY(*zoom >= minimumZoom && *zoom <= maximumZoom);
        settings.zoom = *zoom;
        QVERIFY(puzzleFitsPage(model, settings, page));
        settings.zoom = *zoom + 1;
        QVERIFY(*zoom == maximumZoom || !puzzleFitsPage(model, settings, page));
    }

    void fitZoomEdges() {
        PuzzleModel model;
        smallPuzzle(model);
        QVERIFY(!fitPageZoom(model, PuzzleSettings(), PrinterPage{}, minimumZoom, maximumZoom));
        QVERIFY(puzzleFitsPage(model, PuzzleSettings(), PrinterPage{}));
        // Nothing fits a page of one pixel: the smallest zoom.
        QCOMPARE(fitPageZoom(model, PuzzleSettings(), PrinterPage{1200, 1, 1}, minimumZoom, maximumZoom),
                 std::optional<int>(minimumZoom));
        QVERIFY(!puzzleFitsPage(model, PuzzleSettings(), PrinterPage{1200, 1, 1}));
    }

    // The frame that "Kompakt erzeugen" offers: the page's shape, large enough for the cells at a compact
    // fill and not a row and column larger than that.
    void compactFrameHoldsThePuzzleInThePageShape_data() {
        QTest::addColumn<int>("pageColumns");
        QTest::addColumn<int>("pageRows");
        QTest::addColumn<int>("usedCells");
        addRow("small puzzle: the page itself", 17, 23, 120);
        addRow("100 words on A4", 17, 23, 846);
        addRow("landscape page", 23, 17, 846);
        addRow("unknown page: the shape of A4", 0, 0, 846);
        addRow("no cells", 17, 23, 0);
        addRow("more than the grid holds", 17, 23, 9000);
    }
    void compactFrameHoldsThePuzzleInThePageShape() {
        QFETCH(int, pageColumns);
        QFETCH(int, pageRows);
        QFETCH(int, usedCells);
        const CellCount frame = compactFrameFor({pageColumns, pageRows}, usedCells);
        const CellCount shape = pageColumns > 0 ? CellCount{pageColumns, pageRows} : CellCount{17, 23};
        QVERIFY(frame.columns >= shape.columns && frame.rows >= shape.rows);
        QVERIFY(frame.columns <= gridSize && frame.rows <= gridSize);
        const double fill = 0.45;
        const bool capped = frame.columns == gridSize || frame.rows == gridSize;
        QVERIFY2(capped || frame.columns * frame.rows * fill >= usedCells,
                 qPrintable(QStringLiteral("%1 x %2").arg(frame.columns).arg(frame.rows)));
        const bool larger = frame.columns > shape.columns || frame.rows > shape.rows;
        if (larger && !capped)
            QVERIFY((frame.columns - 1) * (frame.rows - 1) * fill < usedCells);
        // The page's shape: the sides in the page's ratio, give or take the cell that rounding adds, until
        // one side reaches the grid's edge.
        QVERIFY(capped || std::abs(frame.columns * shape.rows - frame.rows * shape.columns) <=
                              std::max(shape.columns, shape.rows));
    }
};

QTEST_MAIN(TestPageFit)
#include "tst_pagefit.moc"
