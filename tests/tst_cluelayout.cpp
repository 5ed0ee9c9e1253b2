#include "cluelayout.h"
#include "datarow.h"
#include "hyphenation.h"
#include "linebreaker.h"
#include "pixels.h"
#include "printerpage.h"
#include "programrun.h"
#include "puzzleprinting.h"
#include "puzzlesvg.h"
#include "renderer.h"
#include "testfiles.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextItem>
#include <QtTest>

#include <hyphen.h>

#include <set>

namespace {

constexpr int screenPpi = 96;
constexpr int printerPpi = 600;

// Test widths: every character one unit wide, except accents, which sit on the letter before them.
double characterCount(const QString &text) {
    return static_cast<double>(
        std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isMark(); }));
}

std::vector<int> germanPoints(const QString &word) {
    return GermanHyphenation::shared().points(word);
}

// The word with a hyphen at each of its hyphenation points.
QString hyphenated(const QString &word) {
    QString shown = word;
    const std::vector<int> points = germanPoints(word);
    for (auto point = points.rbegin(); point != points.rend(); ++point)
        shown.insert(*point, u'-');
    return shown;
}

// A paint device that draws nothing and keeps every text item drawn on it, in order: what a picture
// of any kind gets written, at the device's resolution.
class TextRecorder : public QPaintDevice {
public:
    TextRecorder(QSize size, int ppi) : size_(size), ppi_(ppi), engine_(this) {}
    ~TextRecorder() override = default;

    QPaintEngine *paintEngine() const override { return &engine_; }
    QStringList texts() const { return engine_.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return ppi_;
        case PdmWidthMM:
            return qRound(size_.width() * 25.4 / ppi_);
        case PdmHeightMM:
            return qRound(size_.height() * 25.4 / ppi_);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder *device) : QPaintEngine(AllFeatures), device_(device) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        void drawRects(const QRectF *, int) override {}
        void drawTextItem(const QPointF &, const QTextItem &item) override { texts.append(item.text()); }
        Type type() const override { return User; }
        QStringList texts;

    private:
        TextRecorder *device_;
    };

    QSize size_;
    int ppi_;
    mutable Engine engine_;
};

// The clues of examples/woerter-100.txt.
std::vector<std::u16string> exampleClues() {
    std::vector<std::u16string> clues;
    for (const VectorWordTable::Row &row : readExampleList(QStringLiteral("woerter-100.txt")))
        clues.push_back(row.first);
    return clues;
}

// A puzzle with one clue cell (across, entry i) in every other row of every other column, as many as
// clues, the clues as its entries.
void clueGrid(PuzzleModel &model, const std::vector<std::u16string> &clues) {
    model.grid.fill(cellFree);
    for (std::size_t i = 0; i < clues.size(); ++i) {
        model.AddEntry(clues[i], u"A");
        const int x = 2 * static_cast<int>(i % (gridSize / 2)), y = 2 * static_cast<int>(i / (gridSize / 2));
        model.grid[cellIndex(x, y)] = clueCellValue(static_cast<std::uint32_t>(i), false);
    }
}

PuzzleSettings fittingSettings(double cellWidth = 10) {
    PuzzleSettings settings;
    settings.fitClues = true;
    settings.cellWidth = cellWidth;
    settings.markPageEnd = false;
    return settings;
}

// The texts a puzzle is drawn with on a device of the given resolution, its title first.
QStringList drawnTexts(PuzzleModel &model, const PuzzleSettings &settings, int ppi) {
    const QSize size = puzzlePictureSize(model, settings, ppi);
    TextRecorder recorder(size, ppi);
    QPainter painter(&recorder);
    drawPuzzle(painter, model, settings, RenderTarget::printerPage(ppi));
    return recorder.texts();
}

// Standard output of pdftotext in reading order, one text line a line; fails the test without it.
QStringList pdfTextLines(const QString &pdf) {
    const ProgramRun run =
        runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}, 60000);
    if (run.exitCode != 0)
        qWarning("pdftotext failed (poppler-utils installed?): %s", run.err.constData());
    QStringList lines;
    for (const QString &line : QString::fromUtf8(run.out).split(u'\n'))
        if (!line.trimmed().isEmpty()) // the page ends in a form feed
            lines.append(line);
    return lines;
}

// The contents of the text elements of an SVG picture, in order.
QStringList svgTexts(const QByteArray &svg) {
    QStringList texts;
    const QRegularExpression element(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (auto match = element.globalMatch(QString::fromUtf8(svg)); match.hasNext();)
        texts.append(match.next().captured(1).replace(QLatin1String("&amp;"), QLatin1String("&")));
    return texts;
}

} // namespace

class TestClueLayout : public QObject {
    Q_OBJECT

private slots:
    void hyphenationPoints_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("expected");
        addRow("compound", QStringLiteral("Hauptstadt"), QStringLiteral("Haupt-stadt"));
        addRow("syllables", QStringLiteral("Gegenteil"), QStringLiteral("Ge-gen-teil"));
        addRow("umlauts", QStringLiteral("Gänseblümchen"), QStringLiteral("Gän-se-blüm-chen"));
        addRow("capital umlaut, two letters kept at the start", QStringLiteral("Übermäßig"),
               QStringLiteral("Über-mä-ßig"));
        addRow("sharp s", QStringLiteral("Straßenbahn"), QStringLiteral("Stra-ßen-bahn"));
        addRow("long compound", QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän"),
               QStringLiteral("Do-nau-dampf-schiff-fahrts-ge-sell-schafts-ka-pi-tän"));
        addRow("no point", QStringLiteral("Kleid"), QStringLiteral("Kleid"));
        addRow("too short", QStringLiteral("Ei"), QStringLiteral("Ei"));
        addRow("punctuation around the word", QStringLiteral("(Hauptstadt),"),
               QStringLiteral("(Haupt-stadt),"));
        addRow("each part of a hyphenated word", QStringLiteral("Gegenteil-Hauptstadt"),
               QStringLiteral("Ge-gen-teil-Haupt-stadt"));
        addRow("letters the patterns cannot spell", QStringLiteral("Dvořákstraße"),
               QStringLiteral("Dvořákstraße"));
        addRow("empty", QString(), QString());
    }
    void hyphenationPoints() {
        QFETCH(QString, word);
        QFETCH(QString, expected);
        QVERIFY2(GermanHyphenation::shared().available(), GermanHyphenation::defaultPatternsFile);
        QCOMPARE(hyphenated(word), expected);
    }

    // The points of every word of the example lists, clues and answers, against those of libhyphen
    // with the whole patterns file loaded, as the program did before it loaded only the patterns a
    // word can meet.
    void pointsAsWithTheWholeFile_data() {
        QTest::addColumn<QString>("list");
        for (const char *list : {"woerter-999.txt", "woerter.txt", "vokabeln.tsv"})
            QTest::newRow(list) << QString::fromLatin1(list);
    }
    void pointsAsWithTheWholeFile() {
        QFETCH(QString, list);
        static HyphenDict *const whole = hnj_hyphen_load(GermanHyphenation::defaultPatternsFile);
        QVERIFY2(whole, GermanHyphenation::defaultPatternsFile);
        std::set<std::string> runs;
        for (const VectorWordTable::Row &row : readExampleList(list))
            for (const std::u16string &text : {row.first, row.second})
                for (const QString &run : QString::fromStdU16String(text).split(
                         QRegularExpression(QStringLiteral("[^a-zäöüß]+"),
                                            QRegularExpression::CaseInsensitiveOption),
                         Qt::SkipEmptyParts))
                    if (run.size() >= 4)
                        runs.insert(run.toLower().toLatin1().toStdString());
        QVERIFY2(runs.size() > 50, qPrintable(list));
        int broken = 0;
        for (const std::string &run : runs) {
            const std::string expected = GermanHyphenation::marksWith(whole, run);
            // Compared with the word in front, so that a failure names it.
            QCOMPARE(QString::fromLatin1(run + " " + GermanHyphenation::shared().marks(run)),
                     QString::fromLatin1(run + " " + expected));
            broken += expected.find('1') != std::string::npos;
        }
        // Most of them have a point at all: the comparison is not one of empty results.
        QVERIFY2(broken * 2 > static_cast<int>(runs.size()), qPrintable(QString::number(broken)));
    }

    // Small pattern files of our own, read as the program reads hyph_de_DE.dic: the points of each word
    // are those of libhyphen holding the whole file. "6har1b" never matches "harlekin", but its
    // prefix "har" is a state of libhyphen's automaton, which keeps "a1r" from breaking "ha-rlekin";
    // the compound level hands the second one each part between dots.
    void ownPatternFiles_data() {
        QTest::addColumn<QByteArray>("patterns");
        QTest::addColumn<QStringList>("words");
        const QByteArray oneLevel = "ISO8859-1\n% a comment\n# another\n\na1r\nar1l\ne1ki\nr1l\n6har1b\n";
        const QByteArray twoLevels = "ISO8859-1\nCOMPOUNDLEFTHYPHENMIN 2\nCOMPOUNDRIGHTHYPHENMIN 2\n"
                                     "haus1tür\nNOHYPHEN -,'\n1-1\n1'1\nNEXTLEVEL\n.ha2\na1r\n6har1b\n"
                                     "t2ür.\n1tü\ns1t\nar1l\ne1ki\n";
        const QStringList words{QStringLiteral("harlekin"), QStringLiteral("harbe"),
                                QStringLiteral("arlekin"), QStringLiteral("haustür"),
                                QStringLiteral("haustürharlekin")};
        QTest::newRow("one level") << oneLevel << words;
        QTest::newRow("two levels") << twoLevels << words;
        QTest::newRow("two levels, CR LF line ends") << QByteArray(twoLevels).replace("\n", "\r\n") << words;
    }
    void ownPatternFiles() {
        QFETCH(QByteArray, patterns);
        QFETCH(QStringList, words);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("muster.dic"));
        QVERIFY(writeFile(path, QString::fromUtf8(patterns).toLatin1()));
        const GermanHyphenation own(path);
        QVERIFY(own.available());
        HyphenDict *const whole = hnj_hyphen_load(QFile::encodeName(path).constData());
        QVERIFY(whole);
        for (const QString &word : words) {
            const std::string run = word.toLatin1().toStdString();
            QCOMPARE(QString::fromLatin1(run + " " + own.marks(run)),
                     QString::fromLatin1(run + " " + GermanHyphenation::marksWith(whole, run)));
        }
        hnj_hyphen_free(whole);
    }

    void missingPatternsGiveNoPoints_data() {
        QTest::addColumn<QByteArray>("contents"); // null: no file at all
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("empty file") << QByteArray("");
    }
    void missingPatternsGiveNoPoints() {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hyph_de_DE.dic"));
        if (!contents.isNull())
            QVERIFY(writeFile(path, contents));
        const GermanHyphenation none(path);
        QVERIFY(!none.available());
        QVERIFY(none.points(QStringLiteral("Hauptstadt")).empty());
    }

    void wordBreaks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QString>("lines"); // separated by |
        QTest::addColumn<bool>("forced");
        QTest::addColumn<bool>("tooWide");
        QTest::addColumn<bool>("complete");
        const int all = INT_MAX;
        addRow("empty text", QString(), 10.0, all, QString(), false, false, true);
        addRow("only blanks", QStringLiteral("   "), 10.0, all, QString(), false, false, true);
        addRow("fits whole", QStringLiteral("Hauptstadt"), 10.0, all, QStringLiteral("Hauptstadt"), false,
               false, true);
        addRow("at a hyphenation point", QStringLiteral("Hauptstadt"), 9.0, all,
               QStringLiteral("Haupt-|stadt"), false, false, true);
        addRow("between words before inside one", QStringLiteral("Teil des Baumes"), 8.0, all,
               QStringLiteral("Teil des|Baumes"), false, false, true);
        addRow("hyphenated parts fill the lines", QStringLiteral("Gegenteil von"), 5.0, all,
               QStringLiteral("Ge-|gen-|teil|von"), false, false, true);
        addRow("long compound", QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän"), 14.0, all,
               QStringLiteral("Donaudampf-|schifffahrts-|gesellschafts-|kapitän"), false, false, true);
        addRow("umlauts", QStringLiteral("Fußrücken"), 6.0, all, QStringLiteral("Fußrü-|cken"), false, false,
               true);
        addRow("sharp s", QStringLiteral("Straßenbahn"), 6.0, all, QStringLiteral("Stra-|ßen-|bahn"), false,
               false, true);
        addRow("after the text's own hyphen", QStringLiteral("RSS-Reader"), 6.0, all,
               QStringLiteral("RSS-|Reader"), false, false, true);
        addRow("word without a point broken by force", QStringLiteral("Kleid"), 3.0, all,
               QStringLiteral("Kle|id"), true, false, true);
        addRow("by force at a point when the hyphen does not fit", QStringLiteral("Hauptstadt"), 5.0, all,
               QStringLiteral("Haupt|stadt"), true, false, true);
        addRow("a character wider than the box", QStringLiteral("Ei"), 0.5, all, QStringLiteral("E|i"), true,
               true, true);
        addRow("soft hyphen where the word is broken", QStringLiteral("Wabrix\u00adrätsel"), 8.0, all,
               QStringLiteral("Wabrix-|rätsel"), false, false, true);
        addRow("soft hyphen hidden elsewhere", QStringLiteral("Wabrix\u00adrätsel"), 20.0, all,
               QStringLiteral("Wabrixrätsel"), false, false, true);
        addRow("the text's line breaks", QStringLiteral("Teil\r\ndes Baumes"), 20.0, all,
               QStringLiteral("Teil|des Baumes"), false, false, true);
        addRow("empty line kept, trailing line break dropped", QStringLiteral("Teil\n\nBaum\n"), 20.0, all,
               QStringLiteral("Teil||Baum"), false, false, true);
        addRow("blanks collapse", QStringLiteral("  am   Ende  "), 20.0, all, QStringLiteral("am Ende"),
               false, false, true);
        addRow("no-break space holds", QStringLiteral("10\u00a0km weit"), 5.0, all,
               QStringLiteral("10\u00a0km|weit"), false, false, true);
        addRow("accent stays with its letter", QStringLiteral("e\u0301e\u0301e\u0301"), 1.0, all,
               QStringLiteral("e\u0301|e\u0301|e\u0301"), true, false, true);
        addRow("stops one line after the most asked for", QStringLiteral("Gegenteil von"), 5.0, 2,
               QStringLiteral("Ge-|gen-|teil"), false, false, false);
        addRow("all lines when exactly one more", QStringLiteral("Gegenteil"), 5.0, 2,
               QStringLiteral("Ge-|gen-|teil"), false, false, true);
    }
    void wordBreaks() {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(int, maxLines);
        QFETCH(QString, lines);
        QFETCH(bool, forced);
        QFETCH(bool, tooWide);
        QFETCH(bool, complete);
        const BrokenLines broken = breakLines(text, width, characterCount, germanPoints, maxLines);
        QCOMPARE(broken.lines.join(u'|'), lines);
        QCOMPARE(broken.forcedBreak, forced);
        QCOMPARE(broken.tooWide, tooWide);
        QCOMPARE(broken.complete, complete);
    }

    void longTextsStayCheap() {
        // A word of a hundred thousand letters in a box of ten lines: breaking stops after eleven.
        const BrokenLines broken = breakLines(QString(100000, u'x'), 5, characterCount, germanPoints, 10);
        QCOMPARE(broken.lines.size(), 11);
        QVERIFY(!broken.complete);
    }

    void fitting_data() {
        QTest::addColumn<QString>("clue");
        QTest::addColumn<double>("cellWidth");
        QTest::addColumn<double>("minFont");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<bool>("smaller"); // set in a smaller font than the clue font
        addRow("short word at full size", QStringLiteral("innig"), 10.0, 5.0, true, false);
        addRow("two words at full size", QStringLiteral("neu starten"), 10.0, 5.0, true, false);
        addRow("compound made smaller", QStringLiteral("Sprachwissenschaft"), 10.0, 5.0, true, true);
        addRow("too long even at the smallest font",
               QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän"), 7.0, 5.0, false, true);
        addRow("smallest font above the clue font", QStringLiteral("Sprachwissenschaft"), 10.0, 12.0, false,
               false);
        addRow("no room inside the margins", QStringLiteral("Ei"), 2.0, 5.0, false, true);
        addRow("empty clue", QString(), 2.0, 5.0, true, false);
        addRow("longer than any cell shows", QStringLiteral("Wort ").repeated(20000), 100.0, 1.0, false,
               true);
    }
    void fitting() {
        QFETCH(QString, clue);
        QFETCH(double, cellWidth);
        QFETCH(double, minFont);
        QFETCH(bool, fits);
        QFETCH(bool, smaller);
        PuzzleSettings settings = fittingSettings(cellWidth);
        settings.minClueFontSize = minFont;
        const FittedClue fitted = fitClue(clue, settings.clueFont, minFont, clueBox(settings));
        QCOMPARE(fitted.fits, fits);
        QCOMPARE(fitted.pointSize < settings.clueFont.pointSize, smaller);
        QVERIFY(fitted.pointSize >= std::min<double>(minFont, settings.clueFont.pointSize));
        if (fits)
            QVERIFY(fitted.lines.size() * fitted.lineHeight <= clueBox(settings).height);
        else
            QCOMPARE(fitted.pointSize, std::min<double>(minFont, settings.clueFont.pointSize));
        // Nothing is lost: the lines hold the clue's letters, blanks and hyphens aside.
        const auto letters = [](QString text) { return text.remove(u' ').remove(u'-'); };
        if (fits)
            QCOMPARE(letters(fitted.lines.join(QString())), letters(clue));
    }

    // The picture shows the fitted lines, and each inside its clue cell's text box: the clues drawn
    // white on black leave the margin around the box black.
    void fittedCluesStayInTheirBoxes_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("ppi");
        addRow("zoom 100 at 600 ppi", 100.0, printerPpi);
        addRow("zoom 50 at 600 ppi", 50.0, printerPpi);
        addRow("zoom 100 at 96 ppi", 100.0, screenPpi);
        addRow("zoom 200 at 96 ppi", 200.0, screenPpi);
    }
    void fittedCluesStayInTheirBoxes() {
        QFETCH(double, zoom);
        QFETCH(int, ppi);
        const std::vector<std::u16string> clues = exampleClues();
        QCOMPARE(clues.size(), std::size_t{100});
        PuzzleModel model;
        clueGrid(model, clues);
        PuzzleSettings settings = fittingSettings();
        settings.zoom = zoom;
        QString error;
        const QImage image = renderPuzzleImage(model, settings, ppi, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        const PuzzleGeometry g = puzzleGeometry(model, settings, ppi);
        for (std::size_t i = 0; i < clues.size(); ++i) {
            const int x = g.pageMargin + 2 * static_cast<int>(i % 50) * g.cellSize,
                      y = g.gridTop + 2 * static_cast<int>(i / 50) * g.cellSize;
            const QRect inside(x + g.lineWidth, y + g.lineWidth, g.cellSize - 2 * g.lineWidth,
                               g.cellSize - 2 * g.lineWidth);
            // One pixel of rounding either way around the box.
            const QRect box = QRect(x + g.textMargin, y + g.textMargin, g.cellSize - 2 * g.textMargin,
                                    g.cellSize - 2 * g.textMargin)
                                  .adjusted(-1, -1, 1, 1);
            const int light = countPixels(image, inside, isLight);
            const int lightInBox = countPixels(image, box, isLight);
            QVERIFY2(lightInBox > 0, qPrintable(QString::fromStdU16String(clues[i])));
            QVERIFY2(light == lightInBox, qPrintable(QString::fromStdU16String(clues[i])));
        }
    }

    // None of the hundred example clues overflows a 10 mm cell at 8 pt once fitted; how many do
    // without fitting, and in 7 mm cells with it, is written to the test's log.
    void exampleCluesFitTenMillimetreCells() {
        const std::vector<std::u16string> clues = exampleClues();
        PuzzleModel model;
        clueGrid(model, clues);
        const PuzzleSettings fitted = fittingSettings();
        QVERIFY(overflowingClueEntries(model.grid, clues, fitted).empty());
        PuzzleSettings plain = fitted;
        plain.fitClues = false;
        const std::size_t plainOverflows = overflowingClueEntries(model.grid, clues, plain).size();
        QVERIFY(plainOverflows > 0);
        const std::size_t smallOverflows =
            overflowingClueEntries(model.grid, clues, fittingSettings(7)).size();
        qInfo(
            "Of 100 clues, %zu overflow a 10 mm cell at 8 pt without fitting, 0 with it; %zu overflow a 7 mm "
            "cell with fitting.",
            plainOverflows, smallOverflows);
    }

    void overflowIsDetected_data() {
        QTest::addColumn<bool>("fitClues");
        QTest::newRow("without fitting") << false;
        QTest::newRow("with fitting") << true;
    }
    void overflowIsDetected() {
        QFETCH(bool, fitClues);
        // Entry 0 fits, entry 1 does not even in the smallest font, entry 2 is named by two cells
        // and fits, entry 3 is named by none, and one cell names an entry that does not exist.
        const std::vector<std::u16string> clues = {u"Ei", u"Donaudampfschifffahrtsgesellschaftskapitänsmütze",
                                                   u"Baum",
                                                   u"Donaudampfschifffahrtsgesellschaftskapitänsmütze"};
        Grid grid;
        grid.fill(cellFree);
        grid[cellIndex(0, 0)] = clueCellValue(0, false);
        grid[cellIndex(0, 2)] = clueCellValue(1, true);
        grid[cellIndex(2, 0)] = clueCellValue(2, false);
        grid[cellIndex(2, 2)] = clueCellValue(2, true);
        grid[cellIndex(4, 4)] = clueCellValue(7, false);
        PuzzleSettings settings = fittingSettings();
        settings.fitClues = fitClues;
        QCOMPARE(overflowingClueEntries(grid, clues, settings), std::vector<std::uint32_t>{1});
    }

    void fittedOverflowIsTheSameAtEveryResolution() {
        const std::vector<std::u16string> clues = exampleClues();
        PuzzleModel model;
        clueGrid(model, clues);
        const PuzzleSettings settings = fittingSettings(7);
        const std::vector<std::uint32_t> atPrinter = overflowingClueEntries(model.grid, clues, settings);
        QVERIFY(!atPrinter.empty());
        QCOMPARE(overflowingClueEntries(model.grid, clues, settings, screenPpi), atPrinter);
        QCOMPARE(overflowingClueEntries(model.grid, clues, settings, 1200), atPrinter);
    }

    // The same clue breaks at the same places on every target: pictures at any zoom and resolution,
    // SVG and the PDF page.
    void breaksAreTheSameEverywhere() {
        const std::vector<std::u16string> clues = {u"Hauptstadt von Frankreich", u"Sprachwissenschaft",
                                                   u"Großgrundbesitz"};
        PuzzleModel model;
        model.grid.fill(cellFree);
        for (std::size_t i = 0; i < clues.size(); ++i) {
            model.AddEntry(clues[i], u"A");
            model.grid[cellIndex(0, 2 * static_cast<int>(i))] =
                clueCellValue(static_cast<std::uint32_t>(i), false);
        }
        PuzzleSettings settings = fittingSettings(9);
        QStringList expected{QString::fromStdU16String(settings.title)};
        for (const std::u16string &clue : clues) {
            const FittedClue fitted = fitClue(QString::fromStdU16String(clue), settings.clueFont,
                                              settings.minClueFontSize, clueBox(settings));
            // A clue that does not fit is cut at its box, which an SVG picture draws as outlines.
            QVERIFY(fitted.fits);
            expected += fitted.lines;
        }
        QVERIFY(expected.size() > 2 * static_cast<int>(clues.size()));

        for (double zoom : {50.0, 100.0, 200.0})
            for (int ppi : {screenPpi, printerPpi}) {
                settings.zoom = zoom;
                QCOMPARE(drawnTexts(model, settings, ppi), expected);
            }
        settings.zoom = 100;
        QString error;
        const QByteArray svg =
            renderPuzzleSvg(model, settings, screenPpi, FixedPrinterQuery(defaultPdfPage()), &error);
        QVERIFY2(!svg.isEmpty(), qPrintable(error));
        QCOMPARE(svgTexts(svg), expected);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("breaks.pdf"));
        const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        QVERIFY2(writePuzzlePdf(pdf, a4, 1200, model, settings, &error), qPrintable(error));
        QCOMPARE(pdfTextLines(pdf), expected);
    }

    // Fitted lines stand in the middle of their box.
    void fittedLinesAreCentredVertically() {
        PuzzleModel model;
        model.grid.fill(cellFree);
        model.AddEntry(u"Ei", u"A");
        model.grid[cellIndex(0, 0)] = clueCellValue(0, false);
        const PuzzleSettings settings = fittingSettings();
        QString error;
        const QImage image = renderPuzzleImage(model, settings, printerPpi, &error);
        const PuzzleGeometry g = puzzleGeometry(model, settings, printerPpi);
        const QRect box(g.pageMargin + g.textMargin, g.gridTop + g.textMargin, g.cellSize - 2 * g.textMargin,
                        g.cellSize - 2 * g.textMargin);
        int top = box.bottom(), bottom = box.top();
        for (int y = box.top(); y <= box.bottom(); ++y)
            if (countPixels(image, QRect(box.left(), y, box.width(), 1), isLight) > 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        QVERIFY(bottom > top);
        // Ink sits on the baseline with room for descenders below it: the line, not its ink, is
        // centred, so allow the descent (a fifth of the font) either way.
        const int fontPixels = 8 * printerPpi / 72;
        QVERIFY2(
            std::abs((top - box.top()) - (box.bottom() - bottom)) <= fontPixels / 5 + 1,
            qPrintable(QStringLiteral("%1 above, %2 below").arg(top - box.top()).arg(box.bottom() - bottom)));
    }
};

QTEST_MAIN(TestClueLayout)
#include "tst_cluelayout.moc"
