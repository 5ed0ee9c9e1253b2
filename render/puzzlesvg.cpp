#include "puzzlesvg.h"

#include "renderer.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace {

// The SVG with every character taken out that XML 1.0 cannot hold (control characters other than tab
// and line ends, U+FFFE, U+FFFF), wherever the texts of a document put them: clue texts, the title,
// font names. In UTF-8 a control character is a byte of its own, and EF BF BE / EF BF BF can only be
// those two characters.
QByteArray withoutXmlForbidden(const QByteArray &svg) {
    QByteArray clean;
    clean.reserve(svg.size());
    for (qsizetype i = 0; i < svg.size(); ++i) {
        const auto c = static_cast<unsigned char>(svg[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        if (c == 0xEF && i + 2 < svg.size() && static_cast<unsigned char>(svg[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(svg[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        clean += static_cast<char>(c);
    }
    return clean;
}

} // namespace

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
        // The generator writes the title as it stands; the texts it draws it escapes itself.
        generator.setTitle(QString::fromStdU16String(settings.title).toHtmlEscaped());
        QPainter painter(&generator);
        const PuzzleDrawing drawing =
            drawPuzzle(painter, model, settings, RenderTarget::picture(size, resolution, printer));
        painter.end();
        if (drawing.drawn)
            return withoutXmlForbidden(buffer.data());
        size = drawing.size;
    }
    return fail(QStringLiteral("Das Bild konnte nicht gezeichnet werden."));
}
