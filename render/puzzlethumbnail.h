#pragma once

#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QImage>
#include <QString>

// Sides of a thumbnail that renderPuzzleThumbnail accepts.
constexpr int minThumbnailSide = 1;
constexpr int maxThumbnailSide = 4096;

// The puzzle as a file manager shows it: the screen picture without the page-end marking, fitted into
// maxSide x maxSide with its proportions kept and never enlarged. A large puzzle is drawn at a lower
// resolution first (about twice the thumbnail's size, as if seen from further away), so that the work
// stays small whatever the document's zoom and lengths, then scaled down smoothly. A null image when
// it cannot be made, with the reason in German in *error.
QImage renderPuzzleThumbnail(const PuzzleModel &model, PuzzleSettings settings, int maxSide,
                             QString *error = nullptr);
