#include "clicommand.h"
#include "commands.h"

#include "documentconversion.h"
#include "documentfile.h"
#include "fieldvalues.h"
#include "puzzleprinting.h"
#include "puzzlesvg.h"
#include "qprinterquery.h"
#include "renderer.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

namespace {

const QString usage =
    QStringLiteral("wabrix-cli render FILE.wbx -o OUT.(png|bmp|svg|pdf) [--dpi D] [--zoom Z] "
                   "[--solution | --no-solution] [--pages puzzle|solution|both]");
constexpr int defaultDpi = 96;
constexpr int maxDpi = 9600;

// Writes a plain file through a temporary one; a device, pipe or folder is never replaced.
bool saveBytes(const QString &path, const QByteArray &bytes, QString *error) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        *error = QStringLiteral("Das ist keine gewöhnliche Datei.");
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("Die Datei kann nicht geschrieben werden: %1").arg(file.errorString());
    return false;
}

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
    parser.addOptions({outputOption, dpiOption, zoomOption, solutionOption, noSolutionOption, pagesOption});
    if (const auto done = parseArguments(parser, QStringLiteral("render"), arguments, usage, 1,
                                         QStringLiteral("genau eine Rätseldatei angeben")))
        return *done;
    const QStringList positional = parser.positionalArguments();
    const QString out = parser.value(outputOption);
    if (out.isEmpty())
        return usageError(usage, QStringLiteral("-o OUT fehlt"));
    const QString format = QFileInfo(out).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("bmp") && format != QLatin1String("svg") &&
        format != QLatin1String("pdf"))
        return usageError(
            usage, QStringLiteral("%1: die Bilddatei muss auf .png, .bmp, .svg oder .pdf enden").arg(out));
    bool ok = true;
    const int dpi = parser.value(dpiOption).toInt(&ok);
    if (!ok || dpi < 1 || dpi > maxDpi)
        return usageError(usage, QStringLiteral("--dpi erwartet eine ganze Zahl von 1 bis 9600"));
    const int zoom = parser.isSet(zoomOption) ? parser.value(zoomOption).toInt(&ok) : 0;
    if (!ok || (parser.isSet(zoomOption) && (zoom < zoomField.minimum || zoom > zoomField.maximum)))
        return usageError(usage, QStringLiteral("--zoom erwartet eine ganze Zahl von 10 bis 1000"));
    if (parser.isSet(solutionOption) && parser.isSet(noSolutionOption))
        return usageError(usage, QStringLiteral("--solution und --no-solution schließen einander aus"));
    const std::optional<PrintPages> pages = printPagesNamed(parser.value(pagesOption));
    if (!pages)
        return usageError(usage, QStringLiteral("--pages erwartet puzzle, solution oder both"));
    if (parser.isSet(pagesOption) && format != QLatin1String("pdf"))
        return usageError(usage, QStringLiteral("--pages gilt nur für PDF-Dateien"));

    const DocumentReadResult read = loadDocument(positional.first());
    if (!read.ok) {
        printError(QStringLiteral("wabrix-cli: ") + read.error);
        return exitFileError;
    }
    // The window takes the stored numbers through its fields; the picture shows what they show.
    PuzzleSettings settings = settingsThroughFields(read.document.settings);
    if (parser.isSet(zoomOption))
        settings.zoom = zoom;
    if (parser.isSet(solutionOption) || parser.isSet(noSolutionOption))
        settings.showSolution = parser.isSet(solutionOption);
    PuzzleModel model;
    if (!applyDocumentToModel(read.document, model))
        return fileError(positional.first(), QStringLiteral("Zu wenig Speicher für die Einträge"));

    QString error;
    // The page of the default printer, as "Drucken..." would print it, and whose end the pictures
    // mark; Qt falls back to its PDF printer on an A4 page when no printer is installed.
    const QPrinter printer(QPrinter::HighResolution);
    if (format == QLatin1String("pdf")) {
        if (!writePuzzlePdf(out, printer.pageLayout(), printer.resolution(), model, settings, &error, *pages))
            return fileError(out, error);
        return exitSuccess;
    }
    const QPrinterQuery pageEnd(printer);
    if (format == QLatin1String("svg")) {
        const QByteArray svg = renderPuzzleSvg(model, settings, dpi, pageEnd, &error);
        if (svg.isEmpty() || !saveBytes(out, svg, &error))
            return fileError(out, error);
        return exitSuccess;
    }
    QImage picture = renderPuzzleImage(model, settings, dpi, pageEnd, &error);
    if (!picture.isNull() && format == QLatin1String("bmp"))
        picture = picture.convertToFormat(QImage::Format_RGB888); // a 24-bit bitmap
    if (picture.isNull() ||
        !savePuzzleImage(picture, out, format == QLatin1String("bmp") ? "BMP" : "PNG", &error))
        return fileError(out, error);
    return exitSuccess;
}
