#pragma once

#include "generatorstore.h"
#include "puzzlemodel.h"

#include <vector>

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

// The same figures in the form the store keeps them.
RunFigures runFigures(const Grid &grid);

// Among the runs that placed the most entries, the one with the fewest used cells, then the smallest
// bounding box, then the lowest run number.
BestRun ChooseBestRun(const GeneratorStore &store);

// Where the entries' placement fields put the entries they describe as placed (those not given up,
// with tries below roundsPerEntry), in entry order.
std::vector<PlacedEntry> placedEntries(const PuzzleModel &model);

// The grid of a run, built from its placements: every answer's letters and its clue cell, as the run
// wrote them.
Grid runGrid(const PuzzleModel &model, const std::vector<PlacedEntry> &placements);

// Rewrites grid with the chosen run's grid moved so that its used cells begin in column 0 and row 0.
// grid stays all free when the store did not keep the chosen run's placements.
void PlaceBestRun(const PuzzleModel &model, const GeneratorStore &store, const BestRun &best, Grid &grid);
