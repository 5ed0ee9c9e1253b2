#pragma once

#include "grid.h"
#include "puzzlemodel.h"

#include <string>
#include <vector>

// Checks a finished puzzle against the rules every generated puzzle keeps, and returns one line per
// broken rule (empty when the puzzle is sound). answers[i] is the answer text of entry i.
//  - every clue cell names an existing entry, at most once, and that answer reads from the next cell
//    in its direction, with no letter right after its end;
//  - every letter cell belongs to an answer, and letters side by side belong to one answer that runs
//    that way (no letter touches a parallel word);
//  - the answers form one connected cluster of crossings;
//  - the used cells begin in column 0 and row 0.
std::vector<std::string> checkPuzzle(const Grid &grid, const std::vector<std::u16string> &answers);

// Number of clue cells in the grid.
int countClueCells(const Grid &grid);

// The answer texts of the model's entries in entry order, as checkPuzzle takes them.
std::vector<std::u16string> answersOf(PuzzleModel &model);
