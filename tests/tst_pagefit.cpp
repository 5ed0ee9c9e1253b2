#include "datarow.h"
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
    model.feld = freeGrid();
    model.feld[cellIndex(columns - 1, rows - 1)] = 'A';
    model.feld[cellIndex(0, 0)] = 'B';
}

bool extentFits(const PuzzleSettings &settings, const PrinterPage &page, int columns, int rows) {
    PuzzleModel model;
    fillExtent(model, columns, rows);
    return puzzleFitsPage(model, settings, page);
}

PuzzleSettings settingsWith(double cellWidth, double zoom, double pageMargin) {
    PuzzleSettings s;
    s.cellWidth = cellWidth;
    s.zoom = zoom;
    s.pageMargin = pageMargin;
    return s;
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
