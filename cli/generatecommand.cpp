#include "clicommand.h"
#include "commands.h"

#include "documentconversion.h"
#include "documentfile.h"
#include "entrysources.h"
#include "filename.h"
#include "fileproblem.h"
#include "generator.h"
#include "gridtext.h"
#include "layoutoptions.h"
#include "randomgenerator.h"
#include "solutionword.h"
#include "wordlist.h"

#include <QCommandLineParser>
#include <QElapsedTimer>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString usage = QStringLiteral("wabrix-cli generate WORDS [-o OUT.wbx] [--seed N] [--runs N] [--stats] "
                                     "[--png FILE] [--fit-clues [--min-font PT]] [--solution-word WORD] "
                                     "[--layout standard|compact] [--frame page|WxH] [--effort N] "
                                     "[--umlauts caps|ae|keep]");
constexpr int maxRuns = 100000;

// The umlaut spellings by their names on the command line.
const std::pair<const char *, UmlautSpelling> umlautNames[] = {
    {"caps", UmlautSpelling::Capitals}, {"ae", UmlautSpelling::Digraphs}, {"keep", UmlautSpelling::AsTyped}};

QString rowsJson(const std::vector<int> &rows) {
    QStringList items;
    for (int row : rows)
        items << QString::number(row);
    return u'[' + items.join(u',') + u']';
}

QString statsJson(const GenerationStats &s, double seconds, const QString &layout,
                  const std::vector<int> &leftOut) {
    const double fill = s.area > 0 ? static_cast<double>(s.usedCells) / s.area : 0.0;
    return QStringLiteral("{\"entries\":%1,\"placed\":%2,\"usedCells\":%3,\"area\":%4,\"bestRun\":%5,"
                          "\"runs\":%6,\"meanPlaced\":%7,\"seconds\":%8,\"fill\":%9,\"layout\":\"%10\","
                          "\"leftOut\":%11}")
        .arg(s.entries)
        .arg(s.placed)
        .arg(s.usedCells)
        .arg(s.area)
        .arg(s.bestRun)
        .arg(s.runs)
        .arg(shortestNumber(s.meanPlaced), shortestNumber(seconds), shortestNumber(fill), layout,
             rowsJson(leftOut));
}

} // namespace

int runGenerate(const QStringList &arguments, const GenerateDrawing &drawing) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Erzeugt ein Rätsel aus einer Wortliste (Frage TAB Antwort je Zeile, oder CSV bei Endung .csv)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("WORDS"), QStringLiteral("Wortliste"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"), QStringLiteral("Startwert des Zufallsgenerators"), QStringLiteral("N"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Anzahl der Versuche (1 bis 100000)"),
                                        QStringLiteral("N"), QString::number(defaultRuns));
    const QCommandLineOption umlautsOption(
        QStringLiteral("umlauts"),
        QStringLiteral("wie Ä, Ö, Ü und ß in den Antworten geschrieben werden: caps (ÄÖÜ, SS, Vorgabe), "
                       "ae (AE OE UE, SS) oder keep (wie eingegeben)"),
        QStringLiteral("caps|ae|keep"), QStringLiteral("caps"));
    const QCommandLineOption statsOption(QStringLiteral("stats"),
                                         QStringLiteral("Kennzahlen als JSON ausgeben"));
    const QCommandLineOption outputOption(
        QStringLiteral("o"), QStringLiteral("Rätsel mit Standardeinstellungen in diese Datei speichern"),
        QStringLiteral("OUT.wbx"));
    const QCommandLineOption pngOption(
        QStringLiteral("png"),
        QStringLiteral("das Rätsel auch als Bild speichern, wie der Bildschirm es zeigt"),
        QStringLiteral("FILE"));
    // Hidden: the literal engine, attempt by attempt, for comparisons.
    QCommandLineOption engineOption(QStringLiteral("engine"), QStringLiteral("literal oder fast"),
                                    QStringLiteral("ENGINE"), QStringLiteral("fast"));
    engineOption.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption fitOption(
        QStringLiteral("fit-clues"),
        QStringLiteral("Fragen einpassen: mit Silbentrennung umbrechen und wenn nötig kleiner setzen"));
    const QCommandLineOption minFontOption(QStringLiteral("min-font"),
                                           QStringLiteral("kleinste Schrift der Fragen in pt (1 bis 72, "
                                                          "Vorgabe 5), nur mit --fit-clues"),
                                           QStringLiteral("PT"));
    const QCommandLineOption solutionWordOption(
        QStringLiteral("solution-word"),
        QStringLiteral("Lösungswort: je Buchstabe ein nummeriertes Feld im Rätsel und ein Kästchen darunter"),
        QStringLiteral("WORD"));
    parser.addOptions({seedOption, runsOption, umlautsOption, statsOption, pngOption, fitOption,
                       minFontOption, outputOption, solutionWordOption, engineOption});
    LayoutOptions layout;
    parser.addOptions(layout.options());

    if (const auto done = parseArguments(parser, QStringLiteral("generate"), arguments, usage, 1,
                                         QStringLiteral("genau eine Wortliste angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();

    bool ok = true;
    GenerationOptions options;
    options.seed = parser.isSet(seedOption) ? parser.value(seedOption).toULongLong(&ok) : seedFromClock();
    if (!ok)
        return usageError(usage, QStringLiteral("--seed erwartet eine ganze Zahl ab 0"));
    options.runs = parser.value(runsOption).toInt(&ok);
    if (!ok || options.runs < 1 || options.runs > maxRuns)
        return usageError(usage, QStringLiteral("--runs erwartet eine Zahl von 1 bis 100000"));

    // The document's settings: the defaults, with clue fitting when asked for.
    PuzzleSettings settings;
    settings.fitClues = parser.isSet(fitOption);
    if (parser.isSet(minFontOption)) {
        if (!settings.fitClues)
            return usageError(usage, QStringLiteral("--min-font gilt nur mit --fit-clues"));
        const int points = parser.value(minFontOption).toInt(&ok);
        if (!ok || points < minClueFontField.minimum || points > minClueFontField.maximum)
            return usageError(usage, QStringLiteral("--min-font erwartet eine ganze Zahl von 1 bis 72"));
        settings.minClueFontSize = points;
    }
    const QString umlauts = parser.value(umlautsOption);
    const auto named = std::find_if(std::begin(umlautNames), std::end(umlautNames),
                                    [&](const auto &name) { return umlauts == QLatin1String(name.first); });
    if (named == std::end(umlautNames))
        return usageError(usage, QStringLiteral("--umlauts erwartet caps, ae oder keep"));
    settings.umlauts = options.umlauts = named->second;

    const QString engine = parser.value(engineOption);
    if (engine != QStringLiteral("fast") && engine != QStringLiteral("literal"))
        return usageError(usage, QStringLiteral("--engine erwartet literal oder fast"));
    if (parser.isSet(solutionWordOption))
        settings.solution.word = parser.value(solutionWordOption).toStdU16String();
    if (const std::optional<QString> wrong =
            layout.apply(parser, settings, options, drawing.defaultPageCells))
        return usageError(usage, *wrong);
    if (layout.compact() && (parser.isSet(runsOption) || parser.isSet(engineOption)))
        return usageError(usage, QStringLiteral("--runs gilt nur mit --layout standard"));

    const QString wordsPath = positional.first();
    const QString documentPath = parser.value(outputOption), pngPath = parser.value(pngOption);
    if ((parser.isSet(outputOption) && documentPath.isEmpty()) ||
        (parser.isSet(pngOption) && pngPath.isEmpty()))
        return usageError(usage, QStringLiteral("ein leerer Dateiname ist keine Datei"));
    if ((parser.isSet(outputOption) && sameFileNamed(documentPath, wordsPath)) ||
        (parser.isSet(pngOption) && sameFileNamed(pngPath, wordsPath)))
        return usageError(usage, QStringLiteral("eine Ausgabedatei ist die Wortliste selbst"));
    if (parser.isSet(outputOption) && parser.isSet(pngOption) && sameFileNamed(documentPath, pngPath))
        return usageError(usage, QStringLiteral("-o und --png nennen dieselbe Datei"));
    WordList words = readWordList(wordsPath);
    if (!words.ok())
        return fileError(wordsPath, words.error);
    if (words.rowCount > maxWordListRows)
        return usageError(usage,
                          QStringLiteral("%1: %2 Zeilen, höchstens 999 Zeilen passen in die Worttabelle")
                              .arg(displayFileName(wordsPath))
                              .arg(words.rowCount));

    const VectorWordTable table(std::move(words.rows), static_cast<int>(maxWordListRows));
    PuzzleModel model;
    GeneratorStore store(options.runs); // the store exists before a generation, as in the window
    QElapsedTimer timer;
    timer.start();
    const GenerationStats stats = engine == QStringLiteral("literal")
                                      ? GenerateLiteral(table, model, store, options)
                                      : layout.generate(table, model, store, options);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    // The solution word is marked as the window marks it after a generation; a word that cannot be
    // marked stops the command before anything is written.
    if (parser.isSet(solutionWordOption)) {
        const SolutionChoice choice =
            chooseSolutionCells(model.grid, settings.solution.word, settings.umlauts);
        if (choice.problem == SolutionProblem::NoPuzzle)
            return usageError(usage, QStringLiteral("Das Rätsel hat keine Buchstaben für das Lösungswort."));
        if (choice.problem != SolutionProblem::None)
            return usageError(usage, QString::fromStdU16String(solutionProblemText(choice)));
        settings.solution.cells = choice.cells;
        const std::u16string missing = missingSolutionLetters(choice.letters, choice.cells);
        if (!missing.empty())
            printError(QStringLiteral("wabrix-cli: ") +
                       QString::fromStdU16String(missingLettersText(missing)));
    }

    if (parser.isSet(outputOption)) {
        QString error;
        settings.layout = layout.documentLayout(options);
        if (!saveDocument(documentPath, makeDocument(table, settings, model), &error))
            return failure(error);
    }
    if (parser.isSet(pngOption)) {
        QString error = QStringLiteral("Die Datei %1 kann nicht gespeichert werden: dieser Programmteil "
                                       "zeichnet keine Bilder")
                            .arg(quotedPath(pngPath));
        if (!drawing.writePicture || !drawing.writePicture(model, settings, pngPath, &error))
            return failure(error);
    }

    if (parser.isSet(statsOption))
        printOut(
            statsJson(stats, seconds, layout.name(), leftOutRows(table, entryTextsOf(model), model.grid)));
    else if (!parser.isSet(outputOption))
        printOut(QString::fromStdU16String(gridText(model.grid)).chopped(1));
    return exitSuccess;
}
