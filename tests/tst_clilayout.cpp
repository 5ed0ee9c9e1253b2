#include "datarow.h"
#include "documentbuffer.h"
#include "documentfile.h"
#include "gridtext.h"
#include "pagefit.h"
#include "programrun.h"
#include "testfiles.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

ProgramRun runCli(const QStringList &arguments) {
    return runProgram(QStringLiteral(WABRIX_CLI), arguments, 120000);
}

// The compact layout of an example list with a small effort, seed 2, and the extra arguments.
QStringList compactGenerate(const QString &list, const QStringList &extra = {}) {
    return QStringList{"generate", examplePath(list), "--layout", "compact",
                       "--effort", "20000",           "--seed",   "2"} +
           extra;
}

// The picture of a document's grid at its settings fits the page.
bool gridFitsPage(const PuzzleDocument &d, const PrinterPage &page) {
    PuzzleModel model;
    model.grid = d.grid;
    return puzzleFitsPage(model, d.settings, page);
}

} // namespace

// The command line's layout choices: generate --layout, --frame and --effort, and --fit-page of render
// and print.
class TestCliLayout : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void statsNameTheLayoutAndItsFill_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("layout");
        addRow("standard",
               QStringList{"generate", examplePath("woerter-20.txt"), "--seed", "1", "--runs", "20"},
               QString("standard"));
        addRow("compact", compactGenerate("woerter-20.txt"), QString("compact"));
    }
    void statsNameTheLayoutAndItsFill() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, layout);
        const ProgramRun r = runCli(arguments + QStringList{"--stats"});
        QCOMPARE(r.exitCode, 0);
        const QString line = QString::fromUtf8(r.out).trimmed();
        const QRegularExpression keys(
            R"(^\{"entries":20,"placed":\d+,"usedCells":\d+,"area":\d+,"bestRun":\d+,"runs":\d+,)"
            R"("meanPlaced":[0-9.e+-]+,"seconds":[0-9.e+-]+,"fill":[0-9.e+-]+,)"
            R"re("layout":"(\w+)","leftOut":\[[0-9,]*\]\}$)re");
        const QRegularExpressionMatch m = keys.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QCOMPARE(m.captured(1), layout);
        const QJsonObject stats = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(stats["fill"].toDouble(), stats["usedCells"].toDouble() / stats["area"].toDouble());
        // Each engine's puzzle names its placed entries, so the rows left out are the others.
        QCOMPARE(stats["leftOut"].toArray().size(), stats["entries"].toInt() - stats["placed"].toInt());
        if (layout == QLatin1String("compact")) {
            QCOMPARE(stats["placed"].toInt(), 20);
            QCOMPARE(stats["runs"].toInt(), 1);
            QVERIFY(stats["fill"].toDouble() > 0.4);
        }
    }

    // A frame too small for every answer: the rows the compact puzzle left out are named by generate
    // and found again by info in the saved document.
    void compactLeftOutRowsOfGenerateAndInfoAgree() {
        const QString wbx = dir.filePath("klein.wbx");
        const ProgramRun r =
            runCli(compactGenerate("woerter-20.txt", {"--frame", "6x6", "--stats", "-o", wbx}));
        QCOMPARE(r.exitCode, 0);
        const QJsonObject stats = QJsonDocument::fromJson(r.out).object();
        const QJsonArray leftOut = stats["leftOut"].toArray();
        QVERIFY2(stats["placed"].toInt() < 20, r.out.constData());
        QCOMPARE(leftOut.size(), 20 - stats["placed"].toInt());
        const ProgramRun info = runCli({"info", wbx, "--json"});
        QCOMPARE(info.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(info.out).object()["leftOutRows"].toArray(), leftOut);
    }

    void sameSeedSameCompactPuzzle() {
        const ProgramRun a = runCli(compactGenerate("woerter-30.txt"));
        const ProgramRun b = runCli(compactGenerate("woerter-30.txt"));
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(a.out, b.out);
        QVERIFY(a.out.contains('#'));
    }

    void framesHoldThePuzzle_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        const CellCount page = pageCellFrame(PuzzleSettings(), defaultPdfPage());
        addRow("22 x 33", QString("22x33"), 22, 33);
        addRow("upper-case X", QString("30X12"), 30, 12);
        addRow("the page (the PDF printer's A4 page here)", QString("page"), page.columns, page.rows);
    }
    void framesHoldThePuzzle() {
        QFETCH(QString, frame);
        QFETCH(int, columns);
        QFETCH(int, rows);
        const QString path = dir.filePath("rahmen.wbx");
        QCOMPARE(runCli(compactGenerate("woerter-50.txt", {"--frame", frame, "-o", path})).exitCode, 0);
        const DocumentReadResult read = loadDocument(path);
        QVERIFY(read.ok);
        const GridExtent extent = usedExtent(read.document.grid);
        QVERIFY(extent.columns <= columns && extent.rows <= rows);
        QVERIFY(extent.columns >= columns - 2 || extent.rows >= rows - 2); // it fills the frame
    }

    // A compact document is a document of the original format, arrow kind 0 only and no cell value
    // that the standard layout does not write, followed by the trailer that records the layout.
    void compactDocumentsKeepTheOriginalFormat_data() {
        QTest::addColumn<QStringList>("frame");
        QTest::addColumn<int>("frameKind"); // as LayoutSettings::Frame
        QTest::addColumn<int>("columns");
        addRow("no frame: the page", QStringList{}, int(LayoutSettings::Frame::Page), 17);
        addRow("the page", QStringList{"--frame", "page"}, int(LayoutSettings::Frame::Page), 17);
        addRow("cells", QStringList{"--frame", "30x40"}, int(LayoutSettings::Frame::Cells), 30);
    }
    void compactDocumentsKeepTheOriginalFormat() {
        QFETCH(QStringList, frame);
        QFETCH(int, frameKind);
        QFETCH(int, columns);
        const QString compact = dir.filePath("kompakt.wbx");
        QCOMPARE(runCli(compactGenerate("woerter-100.txt", frame + QStringList{"-o", compact})).exitCode, 0);
        const QByteArray bytes = fileBytes(compact);
        const DocumentReadResult read = readDocumentBytes(bytes);
        QVERIFY(read.ok);
        const LayoutSettings &layout = read.document.settings.layout;
        QCOMPARE(layout.arrangement, LayoutSettings::Arrangement::Compact);
        QCOMPARE(int(layout.frame), frameKind);
        if (layout.frame == LayoutSettings::Frame::Cells)
            QCOMPARE(layout.frameColumns, columns);

        // Without the layout the same document has no trailer; its bytes begin the compact one.
        PuzzleDocument original = read.document;
        original.settings.layout = LayoutSettings();
        QString error;
        const QByteArray originalBytes = documentToBytes(original, &error);
        QVERIFY2(!originalBytes.isEmpty(), qPrintable(error));
        QVERIFY(bytes.size() > originalBytes.size());
        QVERIFY(bytes.startsWith(originalBytes));
        QVERIFY(bytes.mid(originalBytes.size()).startsWith("WBXTRAIL"));

        const std::size_t entries = read.document.entries.size();
        for (std::int32_t v : read.document.grid) {
            if (!isClueCell(v))
                continue;
            QCOMPARE(clueArrowKind(v), 0);
            QVERIFY(clueEntryIndex(v) < entries);
        }
        for (const PuzzleDocumentEntry &e : read.document.entries)
            QCOMPARE(e.arrowkind, 0);
    }

    void standardDocumentsHaveNoTrailer() {
        const QString standard = dir.filePath("standard.wbx");
        QCOMPARE(runCli({"generate", examplePath("woerter-20.txt"), "--runs", "3", "-o", standard}).exitCode,
                 0);
        QVERIFY(!fileBytes(standard).contains("WBXTRAIL"));
    }

    void wrongLayoutOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString words = examplePath("woerter-20.txt");
        addRow("unknown layout", QStringList{"generate", words, "--layout", "eng"}, QString("--layout"));
        addRow("frame without compact", QStringList{"generate", words, "--frame", "page"},
               QString("--frame"));
        addRow("effort without compact", QStringList{"generate", words, "--effort", "9"},
               QString("--effort"));
        addRow("runs with compact", QStringList{"generate", words, "--layout", "compact", "--runs", "9"},
               QString("--runs"));
        addRow("effort 0", QStringList{"generate", words, "--layout", "compact", "--effort", "0"},
               QString("--effort"));
        addRow("frame of no cells", QStringList{"generate", words, "--layout", "compact", "--frame", "0x5"},
               QString("--frame"));
        addRow("frame beyond the grid",
               QStringList{"generate", words, "--layout", "compact", "--frame", "101x5"}, QString("--frame"));
        addRow("frame without a height",
               QStringList{"generate", words, "--layout", "compact", "--frame", "22x"}, QString("--frame"));
        addRow("frame as a word", QStringList{"generate", words, "--layout", "compact", "--frame", "a4"},
               QString("--frame"));
        addRow("zoom and fit-page",
               QStringList{"render", "x.wbx", "-o", "x.png", "--zoom", "50", "--fit-page"},
               QString("--fit-page"));
    }
    void wrongLayoutOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const ProgramRun r = runCli(arguments);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QVERIFY(r.out.isEmpty());
    }

    // --fit-page takes the largest zoom at which the picture fits the page; without it a picture that
    // does not fit is written as asked, with a warning.
    void fitPageShrinksToThePage() {
        const QString wbx = dir.filePath("gross.wbx");
        QCOMPARE(runCli({"generate", examplePath("woerter-100.txt"), "--runs", "3", "--seed", "4", "-o", wbx})
                     .exitCode,
                 0);
        const QString png = dir.filePath("gross.png");
        const ProgramRun fitted = runCli({"render", wbx, "-o", png, "--fit-page"});
        QCOMPARE(fitted.exitCode, 0);
        const QImage picture(png);
        const PrinterPage page = defaultPdfPage();
        const int screenPpi = 96;
        QVERIFY(picture.width() <= page.width * screenPpi / page.resolution);
        QVERIFY(picture.height() <= page.height * screenPpi / page.resolution);
        QVERIFY(picture.width() >= page.width * screenPpi / page.resolution * 9 / 10 ||
                picture.height() >= page.height * screenPpi / page.resolution * 9 / 10);

        const ProgramRun cut = runCli({"render", wbx, "-o", dir.filePath("gross.pdf")});
        QCOMPARE(cut.exitCode, 0);
        QVERIFY2(QString::fromUtf8(cut.err).contains("--fit-page"), cut.err.constData());
        const ProgramRun whole = runCli({"render", wbx, "-o", dir.filePath("ganz.pdf"), "--fit-page"});
        QCOMPARE(whole.exitCode, 0);
        QVERIFY(whole.err.isEmpty());
    }

    // A compact puzzle made for the page with a solution word prints whole, the boxes below the grid
    // included, on one page and on both.
    void compactPageKeepsRoomForTheSolutionWord_data() {
        QTest::addColumn<QString>("pages");
        addRow("puzzle", QString("puzzle"));
        addRow("both", QString("both"));
    }
    void compactPageKeepsRoomForTheSolutionWord() {
        QFETCH(QString, pages);
        const QString wbx = dir.filePath("kompakt-wort.wbx");
        const ProgramRun made = runCli(compactGenerate(
            "woerter-50.txt", {"--frame", "page", "--solution-word", "Sommerferienzeit", "-o", wbx}));
        QCOMPARE(made.exitCode, 0);
        const DocumentReadResult read = loadDocument(wbx);
        QVERIFY(read.ok);
        QCOMPARE(read.document.settings.solution.cells.size(), std::size_t(16));
        QVERIFY(gridFitsPage(read.document, defaultPdfPage()));
        const ProgramRun r =
            runCli({"render", wbx, "-o", dir.filePath("kompakt-wort.pdf"), "--pages", pages});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), r.err.constData());
    }

    // The solution page's title is longer by " – Lösung": with a title that just fits the puzzle page,
    // a PDF with the solution page warns that the page cuts it, and --fit-page fits every page.
    void fitPageFitsEveryPage_data() {
        QTest::addColumn<QString>("pages");
        QTest::addColumn<bool>("cut");
        addRow("puzzle", QString("puzzle"), false);
        addRow("solution", QString("solution"), true);
        addRow("both", QString("both"), true);
    }
    void fitPageFitsEveryPage() {
        QFETCH(QString, pages);
        QFETCH(bool, cut);
        const QString wbx = dir.filePath("titel.wbx");
        QCOMPARE(runCli({"generate", examplePath("woerter-20.txt"), "--runs", "3", "--seed", "5",
                         "--solution-word", "Rad", "-o", wbx})
                     .exitCode,
                 0);
        DocumentReadResult read = loadDocument(wbx);
        QVERIFY(read.ok);
        PuzzleDocument &d = read.document;
        const PrinterPage page = defaultPdfPage();
        d.settings.zoom = 50; // the grid is far inside the page; the title reaches its edge
        d.settings.title.clear();
        QVERIFY(gridFitsPage(d, page));
        while (gridFitsPage(d, page))
            d.settings.title += u'W';
        d.settings.title.pop_back();
        QString error;
        QVERIFY2(saveDocument(wbx, d, &error), qPrintable(error));

        const QString pdf = dir.filePath("titel.pdf");
        const ProgramRun plain = runCli({"render", wbx, "-o", pdf, "--pages", pages});
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(QString::fromUtf8(plain.err).contains("--fit-page"), cut);
        const ProgramRun fitted = runCli({"render", wbx, "-o", pdf, "--pages", pages, "--fit-page"});
        QCOMPARE(fitted.exitCode, 0);
        QVERIFY2(fitted.err.isEmpty(), fitted.err.constData());
    }

    // print knows --fit-page: without a printer it fails for want of one, not for its arguments.
    void printTakesFitPage() {
        const QString wbx = dir.filePath("druck.wbx");
        QCOMPARE(runCli({"generate", examplePath("woerter-20.txt"), "--runs", "3", "-o", wbx}).exitCode, 0);
        const ProgramRun r = runCli({"print", wbx, "--fit-page"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(QString::fromUtf8(r.err).contains("Drucker"));
    }
};

QTEST_MAIN(TestCliLayout)
#include "tst_clilayout.moc"
