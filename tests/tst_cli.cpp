#include "datarow.h"
#include "documentbytes.h"
#include "documentfile.h"
#include "programrun.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(PuzzleSettings)

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true; // the sanitizer reserves far more address space than it uses
#elif defined(__has_feature)
constexpr bool sanitized = __has_feature(address_sanitizer);
#else
constexpr bool sanitized = false;
#endif

// Address space a run on bad input may take at most (when no sanitizer runs): a picture or a
// document that tried to grow without bound would fail here instead of swapping.
constexpr rlim_t boundedAddressSpace = rlim_t(1) << 30;

using Result = ProgramRun;

// Runs wabrix-cli; bounded limits its address space (see boundedAddressSpace).
Result runCli(const QStringList &arguments, bool bounded = false) {
    std::function<void()> limitAddressSpace;
    if (bounded && !sanitized)
        limitAddressSpace = [] {
            const rlimit limit{boundedAddressSpace, boundedAddressSpace};
            setrlimit(RLIMIT_AS, &limit);
        };
    return runProgram(QStringLiteral(WABRIX_CLI), arguments, 120000, limitAddressSpace);
}

// A grid from rows of text: '.' free, '#' the clue cell of the next entry index (across), '!' a clue
// cell naming entry 50, '0' the empty letter 0, any other character a letter cell.
Grid gridFromPicture(const QStringList &picture) {
    Grid g;
    g.fill(cellFree);
    std::uint32_t next = 0;
    for (int y = 0; y < picture.size(); ++y)
        for (int x = 0; x < picture[y].size(); ++x) {
            const QChar c = picture[y][x];
            std::int32_t &cell = g[cellIndex(x, y)];
            if (c == u'#')
                cell = clueCellValue(next++, false);
            else if (c == u'!')
                cell = clueCellValue(50, true);
            else if (c == u'0')
                cell = 0;
            else if (c != u'.')
                cell = letterCellValue(c.unicode());
        }
    return g;
}

// A row of TestCli::failures: wabrix-cli run with the arguments fails with the exit code and says
// the message on standard error; strict rows also promise one line, no output and no file.
void addFailure(const char *name, const QStringList &arguments, int exitCode, const QString &message,
                bool strict = true) {
    QTest::newRow(name) << arguments << exitCode << message << strict;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // Writes bytes into the file `name` of the test's folder and returns its path.
    QString writeTempFile(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    // Generates a document from the example word list (seed 3) into the file `name` of the test's
    // folder, with the extra arguments; returns its path, or an empty string when generate failed.
    QString generated(const QString &name, int runs = 5, const QStringList &extra = {}) {
        const QString path = dir.filePath(name);
        const QStringList arguments{"generate", examplePath("woerter-20.txt"), "--seed", "3",
                                    "--runs",   QString::number(runs),         "-o",     path};
        return runCli(arguments + extra).exitCode == 0 ? path : QString();
    }

private slots:
    // wabrix-cli generates on its own and loads its drawing part only for the rest: copied alone into a
    // folder, it still generates, and every call that may draw fails with a clear message.
    void withoutItsDrawingPart_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("damaged"); // a file that is no module stands in for the drawing part
        QTest::addColumn<int>("exitCode");
        QTest::newRow("generate into a document") << QStringList{"-o", "raetsel.wbx"} << false << 0;
        QTest::newRow("generate with statistics") << QStringList{"--stats"} << true << 0;
        QTest::newRow("generate with a picture") << QStringList{"--png", "bild.png"} << false << 1;
        QTest::newRow("generate with a picture, joined") << QStringList{"--png=bild.png"} << false << 1;
        // The compact layout fills the default printer's page, which only the drawing part knows.
        QTest::newRow("generate a compact layout") << QStringList{"--layout", "compact"} << false << 1;
        QTest::newRow("generate a compact layout, joined") << QStringList{"--layout=compact"} << false << 1;
        QTest::newRow("generate with a frame") << QStringList{"--frame", "10x10"} << false << 1;
        QTest::newRow("another command") << QStringList{} << false << 1;
        QTest::newRow("another command, damaged drawing part") << QStringList{} << true << 1;
    }
    void withoutItsDrawingPart() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, damaged);
        QFETCH(int, exitCode);
        QTemporaryDir alone;
        const QString program = alone.filePath("wabrix-cli");
        QVERIFY(QFile::copy(QStringLiteral(WABRIX_CLI), program));
        if (damaged)
            writeFile(alone.filePath("wabrix-cli-drawing.so"), "kein Modul\n");
        const QStringList call =
            arguments.isEmpty()
                ? QStringList{"new", alone.filePath("neu.wbx")}
                : QStringList{"generate", examplePath("woerter-20.txt"), "--runs", "3"} + arguments;
        QProcess process;
        process.setWorkingDirectory(alone.path());
        process.start(program, call);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        if (exitCode == 0) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors));
            QVERIFY(!process.readAllStandardOutput().isEmpty() ||
                    QFile::exists(alone.filePath("raetsel.wbx")));
        } else {
            QVERIFY2(errors.startsWith("wabrix-cli: der zeichnende Programmteil fehlt"), qPrintable(errors));
            QCOMPARE(errors.count('\n'), 1);
            QVERIFY(!QFile::exists(alone.filePath("bild.png")) && !QFile::exists(alone.filePath("neu.wbx")));
        }
    }

    // Every engine generates, and --stats gives one JSON line with every key in order.
    void statsLineHasEveryKeyInOrder_data() {
        QTest::addColumn<QStringList>("engine");
        QTest::newRow("default engine") << QStringList{};
        QTest::newRow("literal") << QStringList{"--engine", "literal"};
        QTest::newRow("fast") << QStringList{"--engine", "fast"};
    }
    void statsLineHasEveryKeyInOrder() {
        QFETCH(QStringList, engine);
        const Result r = runCli(
            QStringList{"generate", examplePath("woerter-20.txt"), "--seed", "1", "--runs", "20", "--stats"} +
            engine);
        QCOMPARE(r.exitCode, 0);
        const QString line = QString::fromUtf8(r.out).trimmed();
        QRegularExpression shape(
            R"(^\{"entries":20,"placed":(\d+),"usedCells":(\d+),"area":(\d+),"bestRun":(\d+),)"
            R"("runs":20,"meanPlaced":([0-9.e+-]+),"seconds":([0-9.e+-]+),)"
            R"("fill":[0-9.e+-]+,"layout":"standard","leftOut":\[([0-9,]*)\]\}$)");
        const auto m = shape.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QVERIFY(QJsonDocument::fromJson(r.out).isObject());
        QVERIFY(m.captured(1).toInt() >= 2);
        QVERIFY(m.captured(4).toInt() < 20);
        // Every entry is placed or left out; the list names word rows in table order.
        const QJsonArray leftOut = QJsonDocument::fromJson(r.out).object().value("leftOut").toArray();
        QCOMPARE(leftOut.size(), 20 - m.captured(1).toInt());
        for (qsizetype i = 0; i < leftOut.size(); ++i)
            QVERIFY(leftOut[i].toInt() >= 1 && leftOut[i].toInt() <= 20 &&
                    (i == 0 || leftOut[i].toInt() > leftOut[i - 1].toInt()));
    }

    // The rows a generation left out, as --stats names them, are what info finds in the saved
    // document: answers without a common letter leave all but one out.
    void leftOutRowsOfGenerateAndInfoAgree() {
        const QString list =
            writeTempFile("getrennt.txt", "eins\tabc\n\nnur Frage\t\nzwei\txyz\ndrei\tuvw\n");
        const QString wbx = dir.filePath("getrennt.wbx");
        const Result r = runCli({"generate", list, "--runs", "5", "--seed", "3", "--stats", "-o", wbx});
        QCOMPARE(r.exitCode, 0);
        const QJsonArray leftOut = QJsonDocument::fromJson(r.out).object().value("leftOut").toArray();
        QCOMPARE(leftOut.size(), 2);
        for (const QJsonValue row : leftOut)
            QVERIFY(row.toInt() == 1 || row.toInt() == 4 || row.toInt() == 5);
        const Result info = runCli({"info", wbx, "--json"});
        QCOMPARE(info.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(info.out).object().value("leftOutRows").toArray(), leftOut);
    }

    void sameSeedSameOutput() {
        const QStringList args{"generate", examplePath("woerter-20.txt"), "--seed", "7", "--runs", "10"};
        const Result a = runCli(args);
        const Result b = runCli(args);
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(a.out, b.out);
        const QStringList lines = QString::fromUtf8(a.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 2);
        for (const QString &l : lines)
            QCOMPARE(l.size(), lines.first().size());
        QVERIFY(lines.first().contains('#') || lines.at(1).contains('#'));
    }

    void wordListOfOneRowPrintsItsWord() {
        const QString path = writeTempFile("one.txt", "Haustier\tkatze\n");
        const Result r = runCli({"generate", path, "--seed", "1", "--runs", "1"});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out).trimmed();
        QVERIFY2(text == "#KATZE" || text == "#\nK\nA\nT\nZ\nE", qPrintable(text));
    }

    // Wrong use exits with 2, a failure with 1, and standard error says why. For the strict rows a
    // failure of status 1 is one line, standard output stays empty and no file is left behind.
    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("strict");
        const QString words = examplePath("woerter-20.txt");
        const QString wbx = writeTempFile("leer.wbx", documentBytes(PuzzleDocument()));
        const QString cut = writeTempFile("kurz.wbx", documentBytes(PuzzleDocument()).left(9000));
        const QString out = dir.filePath("nie.png");
        const QString notThere = "/nonexistent/";
        addFailure("no subcommand", {}, 2, "Aufruf", false);
        addFailure("unknown subcommand", {"zaubern"}, 2, "unbekannter Befehl", false);
        addFailure("generate: no word list", {"generate"}, 2, "Aufruf: wabrix-cli generate", false);
        addFailure("generate: runs 0", {"generate", "x.txt", "--runs", "0"}, 2, "--runs", false);
        addFailure("generate: runs too many", {"generate", "x.txt", "--runs", "100001"}, 2, "--runs", false);
        addFailure("generate: bad seed", {"generate", "x.txt", "--seed", "abc"}, 2, "--seed", false);
        addFailure("generate: unknown option", {"generate", "x.txt", "--farbe"}, 2, "farbe", false);
        addFailure("generate: unknown engine", {"generate", "x.txt", "--engine", "zauber"}, 2, "--engine",
                   false);
        addFailure("generate: missing file", {"generate", notThere + "w.txt"}, 1, notThere + "w.txt", false);
        addFailure("generate: png without a file", {"generate", "x.txt", "--png"}, 2, "png", false);
        addFailure("generate: smallest font without fitting", {"generate", "x.txt", "--min-font", "6"}, 2,
                   "--min-font gilt nur mit --fit-clues", false);
        addFailure("generate: smallest font 0", {"generate", "x.txt", "--fit-clues", "--min-font", "0"}, 2,
                   "--min-font erwartet", false);
        addFailure("generate: smallest font not whole",
                   {"generate", "x.txt", "--fit-clues", "--min-font", "5.5"}, 2, "--min-font erwartet",
                   false);
        addFailure("generate: png into a missing folder",
                   {"generate", words, "--runs", "1", "--png", notThere + "r.png"}, 1, notThere + "r.png",
                   false);
        addFailure("generate: folder missing", {"generate", words, "--runs", "1", "-o", notThere + "g.wbx"},
                   1, "„/nonexistent/g.wbx“ kann nicht gespeichert werden");

        addFailure("info: missing file", {"info", notThere + "x.wbx"}, 1,
                   "„/nonexistent/x.wbx“ kann nicht geöffnet werden: Die Datei existiert nicht");
        addFailure("info: cut document", {"info", cut}, 1, "Die Datei endet zu früh");
        addFailure("info: no file", {"info"}, 2, "Aufruf: wabrix-cli info");
        addFailure("info: two files", {"info", cut, cut}, 2, "Aufruf: wabrix-cli info");
        addFailure("new: no output", {"new"}, 2, "Aufruf: wabrix-cli new -o OUT.wbx");
        addFailure("new: stray argument", {"new", "x", "-o", dir.filePath("x.wbx")}, 2, "'x'");
        addFailure("new: folder missing", {"new", "-o", notThere + "n.wbx"}, 1,
                   "„/nonexistent/n.wbx“ kann nicht gespeichert werden");

        addFailure("render: missing document", {"render", notThere + "r.wbx", "-o", out}, 1,
                   "„/nonexistent/r.wbx“ kann nicht geöffnet werden");
        addFailure("render: no output", {"render", wbx}, 2, "-o OUT fehlt");
        addFailure("render: unknown picture type", {"render", wbx, "-o", dir.filePath("nie.gif")}, 2,
                   ".png, .bmp, .svg oder .pdf");
        addFailure("render: dpi 0", {"render", wbx, "-o", out, "--dpi", "0"}, 2, "--dpi");
        addFailure("render: zoom 5", {"render", wbx, "-o", out, "--zoom", "5"}, 2, "--zoom");
        addFailure("render: zoom not a number", {"render", wbx, "-o", out, "--zoom", "x"}, 2, "--zoom");
        addFailure("render: both solution switches",
                   {"render", wbx, "-o", out, "--solution", "--no-solution"}, 2, "schließen einander aus");
        addFailure("render: picture too large", {"render", wbx, "-o", out, "--dpi", "9600", "--zoom", "1000"},
                   1, "zu groß");
        addFailure("render: folder missing", {"render", wbx, "-o", notThere + "r.png"}, 1,
                   notThere + "r.png");
        addFailure("render: unknown pages", {"render", wbx, "-o", dir.filePath("x.pdf"), "--pages", "alle"},
                   2, "--pages erwartet puzzle, solution oder both");
        addFailure("render: pages of a picture", {"render", wbx, "-o", out, "--pages", "both"}, 2,
                   "--pages gilt nur für PDF-Dateien");
        addFailure(
            "generate: solution word with a euro sign",
            {"generate", words, "--runs", "1", "--solution-word", "Euro€", "-o", dir.filePath("x.wbx")}, 2,
            "Im Lösungswort steht „€“; dieses Zeichen kann in keinem Buchstabenfeld stehen.");
        addFailure("generate: solution word longer than the puzzle",
                   {"generate", words, "--runs", "1", "--solution-word", QString(500, u'e'), "-o",
                    dir.filePath("x.wbx")},
                   2, "Das Lösungswort hat 500 Buchstaben, das Rätsel aber nur");
        addFailure(
            "generate: solution word without a puzzle",
            {"generate", writeTempFile("leer.txt", ""), "--solution-word", "A", "-o", dir.filePath("x.wbx")},
            2, "keine Buchstaben für das Lösungswort");

        // The tests ask a print system that is not there.
        addFailure("print: no printer at all", {"print", wbx}, 1, "kein Drucker eingerichtet");
        addFailure("print: named printer, none installed", {"print", wbx, "--printer", "gibtsnicht"}, 1,
                   "kein Drucker eingerichtet");
        addFailure("print: unreadable document", {"print", dir.filePath("fehlt.wbx")}, 1, "fehlt.wbx");
        addFailure("print: no document", {"print"}, 2, "genau eine Rätseldatei");
        addFailure("print: empty printer name", {"print", wbx, "--printer", ""}, 2, "--printer");
        addFailure("print: unknown pages", {"print", wbx, "--pages", "beide"}, 2, "--pages");

        // Empty names, an output that is an input, a word list that is a pipe.
        addFailure("generate: empty word list name", {"generate", ""}, 2, "leerer Dateiname");
        addFailure("generate: empty output name", {"generate", words, "-o", ""}, 2, "leerer Dateiname");
        addFailure("info: empty name", {"info", ""}, 2, "leerer Dateiname");
        const QString ownWords = writeTempFile("eigene.txt", "Stadt\thaus\n");
        addFailure("generate: output is the word list", {"generate", ownWords, "-o", ownWords}, 2,
                   "die Wortliste selbst", false);
        addFailure("generate: -o and --png the same", {"generate", words, "-o", out, "--png", out}, 2,
                   "dieselbe Datei", false);
        const QString pictureNamed = writeTempFile("dokument.png", documentBytes(PuzzleDocument()));
        addFailure("render: output is the document", {"render", pictureNamed, "-o", pictureNamed}, 2,
                   "die Rätseldatei selbst", false);
        addFailure("thumbnail: output is the document", {"thumbnail", wbx, wbx}, 2, "die Rätseldatei selbst",
                   false);
        const QString pipe = dir.filePath("woerter-rohr.txt");
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        addFailure("generate: word list is a pipe without a writer", {"generate", pipe}, 1,
                   "keine gewöhnliche Datei");
    }
    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(bool, strict);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        // Only the program's own German lines, never a warning of Qt's.
        QVERIFY2(!r.err.contains("QFSFileEngine") && !r.err.contains("QFile::"), r.err.constData());
        if (!strict)
            return;
        if (exitCode == 1)
            QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("x.wbx")) && !QFile::exists(dir.filePath("nie.png")));
    }
    void newWritesTheStartUpDocument() {
        const QString path = dir.filePath("neu.wbx");
        const Result r = runCli({"new", "-o", path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.isEmpty() && r.err.isEmpty());
        QCOMPARE(fileBytes(path), documentBytes(PuzzleDocument()));
    }

    void infoDescribesTheStartUpDocument() {
        const QString path = writeTempFile("start.wbx", documentBytes(PuzzleDocument()));
        const Result json = runCli({"info", path, "--json"});
        QCOMPARE(json.exitCode, 0);
        const QString font = R"("pointSize":%1,"ppi":96,"charset":0,"color":4278190088,"pitch":0,)"
                             R"("bold":false,"italic":false,"underline":false,"strikeOut":false})";
        const QString expected =
            R"({"rows":999,"nonEmptyRows":0,"title":"Wabrixrätsel","showSolution":false,"markPageEnd":true,)"
            R"("zoom":100,"cellWidth":10,"lineWidth":0.3,"arrowSize":1,"textMargin":1,"pageMargin":15,)"
            R"("clueCellsBlack":true,"clueFont":{"family":"Arial Narrow",)" +
            font.arg(8) + R"(,"titleFont":{"family":"Arial Black",)" + font.arg(14) +
            R"(,"entries":0,"clueCells":0,"placedEntries":0,"letterCells":10000,"freeCells":0,)"
            R"("extent":{"columns":100,"rows":100},"leftOutRows":[],"overflowingClues":[],"extensions":[]})";
        QCOMPARE(QString::fromUtf8(json.out).trimmed(), expected);

        const Result text = runCli({"info", path});
        QCOMPARE(text.exitCode, 0);
        const QString lines = QString::fromUtf8(text.out);
        for (const char *line :
             {"Wortzeilen: 999, davon gefüllt: 0", "Überschrift: Wabrixrätsel", "Strichstärke in mm: 0.3",
              "Lösung einblenden: nein", "Schrift der Fragen: Arial Narrow, 8 pt bei 96 ppi",
              "Buchstabenfelder: 10000", "Ausdehnung: 100 Spalten, 100 Zeilen",
              "Nicht platzierte Zeilen: keine", "Erweiterungen: keine"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
    }

    void infoNamesTheCharacterWidth_data() {
        QTest::addColumn<int>("pitch");
        QTest::addColumn<QString>("width");
        QTest::newRow("default") << 0 << QStringLiteral("Zeichenbreite Standard");
        QTest::newRow("variable") << 1 << QStringLiteral("Zeichenbreite veränderlich");
        QTest::newRow("fixed") << 2 << QStringLiteral("Zeichenbreite fest");
        QTest::newRow("a value fonts do not know") << 7 << QStringLiteral("Zeichenbreite unbekannt (7)");
    }
    void infoNamesTheCharacterWidth() {
        QFETCH(int, pitch);
        QFETCH(QString, width);
        PuzzleDocument d;
        d.settings.clueFont.pitch = static_cast<std::uint8_t>(pitch);
        const Result r = runCli({"info", writeTempFile("breite.wbx", documentBytes(d))});
        QCOMPARE(r.exitCode, 0);
        const QString line =
            QStringLiteral("Schrift der Fragen: Arial Narrow, 8 pt bei 96 ppi, Zeichensatz 0, "
                           "Farbe 0xFF000008, %1, normal")
                .arg(width);
        QVERIFY2(QString::fromUtf8(r.out).contains(line), r.out.constData());
    }

    void infoCountsCellsAndKeepsStoredValues() {
        PuzzleDocument d;
        d.rows.assign(5, {});
        d.rows[1] = {u"Gebäude", u""};
        d.rows[4] = {u"", u"x"};
        d.settings.title = u"\"100%1\" \\ neu\nZeile \xD800";
        d.settings.cellWidth = 0.1 + 0.2;
        d.settings.arrowSize = std::nan("");
        d.settings.zoom = 5000;
        d.settings.titleFont.color = 0x00336699;
        d.settings.titleFont.italic = true;
        d.grid = gridFromPicture({
            "#HAUS.",
            "....0.",
            "!EULE.",
            "......",
            "...#A.",
        });
        d.entries.resize(2);
        const QString path = writeTempFile("zellen.wbx", documentBytes(d));
        const Result r = runCli({"info", path, "--json"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("\"title\":\"\\\"100%1\\\" \\\\ neu\\nZeile \\ud800\""), r.out.constData());
        QVERIFY2(r.out.contains(R"("cellWidth":0.30000000000000004,"lineWidth":0.3,"arrowSize":null,)"),
                 r.out.constData());
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        const std::pair<const char *, double> counts[] = {
            {"rows", 5},      {"nonEmptyRows", 2},  {"zoom", 5000},      {"entries", 2},
            {"clueCells", 3}, {"placedEntries", 2}, {"letterCells", 10}, {"freeCells", 10000 - 13}};
        for (const auto &[key, value] : counts)
            QVERIFY2(o.value(key).toDouble() == value, key);
        QCOMPARE(o.value("extent").toObject(), QJsonObject({{"columns", 5}, {"rows", 5}}));
        const QJsonObject titleFont = o.value("titleFont").toObject();
        QCOMPARE(titleFont.value("color").toDouble(), double(0x00336699));
        QCOMPARE(titleFont.value("italic").toBool(), true);
        QCOMPARE(titleFont.value("bold").toBool(), false);
    }

    // The rows of the word table whose clue does not fit its cell, in table order: rows without an
    // entry are passed over, and a row edited after the puzzle was made is not named.
    void infoListsCluesThatDoNotFit() {
        const std::u16string tooLong = u"Donaudampfschifffahrtsgesellschaftskapitänsmütze";
        PuzzleDocument d;
        d.rows.assign(6, {});
        d.rows[0] = {tooLong, u"DAMPFER"};
        d.rows[1] = {u"Ei", u"EI"};
        d.rows[3] = {u"geändert", u"X"};
        d.rows[4] = {tooLong + u" am Bodensee", u"Y"};
        d.grid = gridFromPicture({"#.#", "...", "#.#"}); // entries 0 and 1, 2 and 3
        d.entries.resize(4);
        d.entries[0].clue = tooLong;
        d.entries[1].clue = u"Ei";
        d.entries[2].clue = tooLong; // the row says "geändert" now
        d.entries[3].clue = tooLong + u" am Bodensee";
        const QString path = writeTempFile("zulang.wbx", documentBytes(d));
        const Result json = runCli({"info", path, "--json"});
        QCOMPARE(json.exitCode, 0);
        QVERIFY2(
            json.out.trimmed().endsWith(
                R"("extent":{"columns":3,"rows":3},"leftOutRows":[],"overflowingClues":[1,5],"extensions":[]})"),
            json.out.constData());
        const Result text = runCli({"info", path});
        QVERIFY2(text.out.contains("Fragen, die nicht in ihr Feld passen: 2 (Zeilen 1, 5)"),
                 text.out.constData());
    }

    // --fit-clues writes a document with clue fitting on; info and render measure and draw with it, and
    // the picture of --png shows it.
    void fittedCluesThroughTheCommandLine() {
        const QString fitted = dir.filePath("eingepasst.wbx"), plain = dir.filePath("schlicht.wbx");
        const QString fittedPng = dir.filePath("eingepasst.png"), plainPng = dir.filePath("schlicht.png");
        const QStringList generate{"generate", examplePath("woerter-100.txt"), "--seed", "3", "--runs", "5"};
        QCOMPARE(runCli(generate + QStringList{"-o", plain, "--png", plainPng}).exitCode, 0);
        QCOMPARE(
            runCli(generate + QStringList{"-o", fitted, "--png", fittedPng, "--fit-clues", "--min-font", "6"})
                .exitCode,
            0);
        const DocumentReadResult read = loadDocument(fitted);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.document.settings.fitClues);
        QCOMPARE(read.document.settings.minClueFontSize, 6.0);

        const QJsonObject plainInfo = QJsonDocument::fromJson(runCli({"info", plain, "--json"}).out).object();
        const QJsonObject fittedInfo =
            QJsonDocument::fromJson(runCli({"info", fitted, "--json"}).out).object();
        QCOMPARE(plainInfo.value("extensions").toArray(), QJsonArray());
        QCOMPARE(fittedInfo.value("extensions").toArray(), QJsonArray({"FITC"}));
        QVERIFY(!plainInfo.value("overflowingClues").toArray().isEmpty());
        QCOMPARE(fittedInfo.value("overflowingClues").toArray(), QJsonArray());

        const QString rendered = dir.filePath("gerendert.png");
        QCOMPARE(runCli({"render", fitted, "-o", rendered}).exitCode, 0);
        QCOMPARE(QImage(rendered), QImage(fittedPng));
        QVERIFY(QImage(fittedPng) != QImage(plainPng));
    }

    void generateSavesADocument() {
        const QString a = dir.filePath("a.wbx");
        const QString b = dir.filePath("b.wbx");
        const QStringList args{"generate", examplePath("woerter-20.txt"), "--seed", "5", "--runs", "10"};
        const Result first = runCli(args + QStringList{"-o", a, "--stats"});
        QCOMPARE(first.exitCode, 0);
        const int placed = QJsonDocument::fromJson(first.out).object().value("placed").toInt();
        QVERIFY(placed >= 2);
        const Result second = runCli(args + QStringList{"-o", b});
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.isEmpty());
        QCOMPARE(fileBytes(a), fileBytes(b));

        const DocumentReadResult read = loadDocument(a);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(int(read.document.rows.size()), 999);
        QVERIFY(!read.document.rows[19].second.empty() && read.document.rows[20].second.empty());
        QCOMPARE(int(read.document.entries.size()), 20);
        QCOMPARE(read.document.settings.zoom, 100.0);
        const Result info = runCli({"info", a, "--json"});
        QCOMPARE(QJsonDocument::fromJson(info.out).object().value("placedEntries").toInt(), placed);
    }

    // The picture is the screen view at 96 pixels per inch: 38 pixels a cell, 57 of margin either side.
    void pngShowsTheGeneratedPuzzle() {
        const QString png = dir.filePath("raetsel.png");
        const Result r =
            runCli({"generate", examplePath("woerter-20.txt"), "--seed", "3", "--runs", "5", "--png", png});
        QCOMPARE(r.exitCode, 0);
        const QStringList rows = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
        QFile file(png);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(24);
        QVERIFY(head.startsWith("\x89PNG\r\n\x1a\n"));
        const int width = qFromBigEndian<qint32>(head.constData() + 16);
        const int height = qFromBigEndian<qint32>(head.constData() + 20);
        QCOMPARE(width, int(rows.first().size()) * 38 + 1 + 2 * 57);
        const int titleSpace = height - (int(rows.size()) * 38 + 1 + 2 * 57); // four title heights
        QVERIFY(titleSpace > 0 && titleSpace % 4 == 0);
    }

    // render draws a saved document exactly as the screen view shows the generated puzzle.
    void renderDrawsTheSavedPuzzle() {
        const QString shown = dir.filePath("gezeigt.png");
        const QString wbx = generated("bild.wbx", 5, {"--png", shown});
        QVERIFY(!wbx.isEmpty());
        const auto image = [](const QString &path) {
            return QImage(path).convertToFormat(QImage::Format_RGB32);
        };
        const auto render = [&](const QStringList &arguments) {
            return runCli(QStringList{"render", wbx, "-o"} + arguments);
        };
        const QImage expected = image(shown);
        QVERIFY(!expected.isNull());

        for (const char *name : {"bild.png", "bild.bmp"}) {
            const Result r = render({dir.filePath(name)});
            QCOMPARE(r.exitCode, 0);
            QVERIFY(r.out.isEmpty() && r.err.isEmpty());
            QVERIFY2(image(dir.filePath(name)) == expected, name);
        }
        const QByteArray bmp = fileBytes(dir.filePath("bild.bmp"));
        QVERIFY(bmp.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));

        QCOMPARE(render({dir.filePath("bild.svg")}).exitCode, 0);
        const QString svg = QString::fromUtf8(fileBytes(dir.filePath("bild.svg")));
        QVERIFY(svg.contains(
            QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(expected.width()).arg(expected.height())));
        QVERIFY(svg.contains("Wabrixrätsel"));

        const QString solution = dir.filePath("loesung.png");
        QCOMPARE(render({solution, "--solution"}).exitCode, 0);
        QCOMPARE(QImage(solution).size(), expected.size());
        QVERIFY(image(solution) != expected);
        QCOMPARE(render({solution, "--no-solution"}).exitCode, 0);
        QVERIFY(image(solution) == expected);

        const QString sharp = dir.filePath("scharf.png");
        QCOMPARE(render({sharp, "--dpi", "192", "--zoom", "50"}).exitCode, 0);
        QCOMPARE(QImage(sharp).size(), expected.size());
        QCOMPARE(render({sharp, "--dpi", "192"}).exitCode, 0);
        QVERIFY(qAbs(QImage(sharp).width() - 2 * expected.width()) <= 2);

        // PDF gets the page that printing puts on paper; without a printer that is one A4 page.
        const QString pdf = dir.filePath("seite.pdf");
        const Result r = render({pdf});
        QCOMPARE(r.exitCode, 0);
        // The standard layout of 20 words is wider than the page at 100 %: one line warns of the cut.
        QVERIFY(r.out.isEmpty() && r.err.count('\n') == 1 && r.err.contains("--fit-page"));
        const QByteArray bytes = fileBytes(pdf);
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
        QVERIFY(bytes.contains("/MediaBox [0 0 595.000000 842.000000]"));
    }

    // generate marks the solution word; info names it and its cells, each holding its letter; a
    // missing letter is named on standard error and stays without a cell.
    void solutionWordThroughGenerateAndInfo_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("missing");
        addRow("found", QStringLiteral("Eis"), QStringLiteral("EIS"), QString());
        addRow("one lacking", QStringLiteral("eqs"), QStringLiteral("EQS"),
               QStringLiteral("Im Rätsel fehlt: Q"));
    }
    void solutionWordThroughGenerateAndInfo() {
        QFETCH(QString, word);
        QFETCH(QString, letters);
        QFETCH(QString, missing);
        const QString wbx = dir.filePath("loesungswort.wbx");
        const Result r = runCli({"generate", examplePath("woerter-20.txt"), "--seed", "3", "--runs", "5",
                                 "--solution-word", word, "-o", wbx});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QString::fromUtf8(r.err).trimmed(),
                 missing.isEmpty() ? QString() : "wabrix-cli: " + missing);
        const DocumentReadResult read = loadDocument(wbx);
        QVERIFY(read.ok);
        const Result info = runCli({"info", wbx, "--json"});
        QCOMPARE(info.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(info.out).object();
        QCOMPARE(o.value("solutionWord").toString(), word);
        const QJsonArray cells = o.value("solutionCells").toArray();
        QCOMPARE(cells.size(), letters.size());
        for (int i = 0; i < cells.size(); ++i) {
            if (missing.contains(letters[i])) {
                QVERIFY(cells[i].isNull());
                continue;
            }
            const QJsonArray cell = cells[i].toArray();
            QCOMPARE(read.document.grid[cellIndex(cell[0].toInt(), cell[1].toInt())],
                     std::int32_t(letters[i].unicode()));
        }
        // The solution keys come last, after every key of a document without a word.
        const QByteArray json = info.out;
        QVERIFY(json.indexOf("\"extensions\"") < json.indexOf("\"solutionWord\""));
        QVERIFY(json.indexOf("\"solutionWord\"") < json.indexOf("\"solutionCells\""));
        const Result plain = runCli({"info", generated("ohne.wbx"), "--json"});
        QVERIFY(!plain.out.contains("solutionWord"));
    }

    // render --pages: the puzzle as printed (default), the solution page, or both in one PDF, the
    // first without letters and the second titled as the solution with the letters in place.
    void renderPages_data() {
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("titles");  // each page's first line
        QTest::addColumn<QList<bool>>("letters"); // whether the page shows the solution letters
        const QString title = QStringLiteral("Wabrixrätsel");
        const QString solution = QStringLiteral("Wabrixrätsel – Lösung");
        addRow("default", QStringList(), QStringList{title}, QList<bool>{false});
        addRow("puzzle", QStringList{"--pages", "puzzle"}, QStringList{title}, QList<bool>{false});
        addRow("puzzle follows the switch", QStringList{"--pages", "puzzle", "--solution"},
               QStringList{title}, QList<bool>{true});
        addRow("solution", QStringList{"--pages", "solution"}, QStringList{solution}, QList<bool>{true});
        addRow("both", QStringList{"--pages", "both"}, QStringList{title, solution},
               QList<bool>{false, true});
        addRow("both, though the switch is on", QStringList{"--pages", "both", "--solution"},
               QStringList{title, solution}, QList<bool>{false, true});
    }
    void renderPages() {
        QFETCH(QStringList, pages);
        QFETCH(QStringList, titles);
        QFETCH(QList<bool>, letters);
        const QString wbx = generated("seiten.wbx", 5, {"--solution-word", "Eis"});
        QVERIFY(!wbx.isEmpty());
        const QString pdf = dir.filePath("seiten.pdf");
        QFile::remove(pdf);
        // Fitted to the page, so that the row of boxes below the grid is on it whatever size the puzzle has.
        const Result r = runCli(QStringList{"render", wbx, "-o", pdf, "--fit-page"} + pages);
        QCOMPARE(r.exitCode, 0);
        const QByteArray bytes = fileBytes(pdf);
        QCOMPARE(int(bytes.count("/Type /Page") - bytes.count("/Type /Pages")), int(titles.size()));
        for (int page = 1; page <= titles.size(); ++page) {
            const ProgramRun text = runProgram(
                "pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"}, 60000);
            QCOMPARE(text.exitCode, 0);
            const QStringList lines = QString::fromUtf8(text.out).split(u'\n');
            QCOMPARE(lines.first(), titles[page - 1]);
            QVERIFY(lines.contains(QStringLiteral("Lösungswort:")));
            // Letters stand alone on their lines; clue texts are longer.
            const bool shown = lines.contains(QStringLiteral("E")) && lines.contains(QStringLiteral("I"));
            QCOMPARE(shown, letters[page - 1]);
        }
    }

    // A stored zoom outside the zoom field's range is drawn as the field shows it: clamped.
    void renderTakesStoredNumbersThroughTheFields() {
        const QString wbx = generated("zoom.wbx", 2);
        DocumentReadResult read = loadDocument(wbx);
        QVERIFY(read.ok);
        read.document.settings.zoom = 5;
        const QString tiny = dir.filePath("winzig.wbx");
        QVERIFY(saveDocument(tiny, read.document, nullptr));
        QCOMPARE(runCli({"render", tiny, "-o", dir.filePath("a.png")}).exitCode, 0);
        QCOMPARE(runCli({"render", wbx, "-o", dir.filePath("b.png"), "--zoom", "10"}).exitCode, 0);
        QVERIFY(QImage(dir.filePath("a.png")) == QImage(dir.filePath("b.png")));
    }

    // A picture never takes the place of a pipe, device or folder, as a temporary file renamed over it
    // would: a pipe is written into once it has a reader and refused when none comes.
    void picturesAreNotWrittenOverSpecialFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pipe"); // else a folder
        QTest::addColumn<QString>("message");
        QTest::newRow("png onto a pipe without a reader")
            << "rohr.png" << true << "Aus der Pipe liest niemand";
        QTest::newRow("svg onto a pipe without a reader")
            << "rohr.svg" << true << "Aus der Pipe liest niemand";
        QTest::newRow("bmp onto a folder") << "ordner.bmp" << false << "Das ist ein Ordner, keine Datei";
    }
    void picturesAreNotWrittenOverSpecialFiles() {
        QFETCH(QString, name);
        QFETCH(bool, pipe);
        QFETCH(QString, message);
        const QString target = dir.filePath(name);
        QVERIFY(pipe ? mkfifo(QFile::encodeName(target).constData(), 0600) == 0 : QDir().mkpath(target));
        const QString wbx = writeTempFile("spezial.wbx", documentBytes(PuzzleDocument()));
        const Result r = runCli({"render", wbx, "-o", target});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message.toUtf8()) && r.err.contains(name.toUtf8()) && r.err.count('\n') == 1,
                 r.err.constData());
        QVERIFY(QFileInfo(target).exists() && !QFileInfo(target).isFile());
    }

    // A document saved into a pipe goes straight to its reader; the pipe stays a pipe.
    void documentsGoStraightIntoAPipe() {
        const QString pipe = dir.filePath("dokument-rohr");
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QProcess reader;
        reader.start(QStringLiteral("cat"), {pipe});
        QVERIFY(reader.waitForStarted());
        const Result r = runCli({"new", "-o", pipe});
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(reader.readAllStandardOutput(), documentBytes(PuzzleDocument()));
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    }

    // Word lists as they come: the rows and entries they give, or one line naming the problem.
    void wordListInputs_data() {
        QTest::addColumn<QString>("name");     // file name, or a path starting with /
        QTest::addColumn<QByteArray>("bytes"); // the file's contents
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // on stderr when exitCode != 0
        QTest::addColumn<int>("entries");     // when exitCode == 0
        QTest::newRow("invalid UTF-8")
            << "bad.txt" << QByteArray("a\tb\n\xC3\x28\tx\n") << 1 << "Zeile 2" << 0;
        QTest::newRow("999 rows") << "exact.txt" << QByteArray(999, '\n') << 0 << "" << 0;
        QTest::newRow("1000 rows") << "many.txt" << QByteArray("f\ta\n").repeated(1000) << 2
                                   << "1000 Zeilen, höchstens 999" << 0;
        QTest::newRow("empty lines are rows") << "leer.txt" << QByteArray("a\tb\n\n\nc\td\n") << 0 << "" << 2;
        QTest::newRow("byte-order mark and CRLF")
            << "bom.txt" << QByteArray("\xEF\xBB\xBFTier\tkatze\r\nFarbe\trot\r\n") << 0 << "" << 2;
        QTest::newRow("csv with quotes")
            << "w.csv" << QByteArray("\"Sag \"\"Hallo\"\"\",gruss\n\"a, b\",\"x\ny\"\n") << 0 << "" << 2;
        QTest::newRow("answer of 99 units kept")
            << QStringLiteral("99.txt") << "f\t" + QByteArray(99, 'a') << 0 << "" << 1;
        QTest::newRow("answer of 100 units skipped")
            << QStringLiteral("100.txt") << "f\t" + QByteArray(100, 'a') << 0 << "" << 0;
        QTest::newRow("10 MB on one line")
            << QStringLiteral("lang.txt") << "Frage\t" + QByteArray(10 << 20, 'a') + "\nTier\tkatze\n"
            << 0 << "" << 1;
        QTest::newRow("NUL byte") << "nul.txt" << QByteArray("a\tb\nka\0tze\tx\n", 13) << 1
                                  << "Zeile 2: enthält ein Nullbyte" << 0;
        QTest::newRow("UTF-16 file") << "utf16.txt"
                                     << QByteArray("\xFF\xFE"
                                                   "a\0\t\0b\0",
                                                   8)
                                     << 1 << "Zeile 1: kein gültiger UTF-8-Text" << 0;
        QTest::newRow("unclosed quote") << "offen.csv" << QByteArray("a,b\n\"c,d\n") << 1
                                        << "Zeile 2: Anführungszeichen wird nicht geschlossen" << 0;
        QTest::newRow("two million rows")
            << "viele.txt" << QByteArray(2000000, '\n') << 2 << "2000000 Zeilen, höchstens 999" << 0;
        QTest::newRow("folder") << "/tmp" << QByteArray() << 1 << "Das ist ein Ordner, keine Datei" << 0;
        QTest::newRow("/dev/null") << "/dev/null" << QByteArray() << 0 << "" << 0;
        QTest::newRow("/dev/zero never ends") << "/dev/zero" << QByteArray() << 1 << "größer als 32 MB" << 0;
    }
    void wordListInputs() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(int, entries);
        const QString path = name.startsWith(u'/') ? name : writeTempFile(name, bytes);
        const QString out = dir.filePath(QStringLiteral("wortliste.wbx"));
        QFile::remove(out);
        const Result r = runCli({"generate", path, "--runs", "2", "--seed", "1", "--stats", "-o", out}, true);
        QVERIFY(!r.crashed);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
            QVERIFY2(QString::fromUtf8(r.err).startsWith(QStringLiteral("wabrix-cli: ") + path),
                     r.err.constData());
            QCOMPARE(r.err.count('\n'), exitCode == 1 ? 1 : 2);
            QVERIFY(!QFile::exists(out));
            return;
        }
        QCOMPARE(QJsonDocument::fromJson(r.out).object().value("entries").toInt(), entries);
        const DocumentReadResult read = loadDocument(out);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(int(read.document.rows.size()), 999);
        for (const PuzzleDocumentEntry &e : read.document.entries) // no CR or BOM came along
            QVERIFY(e.answer.find_first_of(u"\r\uFEFF") == std::u16string::npos &&
                    e.clue.find_first_of(u"\r\uFEFF") == std::u16string::npos);
    }

    // 999 rows with answers of 99 units make 999 entries that come back whole; one unit more is
    // skipped.
    void largestWordTableThroughGenerateAndInfo() {
        QByteArray words;
        for (int i = 0; i < 999; ++i) {
            const QByteArray number = QByteArray::number(i);
            const int length = i < 998 ? 99 : 100;
            words += "Frage " + number + "\t" + number + QByteArray(length - number.size(), 'x') + "\n";
        }
        const QString list = writeTempFile("gross.txt", words);
        const QString wbx = dir.filePath("gross.wbx");
        const Result r = runCli({"generate", list, "--runs", "1", "--seed", "2", "-o", wbx, "--stats"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).object().value("entries").toInt(), 998);
        const Result info = runCli({"info", wbx, "--json"});
        QCOMPARE(info.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(info.out).object();
        QCOMPARE(o.value("rows").toInt(), 999);
        QCOMPARE(o.value("nonEmptyRows").toInt(), 999);
        QCOMPARE(o.value("entries").toInt(), 998);
        const DocumentReadResult read = loadDocument(wbx);
        QVERIFY2(read.ok, qPrintable(read.error));
        for (int i = 0; i < 998; ++i) {
            const PuzzleDocumentEntry &e = read.document.entries[std::size_t(i)];
            QCOMPARE(e.answer.size(), std::size_t(99));
            QVERIFY(e.answer ==
                    (QString::number(i) + QString(99 - QString::number(i).size(), u'X')).toStdU16String());
            QVERIFY(read.document.rows[std::size_t(i)].first ==
                    QStringLiteral("Frage %1").arg(i).toStdU16String());
        }
        QCOMPARE(read.document.rows[998].second.size(), std::size_t(100));
    }

    // Whatever bytes info and render are given: exit 1 with one line on stderr, never a crash, and
    // no picture.
    void badDocuments_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray plain = documentBytes(PuzzleDocument());
        QTest::newRow("empty") << QByteArray() << "Die Datei endet zu früh";
        for (const int seed : {11, 12, 13}) {
            QRandomGenerator random(static_cast<quint32>(seed));
            QByteArray bytes(static_cast<qsizetype>(random.bounded(1, 200000)), 0);
            for (char &b : bytes)
                b = static_cast<char>(random.generate());
            QTest::addRow("random bytes, seed %d", seed) << bytes << "";
        }
        for (const qsizetype cut :
             {qsizetype(3), qsizetype(4 + 999 * 8), plain.size() - 100, plain.size() - 1})
            QTest::addRow("cut at %lld", static_cast<long long>(cut))
                << plain.left(cut) << "Die Datei endet zu früh";
        QTest::newRow("2^31-1 rows") << le32(INT32_MAX) + plain.mid(4) << "Zeilenzahl 2147483647";
        QTest::newRow("negative rows") << le32(-1) + plain.mid(4) << "Ungültige Zeilenzahl -1";
        QByteArray entries = plain;
        entries.replace(entries.size() - 4, 4, le32(INT32_MAX));
        QTest::newRow("2^31-1 entries") << entries << "Eintragszahl 2147483647";
        QByteArray text = plain;
        text.replace(4, 4, le32(INT32_MAX));
        QTest::newRow("text of 2^31-1 units") << text << "Textlänge 2147483647";
    }
    void badDocuments() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString wbx = writeTempFile("kaputt.wbx", bytes);
        const QString png = dir.filePath("kaputt.png");
        for (const QStringList &arguments : {QStringList{"info", wbx}, QStringList{"info", wbx, "--json"},
                                             QStringList{"render", wbx, "-o", png}}) {
            const Result r = runCli(arguments, true);
            QVERIFY(!r.crashed);
            QCOMPARE(r.exitCode, 1);
            QVERIFY(r.out.isEmpty());
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY2(QString::fromUtf8(r.err).contains(
                         QStringLiteral("„%1“ ist kein gültiges Wabrixrätsel").arg(wbx)) &&
                         QString::fromUtf8(r.err).contains(reason),
                     r.err.constData());
            QVERIFY2(!r.err.contains("Read beyond"), "the command line says it in German");
            QVERIFY(!QFile::exists(png));
        }
    }

    // Stored numbers and fonts far outside what the window allows: the picture is drawn as the
    // window's fields would show them, or refused as too large, never a crash or unbounded memory.
    void renderExtremeSettings_data() {
        QTest::addColumn<PuzzleSettings>("stored");
        QTest::addColumn<PuzzleSettings>("drawnAs"); // the same picture; unused when refused
        QTest::addColumn<bool>("refused");
        const double nan = std::nan("");
        const double inf = std::numeric_limits<double>::infinity();
        const PuzzleSettings plain;
        PuzzleSettings s, t;
        s = t = plain;
        s.zoom = 1e308, t.zoom = 1000;
        QTest::newRow("zoom 1e308 as 1000") << s << t << false;
        s = t = plain;
        s.zoom = nan, t.zoom = 10;
        QTest::newRow("zoom NaN as 10") << s << t << false;
        s = t = plain;
        s.zoom = -inf, s.cellWidth = -5, s.lineWidth = -1e308, t.zoom = 10, t.cellWidth = 1, t.lineWidth = 0;
        QTest::newRow("negative zoom and widths as the minimums") << s << t << false;
        s = t = plain;
        s.lineWidth = s.arrowSize = s.textMargin = s.pageMargin = 1e308;
        t.lineWidth = 10, t.arrowSize = t.textMargin = t.pageMargin = 100;
        QTest::newRow("huge lengths as the maximums") << s << t << false;
        s = t = plain;
        s.arrowSize = inf, s.textMargin = nan, t.arrowSize = 100, t.textMargin = 0;
        QTest::newRow("infinite arrow, NaN margin") << s << t << false;
        s = plain;
        s.zoom = 1000, s.cellWidth = 100;
        QTest::newRow("cell width 100 mm at zoom 1000") << s << plain << true;
        s = t = plain;
        s.clueFont.pointSize = s.titleFont.pointSize = INT32_MAX;
        s.clueFont.pixelsPerInch = 0, s.titleFont.pixelsPerInch = INT32_MIN;
        s.showSolution = t.showSolution = true;
        QTest::newRow("fonts of 2^31-1 points") << s << s << false;
        s = plain;
        s.clueFont.pointSize = s.titleFont.pointSize = INT32_MIN;
        s.clueFont.face = std::u16string(255, u'\xD800');
        s.titleFont.face.clear();
        s.showSolution = true;
        QTest::newRow("negative font sizes, broken face names") << s << s << false;
    }
    void renderExtremeSettings() {
        QFETCH(PuzzleSettings, stored);
        QFETCH(PuzzleSettings, drawnAs);
        QFETCH(bool, refused);
        PuzzleDocument d;
        d.settings = stored;
        d.grid = gridFromPicture({"#HAUS", ".....", "!EULE"});
        d.entries.resize(2);
        d.entries[0].clue = u"Gebäude";
        if (refused)
            d.grid.fill(0);
        const QString png = dir.filePath("extrem.png");
        QFile::remove(png);
        const Result r = runCli({"render", writeTempFile("extrem.wbx", documentBytes(d)), "-o", png}, true);
        QVERIFY(!r.crashed);
        if (refused) {
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.contains("zu groß") && r.err.count('\n') == 1, r.err.constData());
            QVERIFY(!QFile::exists(png));
            return;
        }
        QVERIFY2(r.exitCode == 0, r.err.constData());
        d.settings = drawnAs;
        const QString expected = dir.filePath("erwartet.png");
        QCOMPARE(runCli({"render", writeTempFile("erwartet.wbx", documentBytes(d)), "-o", expected}).exitCode,
                 0);
        QVERIFY(QImage(png) == QImage(expected));
    }

    // Standard output that cannot be written is a failure with a message, whatever was to be printed.
    void fullStandardOutputFails_data() {
        QTest::addColumn<QList<QByteArray>>("arguments");
        const QByteArray wbx =
            QFile::encodeName(writeTempFile("stdout.wbx", documentBytes(PuzzleDocument())));
        const QByteArray words = QFile::encodeName(examplePath("woerter-20.txt"));
        QTest::newRow("info --json") << QList<QByteArray>{"info", wbx, "--json"};
        QTest::newRow("info") << QList<QByteArray>{"info", wbx};
        QTest::newRow("generate --stats") << QList<QByteArray>{"generate", words, "--runs", "2", "--stats"};
        QTest::newRow("generate, the grid") << QList<QByteArray>{"generate", words, "--runs", "2"};
        QTest::newRow("--help") << QList<QByteArray>{"--help"};
        QTest::newRow("render --help") << QList<QByteArray>{"render", "--help"};
        QTest::newRow("--version") << QList<QByteArray>{"--version"};
    }
    void fullStandardOutputFails() {
        QFETCH(QList<QByteArray>, arguments);
        ProgramStart start;
        start.arguments = arguments;
        start.standardOutputFile = "/dev/full";
        const Result r = runProgramBytes(WABRIX_CLI, start);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(QString::fromUtf8(r.err),
                 QStringLiteral("wabrix-cli: Die Standardausgabe kann nicht geschrieben "
                                "werden: Kein Platz mehr auf dem Datenträger\n"));
    }

    // The command line speaks German, also where Qt words the text: the help's headings and lines, the
    // parser's errors.
    void qtTextsInGerman_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QString>("english");
        QTest::newRow("help headings") << QStringList{"info", "--help"} << "Optionen:"
                                       << "Options:";
        QTest::newRow("help option") << QStringList{"render", "--help"} << "Zeigt Hilfe"
                                     << "Displays help";
        QTest::newRow("usage") << QStringList{"new", "--help"} << "Aufruf:"
                               << "Usage:";
        QTest::newRow("unknown option") << QStringList{"info", "--farbe"} << "Unbekannte Option"
                                        << "Unknown option";
        QTest::newRow("missing value") << QStringList{"render", "x.wbx", "--dpi"} << "fehlt der Wert"
                                       << "Missing value";
    }
    void qtTextsInGerman() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, german);
        QFETCH(QString, english);
        const Result r = runCli(arguments);
        const QString said = QString::fromUtf8(r.out + r.err);
        QVERIFY2(said.contains(german) && !said.contains(english), qPrintable(said));
    }

    // A title, clue or font name with characters that XML cannot hold still gives a well-formed SVG:
    // those characters are left out.
    void svgIsWellFormedWhateverTheTexts() {
        QProcess probe;
        probe.start(QStringLiteral("xmllint"), {QStringLiteral("--version")});
        if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
            QSKIP("xmllint fehlt (Paket libxml2-utils)");
        PuzzleDocument d;
        d.settings.title = u"Titel\u0001 \u001b[31mrot\uFFFE\uFFFF <&> \"Ende\"";
        d.settings.clueFont.face = u"Arial\u0002Narrow";
        d.grid = gridFromPicture({"#HAUS"});
        d.entries = {documentEntry(u"Geb\u0007\u00e4ude\u000b <b>&", u"HAUS", false, 0, 1)};
        const QString wbx = writeTempFile("steuerzeichen.wbx", documentBytes(d));
        const QString svg = dir.filePath("steuerzeichen.svg");
        const Result r = runCli({"render", wbx, "-o", svg});
        QCOMPARE(r.exitCode, 0);
        QProcess lint;
        lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), svg});
        QVERIFY(lint.waitForFinished(30000));
        QVERIFY2(lint.exitCode() == 0, lint.readAllStandardError().constData());
        const QByteArray bytes = fileBytes(svg);
        QVERIFY(bytes.contains("<title>Titel [31mrot &lt;&amp;&gt; &quot;Ende&quot;</title>"));
        QVERIFY(bytes.contains(">\xc3\xa4ude</text>")); // the clue, broken into lines at the bell
        QVERIFY(bytes.contains("font-family=\"ArialNarrow\""));
    }

    // info shows the document's texts so that none can steer the terminal: control characters come out
    // as \xNN (text) or \uNNNN (JSON), never as themselves.
    void infoEscapesControlCharacters() {
        PuzzleDocument d;
        d.settings.title = u"A\u001b]0;gekapert\u0007B\u009bC\u007fD";
        d.settings.titleFont.face = u"Arial\u001bBlack";
        const QString wbx = writeTempFile("terminal.wbx", documentBytes(d));
        const Result text = runCli({"info", wbx});
        QCOMPARE(text.exitCode, 0);
        QVERIFY2(text.out.contains("Überschrift: A\\x1B]0;gekapert\\x07B\\u009bC\\x7FD\n"),
                 text.out.constData());
        QVERIFY(text.out.contains("Arial\\x1BBlack"));
        const Result json = runCli({"info", wbx, "--json"});
        QCOMPARE(json.exitCode, 0);
        QVERIFY2(json.out.contains("\"title\":\"A\\u001b]0;gekapert\\u0007B\\u009bC\\u007fD\""),
                 json.out.constData());
        QCOMPARE(QJsonDocument::fromJson(json.out).object().value("title").toString(),
                 QString::fromStdU16String(d.settings.title));
        for (const QByteArray &out : {text.out, json.out})
            for (const char c : out)
                QVERIFY2(static_cast<unsigned char>(c) >= 0x20 || c == '\n',
                         "a control character on standard output");
    }

    // Documents are read as "Öffnen..." reads them: more word rows than it takes are refused at the row
    // count, before anything of that size is built, by every command that reads documents.
    void rowLimitOfOpening_data() {
        QTest::addColumn<QStringList>("command"); // FILE: the document
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("exitCode");
        const QStringList commands[] = {{"info", "FILE", "--json"},
                                        {"render", "FILE", "-o", dir.filePath("zeilen.png")},
                                        {"thumbnail", "FILE", dir.filePath("zeilen-klein.png")},
                                        {"print", "FILE"}};
        for (const QStringList &command : commands) {
            QTest::addRow("%s, one row too many", qPrintable(command.first())) << command << 1000001 << 1;
            QTest::addRow("%s, 31 million empty rows", qPrintable(command.first()))
                << command << 31000000 << 1;
        }
        QTest::newRow("info, exactly the limit") << commands[0] << 1000000 << 0;
    }
    void rowLimitOfOpening() {
        QFETCH(QStringList, command);
        QFETCH(int, rows);
        QFETCH(int, exitCode);
        // Empty rows are eight zero bytes each: the file is sparse and costs no disk.
        const QByteArray plain = documentBytes(PuzzleDocument());
        const QString path = dir.filePath(QStringLiteral("zeilen-%1.wbx").arg(rows));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(le32(rows)) == 4 && file.seek(4 + qint64(rows) * 8));
        QVERIFY(file.write(plain.mid(4 + defaultWordRows * 8)) == plain.size() - 4 - defaultWordRows * 8);
        file.close();
        command.replace(command.indexOf("FILE"), path);
        const Result r = runCli(command, true);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode == 0) {
            QCOMPARE(QJsonDocument::fromJson(r.out).object().value("rows").toInt(), rows);
            return;
        }
        QVERIFY2(r.err.contains("kann nicht geöffnet werden: Die Worttabelle hat") &&
                     r.err.contains("höchstens"),
                 r.err.constData());
        QVERIFY(!r.crashed);
    }

    // The most runs in a bounded address space: the generator keeps a few bytes per run, not a run's
    // grid (40 KB, 4 GB for all of them), so the generation succeeds however many runs it makes.
    void mostRunsWithinBoundedMemory_data() {
        QTest::addColumn<QString>("list");
        QTest::newRow("one word") << QStringLiteral("ein-wort");
        QTest::newRow("20 words") << QStringLiteral("woerter-20.txt");
    }
    void mostRunsWithinBoundedMemory() {
        QFETCH(QString, list);
        if (sanitized)
            QSKIP("the sanitizer reserves far more address space than it uses");
        const QString words = list == QLatin1String("ein-wort")
                                  ? writeTempFile("ein-wort.txt", "Haustier\tkatze\n")
                                  : examplePath(list);
        const Result r = runCli({"generate", words, "--seed", "1", "--runs", "100000", "--stats"}, true);
        QVERIFY(!r.crashed);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(QJsonDocument::fromJson(r.out).object().value("runs").toInt(), 100000);
    }

    // Every command's --help names its options; --version names the program.
    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected"); // each somewhere on standard output
        QTest::newRow("generate") << QStringList{"generate", "--help"} << QStringList{"--seed", "--png"};
        QTest::newRow("new") << QStringList{"new", "--help"} << QStringList{"-o <OUT.wbx>"};
        QTest::newRow("info") << QStringList{"info", "--help"} << QStringList{"--json"};
        QTest::newRow("render") << QStringList{"render", "--help"} << QStringList{"--no-solution", "--dpi"};
        QTest::newRow("print") << QStringList{"print", "--help"} << QStringList{"--printer", "Wabrixrätsel"};
        QTest::newRow("version") << QStringList{"--version"} << QStringList{"wabrix-cli "};
    }
    void helpAndVersion() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, 0);
        for (const QString &text : expected)
            QVERIFY2(QString::fromUtf8(r.out).contains(text), qPrintable(text));
        if (arguments.first() == "--version")
            QVERIFY(r.out.startsWith("wabrix-cli "));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
