#pragma once

#include "printerpage.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QByteArray>
#include <QString>

// The screen view of the puzzle as an SVG document at resolution pixels per inch: the same drawing as
// the picture export (a picture target, page-end marking from printer), on an SVG generator whose user
// units are the picture's pixels. Always well-formed XML: characters that XML cannot hold are left out
// of the texts. Empty with the reason in German in *error when the picture would be
// too large to draw.
QByteArray renderPuzzleSvg(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                           const PrinterQuery &printer, QString *error = nullptr);
