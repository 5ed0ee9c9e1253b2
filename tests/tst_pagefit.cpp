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
};

QTEST_MAIN(TestPageFit)
#include "tst_pagefit.moc"
