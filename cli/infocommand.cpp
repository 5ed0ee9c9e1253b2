#include "clicommand.h"
#include "commands.h"

#include "cluelayout.h"
#include "documentextensions.h"
#include "documentfacts.h"
#include "documentfile.h"
#include "entrysources.h"
#include "fieldvalues.h"
#include "openedpuzzle.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cmath>

namespace {

const QString usage = QStringLiteral("wabrix-cli info FILE.wbx [--json]");

// A JSON string literal. Lone surrogates, which UTF-8 cannot carry, are written as \u escapes, so
// every code unit of the text survives.
QString jsonString(const std::u16string &text) {
    QString out = QStringLiteral("\"");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += QChar(c);
            out += QChar(text[++i]);
        } else if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += QChar(c);
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || high || low) {
            // Control characters, also those of the C1 range that a terminal would obey.
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0'));
        } else {
            out += QChar(c);
        }
    }
    return out + u'"';
}

// A stored number in its shortest exact form; JSON has no form for NaN and infinities.
QString jsonNumber(double value) {
    return std::isfinite(value) ? shortestNumber(value) : QStringLiteral("null");
}

QString jsonIntegers(const std::vector<int> &values) {
    QStringList items;
    for (int value : values)
        items << QString::number(value);
    return u'[' + items.join(u',') + u']';
}

QString jsonBool(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Builds a JSON object key by key, in the order the keys are added. Values are appended as they
// stand, never run through QString::arg, so texts holding "%1" stay as they are.
class JsonObject {
public:
    JsonObject &add(const char *key, const QString &value) {
        text_ += (text_.isEmpty() ? QStringLiteral("{\"") : QStringLiteral(",\"")) + QLatin1String(key) +
                 QStringLiteral("\":") + value;
        return *this;
    }
    JsonObject &add(const char *key, qint64 value) { return add(key, QString::number(value)); }
    JsonObject &add(const char *key, bool value) { return add(key, jsonBool(value)); }
    JsonObject &add(const char *key, double value) { return add(key, jsonNumber(value)); }
    QString text() const { return text_ + u'}'; }

private:
    QString text_;
};

// The word-table rows (1-based, ascending) of the placed clues whose text does not fit its cell at the
// document's own settings, measured for a printer of overflowCheckResolution pixels per inch.
std::vector<int> overflowingClueRows(const PuzzleDocument &d) {
    std::vector<std::u16string> clues;
    clues.reserve(d.entries.size());
    for (const PuzzleDocumentEntry &entry : d.entries)
        clues.push_back(entry.clue);
    const std::vector<int> rows = entryClueRows(VectorWordTable(d.rows, 0), clues);
    std::vector<int> overflowing;
    for (const std::uint32_t n : overflowingClueEntries(d.grid, clues, settingsThroughFields(d.settings)))
        if (rows[n] > 0)
            overflowing.push_back(rows[n]);
    std::sort(overflowing.begin(), overflowing.end());
    return overflowing;
}

QString joinedNumbers(const std::vector<int> &values, const QString &separator) {
    QStringList numbers;
    for (const int v : values)
        numbers.append(QString::number(v));
    return numbers.join(separator);
}

QString jsonTags(const std::vector<std::string> &tags) {
    QStringList quoted;
    for (const std::string &tag : tags)
        quoted << u'"' + QString::fromLatin1(tag.data(), static_cast<qsizetype>(tag.size())) + u'"';
    return u'[' + quoted.join(u',') + u']';
}

QString fontJson(const FontDescription &f) {
    return JsonObject()
        .add("family", jsonString(f.face))
        .add("pointSize", qint64{f.pointSize})
        .add("ppi", qint64{f.pixelsPerInch})
        .add("charset", qint64{f.charset})
        .add("color", qint64{f.color})
        .add("pitch", qint64{f.pitch})
        .add("bold", f.bold)
        .add("italic", f.italic)
        .add("underline", f.underline)
        .add("strikeOut", f.strikeOut)
        .text();
}

// The chosen cells as [[column,row],...] in the word's order; null for a letter without a cell.
QString jsonCells(const std::vector<GridCell> &cells) {
    QStringList items;
    for (const GridCell &c : cells)
        items << (c == noCell ? QStringLiteral("null") : QStringLiteral("[%1,%2]").arg(c.column).arg(c.row));
    return u'[' + items.join(u',') + u']';
}

QString documentJson(const PuzzleDocument &d, const DocumentFacts &facts,
                     const std::vector<int> &overflowing) {
    const PuzzleSettings &s = d.settings;
    JsonObject json;
    json.add("rows", qint64{facts.rows})
        .add("nonEmptyRows", qint64{facts.nonEmptyRows})
        .add("title", jsonString(s.title))
        .add("showSolution", s.showSolution)
        .add("markPageEnd", s.markPageEnd)
        .add("zoom", s.zoom)
        .add("cellWidth", s.cellWidth)
        .add("lineWidth", s.lineWidth)
        .add("arrowSize", s.arrowSize)
        .add("textMargin", s.textMargin)
        .add("pageMargin", s.pageMargin)
        .add("clueCellsBlack", s.clueCellsBlack)
        .add("clueFont", fontJson(s.clueFont))
        .add("titleFont", fontJson(s.titleFont))
        .add("entries", qint64{facts.entries})
        .add("clueCells", qint64{facts.clueCells})
        .add("placedEntries", qint64{facts.placedEntries})
        .add("letterCells", qint64{facts.letterCells})
        .add("freeCells", qint64{facts.freeCells})
        .add("extent", JsonObject()
                           .add("columns", qint64{facts.extent.columns})
                           .add("rows", qint64{facts.extent.rows})
                           .text())
        .add("leftOutRows", jsonIntegers(facts.leftOutRows))
        .add("overflowingClues", u'[' + joinedNumbers(overflowing, QStringLiteral(",")) + u']')
        .add("extensions", jsonTags(extensionTags(d)));
    if (!s.solution.word.empty())
        json.add("solutionWord", jsonString(s.solution.word))
            .add("solutionCells", jsonCells(s.solution.cells))
            .add("solutionWordOn", s.solution.enabled);
    return json.text();
}

// A text of the document for a terminal: control characters (C0, DEL, C1), which could steer it, as
// \xNN or \uNNNN; lone surrogates, which UTF-8 cannot carry, as U+FFFD.
QString printableText(const std::u16string &text) {
    QString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20 || c == 0x7F)
            out += QStringLiteral("\\x") + QString::number(c, 16).toUpper().rightJustified(2, u'0');
        else if (c >= 0x80 && c <= 0x9F)
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0'));
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1]))
            out += QString::fromStdU16String(text.substr(i++, 2));
        else if (QChar::isSurrogate(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += QChar(c);
    }
    return out;
}

QString yesNo(bool value) {
    return value ? QStringLiteral("ja") : QStringLiteral("nein");
}

// The character width a font record's pitch asks for.
QString characterWidth(std::uint8_t pitch) {
    switch (pitch) {
    case 0:
        return QStringLiteral("Standard");
    case 1:
        return QStringLiteral("veränderlich");
    case 2:
        return QStringLiteral("fest");
    default:
        return QStringLiteral("unbekannt (%1)").arg(pitch);
    }
}

QString fontLine(const FontDescription &f) {
    QStringList style;
    if (f.bold)
        style << QStringLiteral("fett");
    if (f.italic)
        style << QStringLiteral("kursiv");
    if (f.underline)
        style << QStringLiteral("unterstrichen");
    if (f.strikeOut)
        style << QStringLiteral("durchgestrichen");
    return printableText(f.face) +
           QStringLiteral(", %1 pt bei %2 ppi, Zeichensatz %3, Farbe 0x%4, Zeichenbreite %5, %6")
               .arg(f.pointSize)
               .arg(f.pixelsPerInch)
               .arg(f.charset)
               .arg(QString::number(f.color, 16).toUpper().rightJustified(8, u'0'))
               .arg(characterWidth(f.pitch))
               .arg(style.isEmpty() ? QStringLiteral("normal") : style.join(QStringLiteral(", ")));
}

QString rowList(const std::vector<int> &rows) {
    QStringList items;
    for (int row : rows)
        items << QString::number(row);
    return items.isEmpty() ? QStringLiteral("keine") : items.join(QStringLiteral(", "));
}

QString tagList(const std::vector<std::string> &tags) {
    QStringList names;
    for (const std::string &tag : tags)
        names << QString::fromLatin1(tag.data(), static_cast<qsizetype>(tag.size()));
    return names.isEmpty() ? QStringLiteral("keine") : names.join(QStringLiteral(", "));
}

// The solution word, its switch and its cells as "(column, row)", "-" for a letter without a cell.
QString solutionLine(const SolutionWord &solution) {
    if (solution.word.empty())
        return QStringLiteral("keines");
    QStringList cells;
    for (const GridCell &c : solution.cells)
        cells << (c == noCell ? QStringLiteral("-") : QStringLiteral("(%1, %2)").arg(c.column).arg(c.row));
    return printableText(solution.word) +
           (solution.enabled ? QString() : QStringLiteral(" (ausgeschaltet)")) +
           QStringLiteral(", Felder: ") + (cells.isEmpty() ? QStringLiteral("keine") : cells.join(u' '));
}

QStringList documentLines(const PuzzleDocument &d, const DocumentFacts &facts,
                          const std::vector<int> &overflowing) {
    const PuzzleSettings &s = d.settings;
    return {
        QStringLiteral("Wortzeilen: %1, davon gefüllt: %2").arg(facts.rows).arg(facts.nonEmptyRows),
        QStringLiteral("Überschrift: ") + printableText(s.title),
        QStringLiteral("Lösung einblenden: %1").arg(yesNo(s.showSolution)),
        QStringLiteral("Blattende rot markieren: %1").arg(yesNo(s.markPageEnd)),
        QStringLiteral("Zoom in %: %1").arg(shortestNumber(s.zoom)),
        QStringLiteral("Feldbreite in mm: %1").arg(shortestNumber(s.cellWidth)),
        QStringLiteral("Strichstärke in mm: %1").arg(shortestNumber(s.lineWidth)),
        QStringLiteral("Pfeilgröße in mm: %1").arg(shortestNumber(s.arrowSize)),
        QStringLiteral("Rand um Text in mm: %1").arg(shortestNumber(s.textMargin)),
        QStringLiteral("Seitenrand in mm: %1").arg(shortestNumber(s.pageMargin)),
        QStringLiteral("Fragefelder schwarz hinterlegen: %1").arg(yesNo(s.clueCellsBlack)),
        QStringLiteral("Schrift der Fragen: ") + fontLine(s.clueFont),
        QStringLiteral("Schrift der Überschrift: ") + fontLine(s.titleFont),
        QStringLiteral("Einträge: %1").arg(facts.entries),
        QStringLiteral("Fragefelder: %1, davon mit Eintrag: %2")
            .arg(facts.clueCells)
            .arg(facts.placedEntries),
        QStringLiteral("Buchstabenfelder: %1").arg(facts.letterCells),
        QStringLiteral("Freie Felder: %1").arg(facts.freeCells),
        QStringLiteral("Ausdehnung: %1 Spalten, %2 Zeilen").arg(facts.extent.columns).arg(facts.extent.rows),
        QStringLiteral("Nicht platzierte Zeilen: ") + rowList(facts.leftOutRows),
        QStringLiteral("Fragen einpassen: %1, kleinste Schrift in pt: %2")
            .arg(yesNo(s.fitClues), shortestNumber(s.minClueFontSize)),
        QStringLiteral("Fragen, die nicht in ihr Feld passen: ") +
            (overflowing.empty() ? QStringLiteral("keine")
                                 : QStringLiteral("%1 (Zeilen %2)")
                                       .arg(overflowing.size())
                                       .arg(joinedNumbers(overflowing, QStringLiteral(", ")))),
        QStringLiteral("Erweiterungen: %1").arg(tagList(extensionTags(d))),
        QStringLiteral("Lösungswort: ") + solutionLine(s.solution),
    };
}

} // namespace

int runInfo(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Liest eine Rätseldatei wie \"Öffnen...\" und beschreibt sie."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.wbx"), QStringLiteral("Rätseldatei"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("als ein JSON-Objekt ausgeben"));
    parser.addOption(jsonOption);
    if (const auto done = parseArguments(parser, QStringLiteral("info"), arguments, usage, 1,
                                         QStringLiteral("genau eine Rätseldatei angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();

    const DocumentReadResult read = readDocumentFile(positional.first());
    if (!read.ok)
        return failure(read.error);
    const DocumentFacts facts = documentFacts(read.document);
    const std::vector<int> overflowing = overflowingClueRows(read.document);
    if (parser.isSet(jsonOption))
        printOut(documentJson(read.document, facts, overflowing));
    else
        printOut(documentLines(read.document, facts, overflowing).join(u'\n'));
    return exitSuccess;
}
