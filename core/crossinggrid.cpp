#include "crossinggrid.h"

CrossingGrid::CrossingGrid() : slot_(gridCells, -1) { reset(); }

void CrossingGrid::reset() {
    feld_.fill(cellFree);
    for (int dir = 0; dir < 2; ++dir)
        for (int line = 0; line < gridSize; ++line) {
            free_[dir][line] = LineBits::full();
            letter_[dir][line] = LineBits();
        }
    for (auto &list : crossable_)
        list.clear();
    std::fill(slot_.begin(), slot_.end(), -1);
}

LineBits CrossingGrid::placeableBits(int dir, int line) const {
    LineBits bits = free_[dir][line];
    if (line > 0)
        bits = without(bits, letter_[dir][line - 1]);
    if (line < gridSize - 1)
        bits = without(bits, letter_[dir][line + 1]);
    return bits;
}

void CrossingGrid::writeCell(int x, int y, std::int32_t value) {
    feld_[cellIndex(x, y)] = value;
    free_[across][y].reset(x);
    free_[down][x].reset(y);
    if (isLetterCell(value)) {
        letter_[across][y].set(x);
        letter_[down][x].set(y);
    }
}

void CrossingGrid::addCrossable(int x, int y, int dir) {
    const int p = dir == down ? y : x;
    if (p == 0 || !isFreeCell(feld_[dir == down ? cellIndex(x, y - 1) : cellIndex(x - 1, y)]))
        return; // no room for the crossing answer's clue cell or letters before this one
    const int cell = cellIndex(x, y);
    auto &list = crossable_[static_cast<std::size_t>(feld_[cell])];
    slot_[cell] = static_cast<std::int32_t>(list.size());
    list.push_back(static_cast<std::uint32_t>(cell * 2 + dir));
}

void CrossingGrid::removeCrossable(int cell) {
    const std::int32_t slot = slot_[cell];
    if (slot < 0)
        return;
    auto &list = crossable_[static_cast<std::size_t>(feld_[cell])];
    const std::uint32_t moved = list.back();
    list[static_cast<std::size_t>(slot)] = moved;
    slot_[moved >> 1] = slot;
    list.pop_back();
    slot_[cell] = -1;
}

void CrossingGrid::dropCrossableAfter(int x, int y, int dir) {
    const int nx = dir == down ? x : x + 1;
    const int ny = dir == down ? y + 1 : y;
    if (nx >= gridSize || ny >= gridSize)
        return;
    const int cell = cellIndex(nx, ny);
    const std::int32_t slot = slot_[cell];
    if (slot >= 0 && (crossable_[static_cast<std::size_t>(feld_[cell])][static_cast<std::size_t>(slot)] & 1) ==
                         static_cast<std::uint32_t>(dir))
        removeCrossable(cell);
}

void CrossingGrid::commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex) {
    const int cross = at.down ? across : down;
    auto xOf = [&](int p) { return at.down ? at.line : p; };
    auto yOf = [&](int p) { return at.down ? p : at.line; };
    const int clueAt = at.start - 1;
    const int end = at.start + answer.length; // one past the last letter

    // Letters first: a crossed cell now lies in two answers and can never be crossed again.
    std::uint64_t written[2] = {0, 0}; // positions along the line that were free before
    for (int p = at.start; p < end; ++p) {
        const int x = xOf(p);
        const int y = yOf(p);
        if (isFreeCell(feld_[cellIndex(x, y)])) {
            writeCell(x, y, answer.value[static_cast<std::size_t>(p - at.start)]);
            written[p >> 6] |= std::uint64_t{1} << (p & 63);
        } else {
            removeCrossable(cellIndex(x, y));
        }
    }
    writeCell(xOf(clueAt), yOf(clueAt), clueCellValue(entryIndex, at.down));

    // Every cell that stopped being free closes the cell after it to crossings that way.
    for (int p = clueAt; p < end; ++p)
        if (p == clueAt || ((written[p >> 6] >> (p & 63)) & 1)) {
            dropCrossableAfter(xOf(p), yOf(p), across);
            dropCrossableAfter(xOf(p), yOf(p), down);
        }
    for (int p = at.start; p < end; ++p)
        if ((written[p >> 6] >> (p & 63)) & 1)
            addCrossable(xOf(p), yOf(p), cross);
}

bool CrossingGrid::firstCrossingFits(std::uint32_t cellKey, int j, const FastAnswer &answer, Placement &at) const {
    const int cell = static_cast<int>(cellKey >> 1);
    const int dir = static_cast<int>(cellKey & 1);
    const int line = dir == down ? cell / gridSize : cell % gridSize;
    const int p = dir == down ? cell % gridSize : cell / gridSize;
    const int start = p - j;
    const int end = start + answer.length; // one past the last letter
    if (start < 1 || end > gridSize)
        return false;
    if (!free_[dir][line].test(start - 1))
        return false; // the clue cell must be free
    if (end < gridSize && letter_[dir][line].test(end))
        return false; // no letter right after the answer
    // Before the crossing every letter goes into a free cell (else this is not the first crossing);
    // after it each letter goes into a free cell or onto a cell holding that very letter.
    const LineBits placeable = placeableBits(dir, line);
    if (!covers(placeable, LineBits::range(start, p - 1)))
        return false;
    LineBits others = without(LineBits::range(p + 1, end - 1), placeable);
    while (!others.none()) {
        const int q = others.lowest();
        others.resetLowest();
        const std::int32_t v = feld_[dir == down ? cellIndex(line, q) : cellIndex(q, line)];
        if (v != answer.match[static_cast<std::size_t>(q - start)])
            return false;
    }
    at = Placement{dir == down, line, start};
    return true;
}

void CrossingGrid::collectFits(const FastAnswer &answer, std::vector<Placement> &fits) const {
    for (int j = 0; j < answer.length; ++j) {
        const std::int32_t letter = answer.match[static_cast<std::size_t>(j)];
        if (letter == noMatch)
            continue;
        Placement at;
        for (std::uint32_t key : crossable_[static_cast<std::size_t>(letter)])
            if (firstCrossingFits(key, j, answer, at))
                fits.push_back(at);
    }
}
