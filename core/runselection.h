#pragma once

#include "generatorstore.h"

// The run chosen from a generation and the bounding box of its used cells.
struct BestRun {
    int run = -1;
    int usedCells = 0;
    int area = 0;
    int minX = 0;
    int minY = 0;
};

// Used cells and bounding box of one grid; area 0 when no cell is used.
BestRun measureGrid(const Grid &grid);

// Among the runs that placed the most entries, the one with the fewest used cells, then the smallest
// bounding box, then the lowest run number.
BestRun ChooseBestRun(const GeneratorStore &store);

// Rewrites feld with the chosen run's grid moved so that its used cells begin in column 0 and row 0.
void PlaceBestRun(const GeneratorStore &store, const BestRun &best, Grid &feld);
