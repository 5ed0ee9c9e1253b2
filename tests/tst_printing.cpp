#include "pictureexport.h"
#include "placement.h"
#include "puzzleprinting.h"
#include "qprinterquery.h"
#include "renderer.h"
#include "samplepuzzle.h"
#include "testfiles.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QtEndian>
#include <QtTest>

#include <stdexcept>

namespace {

constexpr int screenPpi = 96;

// Standard output of one of the PDF tools (poppler-utils); fails the test when the tool is missing.
QString pdfTool(const QString &tool, const QStringList &arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s failed (poppler-utils installed?): %s", qPrintable(tool),
                 process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The fields that pdfinfo lists ("Pages", "Page size", "Title"...), by name.
QMap<QString, QString> pdfInfo(const QString &pdf) {
    QMap<QString, QString> fields;
    for (const QString &line : pdfTool(QStringLiteral("pdfinfo"), {pdf}).split(u'\n'))
        if (const int colon = int(line.indexOf(u':')); colon > 0)
            fields[line.left(colon)] = line.mid(colon + 1).trimmed();
    return fields;
}

// The page rasterised at dpi in grey, written beside the PDF.
QImage rasterised(const QString &pdf, int dpi) {
    const QString stem = pdf.chopped(4) + u'-' + QString::number(dpi);
    pdfTool(QStringLiteral("pdftoppm"),
            {"-r", QString::number(dpi), "-gray", "-png", "-singlefile", pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// Left edge in millimetres of the leftmost dark vertical run of at least run pixels; -1 when none.
double firstVerticalLine(const QImage &page, int dpi, int run) {
    for (int x = 0; x < page.width(); ++x) {
        int length = 0;
        for (int y = 0; y < page.height(); ++y) {
            length = page.constScanLine(y)[x] < 128 ? length + 1 : 0;
            if (length >= run)
                return x / double(dpi) * 25.4;
        }
    }
    return -1;
}

// Exports the puzzle at screen resolution to the file, in the format its suffix names, the printer's
// page giving the page end; the reason in German in *error when that fails.
bool exportTo(const QString &file, PuzzleModel &puzzle, const PuzzleSettings &settings, QString *error,
              const QPrinter &printer = QPrinter(QPrinter::HighResolution)) {
    return exportPuzzlePicture(file, *pictureFormatOfFile(file), puzzle, settings, screenPpi, printer, error);
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &fileName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(fileName);
    return printer;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    PuzzleModel model;

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        smallPuzzle(model);
    }

    // One page of A4 under the job title, the text kept as text, and the grid at the page margin (times
    // the zoom) from the printable area's edge: the PDF printer's 10-point margin plus 15 mm.
    void printedPage_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("gridLeft"); // mm from the paper's edge
        const double printable = 10 / 72.0 * 25.4;
        QTest::newRow("zoom 100") << 100.0 << printable + 15;
        QTest::newRow("zoom 200 doubles every length") << 200.0 << printable + 30;
    }
    void printedPage() {
        QFETCH(double, zoom);
        QFETCH(double, gridLeft);
        const QString pdf = path(QStringLiteral("gedruckt-%1.pdf").arg(zoom));
        PuzzleSettings settings;
        settings.zoom = zoom;
        auto printer = pdfPrinter(pdf);
        QString error;
        QVERIFY2(printPuzzle(*printer, model, settings, &error), qPrintable(error));
        QCOMPARE(printer->docName(), QStringLiteral("Wabrixrätsel"));

        const QMap<QString, QString> info = pdfInfo(pdf);
        QCOMPARE(info["Pages"], QStringLiteral("1"));
        QVERIFY2(info["Page size"].endsWith(QLatin1String("(A4)")), qPrintable(info["Page size"]));
        QCOMPARE(info["Title"], QStringLiteral("Wabrixrätsel"));
        const QString text = pdfTool(QStringLiteral("pdftotext"), {pdf, "-"});
        QVERIFY2(text.contains(QStringLiteral("Wabrixrätsel")) && text.contains(QStringLiteral("Stadt")),
                 qPrintable(text));

        constexpr int dpi = 300;
        const QImage page = rasterised(pdf, dpi);
        QVERIFY(!page.isNull());
        const double lineWidth = 0.3 * zoom / 100;
        QVERIFY(qAbs(firstVerticalLine(page, dpi, 100) - (gridLeft - lineWidth / 2)) <= 0.2);
    }

    // The PDF export is the printed page: the same layout and pixels, in portrait and landscape.
    void pdfExportIsThePrintedPage_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("portrait") << int(QPageLayout::Portrait) << QStringLiteral("595 x 842 pts (A4)");
        QTest::newRow("landscape") << int(QPageLayout::Landscape) << QStringLiteral("842 x 595 pts (A4)");
    }
    void pdfExportIsThePrintedPage() {
        QFETCH(int, orientation);
        QFETCH(QString, pageSize);
        const QString printed = path(QStringLiteral("druck-%1.pdf").arg(orientation));
        const QString exported = path(QStringLiteral("export-%1.pdf").arg(orientation));
        auto printer = pdfPrinter(printed);
        printer->setPageOrientation(QPageLayout::Orientation(orientation));
        const PuzzleSettings settings;
        QVERIFY(printPuzzle(*printer, model, settings));
        QString error;
        QVERIFY2(exportTo(exported, model, settings, &error, *printer), qPrintable(error));
        const QMap<QString, QString> info = pdfInfo(exported);
        QCOMPARE(info["Page size"], pageSize);
        QCOMPARE(info["Pages"], QStringLiteral("1"));
        const QImage a = rasterised(printed, 50);
        QVERIFY(!a.isNull());
        QCOMPARE(a, rasterised(exported, 50));
    }

    // One job of the chosen pages: the puzzle as set, the solution page alone, or the puzzle without
    // letters followed by the solution page, titled as such, with the letters in the grid and the boxes.
    // The PDF export writes the same pages.
    void puzzleAndSolutionPages_data() {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("showSolution");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<bool>>("letters");
        const QString puzzle = QStringLiteral("Wabrixrätsel"),
                      solution = QStringLiteral("Wabrixrätsel – Lösung");
        QTest::newRow("puzzle") << int(PrintPages::Puzzle) << false << QStringList{puzzle}
                                << QList<bool>{false};
        QTest::newRow("puzzle as set")
            << int(PrintPages::Puzzle) << true << QStringList{puzzle} << QList<bool>{true};
        QTest::newRow("solution") << int(PrintPages::Solution) << false << QStringList{solution}
                                  << QList<bool>{true};
        QTest::newRow("both") << int(PrintPages::Both) << true << QStringList{puzzle, solution}
                              << QList<bool>{false, true};
    }
    void puzzleAndSolutionPages() {
        QFETCH(int, pages);
        QFETCH(bool, showSolution);
        QFETCH(QStringList, titles);
        QFETCH(QList<bool>, letters);
        PuzzleSettings settings;
        settings.showSolution = showSolution;
        settings.solution.word = u"hot";
        settings.solution.cells = {{1, 1}, {6, 1}, {6, 3}};
        const QString printed = path(QStringLiteral("seiten-%1-%2.pdf").arg(pages).arg(showSolution));
        auto printer = pdfPrinter(printed);
        QString error;
        QVERIFY2(printPuzzle(*printer, model, settings, PrintPages(pages), &error), qPrintable(error));
        const QString exported = path(QStringLiteral("export-seiten-%1-%2.pdf").arg(pages).arg(showSolution));
        QVERIFY2(exportPuzzlePicture(exported, PictureFormat::Pdf, model, settings, screenPpi, *printer,
                                     &error, PrintPages(pages)),
                 qPrintable(error));
        for (const QString &pdf : {printed, exported}) {
            QCOMPARE(pdfInfo(pdf)["Pages"], QString::number(titles.size()));
            for (int page = 1; page <= titles.size(); ++page) {
                const QString number = QString::number(page);
                const QStringList lines =
                    pdfTool(QStringLiteral("pdftotext"), {"-f", number, "-l", number, pdf, "-"}).split(u'\n');
                QCOMPARE(lines.first(), titles[page - 1]);
                QVERIFY(lines.contains(QStringLiteral("Lösungswort:")));
                // The grid's letters stand on lines of their own; the clues are words.
                for (const QString &letter : QStringList{"H", "A", "U", "O", "T"})
                    QCOMPARE(lines.contains(letter), letters[page - 1]);
            }
        }
    }

    // A page that fails to draw ends the job, with a German message naming the cause, and leaves the
    // printer ready for the next job; a job that cannot be opened says so.
    void failedPageEndsTheJob() {
        auto printer = pdfPrinter(path(QStringLiteral("abbruch.pdf")));
        QString error;
        QVERIFY(!printPage(
            *printer, [](QPainter &) { throw std::runtime_error("Testfehler beim Zeichnen"); }, &error));
        QVERIFY2(error.contains(QLatin1String("Testfehler beim Zeichnen")), qPrintable(error));
        QVERIFY(error.contains(QLatin1String("Druckauftrag")));
        QVERIFY(printer->printerState() != QPrinter::Active);
        QCOMPARE(printer->docName(), QStringLiteral("Wabrixrätsel"));
        QVERIFY(printPuzzle(*printer, model, PuzzleSettings(), &error));
        QCOMPARE(pdfInfo(printer->outputFileName())["Pages"], QStringLiteral("1"));

        auto unwritable = pdfPrinter(path(QStringLiteral("fehlt/seite.pdf")));
        QVERIFY(!printPuzzle(*unwritable, model, PuzzleSettings(), &error));
        QVERIFY2(error.contains(QLatin1String("konnte nicht begonnen werden")), qPrintable(error));
    }

    // Bitmap and PNG hold the screen view at the screen's resolution, sized from the settings; a
    // bitmap has 24 bits a pixel. An existing file is replaced.
    void pictureFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("bmp") << QStringLiteral("bild.bmp");
        QTest::newRow("png") << QStringLiteral("bild.png");
    }
    void pictureFiles() {
        QFETCH(QString, name);
        const QString file = path(name);
        QVERIFY(writeFile(file, "alt"));
        PuzzleSettings settings;
        settings.zoom = 150;
        const QPrinter printer(QPrinter::HighResolution);
        QString error;
        QVERIFY2(exportTo(file, model, settings, &error, printer), qPrintable(error));
        const QImage saved(file);
        QCOMPARE(saved.size(), puzzlePictureSize(model, settings, screenPpi));
        const QImage expected = renderPuzzleImage(model, settings, screenPpi, QPrinterQuery(printer));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), expected);
        if (name.endsWith(QLatin1String(".bmp"))) {
            const QByteArray bytes = fileBytes(file);
            QVERIFY(bytes.startsWith("BM"));
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        }
    }

    void svgPicture() {
        const QString file = path(QStringLiteral("bild.svg"));
        const PuzzleSettings settings;
        QVERIFY(exportTo(file, model, settings, nullptr));
        const QSize size = puzzlePictureSize(model, settings, screenPpi);
        const QByteArray svg = fileBytes(file);
        QVERIFY(svg.contains(
            QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(size.width()).arg(size.height()).toUtf8()));
        QVERIFY(svg.contains("Stadt"));
    }

    // A picture that cannot be made or written leaves an existing file as it was, with a German reason.
    void failedExportKeepsTheOldFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("huge"); // a full 100 x 100 grid of 10 cm cells at zoom 1000
        QTest::newRow("bmp too large") << "gross.bmp" << true;
        QTest::newRow("svg too large") << "gross.svg" << true;
        QTest::newRow("png into a missing folder") << "fehlt/bild.png" << false;
        QTest::newRow("pdf into a missing folder") << "fehlt/bild.pdf" << false;
    }
    void failedExportKeepsTheOldFile() {
        QFETCH(QString, name);
        QFETCH(bool, huge);
        PuzzleModel full;
        full.grid = Grid{}; // every cell a letter cell
        PuzzleSettings settings;
        if (huge) {
            settings.zoom = 1000;
            settings.cellWidth = 100;
        }
        const QString file = path(name);
        const bool existing = writeFile(file, "alt");
        QString error;
        QVERIFY(!exportTo(file, huge ? full : model, settings, &error));
        QVERIFY2(error.contains(huge ? QStringLiteral("zu groß") : QStringLiteral("kann nicht")),
                 qPrintable(error));
        if (existing)
            QCOMPARE(fileBytes(file), QByteArray("alt"));
        QCOMPARE(QDir(dir.path()).entryList({"*.new", "*.tmp"}, QDir::Files), QStringList());
    }

    void formatOfFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format"); // -1: none
        QTest::newRow("bmp") << "a.bmp" << int(PictureFormat::Bmp);
        QTest::newRow("upper case") << "B.PNG" << int(PictureFormat::Png);
        QTest::newRow("svg") << "/x/c.svg" << int(PictureFormat::Svg);
        QTest::newRow("pdf") << "d.pdf" << int(PictureFormat::Pdf);
        QTest::newRow("other suffix") << "e.jpg" << -1;
        QTest::newRow("no suffix") << "bmp" << -1;
    }
    void formatOfFile() {
        QFETCH(QString, name);
        QFETCH(int, format);
        const std::optional<PictureFormat> found = pictureFormatOfFile(name);
        QCOMPARE(found ? int(*found) : -1, format);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
