#pragma once

#include "fastanswer.h"
#include "grid.h"
#include "linebits.h"
#include "placement.h"

#include <array>
#include <cstdint>
#include <vector>

// The grid of one generator run together with what the fast generator needs to find crossings quickly:
// per line a bit for every free cell and every letter cell, and per letter value the list of letter
// cells that a new answer can still cross ("crossable cells").
//
// A letter cell can only be crossed by an answer running across the answer it belongs to (crossing
// along the same line always runs into that answer's clue cell or letters), and never once it lies in
// two answers. It is also out for good once the cell before it on the crossing line is no longer free:
// that cell would have to hold either the crossing answer's clue or one of its free letters, and cells
// never become free again during a run.
//
// A crossing is a crossable cell together with a position j in an answer: the answer placed across
// that cell with letter j on it. Every valid placement that crosses something is reached by exactly one
// crossing, its first one: the crossable cell with all cells before it in the answer free.
class CrossingGrid {
public:
    CrossingGrid();

    // Back to an all-free grid with nothing to cross.
    void reset();

    // Writes the answer's letters and the clue cell of entry entryIndex, as commitPlacement does, and
    // brings the line bits and the crossable cells up to date.
    void commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex);

    // Number of crossable cells that hold the letter cell value letter (0 to 255).
    int crossableCount(std::int32_t letter) const {
        return static_cast<int>(crossable_[static_cast<std::size_t>(letter)].size());
    }
    // The i-th crossable cell with that value, as an opaque crossing key for placementAt.
    std::uint32_t crossableCell(std::int32_t letter, int i) const {
        return crossable_[static_cast<std::size_t>(letter)][static_cast<std::size_t>(i)];
    }

    // Whether the answer with letter j on the crossable cell is a valid placement (no conflict under the
    // placement rules) whose first crossing this is; if so, at receives it. Answers whose letter j does
    // not match the cell must not be asked about.
    bool firstCrossingFits(std::uint32_t cellKey, int j, const FastAnswer &answer, Placement &at) const;

    // Appends every valid placement of the answer that crosses something, each exactly once.
    void collectFits(const FastAnswer &answer, std::vector<Placement> &fits) const;

    const Grid &cells() const { return feld_; }

private:
    static constexpr int across = 0;
    static constexpr int down = 1;

    // Cells where a letter may go into a free cell: free, with no letter beside it across the line.
    LineBits placeableBits(int dir, int line) const;
    void writeCell(int x, int y, std::int32_t value);
    void addCrossable(int x, int y, int dir);
    void removeCrossable(int cell);
    // The letter cell after (x, y) in direction dir can no longer be crossed that way.
    void dropCrossableAfter(int x, int y, int dir);

    Grid feld_;
    LineBits free_[2][gridSize];   // [dir][line]: bit p set when the cell at p along the line is free
    LineBits letter_[2][gridSize]; // [dir][line]: bit p set when the cell at p is a letter cell
    std::array<std::vector<std::uint32_t>, maxLetterCode + 1> crossable_; // keys: cell * 2 + crossing dir
    std::vector<std::int32_t> slot_;                                      // per cell: index in its list, or -1
};
