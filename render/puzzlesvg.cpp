#include "puzzlesvg.h"

#include "renderer.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

QByteArray renderPuzzleSvg(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                           const PrinterQuery &printer, QString *error) {
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return QByteArray();
    };
    if (resolution <= 0)
        return fail(QStringLiteral("Die Auflösung von %1 Pixeln je Zoll ist ungültig.").arg(resolution));
    QSize size = puzzlePictureSize(model, settings, resolution);
    // The title is measured on the target itself; a differing measure asks for a second drawing.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!pictureSizeIsDrawable(size))
            return fail(QStringLiteral("Das Bild wäre mit %1 × %2 Pixeln zu groß. Bitte Zoom oder "
                                       "Feldbreite verkleinern.")
                            .arg(size.width())
                            .arg(size.height()));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(resolution);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QString::fromStdU16String(settings.title));
        QPainter painter(&generator);
        const PuzzleDrawing drawing =
            drawPuzzle(painter, model, settings, RenderTarget::picture(size, resolution, printer));
        painter.end();
        if (drawing.drawn)
            return buffer.data();
        size = drawing.size;
    }
    return fail(QStringLiteral("Das Bild konnte nicht gezeichnet werden."));
}
