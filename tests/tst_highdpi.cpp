#include "canvas.h"
#include "mainform.h"
#include "paintbox.h"
#include "pixels.h"
#include "placement.h"
#include "qprinterquery.h"
#include "renderer.h"
#include "samplepuzzle.h"

#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <QtTest>

// The view and the drawing layer on a screen of device pixel ratio 2: lengths are converted at the
// screen's logical resolution and every logical pixel becomes two by two device pixels, so lines stay
// sharp and in place. The program runs at a scale factor of 2 (set before the application starts).

namespace {

constexpr int screenPpi = 96;
constexpr int ratio = 2;
const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);
const QRgb green = qRgb(0, 255, 0);

// The screen picture drawn on an image of the given device pixel ratio; its size in logical pixels is
// the picture's size at 96 pixels per inch.
QImage pictureAtRatio(const PuzzleModel &model, const PuzzleSettings &settings, int devicePixelRatio,
                      const PrinterQuery &printer = FixedPrinterQuery(defaultPdfPage())) {
    const QSize size = puzzlePictureSize(model, settings, screenPpi);
    QImage image = filledImage(size, green, devicePixelRatio);
    QPainter painter(&image);
    if (!drawPuzzle(painter, model, settings, RenderTarget::screen(size, printer)).drawn)
        return {};
    return image;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void screenHasRatio2() {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), qreal(ratio));
        QCOMPARE(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX()), screenPpi);
    }

    // Without text, the picture at ratio 2 is exactly the picture at ratio 1 with every pixel doubled:
    // cell lines, fills and the page-end marking land on whole device pixels, none of them grey.
    void linesAndFillsDoubleExactly_data() {
        QTest::addColumn<bool>("blackClues");
        QTest::newRow("letter cells") << false;
        QTest::newRow("clue cells") << true;
    }
    void linesAndFillsDoubleExactly() {
        QFETCH(bool, blackClues);
        PuzzleModel model; // all zero: 100 x 100 letter cells
        if (blackClues)
            for (int i = 0; i < gridSize; i += 3)
                model.grid[cellIndex(i, (i * 7) % gridSize)] = clueCellValue(5000, i % 2 == 0);
        PuzzleSettings settings;
        settings.title.clear();
        const FixedPrinterQuery printer({100, 300, 400}); // page end at 288 x 384
        const QImage single = pictureAtRatio(model, settings, 1, printer);
        const QImage doubled = pictureAtRatio(model, settings, ratio, printer);
        QVERIFY(!single.isNull() && !doubled.isNull());
        QCOMPARE(doubled.deviceIndependentSize().toSize(), single.size());
        QImage expected = single.scaled(single.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        expected.setDevicePixelRatio(ratio);
        QCOMPARE(doubled.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }

    // With clue texts, solution letters and arrows: each cell line is two device pixels of pure black
    // at twice its logical place, and the letter cells' insides next to it are pure white.
    void cellLinesStaySharpNextToText() {
        PuzzleModel model;
        smallPuzzle(model);
        PuzzleSettings settings;
        const QImage image = pictureAtRatio(model, settings, ratio);
        QVERIFY(!image.isNull());
        const PuzzleGeometry g = puzzleGeometry(model, settings, screenPpi);
        QCOMPARE(g.lineWidth, 1);
        // Row 2 holds only letter cells from column 1 to 4 (H A U S): lines at their edges.
        for (int x = 1; x <= 5; ++x) {
            const int X = ratio * (g.pageMargin + x * g.cellSize);
            const QRect line(X, ratio * (g.gridTop + g.cellSize), ratio, ratio * g.cellSize);
            QVERIFY2(allPixels(image, line, black), qPrintable(QStringLiteral("line at column %1").arg(x)));
        }
        for (int x = 2; x <= 4; ++x) { // beside the arrow's tip in the first letter
            const QRect inside(ratio * (g.pageMargin + x * g.cellSize) + ratio,
                               ratio * (g.gridTop + g.cellSize) + ratio, ratio * g.cellSize - ratio,
                               ratio * g.cellSize - ratio);
            QVERIFY2(allPixels(image, inside, white), qPrintable(QStringLiteral("cell %1").arg(x)));
        }
        // The horizontal lines above and below them.
        for (int y : {1, 2}) {
            const QRect line(ratio * (g.pageMargin + 2 * g.cellSize), ratio * (g.gridTop + y * g.cellSize),
                             ratio * 3 * g.cellSize, ratio);
            QVERIFY(allPixels(image, line, black));
        }
    }

    // The drawing layer finds the part of an image it can reach in logical pixels, whatever the ratio.
    void reachableAreaInLogicalPixels_data() {
        QTest::addColumn<int>("devicePixelRatio");
        QTest::addColumn<bool>("clipped");
        QTest::newRow("ratio 1") << 1 << false;
        QTest::newRow("ratio 2") << 2 << false;
        QTest::newRow("ratio 2, clipped") << 2 << true;
    }
    void reachableAreaInLogicalPixels() {
        QFETCH(int, devicePixelRatio);
        QFETCH(bool, clipped);
        QImage image = filledImage(QSize(80, 60), green, devicePixelRatio);
        QPainter painter(&image);
        painter.translate(-150, -90);
        if (clipped)
            painter.setClipRect(QRect(160, 100, 10, 20));
        const Canvas canvas(painter);
        QCOMPARE(canvas.reachableArea(),
                 std::optional<QRect>(clipped ? QRect(160, 100, 10, 20) : QRect(150, 90, 80, 60)));
    }

    // Drawing only the part that a paint exposes gives the same device pixels as drawing everything.
    void partialPaintsAtRatio2_data() {
        QTest::addColumn<bool>("clipped");
        QTest::newRow("clip rectangle") << true;
        QTest::newRow("translated onto a smaller image") << false;
    }
    void partialPaintsAtRatio2() {
        QFETCH(bool, clipped);
        PuzzleModel model;
        smallPuzzle(model);
        PuzzleSettings settings;
        settings.showSolution = true;
        const QImage full = pictureAtRatio(model, settings, ratio);
        const QRect shown(150, 90, 81, 61);
        QSize size = full.deviceIndependentSize().toSize();
        QImage part = filledImage(clipped ? size : shown.size(), green, ratio);
        {
            QPainter painter(&part);
            if (clipped)
                painter.setClipRect(shown);
            else
                painter.translate(-shown.topLeft());
            QVERIFY(drawPuzzle(painter, model, settings,
                               RenderTarget::screen(size, FixedPrinterQuery(defaultPdfPage())))
                        .drawn);
        }
        const QRect device(shown.topLeft() * ratio, shown.size() * ratio);
        QCOMPARE(clipped ? part.copy(device) : part.copy(), full.copy(device));
    }

    // The window's view: the paint box takes the picture's size at the logical resolution, and what
    // reaches the window is the picture at ratio 2, pixel for pixel.
    void viewShowsThePictureAtRatio2_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("scrolled");
        QTest::newRow("at the start") << 100 << false;
        QTest::newRow("zoom 250, scrolled") << 250 << true;
    }
    void viewShowsThePictureAtRatio2() {
        QFETCH(int, zoom);
        QFETCH(bool, scrolled);
        TMainForm form;
        smallPuzzle(form.model());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PuzzleSettings settings = form.settings();
        settings.zoom = zoom;
        form.setSettings(settings);
        form.repaintPuzzle();
        auto *box = form.findChild<PaintBox *>(QStringLiteral("PaintBox1"));
        auto *scrollBox = form.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
        const QSize picture = puzzlePictureSize(form.model(), settings, screenPpi);
        QTRY_COMPARE(box->size(), picture);
        if (scrolled) {
            QTRY_VERIFY(scrollBox->horizontalScrollBar()->maximum() > 100);
            scrollBox->horizontalScrollBar()->setValue(scrollBox->horizontalScrollBar()->maximum() / 2 + 1);
            scrollBox->verticalScrollBar()->setValue(scrollBox->verticalScrollBar()->maximum() / 2 + 1);
        }
        QCOMPARE(box->devicePixelRatio(), qreal(ratio));
        QCOMPARE(box->logicalDpiX(), screenPpi);
        box->repaint();

        // The window drawn as it paints itself: every widget's paint at the window's ratio, the paint
        // box's at its offset inside the scroll box.
        const QPixmap window = form.grab();
        QCOMPARE(window.devicePixelRatio(), qreal(ratio));
        QCOMPARE(window.size(), form.size() * ratio);
        const QImage shown = window.toImage().convertToFormat(QImage::Format_RGB32);
        const QPrinterQuery printer(form.printer());
        const QImage expected = pictureAtRatio(form.model(), settings, ratio, printer);
        // The part of the picture that the scroll box shows, in the window's device pixels.
        const QPoint boxInWindow = box->mapTo(&form, QPoint(0, 0));
        const QRect visible =
            QRect(boxInWindow, picture) &
            QRect(scrollBox->viewport()->mapTo(&form, QPoint(0, 0)), scrollBox->viewport()->size());
        QVERIFY(visible.width() > 100 && visible.height() > 100);
        const QPoint inPicture = visible.topLeft() - boxInWindow;
        QCOMPARE(inPicture.isNull(), !scrolled);
        QCOMPARE(shown.copy(QRect(visible.topLeft() * ratio, visible.size() * ratio)),
                 expected.copy(QRect(inPicture * ratio, visible.size() * ratio))
                     .convertToFormat(QImage::Format_RGB32));
    }
};

int main(int argc, char *argv[]) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(ratio));
    QApplication application(argc, argv);
    TestHighDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
