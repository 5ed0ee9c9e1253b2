#pragma once

#include "answerrules.h"
#include "grid.h"

#include <string>
#include <vector>

// A cell of the grid by column (from the left) and row (from the top).
struct GridCell {
    int column = -1;
    int row = -1;

    bool operator==(const GridCell &o) const { return column == o.column && row == o.row; }
    bool operator!=(const GridCell &o) const { return !(*this == o); }
};

// The place of a solution letter that the puzzle has no cell for.
constexpr GridCell noCell{};

constexpr bool isOnGrid(GridCell c) {
    return c.column >= 0 && c.column < gridSize && c.row >= 0 && c.row < gridSize;
}

// The solution word of a puzzle as it is drawn and saved: the word as the user typed it, whether it is
// switched on, and the chosen cell of each of its letters in the word's order (noCell for a letter the
// puzzle lacks). No cells means nothing is marked.
struct SolutionWord {
    std::u16string word;
    bool enabled = true;
    std::vector<GridCell> cells;

    bool operator==(const SolutionWord &o) const {
        return word == o.word && enabled == o.enabled && cells == o.cells;
    }
    bool operator!=(const SolutionWord &o) const { return !(*this == o); }
    // Whether the puzzle shows numbered cells and the row of boxes.
    bool marked() const { return enabled && !cells.empty(); }
};

// Why no cells were chosen for a word.
enum class SolutionProblem {
    None,
    NoPuzzle,          // the grid holds no letters yet
    TooLong,           // more letters than the puzzle has letter cells
    UnusableCharacter, // a character that no letter cell can hold
};

// The outcome of choosing cells for a solution word.
struct SolutionChoice {
    SolutionProblem problem = SolutionProblem::None;
    std::u16string letters;      // the word written as answers are: one letter a box
    std::vector<GridCell> cells; // one a letter, noCell where the puzzle lacks it; empty on a problem
    int letterCells = 0;         // cells of the grid that hold a letter
    std::u16string unusable;     // the first character no cell can hold (UnusableCharacter)
    int sideBySide = 0;          // pairs of chosen cells side by side that could not be avoided
};

// The word's letters as answers are written in the puzzle with the given spelling of umlauts and ß.
std::u16string solutionLetters(const std::u16string &word, UmlautSpelling spelling);

// Whether a letter cell can hold the letter: a printable character of one byte, other than the space
// and "?", which stands in cells for letters that have no one-byte code.
bool letterFitsCell(char16_t letter);

// Chooses a letter cell for every letter of the word, spread over the puzzle: no two side by side where
// that can be avoided, two in one answer only where that cannot be avoided, in a scattered order; the
// same grid and word always give the same cells. A letter gets noCell when every cell holding it is
// taken. An empty word gives no cells and no problem; a problem gives no cells at all.
SolutionChoice chooseSolutionCells(const Grid &grid, const std::u16string &word, UmlautSpelling spelling);

// The letters that have no cell, each once, in the word's order.
std::u16string missingSolutionLetters(const std::u16string &letters, const std::vector<GridCell> &cells);

// The status line's report of missing letters: "Im Rätsel fehlt: X" or "Im Rätsel fehlen: X, Y".
std::u16string missingLettersText(const std::u16string &missing);

// What the boxes below the puzzle hold when the solution is shown: the letter of each chosen cell,
// and where a letter has no cell, the word's own letter; 0 where neither is known.
std::u16string solutionBoxLetters(const Grid &grid, const SolutionWord &solution, UmlautSpelling spelling);

// Why a choice could not be made, as a German sentence; empty without a problem.
std::u16string solutionProblemText(const SolutionChoice &choice);
