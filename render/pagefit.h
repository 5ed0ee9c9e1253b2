#pragma once

#include "printerpage.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <optional>

// Whether the whole puzzle picture (title, grid and whatever is drawn around it) at the settings'
// zoom fits the printable area of the page; true when the page's size is unknown.
bool puzzleFitsPage(const PuzzleModel &model, const PuzzleSettings &settings, const PrinterPage &page);

// The largest whole zoom from minimumZoom to maximumZoom percent at which the whole puzzle picture fits
// the printable area of the page; minimumZoom when it fits at none. Nothing when the page's size is
// unknown.
std::optional<int> fitPageZoom(const PuzzleModel &model, const PuzzleSettings &settings,
                               const PrinterPage &page, int minimumZoom, int maximumZoom);

// A number of columns and rows of cells.
struct CellCount {
    int columns = 0;
    int rows = 0;
};

// The most columns and rows of cells whose picture, title included, fits the printable area of the
// page at the settings' cell width, zoom and page margin, at most the whole grid, with room below for
// the boxes of the settings' solution word; 0 x 0 when not one cell fits or the page's size is unknown.
CellCount pageCellFrame(const PuzzleSettings &settings, const PrinterPage &page);

// A frame of the page's shape for a compact layout of about usedCells cells: compact layouts fill about
// half their box, so the frame holds a little more than twice as many cells. The page frame itself when
// that holds enough; the shape of an A4 page at the defaults when the page is unknown; at most the whole
// grid.
CellCount compactFrameFor(const CellCount &page, int usedCells);
