// Writes the seeds of the fuzzers. OUTPUT_FOLDER/document gets the start-up document, puzzles
// generated from the example word lists, and small documents that reach the rarer fields (surrogate
// pairs, style bits, numbers that are no numbers, entries with empty texts); OUTPUT_FOLDER/render gets
// a few inputs of fixed pseudo-random bytes. The word-list seeds are the example lists themselves,
// copied by the fuzz script.
//
// Usage: fuzz_seeds OUTPUT_FOLDER EXAMPLES_FOLDER

#include "documentbuffer.h"
#include "documentcompare.h"
#include "documentconversion.h"
#include "generator.h"
#include "wordlist.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeSeed(const QDir &folder, const char *name, const PuzzleDocument &document) {
    return writeBytes(folder.filePath(QString::fromLatin1(name) + QStringLiteral(".wbx")),
                      documentToBytes(document, nullptr));
}

bool writeRenderSeeds(const QDir &folder) {
    for (const quint32 seed : {1u, 2u, 3u}) {
        QRandomGenerator random(seed);
        QByteArray bytes(static_cast<qsizetype>(500 * seed), 0);
        for (char &b : bytes)
            b = static_cast<char>(random.generate());
        if (!writeBytes(folder.filePath(QStringLiteral("zufall-%1").arg(seed)), bytes))
            return false;
    }
    return true;
}

// A puzzle generated from a word list, keeping the word rows as read (rowsKept 0: all 999).
PuzzleDocument generated(const QString &wordList, int runs, std::size_t rowsKept) {
    WordList words = readWordList(wordList);
    if (!words.ok()) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", qPrintable(words.error));
        std::exit(1);
    }
    const VectorWordTable table(words.rows, defaultWordRows);
    PuzzleModel model;
    GeneratorStore store(0);
    GenerationOptions options;
    options.runs = runs;
    options.seed = 1;
    GenerateLiteral(table, model, store, options);
    PuzzleDocument document = makeDocument(table, PuzzleSettings(), model);
    if (rowsKept > 0)
        document.rows.resize(rowsKept);
    return document;
}

PuzzleDocument smallest() {
    PuzzleDocument d;
    d.rows.clear();
    d.settings.title.clear();
    d.settings.clueFont.face.clear();
    d.settings.titleFont.face.clear();
    d.grid.fill(cellFree);
    return d;
}

PuzzleDocument unusual() {
    PuzzleDocument d = smallest();
    d.rows = {{u"Notenschl\u00fcssel \U0001D11E", u"G"}, {}, {u"", u"\xD800"}};
    d.settings.title = u"\u00c4rger \U0001F600";
    d.settings.showSolution = true;
    d.settings.markPageEnd = false;
    d.settings.zoom = std::numeric_limits<double>::quiet_NaN();
    d.settings.cellWidth = 1e308;
    d.settings.lineWidth = -0.0;
    d.settings.arrowSize = -std::numeric_limits<double>::infinity();
    d.settings.textMargin = 0.127;
    FontDescription &f = d.settings.clueFont;
    f.face = std::u16string(255, u'x');
    f.bold = f.italic = f.underline = f.strikeOut = true;
    f.color = 0x00336699;
    f.charset = 1;
    f.pitch = 2;
    f.pixelsPerInch = 0;
    f.pointSize = -2147483647 - 1;
    d.grid[cellIndex(0, 0)] = clueCellValue(0, true);
    d.grid[cellIndex(0, 1)] = u'A';
    d.grid[cellIndex(5, 5)] = clueCellValue(7, false);
    PuzzleDocumentEntry e;
    e.clue = u"Erster";
    e.answer = u"A";
    e.down = true;
    e.spare = 0x5A;
    e.padding = 0xA5;
    e.arrowkind = -1;
    d.entries = {e, PuzzleDocumentEntry()};
    return d;
}

// The smallest document with a trailer of records this program does not know, which it keeps.
PuzzleDocument withUnknownExtensions() {
    PuzzleDocument d = smallest();
    d.keptExtensions = {{"ZZ01", "abc"}, {"ZZ02", std::string("\0\xff", 2)}};
    return d;
}

// A generated puzzle with a solution word marked as the window marks it, one letter the puzzle lacks;
// and the smallest document with a switched-off word whose cells lie off the grid or repeat.
PuzzleDocument withSolutionWord(const QString &wordList) {
    PuzzleDocument d = generated(wordList, 5, 20);
    d.settings.solution.word = u"Eisq";
    d.settings.solution.cells =
        chooseSolutionCells(d.grid, d.settings.solution.word, d.settings.umlauts).cells;
    return d;
}

PuzzleDocument withOddSolutionCells() {
    PuzzleDocument d = smallest();
    d.grid[cellIndex(0, 0)] = u'A';
    d.settings.solution.word = u"\u00c4\u00df\U0001F600";
    d.settings.solution.enabled = false;
    d.settings.solution.cells = {{0, 0}, {0, 0}, {100, -1}, noCell};
    return d;
}

// The smallest document with the umlaut choice in its trailer, beside an unknown record.
PuzzleDocument withUmlautChoice() {
    PuzzleDocument d = withUnknownExtensions();
    d.settings.umlauts = UmlautSpelling::AsTyped;
    return d;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: fuzz_seeds AUSGABEORDNER BEISPIELORDNER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const QDir folder(output.filePath(QStringLiteral("document")));
    const QDir render(output.filePath(QStringLiteral("render")));
    const QDir examples(QString::fromLocal8Bit(argv[2]));
    const QString twenty = examples.filePath(QStringLiteral("woerter-20.txt"));
    const bool ok = QDir().mkpath(folder.path()) && QDir().mkpath(render.path()) &&
                    writeRenderSeeds(render) && writeSeed(folder, "start", PuzzleDocument()) &&
                    writeSeed(folder, "smallest", smallest()) && writeSeed(folder, "unusual", unusual()) &&
                    writeSeed(folder, "unknown-extensions", withUnknownExtensions()) &&
                    writeSeed(folder, "solution-word", withSolutionWord(twenty)) &&
                    writeSeed(folder, "solution-odd-cells", withOddSolutionCells()) &&
                    writeSeed(folder, "umlaut-choice", withUmlautChoice()) &&
                    writeSeed(folder, "generated-20", generated(twenty, 20, 0)) &&
                    writeSeed(folder, "generated-20-short", generated(twenty, 5, 20)) &&
                    writeSeed(folder, "generated-100",
                              generated(examples.filePath(QStringLiteral("woerter-100.txt")), 5, 100));
    if (!ok) {
        std::fprintf(stderr, "fuzz_seeds: %s kann nicht beschrieben werden\n", argv[1]);
        return 1;
    }
    return 0;
}
