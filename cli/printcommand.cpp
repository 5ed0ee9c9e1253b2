#include "clicommand.h"
#include "commands.h"

#include "jobpagefit.h"
#include "layoutoptions.h"
#include "openedpuzzle.h"
#include "printpages.h"
#include "puzzleprinting.h"
#include "qprinterquery.h"

#include <QCommandLineParser>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString usage =
    QStringLiteral("wabrix-cli print FILE.wbx [--printer NAME] [--pages puzzle|solution|both] [--fit-page]");

// The printer to print on: the named one, or the default printer. Empty with the reason when there
// is none.
QString choosePrinter(const QString &wanted, QString *error) {
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    if (installed.isEmpty()) {
        *error = QStringLiteral("Es ist kein Drucker eingerichtet.");
        return {};
    }
    if (!wanted.isEmpty()) {
        if (!installed.contains(wanted))
            *error = QStringLiteral("Den Drucker „%1“ gibt es nicht (eingerichtet: %2).")
                         .arg(wanted, installed.join(QStringLiteral(", ")));
        return installed.contains(wanted) ? wanted : QString();
    }
    const QString standard = QPrinterInfo::defaultPrinterName();
    if (standard.isEmpty())
        *error = QStringLiteral("Es ist kein Standarddrucker eingerichtet; --printer NAME wählt einen (%1).")
                     .arg(installed.join(QStringLiteral(", ")));
    return standard;
}

} // namespace

int runPrint(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Druckt das Rätsel einer Rätseldatei auf einer Seite des genannten oder des "
                       "Standarddruckers, unter dem Auftragsnamen „%1“, genau wie \"Drucken...\"; mit "
                       "--pages both Rätsel und Lösungsseite in einem Auftrag, wie \"Rätsel und Lösung "
                       "drucken...\".")
            .arg(printJobTitle));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.wbx"), QStringLiteral("Rätseldatei"));
    const QCommandLineOption printerOption(QStringLiteral("printer"),
                                           QStringLiteral("Drucker (Standard: der Standarddrucker)"),
                                           QStringLiteral("NAME"));
    const QCommandLineOption pagesOption(
        QStringLiteral("pages"),
        QStringLiteral("puzzle (das Rätsel, Standard), solution (die Lösungsseite) oder both (Rätsel ohne "
                       "Buchstaben, dann die Lösungsseite, in einem Auftrag)"),
        QStringLiteral("PAGES"), QStringLiteral("puzzle"));
    const QCommandLineOption fitPageOption(
        QStringLiteral("fit-page"),
        QStringLiteral("mit dem Zoom drucken, bei dem das ganze Rätsel auf den bedruckbaren Bereich passt"));
    parser.addOptions({printerOption, pagesOption, fitPageOption});
    if (const auto done = parseArguments(parser, QStringLiteral("print"), arguments, usage, 1,
                                         QStringLiteral("genau eine Rätseldatei angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(printerOption) && parser.value(printerOption).isEmpty())
        return usageError(usage, QStringLiteral("--printer erwartet einen Druckernamen"));
    const std::optional<PrintPages> pages = printPagesNamed(parser.value(pagesOption));
    if (!pages)
        return usageError(usage, QStringLiteral("--pages erwartet puzzle, solution oder both"));

    OpenedPuzzle puzzle;
    if (!openPuzzle(positional.first(), puzzle))
        return exitFileError;
    QString error;
    const QString printerName = choosePrinter(parser.value(printerOption), &error);
    if (printerName.isEmpty()) {
        printError(QStringLiteral("wabrix-cli: ") + error);
        return exitFileError;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid()) {
        printError(
            QStringLiteral("wabrix-cli: Der Drucker „%1“ kann nicht angesprochen werden.").arg(printerName));
        return exitFileError;
    }

    PuzzleSettings &settings = puzzle.settings;
    const PrinterPage page = QPrinterQuery(printer).currentPage();
    if (parser.isSet(fitPageOption))
        settings.zoom = fitJobZoom(puzzle.model, settings, *pages, page, static_cast<int>(zoomField.minimum),
                                   static_cast<int>(zoomField.maximum))
                            .value_or(settings.zoom);
    if (!printPuzzle(printer, puzzle.model, settings, *pages, &error))
        return failure(error);
    // Said once the page went to the printer, so that a failure stays the one line it reports.
    if (!parser.isSet(fitPageOption) && !jobFitsPage(puzzle.model, settings, *pages, page))
        printError(pageCutWarning(settings.zoom));
    const QString notice = printQueueNotice(printer);
    if (!notice.isEmpty())
        printError(QStringLiteral("wabrix-cli: Hinweis: ") + notice);
    return exitSuccess;
}
