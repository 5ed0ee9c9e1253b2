#include "commands.h"

#include "fileproblem.h"
#include "pagefit.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"
#include "qprinterquery.h"
#include "renderer.h"

#include <QImage>
#include <QPrinter>

namespace {

// The picture of --png: the screen view at the usual screen resolution.
constexpr int pngResolution = 96;

bool writePicture(PuzzleModel &model, const PuzzleSettings &settings, const QString &path, QString *error) {
    // The document's settings, zoom 100, and the page end of the default printer, as render marks it.
    const QPrinter printer(QPrinter::HighResolution);
    QString reason;
    const QImage picture = renderPuzzleImage(model, settings, pngResolution, QPrinterQuery(printer), &reason);
    if (picture.isNull()) {
        *error =
            QStringLiteral("Die Datei %1 kann nicht gespeichert werden: %2").arg(quotedPath(path), reason);
        return false;
    }
    return savePuzzleImage(picture, path, "PNG", error);
}

PageCells defaultPageCells(const PuzzleSettings &settings) {
    const QPrinter printer(QPrinter::HighResolution);
    const CellCount cells = pageCellFrame(settings, QPrinterQuery(printer).currentPage());
    return {cells.columns, cells.rows};
}

} // namespace

GenerateDrawing generateDrawing() {
    GenerateDrawing drawing;
    drawing.writePicture = &writePicture;
    drawing.defaultPageCells = &defaultPageCells;
    return drawing;
}
