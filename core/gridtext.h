#pragma once

#include "grid.h"

#include <string>

// Largest column and row of a cell that is not free, plus one: the part of the grid a puzzle uses.
// 1 and 1 when every cell is free.
struct GridExtent {
    int columns = 1;
    int rows = 1;
};
GridExtent usedExtent(const Grid &grid);

// The used part of the grid as text, one line per row: a letter cell shows its letter ("?" for
// the empty letter 0), a clue cell "#", a free cell ".".
std::u16string gridText(const Grid &grid);
