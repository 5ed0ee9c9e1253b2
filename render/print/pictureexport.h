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

// The puzzle picture in the given format, as exportPuzzlePicture writes it; empty with the reason in
// German in *reason when it cannot be made.
QByteArray puzzlePicture(PictureFormat format, const PuzzleModel &model, const PuzzleSettings &settings,
                         int screenResolution, const QPrinter &printer, QString *reason = nullptr,
                         PrintPages pages = PrintPages::Puzzle);

// Writes the puzzle picture to fileName. Bmp (24 bits a pixel), png and svg hold the screen view at
// screenResolution pixels per inch, sized from the current settings, with the page-end marking of
// printer's page; pdf holds the pages that printPuzzle puts on printer's paper (its paper, orientation
// and margins; the default PDF page when printer is a PDF printer), the puzzle alone or as pages says.
// Written through a SafeFile: an
// existing file is replaced without a question, but only once the new one was written completely, a
// device or pipe gets the whole picture; false with the German message naming the file in *error
// otherwise, the old file then left as it was.
bool exportPuzzlePicture(const QString &fileName, PictureFormat format, const PuzzleModel &model,
                         const PuzzleSettings &settings, int screenResolution, const QPrinter &printer,
                         QString *error = nullptr, PrintPages pages = PrintPages::Puzzle);
