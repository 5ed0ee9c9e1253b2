#include "compactlayout.h"

namespace {

// The first and last index of a non-zero count; 0 and -1 when all are zero.
void usedSpan(const std::vector<int> &use, int &first, int &last) {
    const int n = static_cast<int>(use.size());
    first = 0;
    while (first < n && use[static_cast<std::size_t>(first)] == 0)
        ++first;
    if (first == n) {
        first = 0;
        last = -1;
        return;
    }
    last = n - 1;
    while (use[static_cast<std::size_t>(last)] == 0)
        --last;
}

} // namespace

CompactLayout::CompactLayout(const CompactWords &words, int width, int height)
    : words_(&words), width_(width), height_(height), stride_(width + 2) {
    const std::size_t cells = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height + 2);
    kind_.assign(cells, wallCell);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            kind_[static_cast<std::size_t>(cellAt(x, y))] = freeCell;
    letter_.assign(cells, noSymbol);
    owner_[0].assign(cells, -1);
    owner_[1].assign(cells, -1);
    clueOf_.assign(cells, -1);
    for (std::vector<LetterSymbol> &accepts : accepts_) {
        accepts.assign(cells, blockedCell);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                accepts[static_cast<std::size_t>(cellAt(x, y))] = anyLetter;
    }
    rowUse_.assign(static_cast<std::size_t>(height), 0);
    columnUse_.assign(static_cast<std::size_t>(width), 0);
    open_.assign(static_cast<std::size_t>(words.symbolCount) + 1, {});
    openSlot_.assign(cells, -1);
    placements_.assign(words.words.size(), CompactPlacement());
}

void CompactLayout::updateAccept(int cell, bool down) {
    const std::size_t c = static_cast<std::size_t>(cell);
    LetterSymbol &accepts = accepts_[down ? 1 : 0][c];
    if (kind_[c] == wallCell || kind_[c] == clueCell) {
        accepts = blockedCell;
    } else if (kind_[c] == letterCell) {
        const bool crossable = letter_[c] != uncrossableSymbol && owner_[down ? 1 : 0][c] < 0;
        accepts = crossable ? letter_[c] : blockedCell;
    } else {
        const std::size_t side = static_cast<std::size_t>(beside(down));
        accepts = kind_[c - side] == letterCell || kind_[c + side] == letterCell ? blockedCell : anyLetter;
    }
}

void CompactLayout::updateAccepts(int cell) {
    updateAccept(cell, false);
    updateAccept(cell, true);
}

void CompactLayout::updateAcceptsAround(int cell) {
    updateAccepts(cell);
    // A letter here blocks free cells beside it for answers running past it, not along it.
    for (const bool down : {false, true})
        for (const int neighbour : {cell - beside(down), cell + beside(down)})
            if (kind_[static_cast<std::size_t>(neighbour)] == freeCell)
                updateAccept(neighbour, down);
}

void CompactLayout::markUsed(int cell, int delta) {
    rowUse_[static_cast<std::size_t>(rowOf(cell))] += delta;
    columnUse_[static_cast<std::size_t>(columnOf(cell))] += delta;
    usedCells_ += delta;
}

void CompactLayout::addOpen(int cell) {
    const LetterSymbol symbol = letter_[static_cast<std::size_t>(cell)];
    if (symbol == uncrossableSymbol)
        return;
    std::vector<int> &list = open_[symbol];
    openSlot_[static_cast<std::size_t>(cell)] = static_cast<int>(list.size());
    list.push_back(cell);
}

void CompactLayout::removeOpen(int cell) {
    const int slot = openSlot_[static_cast<std::size_t>(cell)];
    if (slot < 0)
        return;
    std::vector<int> &list = open_[letter_[static_cast<std::size_t>(cell)]];
    const int last = list.back();
    list[static_cast<std::size_t>(slot)] = last;
    openSlot_[static_cast<std::size_t>(last)] = slot;
    list.pop_back();
    openSlot_[static_cast<std::size_t>(cell)] = -1;
}

void CompactLayout::place(int word, bool down, int x, int y) {
    const std::vector<LetterSymbol> &letters = words_->words[static_cast<std::size_t>(word)].letters;
    CompactPlacement &at = placements_[static_cast<std::size_t>(word)];
    at.placed = true;
    at.down = down;
    at.x = static_cast<std::int16_t>(x);
    at.y = static_cast<std::int16_t>(y);
    const int first = cellAt(x, y);
    const int step = along(down);
    std::vector<std::int16_t> &sameWay = owner_[down ? 1 : 0];
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const int cell = first + static_cast<int>(i) * step;
        const std::size_t c = static_cast<std::size_t>(cell);
        if (letter_[c] == noSymbol) {
            letter_[c] = letters[i];
            kind_[c] = letterCell;
            markUsed(cell, 1);
            addOpen(cell);
        } else {
            removeOpen(cell); // now crossed both ways
        }
        sameWay[c] = static_cast<std::int16_t>(word);
    }
    const int clue = clueCellOf(first, down);
    clueOf_[static_cast<std::size_t>(clue)] = static_cast<std::int16_t>(word);
    kind_[static_cast<std::size_t>(clue)] = clueCell;
    markUsed(clue, 1);
    for (std::size_t i = 0; i < letters.size(); ++i)
        updateAcceptsAround(first + static_cast<int>(i) * step);
    updateAccepts(clue);
    ++placedCount_;
}

void CompactLayout::remove(int word) {
    CompactPlacement &at = placements_[static_cast<std::size_t>(word)];
    if (!at.placed)
        return;
    const int length = words_->words[static_cast<std::size_t>(word)].length();
    const int first = cellAt(at.x, at.y);
    const int step = along(at.down);
    std::vector<std::int16_t> &sameWay = owner_[at.down ? 1 : 0];
    const std::vector<std::int16_t> &otherWay = owner_[at.down ? 0 : 1];
    for (int i = 0, cell = first; i < length; ++i, cell += step) {
        const std::size_t c = static_cast<std::size_t>(cell);
        sameWay[c] = -1;
        if (otherWay[c] < 0) {
            removeOpen(cell);
            letter_[c] = noSymbol;
            kind_[c] = freeCell;
            markUsed(cell, -1);
        } else {
            addOpen(cell);
        }
    }
    const int clue = clueCellOf(first, at.down);
    clueOf_[static_cast<std::size_t>(clue)] = -1;
    kind_[static_cast<std::size_t>(clue)] = freeCell;
    markUsed(clue, -1);
    for (int i = 0, cell = first; i < length; ++i, cell += step)
        updateAcceptsAround(cell);
    updateAccepts(clue);
    at.placed = false;
    --placedCount_;
}

CellBox CompactLayout::box() const {
    CellBox b;
    usedSpan(columnUse_, b.left, b.right);
    usedSpan(rowUse_, b.top, b.bottom);
    return b;
}

Grid compactGrid(const CompactLayout &layout) {
    Grid grid = freeGrid();
    const CellBox box = layout.box();
    for (int w = 0; w < static_cast<int>(layout.words().words.size()); ++w) {
        const CompactPlacement &at = layout.placement(w);
        if (!at.placed)
            continue;
        const std::u16string &answer = layout.words().words[static_cast<std::size_t>(w)].answer;
        const int x = at.x - box.left;
        const int y = at.y - box.top;
        for (int i = 0; i < static_cast<int>(answer.size()); ++i)
            grid[at.down ? cellIndex(x, y + i) : cellIndex(x + i, y)] =
                letterCellValue(answer[static_cast<std::size_t>(i)]);
        grid[at.down ? cellIndex(x, y - 1) : cellIndex(x - 1, y)] =
            clueCellValue(static_cast<std::uint32_t>(w), at.down);
    }
    return grid;
}
