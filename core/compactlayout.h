#pragma once

#include "compactwords.h"
#include "grid.h"

#include <cstdint>
#include <vector>

// Where one answer lies in a compact layout: its first letter at column x and row y of the frame, the
// answer running down or across, its clue cell directly before the first letter (arrow kind 0).
struct CompactPlacement {
    bool placed = false;
    bool down = false;
    std::int16_t x = 0;
    std::int16_t y = 0;

    bool operator==(const CompactPlacement &other) const {
        return placed == other.placed && (!placed || (down == other.down && x == other.x && y == other.y));
    }
};

// The smallest rectangle holding every used cell, in frame columns and rows (inclusive); empty when
// no cell is used.
struct CellBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool empty() const { return right < left; }
    int width() const { return empty() ? 0 : right - left + 1; }
    int height() const { return empty() ? 0 : bottom - top + 1; }
    int area() const { return width() * height(); }
};

// A layout of answers inside a frame of width x height cells, kept up to date answer by answer. It
// knows for every cell its letter, the answers across and down that pass through it and the answer
// whose clue it holds, and for every letter the cells that only one answer passes through (where a new
// answer can cross). A ring of wall cells around the frame spares the bounds checks.
//
// place and remove do not test the rules: callers test with crossings first, or copy placements of a
// layout that keeps the rules.
class CompactLayout {
public:
    CompactLayout(const CompactWords &words, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const CompactWords &words() const { return *words_; }

    // The letters that the answer would share with placed answers when placed with its first letter at
    // (x, y), or -1 when that breaks a rule: a letter or its clue cell outside the frame, the clue cell
    // not free, a letter on a clue cell or on another letter, a letter crossing an answer that runs the
    // same way, a letter right after the last one, or a letter in a free cell beside a letter across
    // the answer's line.
    int crossings(int word, bool down, int x, int y) const {
        const CompactWord &w = words_->words[static_cast<std::size_t>(word)];
        return crossings(w.letters.data(), w.length(), down, x, y);
    }
    // The same for an answer of the given letters.
    inline int crossings(const LetterSymbol *letters, int length, bool down, int x, int y) const;
    void place(int word, bool down, int x, int y);
    void remove(int word);

    const CompactPlacement &placement(int word) const { return placements_[static_cast<std::size_t>(word)]; }
    int placedCount() const { return placedCount_; }
    int usedCells() const { return usedCells_; }
    CellBox box() const;

    // Cells are numbered row by row including the wall ring.
    int cellAt(int x, int y) const { return (y + 1) * stride_ + x + 1; }
    int columnOf(int cell) const { return cell % stride_ - 1; }
    int rowOf(int cell) const { return cell / stride_ - 1; }
    // The step from a cell to the next along an answer, and to the neighbour across its line.
    int along(bool down) const { return down ? stride_ : 1; }
    int beside(bool down) const { return down ? 1 : stride_; }

    LetterSymbol letterAt(int cell) const { return letter_[static_cast<std::size_t>(cell)]; }
    bool isFree(int cell) const { return kind_[static_cast<std::size_t>(cell)] == freeCell; }
    // The answer running down (or across) through a cell; -1 for none.
    int ownerAt(int cell, bool down) const { return owner_[down ? 1 : 0][static_cast<std::size_t>(cell)]; }
    // The cell of the clue of an answer placed with its first letter in firstCell.
    int clueCellOf(int firstCell, bool down) const { return firstCell - along(down); }
    // The letter cells of a symbol that a new answer can cross: one answer passes through each.
    const std::vector<int> &openCells(LetterSymbol symbol) const {
        return open_[static_cast<std::size_t>(symbol)];
    }

private:
    // What a letter of a new answer running one way finds in a cell: anyLetter (a free cell with no
    // letter beside it across that way), the symbol it can cross, or blockedCell.
    static constexpr LetterSymbol anyLetter = noSymbol;
    static constexpr LetterSymbol blockedCell = 0xFFFE;
    void updateAccept(int cell, bool down);
    void updateAccepts(int cell);
    void updateAcceptsAround(int cell);
    void markUsed(int cell, int delta);
    void addOpen(int cell);
    void removeOpen(int cell);

    const CompactWords *words_;
    int width_;
    int height_;
    int stride_;
    // What a cell holds, in one small array that the rule test reads first.
    enum CellKind : std::uint8_t { freeCell, letterCell, clueCell, wallCell };
    std::vector<CellKind> kind_;
    std::vector<LetterSymbol> letter_;
    std::vector<std::int16_t> owner_[2]; // across, down
    std::vector<std::int16_t> clueOf_;
    std::vector<LetterSymbol> accepts_[2]; // across, down
    std::vector<int> rowUse_;
    std::vector<int> columnUse_;
    std::vector<std::vector<int>> open_; // per symbol
    std::vector<int> openSlot_;          // per cell: its index in its open list, -1 when not open
    std::vector<CompactPlacement> placements_;
    int placedCount_ = 0;
    int usedCells_ = 0;
};

// The layout's answers written into a free grid with its box's top-left corner at (0, 0), as they lie:
// letters as their cells hold them ("?" for codes above 255), clue cells naming their answers' indices,
// arrow kind 0. The box must fit the grid.
Grid compactGrid(const CompactLayout &layout);

int CompactLayout::crossings(const LetterSymbol *letters, int length, bool down, int x, int y) const {
    // The clue cell lies inside the frame before the first letter, the last letter inside it too.
    if (down ? (x < 0 || x >= width_ || y < 1 || y + length > height_)
             : (y < 0 || y >= height_ || x < 1 || x + length > width_))
        return -1;
    const int first = cellAt(x, y);
    const int step = along(down);
    if (!isFree(clueCellOf(first, down)))
        return -1;
    if (kind_[static_cast<std::size_t>(first + length * step)] == letterCell)
        return -1;
    const LetterSymbol *accepts = accepts_[down ? 1 : 0].data();
    int shared = 0;
    for (int i = 0, cell = first; i < length; ++i, cell += step) {
        const LetterSymbol found = accepts[cell];
        if (found == anyLetter)
            continue;
        if (found != letters[i])
            return -1;
        ++shared;
    }
    return shared;
}
