#include "clicommand.h"
#include "commands.h"

#include "documentextensions.h"
#include "documentfacts.h"
#include "documentfile.h"

#include <QCommandLineParser>

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
        } else if (c < 0x20 || high || low) {
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

QString documentJson(const PuzzleDocument &d, const DocumentFacts &facts) {
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
        .add("extensions", jsonTags(extensionTags(d)));
    if (!s.solution.word.empty())
        json.add("solutionWord", jsonString(s.solution.word))
            .add("solutionCells", jsonCells(s.solution.cells))
            .add("solutionWordOn", s.solution.enabled);
    return json.text();
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
    return QString::fromStdU16String(f.face) +
           QStringLiteral(", %1 pt bei %2 ppi, Zeichensatz %3, Farbe 0x%4, Zeichenbreite %5, %6")
               .arg(f.pointSize)
               .arg(f.pixelsPerInch)
               .arg(f.charset)
               .arg(QString::number(f.color, 16).toUpper().rightJustified(8, u'0'))
               .arg(characterWidth(f.pitch))
               .arg(style.isEmpty() ? QStringLiteral("normal") : style.join(QStringLiteral(", ")));
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
    return QString::fromStdU16String(solution.word) +
           (solution.enabled ? QString() : QStringLiteral(" (ausgeschaltet)")) +
           QStringLiteral(", Felder: ") + (cells.isEmpty() ? QStringLiteral("keine") : cells.join(u' '));
}

QStringList documentLines(const PuzzleDocument &d, const DocumentFacts &facts) {
    const PuzzleSettings &s = d.settings;
    return {
        QStringLiteral("Wortzeilen: %1, davon gefüllt: %2").arg(facts.rows).arg(facts.nonEmptyRows),
        QStringLiteral("Überschrift: ") + QString::fromStdU16String(s.title),
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

    const DocumentReadResult read = loadDocument(positional.first());
    if (!read.ok) {
        printError(QStringLiteral("wabrix-cli: ") + read.error);
        return exitFileError;
    }
    const DocumentFacts facts = documentFacts(read.document);
    if (parser.isSet(jsonOption))
        printOut(documentJson(read.document, facts));
    else
        printOut(documentLines(read.document, facts).join(u'\n'));
    return exitSuccess;
}
