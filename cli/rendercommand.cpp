#include "clicommand.h"
#include "commands.h"

#include "documentconversion.h"
#include "documentfile.h"
#include "fieldvalues.h"
#include "renderer.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

const QString usage = QStringLiteral(
    "wabrix-cli render FILE.wbx -o OUT.(png|bmp|svg) [--dpi D] [--zoom Z] [--solution | --no-solution]");
constexpr int defaultDpi = 96;
constexpr int maxDpi = 9600;

// The screen view as SVG at resolution pixels per inch: the same drawing as the picture export,
// painted onto an SVG generator whose user units are the picture's pixels.
QByteArray renderSvg(PuzzleModel &model, const PuzzleSettings &settings, int resolution, QString *error) {
    const FixedPrinterQuery printer(defaultPdfPage());
    QSize size = puzzlePictureSize(model, settings, resolution);
    // The title is measured on the target itself; a differing measure asks for a second drawing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!pictureSizeIsDrawable(size)) {
            *error = QStringLiteral(
                         "Das Bild wäre mit %1 × %2 Pixeln zu groß. Bitte Zoom oder Auflösung verkleinern.")
                         .arg(size.width())
                         .arg(size.height());
            return {};
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(resolution);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QString::fromStdU16String(settings.title));
        QPainter painter(&generator);
        const bool drawn =
            DrawRaetsel(painter, model, settings, settings.zoom, false, printer, &size, resolution);
        painter.end();
        if (drawn)
            return buffer.data();
    }
    *error = QStringLiteral("Das Bild konnte nicht gezeichnet werden.");
    return {};
}

bool saveBytes(const QString &path, const QByteArray &bytes, QString *error) {
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
        "es zeigt."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE.wbx"), QStringLiteral("Rätseldatei"));
    const QCommandLineOption outputOption(
        QStringLiteral("o"), QStringLiteral("Bilddatei (.png, .bmp oder .svg)"), QStringLiteral("OUT"));
    const QCommandLineOption dpiOption(QStringLiteral("dpi"),
                                       QStringLiteral("Pixel je Zoll (1 bis 9600, Standard 96)"),
                                       QStringLiteral("D"), QString::number(defaultDpi));
    const QCommandLineOption zoomOption(QStringLiteral("zoom"),
                                        QStringLiteral("Zoom in % (10 bis 1000) statt des gespeicherten"),
                                        QStringLiteral("Z"));
    const QCommandLineOption solutionOption(QStringLiteral("solution"), QStringLiteral("Lösung einblenden"));
    const QCommandLineOption noSolutionOption(QStringLiteral("no-solution"),
                                              QStringLiteral("Lösung ausblenden"));
    parser.addOptions({outputOption, dpiOption, zoomOption, solutionOption, noSolutionOption});
    if (!parser.parse(QStringList{QStringLiteral("wabrix-cli render")} + arguments))
        return usageError(usage, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(parser.helpText());
        return exitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(usage, QStringLiteral("genau eine Rätseldatei angeben"));
    const QString out = parser.value(outputOption);
    if (out.isEmpty())
        return usageError(usage, QStringLiteral("-o OUT fehlt"));
    const QString format = QFileInfo(out).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("bmp") && format != QLatin1String("svg"))
        return usageError(usage,
                          QStringLiteral("%1: die Bilddatei muss auf .png, .bmp oder .svg enden").arg(out));
    bool ok = true;
    const int dpi = parser.value(dpiOption).toInt(&ok);
    if (!ok || dpi < 1 || dpi > maxDpi)
        return usageError(usage, QStringLiteral("--dpi erwartet eine ganze Zahl von 1 bis 9600"));
    const int zoom = parser.isSet(zoomOption) ? parser.value(zoomOption).toInt(&ok) : 0;
    if (!ok || (parser.isSet(zoomOption) && (zoom < zoomRange.minimum || zoom > zoomRange.maximum)))
        return usageError(usage, QStringLiteral("--zoom erwartet eine ganze Zahl von 10 bis 1000"));
    if (parser.isSet(solutionOption) && parser.isSet(noSolutionOption))
        return usageError(usage, QStringLiteral("--solution und --no-solution schließen einander aus"));

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
    if (format == QLatin1String("svg")) {
        const QByteArray svg = renderSvg(model, settings, dpi, &error);
        if (svg.isEmpty() || !saveBytes(out, svg, &error))
            return fileError(out, error);
        return exitSuccess;
    }
    QImage picture = renderPuzzleImage(model, settings, dpi, &error);
    if (!picture.isNull() && format == QLatin1String("bmp"))
        picture = picture.convertToFormat(QImage::Format_RGB888); // a 24-bit bitmap
    if (picture.isNull() ||
        !savePuzzleImage(picture, out, format == QLatin1String("bmp") ? "BMP" : "PNG", &error))
        return fileError(out, error);
    return exitSuccess;
}
