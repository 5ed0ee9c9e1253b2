#pragma once

#include "printerpage.h"
#include "puzzleprinting.h"

#include <optional>

// Whether every page of a job of the given pages fits the printable area of the page, as
// puzzleFitsPage tells for one; true when the page's size is unknown.
bool jobFitsPage(const PuzzleModel &model, const PuzzleSettings &settings, PrintPages pages,
                 const PrinterPage &page);

// The largest whole zoom from minimumZoom to maximumZoom percent at which every page of the job fits
// the printable area of the page (the solution page's longer title included); minimumZoom when it
// fits at none. Nothing when the page's size is unknown.
std::optional<int> fitJobZoom(const PuzzleModel &model, const PuzzleSettings &settings, PrintPages pages,
                              const PrinterPage &page, int minimumZoom, int maximumZoom);
