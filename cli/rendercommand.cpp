#include "clicommand.h"
#include "commands.h"

#include "fieldvalues.h"
#include "filename.h"
#include "jobpagefit.h"
#include "layoutoptions.h"
#include "openedpuzzle.h"
#include "pictureexport.h"
#include "printpages.h"
#include "qprinterquery.h"

#include <QCommandLineParser>
#include <QPrinter>

namespace {

const QString usage = QStringLiteral("wabrix-cli render FILE.wbx -o OUT.(png|bmp|svg|pdf) [--dpi D] "
                                     "[--zoom Z | --fit-page] [--solution | --no-solution] "
                                     "[--pages puzzle|solution|both]");
constexpr int defaultDpi = 96;
constexpr int maxDpi = 9600;

} // namespace

int runRender(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Zeichnet das Rätsel einer Rätseldatei als Bild (PNG, BMP oder SVG), wie der Bildschirm "
        "es zeigt, oder als PDF-Seite, wie \"Drucken...\" sie auf das Papier des Standarddruckers "
        "bringt (A4, wenn keiner eingerichtet ist; --dpi gilt dann nicht). Das rot markierte Blattende "
        "im Bild ist das dieser Seite."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.wbx"), QStringLiteral("Rätseldatei"));
    const QCommandLineOption outputOption(
        QStringLiteral("o"), QStringLiteral("Bilddatei (.png, .bmp, .svg oder .pdf)"), QStringLiteral("OUT"));
    const QCommandLineOption dpiOption(QStringLiteral("dpi"),
                                       QStringLiteral("Pixel je Zoll (1 bis 9600, Standard 96)"),
                                       QStringLiteral("D"), QString::number(defaultDpi));
    const QCommandLineOption zoomOption(QStringLiteral("zoom"),
                                        QStringLiteral("Zoom in % (10 bis 1000) statt des gespeicherten"),
                                        QStringLiteral("Z"));
    const QCommandLineOption solutionOption(QStringLiteral("solution"), QStringLiteral("Lösung einblenden"));
    const QCommandLineOption noSolutionOption(QStringLiteral("no-solution"),
                                              QStringLiteral("Lösung ausblenden"));
    const QCommandLineOption pagesOption(
        QStringLiteral("pages"),
        QStringLiteral("nur für PDF: puzzle (das Rätsel, Standard), solution (die Lösungsseite) oder both "
                       "(Rätsel ohne Buchstaben, dann die Lösungsseite)"),
        QStringLiteral("PAGES"), QStringLiteral("puzzle"));
    const QCommandLineOption fitPageOption(
        QStringLiteral("fit-page"),
        QStringLiteral("Zoom, bei dem das ganze Bild auf den bedruckbaren Bereich der Seite passt"));
    parser.addOptions(
        {outputOption, dpiOption, zoomOption, fitPageOption, solutionOption, noSolutionOption, pagesOption});
    if (const auto done = parseArguments(parser, QStringLiteral("render"), arguments, usage, 1,
                                         QStringLiteral("genau eine Rätseldatei angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();
    const QString out = parser.value(outputOption);
    if (out.isEmpty())
        return usageError(usage, QStringLiteral("-o OUT fehlt"));
    const std::optional<PictureFormat> format = pictureFormatOfFile(out);
    if (!format)
        return usageError(usage, QStringLiteral("%1: die Bilddatei muss auf .png, .bmp, .svg oder .pdf enden")
                                     .arg(displayFileName(out)));
    if (sameFileNamed(out, positional.first()))
        return usageError(usage, QStringLiteral("die Bilddatei ist die Rätseldatei selbst"));
    bool ok = true;
    const int dpi = parser.value(dpiOption).toInt(&ok);
    if (!ok || dpi < 1 || dpi > maxDpi)
        return usageError(usage, QStringLiteral("--dpi erwartet eine ganze Zahl von 1 bis 9600"));
    const int zoom = parser.isSet(zoomOption) ? parser.value(zoomOption).toInt(&ok) : 0;
    if (!ok || (parser.isSet(zoomOption) && (zoom < zoomField.minimum || zoom > zoomField.maximum)))
        return usageError(usage, QStringLiteral("--zoom erwartet eine ganze Zahl von 10 bis 1000"));
    if (parser.isSet(zoomOption) && parser.isSet(fitPageOption))
        return usageError(usage, QStringLiteral("--zoom und --fit-page schließen einander aus"));
    if (parser.isSet(solutionOption) && parser.isSet(noSolutionOption))
        return usageError(usage, QStringLiteral("--solution und --no-solution schließen einander aus"));
    const std::optional<PrintPages> pages = printPagesNamed(parser.value(pagesOption));
    if (!pages)
        return usageError(usage, QStringLiteral("--pages erwartet puzzle, solution oder both"));
    if (parser.isSet(pagesOption) && *format != PictureFormat::Pdf)
        return usageError(usage, QStringLiteral("--pages gilt nur für PDF-Dateien"));

    OpenedPuzzle puzzle;
    if (!openPuzzle(positional.first(), puzzle))
        return exitFileError;
    // The picture shows what the window's fields show, with the overrides for this picture only.
    PuzzleSettings &settings = puzzle.settings;
    if (parser.isSet(zoomOption))
        settings.zoom = zoom;
    if (parser.isSet(solutionOption) || parser.isSet(noSolutionOption))
        settings.showSolution = parser.isSet(solutionOption);

    // The export of "Exportieren als Bild...": the default printer's page (A4 when none is installed)
    // gives the PDF's paper and the pictures' page-end marking; a picture fits that page in its own
    // pixels.
    const QPrinter printer(QPrinter::HighResolution);
    PrinterPage page = QPrinterQuery(printer).currentPage();
    if (*format != PictureFormat::Pdf && page.resolution > 0)
        page = {dpi, static_cast<int>(static_cast<qint64>(page.width) * dpi / page.resolution),
                static_cast<int>(static_cast<qint64>(page.height) * dpi / page.resolution)};
    if (parser.isSet(fitPageOption))
        settings.zoom = fitJobZoom(puzzle.model, settings, *pages, page, static_cast<int>(zoomField.minimum),
                                   static_cast<int>(zoomField.maximum))
                            .value_or(settings.zoom);
    QString error;
    if (!exportPuzzlePicture(out, *format, puzzle.model, settings, dpi, printer, &error, *pages))
        return failure(error);
    // Said once the page is written, so that a failure stays the one line it reports.
    if (*format == PictureFormat::Pdf && !jobFitsPage(puzzle.model, settings, *pages, page))
        printError(pageCutWarning(settings.zoom));
    return exitSuccess;
}
