#pragma once

#include "puzzlemodel.h"
#include "puzzleprinting.h"
#include "puzzlesettings.h"

#include <QString>

#include <optional>

class QPrinter;

// The file formats a puzzle picture can be exported in.
enum class PictureFormat { Bmp, Png, Svg, Pdf };

// The format that a file name's suffix names (bmp, png, svg, pdf, in any case); nothing for another
// suffix or none.
std::optional<PictureFormat> pictureFormatOfFile(const QString &fileName);

// Writes the puzzle picture to fileName. Bmp (24 bits a pixel), png and svg hold the screen view at
// screenResolution pixels per inch, sized from the current settings, with the page-end marking of
// printer's page; pdf holds the pages that printPuzzle puts on printer's paper (its paper, orientation
// and margins; the default PDF page when printer is a PDF printer), the puzzle alone or as pages says.
// An existing file is replaced without a question, but only once the new one was written completely;
// false with the reason in German in *error otherwise, the old file then left as it was.
bool exportPuzzlePicture(const QString &fileName, PictureFormat format, const PuzzleModel &model,
                         const PuzzleSettings &settings, int screenResolution, const QPrinter &printer,
                         QString *error = nullptr, PrintPages pages = PrintPages::Puzzle);
