#include "canvas.h"
#include "fontmapping.h"
#include "gridpicture.h"
#include "pixels.h"
#include "placement.h"
#include "printerpage.h"
#include "qprinterquery.h"
#include "renderer.h"
#include "samplepuzzle.h"
#include "textlayouts.h"

#include <QBuffer>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QtTest>

#include <climits>

namespace {

constexpr int screenPpi = 96;
const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);
const QRgb red = qRgb(255, 0, 0);
const QRgb sentinel = qRgb(0, 128, 0);

QPoint cellOrigin(const PuzzleGeometry &g, int x, int y) {
    return {g.pageMargin + x * g.cellSize, g.gridTop + y * g.cellSize};
}

QImage screenPicture(const PuzzleModel &model, const PuzzleSettings &settings,
                     const PrinterQuery &printer = FixedPrinterQuery(defaultPdfPage())) {
    QString error;
    const QImage image = renderPuzzleImage(model, settings, screenPpi, printer, &error);
    if (image.isNull())
        qWarning("%s", qPrintable(error));
    return image;
}

// Cell (x, y)'s inside: the cell without its outline.
QRect cellInside(const PuzzleGeometry &g, int x, int y) {
    const QPoint o = cellOrigin(g, x, y);
    return QRect(o.x() + 1, o.y() + 1, g.cellSize - 1, g.cellSize - 1);
}

// The screen picture of the model and the geometry it is drawn with.
struct Picture {
    QImage image;
    PuzzleGeometry g;
};
Picture picture(const PuzzleModel &model, const PuzzleSettings &settings) {
    return {screenPicture(model, settings), puzzleGeometry(model, settings, screenPpi)};
}

// Draws the model on image as a printer page or as a picture of *size at the resolution (0: the image's
// own); whether it drew. A picture that needs another size sets *size to it; it keeps its clue layouts
// in layouts when given.
bool drawOnto(QImage &image, const PuzzleModel &model, const PuzzleSettings &settings, bool printit,
              QSize *size, int resolution = screenPpi,
              const PrinterQuery &printer = FixedPrinterQuery(defaultPdfPage()),
              TextLayouts *layouts = nullptr) {
    QPainter painter(&image);
    RenderTarget target =
        printit ? RenderTarget::printerPage(resolution) : RenderTarget::picture(*size, resolution, printer);
    if (!printit)
        target.layouts = layouts;
    const PuzzleDrawing drawing = drawPuzzle(painter, model, settings, target);
    if (size)
        *size = drawing.size;
    return drawing.drawn;
}

// The picture of the model at the resolution, drawn into an image of that resolution filled with the
// sentinel colour, keeping the clue texts' layouts in layouts when given.
QImage paintedPicture(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                      TextLayouts *layouts) {
    QSize size = puzzlePictureSize(model, settings, resolution);
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(resolution / 0.0254));
    image.setDotsPerMeterY(qRound(resolution / 0.0254));
    image.fill(sentinel);
    drawOnto(image, model, settings, false, &size, resolution, FixedPrinterQuery(defaultPdfPage()), layouts);
    return image;
}

// Letter cells side by side and in columns, clue cells among them, a long row and a letter with a
// descender above another letter: what the grid lines and solution letters are checked on.
void fillLinesAndLetters(PuzzleModel &model) {
    model.AddEntry(u"Stadt", u"HAUS");
    model.grid = gridFromPicture({
        "#HAUS...#",
        "..B.ABC.O",
        "..C..#..S",
        "QRS.X.X.titleHeight",
        "J....#...",
        "#ABCDEFGH",
    });
}

// Runs draw on a canvas over the device at screen resolution, set to the clue font at the zoom in black
// on a transparent text background.
template <typename Draw> void onCanvas(QPaintDevice &device, Draw draw, double zoom = 100) {
    QPainter painter(&device);
    Canvas canvas(painter, screenPpi);
    canvas.setFont(scaledFont(FontDescription::defaultClueFont(), zoom, screenPpi), Qt::black);
    canvas.setTextBackground(TextBackground::Transparent);
    draw(canvas);
}

// Two rows of one bool column: the row for true, then the row for false.
void boolRows(const char *column, const char *whenTrue, const char *whenFalse) {
    QTest::addColumn<bool>(column);
    QTest::newRow(whenTrue) << true;
    QTest::newRow(whenFalse) << false;
}

} // namespace

class TestRenderer : public QObject {
    Q_OBJECT

    std::unique_ptr<PuzzleModel> sample; // the small sample puzzle, made afresh for each test

private slots:
    void init() {
        sample = std::make_unique<PuzzleModel>();
        smallPuzzle(*sample);
    }

    void geometry_data() {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("cellWidth");
        QTest::addColumn<double>("lineWidth");
        QTest::addColumn<QList<int>>("expected"); // C, L, A, M, G
        QTest::newRow("96 ppi defaults") << 96 << 100.0 << 10.0 << 0.3 << QList<int>{38, 1, 4, 4, 57};
        QTest::newRow("600 ppi defaults") << 600 << 100.0 << 10.0 << 0.3 << QList<int>{236, 7, 24, 24, 354};
        QTest::newRow("zoom 10 collapses a 1 mm cell")
            << 96 << 10.0 << 1.0 << 0.3 << QList<int>{0, 1, 0, 0, 6};
        QTest::newRow("thinnest line still 1 pixel")
            << 96 << 100.0 << 10.0 << 0.001 << QList<int>{38, 1, 4, 4, 57};
        QTest::newRow("zoom 200 doubles") << 96 << 200.0 << 10.0 << 0.3 << QList<int>{76, 2, 8, 8, 113};
    }
    void geometry() {
        QFETCH(int, resolution);
        QFETCH(double, zoom);
        QFETCH(double, cellWidth);
        QFETCH(double, lineWidth);
        QFETCH(QList<int>, expected);
        PuzzleModel model;
        PuzzleSettings settings;
        settings.zoom = zoom;
        settings.cellWidth = cellWidth;
        settings.lineWidth = lineWidth;
        const PuzzleGeometry g = puzzleGeometry(model, settings, resolution);
        QCOMPARE((QList<int>{g.cellSize, g.lineWidth, g.arrowSize, g.textMargin, g.pageMargin}), expected);
        QCOMPARE(g.gridTop, g.pageMargin + 2 * g.titleHeight);
    }

    void pictureSizeFollowsExtent_data() {
        QTest::addColumn<bool>("allFree");
        QTest::addColumn<int>("extent");
        QTest::newRow("all zero: every cell a letter cell") << false << 99;
        QTest::newRow("all free: only the title") << true << 0;
    }
    void pictureSizeFollowsExtent() {
        QFETCH(bool, allFree);
        QFETCH(int, extent);
        PuzzleModel model;
        if (allFree)
            model.grid = freeGrid();
        const PuzzleSettings settings;
        const PuzzleGeometry g = puzzleGeometry(model, settings, screenPpi);
        QCOMPARE(g.lastColumn, extent);
        QCOMPARE(g.lastRow, extent);
        QVERIFY(g.titleHeight > 0);
        // The picture is at least as wide as the title and its margins: wider than one cell here.
        const QImage device(1, 1, QImage::Format_RGB32);
        const int title = QFontMetrics(scaledFont(settings.titleFont, 100, screenPpi), &device)
                              .horizontalAdvance(QString::fromStdU16String(settings.title));
        QCOMPARE(g.width, std::max((extent + 1) * 38 + 1, title) + 2 * 57);
        QCOMPARE(g.height, (extent + 1) * 38 + 1 + 2 * (57 + 2 * g.titleHeight));
        QCOMPARE(puzzlePictureSize(model, settings, screenPpi), QSize(g.width, g.height));
    }

    // A puzzle narrower than its title is drawn as wide as the title with the page margin after it; a
    // short title leaves the width to the grid.
    void titleIsNeverCut_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("widens");
        QTest::newRow("long title over one clue")
            << QStringLiteral("Vokabelrätsel der Klasse 5b") << false << true;
        QTest::newRow("italic title") << QStringLiteral("Vokabelrätsel der Klasse 5b") << true << true;
        QTest::newRow("short title") << QStringLiteral("A") << false << false;
    }
    void titleIsNeverCut() {
        QFETCH(QString, title);
        QFETCH(bool, italic);
        QFETCH(bool, widens);
        PuzzleModel model;
        model.grid = freeGrid();
        model.AddEntry(u"Ei", u"EI");
        model.grid[cellIndex(0, 0)] = clueCellValue(0, false);
        PuzzleSettings settings;
        settings.markPageEnd = false;
        settings.titleFont.italic = italic;
        settings.title = title.toStdU16String();
        const Picture shown = picture(model, settings);
        PuzzleSettings untitled = settings;
        untitled.title.clear();
        const QSize gridOnly = puzzlePictureSize(model, untitled, screenPpi);
        QCOMPARE(shown.image.width() > gridOnly.width(), widens);
        QCOMPARE(shown.image.height(), gridOnly.height());
        // The title's ink ends before the page margin on the right.
        const QRect titleBand(0, shown.g.pageMargin, shown.image.width(), shown.g.titleHeight);
        const QRect rightMargin(shown.image.width() - shown.g.pageMargin, titleBand.top(), shown.g.pageMargin,
                                titleBand.height());
        QVERIFY(countPixels(shown.image, titleBand, isDark) > 0);
        QVERIFY(allPixels(shown.image, rightMargin, white));
    }

    // The size a picture is announced with is the size it is drawn with, also where the title's width
    // decides it and its characters come from fallback fonts at a low resolution.
    void announcedSizeIsDrawnSize_data() {
        QTest::addColumn<int>("resolution");
        QTest::newRow("1 pixel per inch") << 1;
        QTest::newRow("24 pixels per inch") << 24;
        QTest::newRow("96 pixels per inch") << screenPpi;
    }
    void announcedSizeIsDrawnSize() {
        QFETCH(int, resolution);
        PuzzleModel model;
        model.grid = freeGrid();
        PuzzleSettings settings;
        settings.zoom = 10;
        settings.titleFont.face = u"Liberation Sans";
        settings.titleFont.pointSize = INT32_MIN; // as small as a font gets: 1 point
        settings.title = std::u16string(u"\u8383\u8000\u4780\u3328\u8375\u8383\u0083\0\0\t\0\0\0\0", 14);
        QString error;
        const QImage image = renderPuzzleImage(model, settings, resolution, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), puzzlePictureSize(model, settings, resolution));
    }

    void hugeSettingsDoNotOverflow() {
        PuzzleModel model; // all zero: 100 x 100 cells
        PuzzleSettings settings;
        settings.zoom = 1000;
        settings.cellWidth = 100;
        const PuzzleGeometry g = puzzleGeometry(model, settings, screenPpi);
        QCOMPARE(g.cellSize, 3780);
        QCOMPARE(g.width, 100 * 3780 + g.lineWidth + 2 * g.pageMargin);
        QVERIFY(!pictureSizeIsDrawable(QSize(g.width, g.height)));
        QString error;
        QVERIFY(renderPuzzleImage(model, settings, screenPpi, &error).isNull());
        QVERIFY2(error.contains(QStringLiteral("zu groß")), qPrintable(error));

        const PuzzleGeometry absurd = puzzleGeometry(model, settings, INT_MAX);
        QCOMPARE(absurd.cellSize, maxPixelLength);
        QVERIFY(absurd.width > 0 && absurd.height > 0);
    }

    void millimetres_data() {
        QTest::addColumn<double>("millimetres");
        QTest::addColumn<int>("resolution");
        QTest::addColumn<double>("zoomFactor");
        QTest::addColumn<int>("pixels");
        QTest::newRow("10 mm at 96") << 10.0 << 96 << 1.0 << 38;
        QTest::newRow("15 mm at 96") << 15.0 << 96 << 1.0 << 57;
        QTest::newRow("0.3 mm at 600") << 0.3 << 600 << 1.0 << 7;
        QTest::newRow("1 mm at zoom 10") << 1.0 << 96 << 0.1 << 0;
        QTest::newRow("negative") << -10.0 << 96 << 1.0 << -38;
        QTest::newRow("beyond int") << 1e12 << 1200 << 10.0 << INT_MAX;
        QTest::newRow("not a number") << std::nan("") << 96 << 1.0 << 0;
    }
    void millimetres() {
        QFETCH(double, millimetres);
        QFETCH(int, resolution);
        QFETCH(double, zoomFactor);
        QFETCH(int, pixels);
        QCOMPARE(millimetresToPixels(millimetres, resolution, zoomFactor), pixels);
    }

    void halvesGoToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("just above a half") << 2.5000001 << 3;
        QTest::newRow("too large") << 1e30 << INT_MAX;
        QTest::newRow("too small") << -1e30 << INT_MIN;
    }
    void halvesGoToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(roundHalfEven(value), rounded);
    }

    void pageEnd_data() {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("expected");
        // At 256 printer pixels per inch and 96 on screen these land exactly on halves.
        QTest::newRow("1.5 up") << 4 << 2;
        QTest::newRow("4.5 down") << 12 << 4;
        QTest::newRow("7.5 up") << 20 << 8;
        QTest::newRow("10.5 down") << 28 << 10;
    }
    void pageEnd() {
        QFETCH(int, pageWidth);
        QFETCH(int, expected);
        const std::optional<QPoint> end = pageEndPosition({256, pageWidth, pageWidth}, screenPpi);
        QVERIFY(end);
        QCOMPARE(*end, QPoint(expected, expected));
    }

    void defaultPageAndPrinters() {
        const PrinterPage page = defaultPdfPage();
        QCOMPARE(page.resolution, 1200);
        QCOMPARE(pageEndPosition(page, screenPpi), std::optional<QPoint>(QPoint(767, 1096)));
        QVERIFY(!pageEndPosition({0, 100, 100}, screenPpi));

        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        const PrinterPage asked = QPrinterQuery(pdf).currentPage();
        QCOMPARE(asked.resolution, page.resolution);
        QCOMPARE(asked.width, page.width);
        QCOMPARE(asked.height, page.height);
        pdf.setPageOrientation(QPageLayout::Landscape);
        const PrinterPage turned = QPrinterQuery(pdf).currentPage();
        QCOMPARE(turned.width, page.height);
    }

    void fontScaling_data() {
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("points");
        QTest::newRow("8 pt at zoom 150") << 8 << 150.0 << 12;
        QTest::newRow("8 pt at zoom 10 raised to 1") << 8 << 10.0 << 1;
        QTest::newRow("8 pt at zoom 110 truncated") << 8 << 110.0 << 8;
        QTest::newRow("14 pt at zoom 1000") << 14 << 1000.0 << 140;
        QTest::newRow("negative size") << -5 << 100.0 << 1;
        QTest::newRow("absurd size") << INT_MAX << 1000.0 << maxScaledPoints;
    }
    void fontScaling() {
        QFETCH(int, pointSize);
        QFETCH(double, zoom);
        QFETCH(int, points);
        QCOMPARE(scaledPointSize(pointSize, zoom), points);
    }

    void fontPixels_data() {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<int>("pixels");
        QTest::newRow("96 ppi") << 96 << 11;
        QTest::newRow("600 ppi") << 600 << 67;
        QTest::newRow("1200 ppi") << 1200 << 133;
    }
    void fontPixels() {
        QFETCH(int, resolution);
        QFETCH(int, pixels);
        FontDescription d = FontDescription::defaultClueFont();
        d.bold = true;
        d.italic = true;
        const QFont font = scaledFont(d, 100, resolution);
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(font.family(), QStringLiteral("Arial Narrow"));
        QVERIFY(font.bold() && font.italic() && !font.underline());
    }

    void fontColours_data() {
        QTest::addColumn<quint32>("stored");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("window text") << FontDescription::windowTextColor << QColor(Qt::black);
        QTest::newRow("window background") << 0xFF000005u << QColor(Qt::white);
        QTest::newRow("unknown system index") << 0xFF0000FEu << QColor(Qt::black);
        QTest::newRow("explicit red") << 0x000000FFu << QColor(Qt::red);
        QTest::newRow("explicit blue") << 0x00FF0000u << QColor(Qt::blue);
    }
    void fontColours() {
        QFETCH(quint32, stored);
        QFETCH(QColor, colour);
        QCOMPARE(fontColor(stored), colour);
    }

    void dialogFontRoundTrip_data() {
        QTest::addColumn<double>("dialogPoints");
        QTest::addColumn<int>("ppi");
        QTest::addColumn<int>("storedPoints");
        QTest::newRow("8 pt at 96") << 8.0 << 96 << 8;
        QTest::newRow("7.5 pt at 96: height 10 gives 8") << 7.5 << 96 << 8;
        QTest::newRow("8 pt at 120") << 8.0 << 120 << 8;
        QTest::newRow("14 pt at 96") << 14.0 << 96 << 14;
    }
    void dialogFontRoundTrip() {
        QFETCH(double, dialogPoints);
        QFETCH(int, ppi);
        QFETCH(int, storedPoints);
        FontDescription d{u"Liberation Serif", 8, ppi};
        d.color = 0x00336699u;
        d.underline = true;
        QFont font = dialogFont(d);
        QCOMPARE(font.pointSize(), 8);
        font.setPointSizeF(dialogPoints);
        const FontDescription back = fontDescriptionFromQFont(font, fontColor(d.color), ppi);
        QCOMPARE(back.pointSize, storedPoints);
        d.pointSize = storedPoints;
        QVERIFY(back == d);
    }

    // The drawing layer: outlines centred on the edge lines, shared by neighbouring cells.
    void rectangleOutline_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("first"); // first column of the band around x = 10
        QTest::newRow("1 pixel") << 1 << 10;
        QTest::newRow("2 pixels") << 2 << 9;
        QTest::newRow("7 pixels") << 7 << 7;
    }
    void rectangleOutline() {
        QFETCH(int, width);
        QFETCH(int, first);
        QImage image = filledImage(QSize(60, 60), white);
        onCanvas(image, [width](Canvas &canvas) {
            canvas.setPen(Qt::black, width);
            canvas.setBrush(Qt::yellow);
            canvas.rectangle(10, 10, 41, 41); // outline along 10 and 40
        });
        const int last = first + width - 1;
        for (int edge : {0, 30}) {
            QCOMPARE(image.pixel(first + edge, 25), black);
            QCOMPARE(image.pixel(last + edge, 25), black);
            QCOMPARE(image.pixel(25, first + edge), black);
        }
        QCOMPARE(image.pixel(first - 1, 25), white);
        QCOMPARE(image.pixel(last + 31, 25), white);
        QCOMPARE(image.pixel(last + 1, 25), qRgb(255, 255, 0));
        QCOMPARE(image.pixel(first + 29, 25), qRgb(255, 255, 0));
    }

    // The picture cleared together with the cells' outlines gives the pixels of the rectangle and one
    // fill per band: drawn into 32-bit images moved by whole pixels as rows repeated down, on other
    // targets as fills. The bands run past the image, overlap, are short, square and empty.
    void rectangleUnderBandsAsFills_data() {
        QTest::addColumn<int>("format"); // QImage::Format
        QTest::addColumn<QTransform>("transform");
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<int>("alpha");      // of the fill
        QTest::addColumn<QRect>("area");     // null: the whole canvas
        QTest::addColumn<double>("opacity"); // of the painter
        const int rgb32 = QImage::Format_RGB32;
        QTest::newRow("RGB32") << rgb32 << QTransform() << 1 << 255 << QRect() << 1.0;
        QTest::newRow("RGB32, 3-pixel pen") << rgb32 << QTransform() << 3 << 255 << QRect() << 1.0;
        QTest::newRow("premultiplied ARGB32, moved by whole pixels")
            << int(QImage::Format_ARGB32_Premultiplied) << QTransform::fromTranslate(-7, -5) << 2 << 255
            << QRect() << 1.0;
        QTest::newRow("RGB32, part of the canvas")
            << rgb32 << QTransform() << 1 << 255 << QRect(12, 8, 30, 41) << 1.0;
        QTest::newRow("RGB16: fills")
            << int(QImage::Format_RGB16) << QTransform() << 1 << 255 << QRect() << 1.0;
        QTest::newRow("scaled: fills") << rgb32 << QTransform::fromScale(2, 2) << 1 << 255 << QRect() << 1.0;
        QTest::newRow("moved by half a pixel: fills")
            << rgb32 << QTransform::fromTranslate(0.5, 0) << 1 << 255 << QRect() << 1.0;
        QTest::newRow("translucent fill: fills") << rgb32 << QTransform() << 1 << 128 << QRect() << 1.0;
        QTest::newRow("translucent painter: fills") << rgb32 << QTransform() << 1 << 255 << QRect() << 0.5;
    }
    void rectangleUnderBandsAsFills() {
        QFETCH(int, format);
        QFETCH(QTransform, transform);
        QFETCH(int, penWidth);
        QFETCH(int, alpha);
        QFETCH(QRect, area);
        QFETCH(double, opacity);
        const std::vector<QRect> bands = {QRect(10, -5, 1, 90), QRect(25, 12, 3, 40),   QRect(26, 30, 1, 70),
                                          QRect(-4, 50, 80, 2), QRect(40, 40, 5, 5),    QRect(70, 0, 2, 200),
                                          QRect(55, 3, 1, 20),  QRect(300, 300, 3, 30), QRect()};
        const QColor fill(250, 240, 200, alpha);
        const auto draw = [&](bool together) {
            QImage image = filledImage(QSize(80, 70), sentinel).convertToFormat(QImage::Format(format));
            QPainter painter(&image);
            painter.setTransform(transform);
            painter.setOpacity(opacity);
            if (!area.isNull() && !together)
                painter.setClipRect(area);
            {
                Canvas canvas(painter, screenPpi);
                if (together) {
                    canvas.setPen(Qt::black, penWidth);
                    canvas.rectangleUnderBands(-10, -10, 120, 100, fill, bands,
                                               area.isNull() ? std::nullopt : std::optional<QRect>(area));
                } else {
                    canvas.setPen(fill, penWidth);
                    canvas.setBrush(fill);
                    canvas.rectangle(-10, -10, 120, 100);
                    for (const QRect &band : bands)
                        painter.fillRect(band, Qt::black);
                }
            }
            painter.end();
            return image;
        };
        QCOMPARE(draw(true), draw(false));
    }

    void textBackground_data() {
        boolRows("opaque", "opaque: brush colour behind the text", "transparent: left alone");
    }
    void textBackground() {
        QFETCH(bool, opaque);
        QImage image = filledImage(QSize(200, 60), white);
        QRect box;
        onCanvas(image, [&](Canvas &canvas) {
            canvas.setBrush(Qt::green);
            canvas.setTextBackground(opaque ? TextBackground::Opaque : TextBackground::Transparent);
            canvas.textOut(5, 5, QStringLiteral("Ab c"));
            canvas.drawWrappedText(QStringLiteral("Ab c"), QRect(5, 30, 100, 20));
            box = QRect(5, 5, canvas.textWidth(QStringLiteral("Ab c")), canvas.textHeight());
        });
        const auto green = [](QRgb p) { return p == qRgb(0, 255, 0); };
        QCOMPARE(countPixels(image, box, green) > box.width() * box.height() / 2, opaque);
        QCOMPARE(countPixels(image, box.translated(0, 25), green) > box.width() * box.height() / 2, opaque);
        QVERIFY(countPixels(image, box, isDark) > 0);
    }

    void wrappedTextStaysInItsRectangle() {
        QImage image = filledImage(QSize(120, 120), white);
        const QRect rect(20, 20, 40, 30);
        onCanvas(image, [rect](Canvas &canvas) {
            canvas.drawWrappedText(QStringLiteral("Ein\nsehr langer Hinweistext mit Donaudampfschifffahrt"),
                                   rect);
        });
        QCOMPARE(countPixels(image, image.rect(), isDark), countPixels(image, rect, isDark));
        // "Ein" stands alone on the first line: the line break is honoured.
        QVERIFY(countPixels(image, QRect(rect.left() + 20, rect.top(), 20, 10), isDark) == 0);
        QVERIFY(countPixels(image, QRect(rect.left(), rect.top() + 14, 40, 10), isDark) > 0);
    }

    // Qt's SVG generator writes no clip paths; the drawing layer cuts wrapped text itself there, so the
    // SVG shows what the image shows: whole lines as text, the line that passes the bottom edge cut
    // at it, nothing outside the rectangle.
    void wrappedTextOnSvgIsCutAtItsRectangle() {
        const QString text = QStringLiteral("Ein\nHinweis mit LANGEN WORTEN");
        const int lineHeight =
            QFontMetrics(scaledFont(FontDescription::defaultClueFont(), 300, screenPpi)).height();
        const QRect rect(20, 20, 100, 2 * lineHeight + lineHeight / 2); // the third line is cut in half
        const QSize size(200, 200);
        const auto draw = [&](QPaintDevice &device) {
            onCanvas(
                device, [&](Canvas &canvas) { canvas.drawWrappedText(text, rect); }, 300);
        };
        QImage image = filledImage(size, white);
        draw(image);
        QBuffer svg;
        svg.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setResolution(screenPpi);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        draw(generator);
        QImage shown = filledImage(size, white);
        {
            QPainter painter(&shown);
            QSvgRenderer(svg.data()).render(&painter);
        }

        QVERIFY(countPixels(shown, rect, isDark) > 0);
        QCOMPARE(countPixels(shown, shown.rect(), isDark), countPixels(shown, rect, isDark));
        const QRect cutLine(rect.left(), rect.top() + 2 * lineHeight, rect.width(),
                            rect.height() - 2 * lineHeight);
        QVERIFY(countPixels(image, cutLine, isDark) > 0);
        QVERIFY(countPixels(shown, cutLine, isDark) > 0);
        QVERIFY(svg.data().contains(">Ein<"));
    }

    void clueCellColours_data() {
        boolRows("clueCellsBlack", "black cells, white text", "white cells, black text");
    }
    void clueCellColours() {
        QFETCH(bool, clueCellsBlack);
        PuzzleModel &model = *sample;
        PuzzleSettings settings;
        settings.clueCellsBlack = clueCellsBlack;
        const auto [image, g] = picture(model, settings);
        const QRect inside = cellInside(g, 0, 1);
        const QRgb fill = clueCellsBlack ? black : white;
        QCOMPARE(image.pixel(inside.bottomRight()), fill);
        QCOMPARE(image.pixel(inside.topLeft()), fill);
        const QRect text(inside.topLeft() + QPoint(g.textMargin, g.textMargin),
                         QSize(g.cellSize - 2 * g.textMargin, g.cellSize - 2 * g.textMargin));
        QVERIFY(countPixels(image, text, clueCellsBlack ? isLight : isDark) > 10);
        QCOMPARE(image.pixel(cellOrigin(g, 0, 1) + QPoint(g.cellSize / 2, 0)), black); // outline
    }

    void arrowsPointIntoTheFirstLetter() {
        PuzzleModel &model = *sample;
        const PuzzleSettings settings;
        const auto [image, g] = picture(model, settings);
        const int h = g.cellSize / 2, t = 3 * g.arrowSize / 2;
        const QPoint across = cellOrigin(g, 0, 1); // clue of HAUS
        QCOMPARE(image.pixel(across + QPoint(g.cellSize + 2, h)), black);
        QCOMPARE(image.pixel(across + QPoint(g.cellSize + 2, h - g.arrowSize - 2)), white);
        QCOMPARE(image.pixel(across + QPoint(g.cellSize + t + 2, h)), white);
        const QPoint down = cellOrigin(g, 6, 0); // clue of OST
        QCOMPARE(image.pixel(down + QPoint(h, g.cellSize + 2)), black);
        QCOMPARE(image.pixel(down + QPoint(h + g.arrowSize + 2, g.cellSize + 2)), white);
        QCOMPARE(image.pixel(down + QPoint(h, g.cellSize + t + 2)), white);
    }

    void otherArrowKindsGetNoArrow() {
        PuzzleModel &model = *sample;
        model.AddEntry(u"Sonderfall", u"X");
        model.grid[cellIndex(2, 5)] = clueCellValue(2, true, 1);
        model.grid[cellIndex(2, 6)] = 'X';
        const auto [image, g] = picture(model, PuzzleSettings());
        QCOMPARE(image.pixel(cellOrigin(g, 2, 5) + QPoint(g.cellSize / 2, g.cellSize + 2)), white);
    }

    void clueIndexBeyondEntriesIsAnEmptyClueCell() {
        PuzzleModel &model = *sample;
        model.grid[cellIndex(3, 5)] = clueCellValue(5, false);
        model.grid[cellIndex(4, 5)] = 'Z';
        const PuzzleSettings settings;
        const auto [image, g] = picture(model, settings);
        QCOMPARE(countPixels(image, cellInside(g, 3, 5), isLight), 0);
        QCOMPARE(image.pixel(cellOrigin(g, 3, 5) + QPoint(g.cellSize + 2, g.cellSize / 2)),
                 white); // no arrow
    }

    // A view keeps the layouts of the clues it painted and draws them again; whatever changed in
    // between, it draws what a paint without kept layouts draws.
    void keptLayoutsDrawWhatIsPaintedAfresh_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fitClues");
        for (const char *change : {"nothing", "clue font size", "clue font face", "bold clue font",
                                   "cell width", "text margin", "zoom", "resolution", "smallest fitted font"})
            for (const bool fitted : {false, true})
                if (fitted || QByteArray(change) != "smallest fitted font")
                    QTest::addRow("%s%s", change, fitted ? ", fitted" : "") << QString(change) << fitted;
    }
    void keptLayoutsDrawWhatIsPaintedAfresh() {
        QFETCH(QString, change);
        QFETCH(bool, fitClues);
        PuzzleSettings settings;
        settings.fitClues = fitClues;
        settings.minClueFontSize = 4;
        int resolution = screenPpi;
        TextLayouts layouts;
        paintedPicture(*sample, settings, resolution, &layouts);
        QVERIFY(layouts.size() > 0);

        if (change == "clue font size")
            settings.clueFont.pointSize += 3;
        else if (change == "clue font face")
            settings.clueFont.face = u"Courier New";
        else if (change == "bold clue font")
            settings.clueFont.bold = true;
        else if (change == "cell width")
            settings.cellWidth += 4;
        else if (change == "text margin")
            settings.textMargin += 1;
        else if (change == "zoom")
            settings.zoom = 150;
        else if (change == "resolution")
            resolution = 144;
        else if (change == "smallest fitted font")
            settings.minClueFontSize = 2;
        const QImage kept = paintedPicture(*sample, settings, resolution, &layouts);
        QCOMPARE(kept, paintedPicture(*sample, settings, resolution, nullptr));
    }

    // Lines set in twice the pixels on a device of twice the resolution are the same font in points:
    // what was laid out for one device is not drawn on the other.
    void keptLayoutsBelongToTheirDevicesResolution() {
        TextLayouts layouts;
        const auto draw = [](int dpi, TextLayouts *kept) {
            QImage image = filledImage(QSize(300, 120), white);
            image.setDotsPerMeterX(qRound(dpi / 0.0254));
            image.setDotsPerMeterY(qRound(dpi / 0.0254));
            onCanvas(image, [&](Canvas &canvas) {
                canvas.keepLayoutsIn(kept);
                canvas.drawTextLines({QStringLiteral("Hinweis"), QStringLiteral("Text")},
                                     12.0 * dpi / screenPpi, QPointF(4, 4), 40);
            });
            return image;
        };
        draw(screenPpi, &layouts);
        QCOMPARE(draw(2 * screenPpi, &layouts), draw(2 * screenPpi, nullptr));
    }

    void clueTextIsCutAtTheInnerRectangle() {
        PuzzleModel model;
        model.grid = freeGrid();
        placeAnswer(model, u"Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort Wort", u"AB",
                    {false, 1, 1});
        const PuzzleSettings settings;
        const auto [image, g] = picture(model, settings);
        const QPoint o = cellOrigin(g, 0, 1);
        const QRect inner(o + QPoint(g.textMargin, g.textMargin),
                          QSize(g.cellSize - 2 * g.textMargin, g.cellSize - 2 * g.textMargin));
        QVERIFY(countPixels(image, inner, isLight) > 20);
        QCOMPARE(countPixels(image, cellInside(g, 0, 1), isLight), countPixels(image, inner, isLight));
        QVERIFY(countPixels(image, QRect(inner.left(), inner.bottom() - 3, inner.width(), 4), isLight) > 0);
    }

    void solutionLetters_data() { boolRows("showSolution", "shown", "hidden"); }
    void solutionLetters() {
        QFETCH(bool, showSolution);
        PuzzleModel &model = *sample;
        PuzzleSettings settings;
        settings.showSolution = showSolution;
        const auto [image, g] = picture(model, settings);
        const QRect inside = cellInside(g, 2, 1); // A (the first letter holds an arrow tip)
        const int dark = countPixels(image, inside, isDark);
        QCOMPARE(dark > 10, showSolution);
        if (!showSolution)
            return;
        long long sx = 0, sy = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (isDark(image.pixel(x, y))) {
                    sx += x;
                    sy += y;
                }
        const QPoint centre = cellOrigin(g, 2, 1) + QPoint(g.cellSize / 2, g.cellSize / 2);
        QVERIFY(qAbs(sx / dark - centre.x()) <= 2);
        QVERIFY(qAbs(sy / dark - centre.y()) <= 3);
    }

    // A document may hold any cell value. Negative ones are letter cells that show the code unit their
    // low 16 bits give, exactly as that letter would show.
    void negativeCellsDrawAsTheirLetter_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("drawnAs");
        QTest::newRow("low bits give A") << int(0xFFFF0041) << int('A');
        QTest::newRow("far below zero, low bits give A") << int(0xC0000041) << int('A');
        QTest::newRow("-1: no printable letter") << -1 << 0;
        QTest::newRow("smallest int: code 0") << INT_MIN << 0;
    }
    void negativeCellsDrawAsTheirLetter() {
        QFETCH(int, stored);
        QFETCH(int, drawnAs);
        PuzzleSettings settings;
        settings.showSolution = true;
        PuzzleModel model;
        model.grid = freeGrid();
        model.grid[cellIndex(1, 1)] = stored;
        model.grid[cellIndex(2, 1)] = stored;
        const QImage image = screenPicture(model, settings);
        model.grid[cellIndex(1, 1)] = model.grid[cellIndex(2, 1)] = drawnAs;
        const QImage expected = screenPicture(model, settings);
        QVERIFY(!image.isNull());
        QVERIFY(image == expected);
    }

    // A letter wider than its cell spills over both edges; the cells drawn after it are filled over
    // the spill, the cells drawn before keep it.
    void oversizedLettersSpillOntoEarlierCellsOnly() {
        PuzzleModel model;
        model.grid = freeGrid();
        placeAnswer(model, u"a", u"WI", {false, 1, 1});
        placeAnswer(model, u"b", u"IW", {false, 3, 1});
        PuzzleSettings settings;
        settings.showSolution = true;
        settings.clueFont = {u"Liberation Sans", 40};
        const auto [image, g] = picture(model, settings);
        const QPoint afterW = cellOrigin(g, 2, 1);
        QCOMPARE(countPixels(image, QRect(afterW + QPoint(2, 1), QSize(6, g.cellSize - 1)), isDark), 0);
        const QPoint beforeW = cellOrigin(g, 1, 3);
        QVERIFY(countPixels(image, QRect(beforeW + QPoint(g.cellSize - 6, 1), QSize(5, g.cellSize - 1)),
                            isDark) > 0);
    }

    void pageEndMarking_data() {
        QTest::addColumn<bool>("markPageEnd");
        QTest::addColumn<bool>("printit");
        QTest::addColumn<bool>("marked");
        QTest::newRow("screen, marking on") << true << false << true;
        QTest::newRow("screen, marking off") << false << false << false;
        QTest::newRow("printer page") << true << true << false;
    }
    void pageEndMarking() {
        QFETCH(bool, markPageEnd);
        QFETCH(bool, printit);
        QFETCH(bool, marked);
        PuzzleModel model;
        model.grid = freeGrid();
        PuzzleSettings settings;
        settings.markPageEnd = markPageEnd;
        const FixedPrinterQuery printer({100, 100, 150}); // ends at 96 x 144 on screen
        QSize size = puzzlePictureSize(model, settings, screenPpi);
        QImage image = filledImage(size, white);
        QVERIFY(drawOnto(image, model, settings, printit, &size, screenPpi, printer));
        const auto isRed = [](QRgb p) { return p == qRgb(255, 0, 0); };
        QCOMPARE(countPixels(image, image.rect(), isRed), marked ? 144 + 96 : 0);
        if (marked) {
            QCOMPARE(image.pixel(96, 0), red);
            QCOMPARE(image.pixel(96, 144), red);
            QCOMPARE(image.pixel(1, 144), red);
            QVERIFY(image.pixel(0, 144) != red); // a line leaves out its end point
        }
    }

    void sizeChangeDrawsNothing() {
        PuzzleModel &model = *sample;
        const PuzzleSettings settings;
        QImage image = filledImage(QSize(50, 40), sentinel);
        QSize box(50, 40);
        QVERIFY(!drawOnto(image, model, settings, false, &box));
        QCOMPARE(box, puzzlePictureSize(model, settings, screenPpi));
        QCOMPARE(countPixels(image, image.rect(), [](QRgb p) { return p != sentinel; }), 0);

        image = filledImage(box, sentinel);
        QVERIFY(drawOnto(image, model, settings, false, &box));
        QCOMPARE(image.pixel(0, 0), white);
    }

    void screenClearsAndPrinterPageDoesNot_data() { boolRows("printit", "printer", "screen"); }
    void screenClearsAndPrinterPageDoesNot() {
        QFETCH(bool, printit);
        PuzzleModel &model = *sample;
        const PuzzleSettings settings;
        QSize size = puzzlePictureSize(model, settings, screenPpi);
        QImage image = filledImage(size, sentinel);
        QVERIFY(drawOnto(image, model, settings, printit, &size));
        const PuzzleGeometry g = puzzleGeometry(model, settings, screenPpi);
        QCOMPARE(image.pixel(0, 0), printit ? sentinel : white);
        // Letter cells are white inside whatever the surface held before.
        QCOMPARE(countPixels(image, cellInside(g, 2, 1), [](QRgb p) { return p != white; }), 0);
    }

    void resolutionFromTheDevice() {
        PuzzleModel &model = *sample;
        PuzzleSettings settings;
        settings.showSolution = true;
        const QImage stated = screenPicture(model, settings);
        QImage fromDevice(stated.size(), QImage::Format_RGB32);
        fromDevice.setDotsPerMeterX(3780); // 96 pixels per inch
        fromDevice.setDotsPerMeterY(3780);
        QSize size = stated.size();
        QVERIFY(drawOnto(fromDevice, model, settings, false, &size, 0));
        QCOMPARE(fromDevice, stated);
    }

    // Cells outside the painter's clip or beyond the device are skipped; what is visible must not change.
    // Without solution letters the outlines are drawn together as edge lines, with them cell by cell.
    void partialPaintsShowTheSamePixels_data() {
        QTest::addColumn<bool>("clipped");
        QTest::addColumn<bool>("showSolution");
        QTest::newRow("clip rectangle, solution") << true << true;
        QTest::newRow("translated onto a smaller image, solution") << false << true;
        QTest::newRow("clip rectangle, edge lines") << true << false;
        QTest::newRow("translated onto a smaller image, edge lines") << false << false;
    }
    void partialPaintsShowTheSamePixels() {
        QFETCH(bool, clipped);
        QFETCH(bool, showSolution);
        PuzzleModel &model = *sample;
        PuzzleSettings settings;
        settings.showSolution = showSolution;
        const QImage full = screenPicture(model, settings);
        const QRect shown(150, 90, 80, 60);
        QImage part = filledImage(clipped ? full.size() : shown.size(), sentinel);
        QSize size = full.size();
        QPainter painter(&part);
        if (clipped)
            painter.setClipRect(shown);
        else
            painter.translate(-shown.topLeft());
        QVERIFY(drawPuzzle(painter, model, settings,
                           RenderTarget::picture(size, screenPpi, FixedPrinterQuery(defaultPdfPage())))
                    .drawn);
        painter.end();
        QCOMPARE(clipped ? part.copy(shown) : part, full.copy(shown));
        if (clipped)
            QCOMPARE(part.pixel(0, 0), sentinel);
    }

    // The screen view draws the outlines of all cells at once, as runs along each edge line; a printer
    // page draws them cell by cell. On a white page both must give the very same pixels, holes, ragged
    // edges and thick lines included.
    void gridLinesAsDrawnCellByCell_data() {
        QTest::addColumn<double>("lineWidth");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("solution");
        QTest::addColumn<int>("letterPoints"); // size of the clue font, which the solution letters use
        QTest::newRow("1 pixel") << 0.3 << 100.0 << false << 8;
        QTest::newRow("2 pixels") << 0.5 << 100.0 << false << 8;
        QTest::newRow("3 pixels, odd") << 0.8 << 100.0 << false << 8;
        QTest::newRow("7 pixels, zoom 50") << 3.7 << 50.0 << false << 8;
        QTest::newRow("lines as wide as cells") << 10.0 << 100.0 << false << 8;
        // The screen view paints the rows between where lines begin and end as one repeated row.
        QTest::newRow("zoom 400") << 0.5 << 400.0 << false << 8;
        QTest::newRow("zoom 700, thick lines") << 2.5 << 700.0 << false << 8;
        // Solution letters inside their cells are drawn over the cleared picture; letters that reach
        // an outline or a later cell must come out as drawn cell by cell all the same.
        QTest::newRow("solution letters") << 0.3 << 100.0 << true << 8;
        QTest::newRow("solution letters, zoom 400") << 0.5 << 400.0 << true << 8;
        QTest::newRow("solution letters larger than their cells") << 0.3 << 100.0 << true << 40;
        QTest::newRow("solution letters as high as their cells") << 0.3 << 100.0 << true << 22;
        QTest::newRow("solution letters, thick lines") << 2.0 << 100.0 << true << 8;
        QTest::newRow("solution letters touching thick lines") << 2.0 << 100.0 << true << 20;
    }
    void gridLinesAsDrawnCellByCell() {
        QFETCH(double, lineWidth);
        QFETCH(double, zoom);
        QFETCH(bool, solution);
        QFETCH(int, letterPoints);
        PuzzleModel model;
        fillLinesAndLetters(model);
        PuzzleSettings settings;
        settings.lineWidth = lineWidth;
        settings.zoom = zoom;
        settings.markPageEnd = false;
        settings.showSolution = solution;
        settings.clueFont.pointSize = letterPoints;
        const QImage screen = screenPicture(model, settings);
        QVERIFY(!screen.isNull());
        QImage page = filledImage(screen.size(), white);
        QVERIFY(drawOnto(page, model, settings, true, nullptr));
        QCOMPARE(screen, page);
    }

    // The screen view copies a solution letter drawn once on white where it draws straight into an
    // image of its own kind of pixels, moved by whole pixels; elsewhere it draws each letter. Either
    // way the pixels are those of the cell-by-cell paint on the same target.
    void solutionLettersAsDrawnCellByCellOnEveryTarget_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QTransform>("transform");
        QTest::addColumn<double>("opacity"); // of the painter
        const int rgb32 = int(QImage::Format_RGB32);
        const int premultiplied = int(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("RGB32") << rgb32 << QTransform() << 1.0;
        QTest::newRow("RGB32, moved by whole pixels") << rgb32 << QTransform::fromTranslate(-37, 11) << 1.0;
        QTest::newRow("premultiplied ARGB32") << premultiplied << QTransform() << 1.0;
        QTest::newRow("premultiplied ARGB32, moved")
            << premultiplied << QTransform::fromTranslate(5, -9) << 1.0;
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32) << QTransform() << 1.0;
        QTest::newRow("moved by half a pixel: each letter drawn")
            << rgb32 << QTransform::fromTranslate(0.5, 0) << 1.0;
        QTest::newRow("RGB16: each letter drawn") << int(QImage::Format_RGB16) << QTransform() << 1.0;
        QTest::newRow("translucent painter: drawn cell by cell") << rgb32 << QTransform() << 0.5;
    }
    void solutionLettersAsDrawnCellByCellOnEveryTarget() {
        QFETCH(int, format);
        QFETCH(QTransform, transform);
        QFETCH(double, opacity);
        PuzzleModel model;
        fillLinesAndLetters(model);
        PuzzleSettings settings;
        settings.showSolution = true;
        settings.markPageEnd = false;
        const QSize size = puzzlePictureSize(model, settings, screenPpi);
        const auto draw = [&](bool printit) {
            QImage image(size, static_cast<QImage::Format>(format));
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setTransform(transform);
            painter.setOpacity(opacity);
            const RenderTarget target =
                printit ? RenderTarget::printerPage(screenPpi)
                        : RenderTarget::picture(size, screenPpi, FixedPrinterQuery(defaultPdfPage()));
            const bool drawn = drawPuzzle(painter, model, settings, target).drawn;
            painter.end();
            return drawn ? image.convertToFormat(QImage::Format_RGB32) : QImage();
        };
        const QImage screen = draw(false);
        QVERIFY(!screen.isNull());
        QCOMPARE(screen, draw(true));
    }

    void extremeSettingsOnAPrinterPageStaySafe_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("cellWidth");
        QTest::newRow("zoom 1000, 100 mm cells") << 1000.0 << 100.0;
        QTest::newRow("zoom 10, 1 mm cells: C = 0") << 10.0 << 1.0;
    }
    void extremeSettingsOnAPrinterPageStaySafe() {
        QFETCH(double, zoom);
        QFETCH(double, cellWidth);
        PuzzleModel model; // all zero: every cell drawn
        model.AddEntry(u"Hinweis", u"A");
        model.grid[0] = clueCellValue(0, false);
        PuzzleSettings settings;
        settings.zoom = zoom;
        settings.cellWidth = cellWidth;
        settings.showSolution = true;
        settings.titleFont.pointSize = 1638;
        QImage page = filledImage(QSize(300, 300), white);
        QVERIFY(drawOnto(page, model, settings, true, nullptr, 600));
    }
};

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"
