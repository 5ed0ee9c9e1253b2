#include "renderer.h"

#include "fileproblem.h"
#include "safefile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <cmath>

bool pictureSizeIsDrawable(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= maxPictureSide &&
           size.height() <= maxPictureSide &&
           static_cast<long long>(size.width()) * size.height() <= maxPicturePixels;
}

QImage renderPuzzleImage(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                         const PrinterQuery &printer, QString *error) {
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return QImage();
    };
    if (resolution <= 0)
        return fail(QStringLiteral("Die Auflösung von %1 Pixeln je Zoll ist ungültig.").arg(resolution));

    QSize size = puzzlePictureSize(model, settings, resolution);
    // The renderer measures the title on the image itself; should that give another size, it says so
    // without drawing, and the second image has the size it asked for.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!pictureSizeIsDrawable(size))
            return fail(
                QStringLiteral("Das Bild wäre mit %1 × %2 Pixeln zu groß (höchstens %3 Pixel je Seite und "
                               "%4 Millionen Pixel). Bitte Zoom oder Feldbreite verkleinern.")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(maxPictureSide)
                    .arg(maxPicturePixels / 1000000));
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return fail(QStringLiteral("Für das Bild mit %1 × %2 Pixeln reicht der Speicher nicht.")
                            .arg(size.width())
                            .arg(size.height()));
        const int dotsPerMetre = static_cast<int>(std::lround(resolution / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        QPainter painter(&image);
        const PuzzleDrawing drawing =
            drawPuzzle(painter, model, settings, RenderTarget::picture(size, resolution, printer));
        if (drawing.drawn)
            return image;
        size = drawing.size;
    }
    return fail(QStringLiteral("Das Bild konnte nicht gezeichnet werden."));
}

QImage renderPuzzleImage(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                         QString *error) {
    return renderPuzzleImage(model, settings, resolution, FixedPrinterQuery(defaultPdfPage()), error);
}

QByteArray encodePuzzleImage(const QImage &image, const char *format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? buffer.data() : QByteArray();
}

bool savePuzzleImage(const QImage &image, const QString &fileName, const char *format, QString *error) {
    // Encoded in memory first, so that a device or pipe gets the whole picture or nothing of it.
    const QByteArray bytes = encodePuzzleImage(image, format);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht gespeichert werden: Das Bild lässt sich nicht "
                                    "als %2 kodieren")
                         .arg(quotedPath(fileName), QLatin1String(format));
        return false;
    }
    return saveFileContents(fileName, bytes, error);
}
