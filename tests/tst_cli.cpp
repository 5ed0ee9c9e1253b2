#include "documentfile.h"
#include "documentwriter.h"

#include <QtEndian>
#include <QtTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runCli(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(WABRIX_CLI), arguments);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString example(const char *name) { return QStringLiteral(WABRIX_SOURCE_DIR "/examples/") + name; }

QByteArray documentBytes(const PuzzleDocument &document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeDocument(buffer, document, nullptr);
    return buffer.data();
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString writeFile(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private slots:
    void statsLineHasEveryKeyInOrder() {
        const Result r = runCli({"generate", example("woerter-20.txt"), "--seed", "1", "--runs", "20", "--stats"});
        QCOMPARE(r.exitCode, 0);
        const QString line = QString::fromUtf8(r.out).trimmed();
        QRegularExpression shape(R"(^\{"entries":20,"placed":(\d+),"usedCells":(\d+),"area":(\d+),"bestRun":(\d+),)"
                                 R"("runs":20,"meanPlaced":([0-9.e+-]+),"seconds":([0-9.e+-]+)\}$)");
        const auto m = shape.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QVERIFY(QJsonDocument::fromJson(r.out).isObject());
        QVERIFY(m.captured(1).toInt() >= 2);
        QVERIFY(m.captured(4).toInt() < 20);
    }

    void sameSeedSameOutput() {
        const QStringList args{"generate", example("woerter-20.txt"), "--seed", "7", "--runs", "10"};
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

    void bothEnginesGenerate_data() {
        QTest::addColumn<QString>("engine");
        QTest::newRow("literal") << "literal";
        QTest::newRow("fast") << "fast";
    }
    void bothEnginesGenerate() {
        QFETCH(QString, engine);
        const Result r = runCli({"generate", example("woerter-20.txt"), "--seed", "3", "--runs", "5", "--stats",
                                 "--engine", engine});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject stats = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(stats.value("runs").toInt(), 5);
        QVERIFY(stats.value("placed").toInt() >= 2);
    }

    void wordListOfOneRowPrintsItsWord() {
        const QString path = writeFile("one.txt", "Haustier\tkatze\n");
        const Result r = runCli({"generate", path, "--seed", "1", "--runs", "1"});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out).trimmed();
        QVERIFY2(text == "#KATZE" || text == "#\nK\nA\nT\nZ\nE", qPrintable(text));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no subcommand") << QStringList{} << 2 << "Aufruf";
        QTest::newRow("unknown subcommand") << QStringList{"zaubern"} << 2 << "unbekannter Befehl";
        QTest::newRow("no word list") << QStringList{"generate"} << 2 << "Aufruf: wabrix-cli generate";
        QTest::newRow("runs 0") << QStringList{"generate", "x.txt", "--runs", "0"} << 2 << "--runs";
        QTest::newRow("runs too many") << QStringList{"generate", "x.txt", "--runs", "100001"} << 2 << "--runs";
        QTest::newRow("bad seed") << QStringList{"generate", "x.txt", "--seed", "abc"} << 2 << "--seed";
        QTest::newRow("unknown option") << QStringList{"generate", "x.txt", "--farbe"} << 2 << "farbe";
        QTest::newRow("unknown engine") << QStringList{"generate", "x.txt", "--engine", "zauber"} << 2 << "--engine";
        QTest::newRow("missing file") << QStringList{"generate", "/nonexistent/w.txt"} << 1 << "/nonexistent/w.txt";
        QTest::newRow("png without a file") << QStringList{"generate", "x.txt", "--png"} << 2 << "png";
        QTest::newRow("png into a missing folder")
            << QStringList{"generate", example("woerter-20.txt"), "--runs", "1", "--png", "/nonexistent/r.png"} << 1
            << "/nonexistent/r.png";
    }
    void failures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    }

    void tooManyRowsIsAUsageError() {
        QByteArray many;
        for (int i = 0; i < 1000; ++i)
            many += "f\ta\n";
        const Result r = runCli({"generate", writeFile("many.txt", many)});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("999"));
        QByteArray exact;
        for (int i = 0; i < 999; ++i)
            exact += "\n";
        QCOMPARE(runCli({"generate", writeFile("exact.txt", exact), "--runs", "1"}).exitCode, 0);
    }

    void invalidUtf8NamesTheLine() {
        const Result r = runCli({"generate", writeFile("bad.txt", "a\tb\n\xC3\x28\tx\n")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(QString::fromUtf8(r.err).contains("Zeile 2"), r.err.constData());
    }

    void newWritesTheStartUpDocument() {
        const QString path = dir.filePath("neu.wbx");
        const Result r = runCli({"new", "-o", path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.isEmpty() && r.err.isEmpty());
        QCOMPARE(fileBytes(path), documentBytes(PuzzleDocument()));
    }

    void infoDescribesTheStartUpDocument() {
        const QString path = writeFile("start.wbx", documentBytes(PuzzleDocument()));
        const Result json = runCli({"info", path, "--json"});
        QCOMPARE(json.exitCode, 0);
        const QString font = R"("pointSize":%1,"ppi":96,"charset":0,"color":4278190088,"pitch":0,)"
                             R"("bold":false,"italic":false,"underline":false,"strikeOut":false})";
        const QString expected =
            R"({"rows":999,"nonEmptyRows":0,"title":"Wabrixrätsel","showSolution":false,"markPageEnd":true,)"
            R"("zoom":100,"cellWidth":10,"lineWidth":0.3,"arrowSize":1,"textMargin":1,"pageMargin":15,)"
            R"("clueCellsBlack":true,"clueFont":{"family":"Arial Narrow",)" + font.arg(8) +
            R"(,"titleFont":{"family":"Arial Black",)" + font.arg(14) +
            R"(,"entries":0,"clueCells":0,"placedEntries":0,"letterCells":10000,"freeCells":0,)"
            R"("extent":{"columns":100,"rows":100}})";
        QCOMPARE(QString::fromUtf8(json.out).trimmed(), expected);

        const Result text = runCli({"info", path});
        QCOMPARE(text.exitCode, 0);
        const QString lines = QString::fromUtf8(text.out);
        for (const char *line : {"Wortzeilen: 999, davon gefüllt: 0", "Überschrift: Wabrixrätsel",
                                 "Strichstärke in mm: 0.3", "Lösung einblenden: nein",
                                 "Schrift der Fragen: Arial Narrow, 8 pt bei 96 ppi", "Buchstabenfelder: 10000",
                                 "Ausdehnung: 100 Spalten, 100 Zeilen"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
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
        d.feld = gridFromPicture({
            "#HAUS.",
            "....0.",
            "!EULE.",
            "......",
            "...#A.",
        });
        d.entries.resize(2);
        const QString path = writeFile("zellen.wbx", documentBytes(d));
        const Result r = runCli({"info", path, "--json"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("\"title\":\"\\\"100%1\\\" \\\\ neu\\nZeile \\ud800\""), r.out.constData());
        QVERIFY2(r.out.contains(R"("cellWidth":0.30000000000000004,"lineWidth":0.3,"arrowSize":null,)"),
                 r.out.constData());
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value("rows").toInt(), 5);
        QCOMPARE(o.value("nonEmptyRows").toInt(), 2);
        QCOMPARE(o.value("zoom").toDouble(), 5000.0);
        QCOMPARE(o.value("entries").toInt(), 2);
        QCOMPARE(o.value("clueCells").toInt(), 3);
        QCOMPARE(o.value("placedEntries").toInt(), 2);
        QCOMPARE(o.value("letterCells").toInt(), 10);
        QCOMPARE(o.value("freeCells").toInt(), 10000 - 13);
        QCOMPARE(o.value("extent").toObject().value("columns").toInt(), 5);
        QCOMPARE(o.value("extent").toObject().value("rows").toInt(), 5);
        const QJsonObject titleFont = o.value("titleFont").toObject();
        QCOMPARE(titleFont.value("color").toDouble(), double(0x00336699));
        QCOMPARE(titleFont.value("italic").toBool(), true);
        QCOMPARE(titleFont.value("bold").toBool(), false);
    }

    void generateSavesADocument() {
        const QString a = dir.filePath("a.wbx");
        const QString b = dir.filePath("b.wbx");
        const QStringList args{"generate", example("woerter-20.txt"), "--seed", "5", "--runs", "10"};
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

    void documentCommandsHaveHelp() {
        const Result n = runCli({"new", "--help"});
        QCOMPARE(n.exitCode, 0);
        QVERIFY(n.out.contains("-o <OUT.wbx>"));
        const Result i = runCli({"info", "--help"});
        QCOMPARE(i.exitCode, 0);
        QVERIFY(i.out.contains("--json"));
        const Result r = runCli({"render", "--help"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("--no-solution") && r.out.contains("--dpi"));
    }

    void documentFailures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString cut = writeFile("kurz.wbx", documentBytes(PuzzleDocument()).left(9000));
        QTest::newRow("info: missing file") << QStringList{"info", "/nonexistent/x.wbx"} << 1
                                            << "„/nonexistent/x.wbx“ kann nicht geöffnet werden: Die Datei existiert nicht";
        QTest::newRow("info: cut document") << QStringList{"info", cut} << 1 << "Read beyond end of file";
        QTest::newRow("info: no file") << QStringList{"info"} << 2 << "Aufruf: wabrix-cli info";
        QTest::newRow("info: two files") << QStringList{"info", cut, cut} << 2 << "Aufruf: wabrix-cli info";
        QTest::newRow("new: no output") << QStringList{"new"} << 2 << "Aufruf: wabrix-cli new -o OUT.wbx";
        QTest::newRow("new: stray argument") << QStringList{"new", "x", "-o", dir.filePath("x.wbx")} << 2 << "'x'";
        QTest::newRow("new: folder missing") << QStringList{"new", "-o", "/nonexistent/n.wbx"} << 1
                                             << "„/nonexistent/n.wbx“ kann nicht gespeichert werden";
        QTest::newRow("generate: folder missing")
            << QStringList{"generate", example("woerter-20.txt"), "--runs", "1", "-o", "/nonexistent/g.wbx"} << 1
            << "„/nonexistent/g.wbx“ kann nicht gespeichert werden";
    }
    void documentFailures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QVERIFY(r.out.isEmpty());
        if (exitCode == 1)
            QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(!QFile::exists(dir.filePath("x.wbx")));
    }

    // The picture is the screen view at 96 pixels per inch: 38 pixels a cell, 57 of margin either side.
    void pngShowsTheGeneratedPuzzle() {
        const QString png = dir.filePath("raetsel.png");
        const Result r = runCli({"generate", example("woerter-20.txt"), "--seed", "3", "--runs", "5", "--png", png});
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
        const QString wbx = dir.filePath("bild.wbx");
        const QString shown = dir.filePath("gezeigt.png");
        QCOMPARE(runCli({"generate", example("woerter-20.txt"), "--seed", "3", "--runs", "5", "-o", wbx, "--png",
                         shown})
                     .exitCode,
                 0);
        const QImage expected = QImage(shown).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!expected.isNull());

        for (const char *name : {"bild.png", "bild.bmp"}) {
            const QString out = dir.filePath(name);
            const Result r = runCli({"render", wbx, "-o", out});
            QCOMPARE(r.exitCode, 0);
            QVERIFY(r.out.isEmpty() && r.err.isEmpty());
            QVERIFY2(QImage(out).convertToFormat(QImage::Format_RGB32) == expected, name);
        }
        const QByteArray bmp = fileBytes(dir.filePath("bild.bmp"));
        QVERIFY(bmp.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));

        QCOMPARE(runCli({"render", wbx, "-o", dir.filePath("bild.svg")}).exitCode, 0);
        const QString svg = QString::fromUtf8(fileBytes(dir.filePath("bild.svg")));
        QVERIFY(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(expected.width()).arg(expected.height())));
        QVERIFY(svg.contains("Wabrixrätsel"));

        const QString solution = dir.filePath("loesung.png");
        QCOMPARE(runCli({"render", wbx, "-o", solution, "--solution"}).exitCode, 0);
        QCOMPARE(QImage(solution).size(), expected.size());
        QVERIFY(QImage(solution).convertToFormat(QImage::Format_RGB32) != expected);
        QCOMPARE(runCli({"render", wbx, "-o", solution, "--no-solution"}).exitCode, 0);
        QVERIFY(QImage(solution).convertToFormat(QImage::Format_RGB32) == expected);

        const QString sharp = dir.filePath("scharf.png");
        QCOMPARE(runCli({"render", wbx, "-o", sharp, "--dpi", "192", "--zoom", "50"}).exitCode, 0);
        QCOMPARE(QImage(sharp).size(), expected.size());
        QCOMPARE(runCli({"render", wbx, "-o", sharp, "--dpi", "192"}).exitCode, 0);
        QVERIFY(qAbs(QImage(sharp).width() - 2 * expected.width()) <= 2);
    }

    // A stored zoom outside the zoom field's range is drawn as the field shows it: clamped.
    void renderTakesStoredNumbersThroughTheFields() {
        const QString wbx = dir.filePath("zoom.wbx");
        QCOMPARE(runCli({"generate", example("woerter-20.txt"), "--seed", "3", "--runs", "2", "-o", wbx}).exitCode, 0);
        DocumentReadResult read = loadDocument(wbx);
        QVERIFY(read.ok);
        read.document.settings.zoom = 5;
        const QString tiny = dir.filePath("winzig.wbx");
        QVERIFY(saveDocument(tiny, read.document, nullptr));
        QCOMPARE(runCli({"render", tiny, "-o", dir.filePath("a.png")}).exitCode, 0);
        QCOMPARE(runCli({"render", wbx, "-o", dir.filePath("b.png"), "--zoom", "10"}).exitCode, 0);
        QVERIFY(QImage(dir.filePath("a.png")) == QImage(dir.filePath("b.png")));
    }

    void renderFailures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString wbx = writeFile("leer.wbx", documentBytes(PuzzleDocument()));
        const QString out = dir.filePath("nie.png");
        QTest::newRow("missing document") << QStringList{"render", "/nonexistent/r.wbx", "-o", out} << 1
                                          << "„/nonexistent/r.wbx“ kann nicht geöffnet werden";
        QTest::newRow("no output") << QStringList{"render", wbx} << 2 << "-o OUT fehlt";
        QTest::newRow("unknown picture type") << QStringList{"render", wbx, "-o", dir.filePath("nie.gif")} << 2
                                              << ".png, .bmp oder .svg";
        QTest::newRow("dpi 0") << QStringList{"render", wbx, "-o", out, "--dpi", "0"} << 2 << "--dpi";
        QTest::newRow("zoom 5") << QStringList{"render", wbx, "-o", out, "--zoom", "5"} << 2 << "--zoom";
        QTest::newRow("zoom not a number") << QStringList{"render", wbx, "-o", out, "--zoom", "x"} << 2 << "--zoom";
        QTest::newRow("both solution switches")
            << QStringList{"render", wbx, "-o", out, "--solution", "--no-solution"} << 2 << "schließen einander aus";
        QTest::newRow("picture too large") << QStringList{"render", wbx, "-o", out, "--dpi", "9600", "--zoom", "1000"}
                                           << 1 << "zu groß";
        QTest::newRow("folder missing") << QStringList{"render", wbx, "-o", "/nonexistent/r.png"} << 1
                                        << "/nonexistent/r.png";
    }
    void renderFailures() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Result r = runCli(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        if (exitCode == 1)
            QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(!QFile::exists(dir.filePath("nie.png")));
    }

    void helpAndVersion() {
        const Result v = runCli({"--version"});
        QCOMPARE(v.exitCode, 0);
        QVERIFY(v.out.startsWith("wabrix-cli "));
        const Result h = runCli({"generate", "--help"});
        QCOMPARE(h.exitCode, 0);
        QVERIFY(h.out.contains("--seed"));
        QVERIFY(h.out.contains("--png"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
