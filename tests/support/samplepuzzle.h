#pragma once

#include "placement.h"
#include "puzzlemodel.h"

#include <string>

// Adds an entry and writes its answer and clue cell (arrow kind 0) into the grid.
void placeAnswer(PuzzleModel &model, const std::u16string &clue, const std::u16string &answer, Placement at);

// A small puzzle on a free grid: "Stadt" HAUS across in row 1 from column 1 (clue cell (0, 1)) and
// "Himmelsrichtung" OST down in column 6 from row 1 (clue cell (6, 0)).
void smallPuzzle(PuzzleModel &model);
