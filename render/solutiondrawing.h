#pragma once

#include "grid.h"
#include "puzzlesettings.h"

#include <QFont>

class Canvas;
class QPaintDevice;

// Where the solution word goes on the picture: the numbered cells in the grid and, below the grid,
// the caption "Lösungswort:" over rows of numbered boxes of the cell size, as many a row as the grid
// has columns. Lengths in device pixels.
struct SolutionRowGeometry {
    int gap = 0;           // between the grid's bottom line and the caption
    int captionHeight = 0; // the clue font's line height
    int captionWidth = 0;  // the caption's width
    int captionGap = 0;    // between the caption and the boxes
    int boxesPerRow = 0;
    int rows = 0;

    // The height the picture grows by; 0 when nothing is marked.
    int height(int cellSize) const;
};

// The caption over the boxes.
extern const QString solutionCaption; // "Lösungswort:"

// The geometry of the row of boxes for a puzzle of columns columns, cell size C and text margin M;
// all 0 when the settings mark no solution word. The caption is measured in the clue font at the
// device's vertical resolution.
SolutionRowGeometry solutionRowGeometry(const PuzzleSettings &settings, int columns, int C, int M,
                                        int verticalResolution, const QPaintDevice *device);

// Where the grid and the boxes lie: the page margin, the grid's top, the cell size, the line width and
// the grid's rows (the last row + 1).
struct SolutionPlacement {
    int pageMargin, gridTop, cellSize, lineWidth, gridRows;
};

// Frames each chosen cell heavier, inside its own outline, and writes its number small into its
// top-left corner; then draws the caption and the boxes below the grid, each numbered, holding its
// letter when the settings show the solution. Draws nothing when no solution word is marked. Leaves
// the canvas's pen, brush and font changed.
void drawSolutionWord(Canvas &canvas, const Grid &grid, const PuzzleSettings &settings,
                      const SolutionPlacement &at, const SolutionRowGeometry &row);
