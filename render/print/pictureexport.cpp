#include "pictureexport.h"

#include "puzzlesvg.h"
#include "qprinterquery.h"
#include "renderer.h"

#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>

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

bool exportPuzzlePicture(const QString &fileName, PictureFormat format, const PuzzleModel &model,
                         const PuzzleSettings &settings, int screenResolution, const QPrinter &printer,
                         QString *error, PrintPages pages) {
    if (format == PictureFormat::Pdf)
        return writePuzzlePdf(fileName, printer.pageLayout(), printer.resolution(), model, settings, error,
                              pages);

    const QPrinterQuery marking(printer);
    if (format == PictureFormat::Svg) {
        const QByteArray svg = renderPuzzleSvg(model, settings, screenResolution, marking, error);
        if (svg.isEmpty())
            return false;
        QSaveFile file(fileName);
        if (file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size() && file.commit())
            return true;
        if (error)
            *error = QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                         .arg(fileName, file.errorString());
        return false;
    }

    QImage picture = renderPuzzleImage(model, settings, screenResolution, marking, error);
    if (picture.isNull())
        return false;
    if (format == PictureFormat::Bmp) {
        picture = picture.convertToFormat(QImage::Format_RGB888); // a 24-bit bitmap
        if (picture.isNull()) {
            if (error)
                *error = QStringLiteral("Für das Bild reicht der Speicher nicht.");
            return false;
        }
    }
    return savePuzzleImage(picture, fileName, format == PictureFormat::Bmp ? "BMP" : "PNG", error);
}
