#include "pictureexport.h"

#include "puzzleprinting.h"
#include "puzzlesvg.h"
#include "qprinterquery.h"
#include "renderer.h"

#include "fileproblem.h"
#include "safefile.h"

#include <QFileInfo>
#include <QPrinter>

std::optional<PictureFormat> pictureFormatOfFile(const QString &fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

QByteArray puzzlePicture(PictureFormat format, const PuzzleModel &model, const PuzzleSettings &settings,
                         int screenResolution, const QPrinter &printer, QString *reason, PrintPages pages) {
    if (format == PictureFormat::Pdf)
        return puzzlePdf(printer.pageLayout(), printer.resolution(), model, settings, reason, pages);

    const QPrinterQuery marking(printer);
    if (format == PictureFormat::Svg)
        return renderPuzzleSvg(model, settings, screenResolution, marking, reason);

    QImage picture = renderPuzzleImage(model, settings, screenResolution, marking, reason);
    if (picture.isNull())
        return {};
    if (format == PictureFormat::Bmp) {
        picture = picture.convertToFormat(QImage::Format_RGB888); // a 24-bit bitmap
        if (picture.isNull()) {
            if (reason)
                *reason = QStringLiteral("Für das Bild reicht der Speicher nicht.");
            return {};
        }
    }
    const QByteArray bytes = encodePuzzleImage(picture, format == PictureFormat::Bmp ? "BMP" : "PNG");
    if (bytes.isEmpty() && reason)
        *reason = QStringLiteral("Das Bild lässt sich nicht kodieren.");
    return bytes;
}

bool exportPuzzlePicture(const QString &fileName, PictureFormat format, const PuzzleModel &model,
                         const PuzzleSettings &settings, int screenResolution, const QPrinter &printer,
                         QString *error, PrintPages pages) {
    QString reason;
    const QByteArray picture =
        puzzlePicture(format, model, settings, screenResolution, printer, &reason, pages);
    if (picture.isEmpty()) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2")
                         .arg(quotedPath(fileName), reason);
        return false;
    }
    return saveFileContents(fileName, picture, error);
}
