#pragma once

#include "grid.h"

#include <cstdint>
#include <string>

// Where one answer would go: down (line = column) or across (line = row), its first letter at start
// along the line and its clue cell at start - 1.
struct Placement {
    bool down = false;
    int line = 0;
    int start = 1;
};

// Grid element of position p on the given line.
inline int lineCellIndex(const Placement &at, int line, int p) {
    return at.down ? cellIndex(line, p) : cellIndex(p, line);
}

struct PlacementTest {
    bool conflict = false;
    bool crossed = false; // some letter lands on a cell that already holds it
};

// Tests a placement of answer against the grid as it stands. A conflict is a letter cell that holds
// another letter or a clue cell under a letter, a free cell under a letter with a letter beside it
// across the line, a letter cell right after the last letter, or a clue position that is not free.
PlacementTest testPlacement(const Grid &grid, const std::u16string &answer, const Placement &at);

// Writes the answer's letters and the clue cell of entry entryIndex (arrow kind 0) into the grid.
void commitPlacement(Grid &grid, const std::u16string &answer, const Placement &at, std::uint32_t entryIndex);
