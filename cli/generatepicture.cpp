#include "commands.h"

#include "puzzlemodel.h"
#include "puzzlesettings.h"
#include "renderer.h"

#include <QImage>

namespace {

// The picture of --png: the screen view at the usual screen resolution.
constexpr int pngResolution = 96;

} // namespace

bool writeGeneratedPicture(PuzzleModel &model, const QString &path, QString *error) {
    // Default settings, zoom 100, and the page end of the PDF printer's default page: the command
    // line asks no real printer.
    const QImage picture = renderPuzzleImage(model, PuzzleSettings{}, pngResolution, error);
    return !picture.isNull() && savePuzzleImage(picture, path, "PNG", error);
}
