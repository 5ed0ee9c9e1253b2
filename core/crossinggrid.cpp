#include "crossinggrid.h"

#include <algorithm>

CrossingGrid::CrossingGrid(int roomLimit, const std::vector<std::int32_t> &letters)
    : roomLimit_(std::min(std::max(roomLimit, 0), static_cast<int>(RankedList::maxKey))),
      slotBefore_(2 * gridCells, -1), slotAfter_(2 * gridCells, -1), roomBefore_(2 * gridCells, -1),
      roomAfter_(2 * gridCells, -1) {
    listOf_.fill(-1);
    for (std::int32_t letter : letters)
        if (letter >= 0 && letter <= maxLetterCode && listOf_[static_cast<std::size_t>(letter)] < 0) {
            listOf_[static_cast<std::size_t>(letter)] = static_cast<std::int16_t>(lists_.size());
            lists_.emplace_back();
        }
    cells_.fill(cellFree);
    for (int dir = 0; dir < 2; ++dir)
        resetLines(dir, 0, gridSize - 1);
}

void CrossingGrid::resetLines(int dir, int first, int last) {
    for (int line = std::max(first, 0); line <= std::min(last, gridSize - 1); ++line) {
        free_[dir][line] = LineBits::full();
        placeable_[dir][line] = LineBits::full();
        letter_[dir][line] = LineBits();
        crossable_[dir][line] = LineBits();
    }
}

void CrossingGrid::reset() {
    // Only the bounding box of the used cells holds anything, and only the lines through it and beside
    // it have bits cleared.
    if (usedCells_ > 0) {
        for (int x = minX_; x <= maxX_; ++x)
            std::fill_n(cells_.begin() + cellIndex(x, minY_), maxY_ - minY_ + 1, cellFree);
        resetLines(down, minX_ - 1, maxX_ + 1);
        resetLines(across, minY_ - 1, maxY_ + 1);
        usedCells_ = 0;
    }
    for (LetterLists &l : lists_) {
        l.byRoomBefore.clear();
        l.byRoomAfter.clear();
    }
}

RunFigures CrossingGrid::figures() const {
    RunFigures f;
    if (usedCells_ == 0)
        return f;
    f.usedCells = static_cast<std::int16_t>(usedCells_);
    f.area = static_cast<std::int16_t>((maxX_ - minX_ + 1) * (maxY_ - minY_ + 1));
    f.minX = static_cast<std::int8_t>(minX_);
    f.minY = static_cast<std::int8_t>(minY_);
    return f;
}

int CrossingGrid::roomBefore(int dir, int line, int p) const {
    // Placeable cells back to the clue cell, which only has to be free.
    const LineBits blocked = without(LineBits::range(0, p - 1), placeable_[dir][line]);
    if (blocked.none())
        return std::min(p - 1, roomLimit_);
    const int b = blocked.highest();
    return std::min(free_[dir][line].test(b) ? p - 1 - b : p - 2 - b, roomLimit_);
}

int CrossingGrid::roomAfter(int dir, int line, int p) const {
    // Placeable cells and letter cells (which may be crossed too) up to the first other cell.
    const LineBits barrier =
        without(without(LineBits::range(p + 1, gridSize - 1), placeable_[dir][line]), letter_[dir][line]);
    return std::min(barrier.none() ? gridSize - 1 - p : barrier.lowest() - 1 - p, roomLimit_);
}

void CrossingGrid::addCrossable(int dir, int line, int p) {
    LetterLists *lists = listsOf(cells_[dir == down ? cellIndex(line, p) : cellIndex(p, line)]);
    if (!lists)
        return; // no answer can cross this letter
    const int before = roomBefore(dir, line, p);
    if (before < 0)
        return;
    const int after = roomAfter(dir, line, p);
    const int key = dir * gridCells + line * gridSize + p;
    lists->byRoomBefore.insert(static_cast<std::uint32_t>(key), before, slotBefore_);
    lists->byRoomAfter.insert(static_cast<std::uint32_t>(key), after, slotAfter_);
    roomBefore_[static_cast<std::size_t>(key)] = static_cast<std::int8_t>(before);
    roomAfter_[static_cast<std::size_t>(key)] = static_cast<std::int8_t>(after);
    crossable_[dir][line].set(p);
}

void CrossingGrid::removeCrossable(int dir, int line, int p) {
    const int key = dir * gridCells + line * gridSize + p;
    LetterLists *lists = listsOf(cells_[dir == down ? cellIndex(line, p) : cellIndex(p, line)]);
    lists->byRoomBefore.remove(static_cast<std::uint32_t>(key), roomBefore_[static_cast<std::size_t>(key)],
                               slotBefore_);
    lists->byRoomAfter.remove(static_cast<std::uint32_t>(key), roomAfter_[static_cast<std::size_t>(key)],
                              slotAfter_);
    crossable_[dir][line].reset(p);
}

void CrossingGrid::refreshRooms(std::uint32_t cellKey) {
    const int key = static_cast<int>(cellKey);
    const int dir = key / gridCells;
    const int line = key / gridSize % gridSize;
    const int p = key % gridSize;
    if (!crossable_[dir][line].test(p))
        return;
    const int before = roomBefore(dir, line, p);
    if (before < 0) {
        removeCrossable(dir, line, p);
        return;
    }
    const int after = roomAfter(dir, line, p);
    std::int8_t &oldBefore = roomBefore_[static_cast<std::size_t>(key)];
    std::int8_t &oldAfter = roomAfter_[static_cast<std::size_t>(key)];
    if (before == oldBefore && after == oldAfter)
        return;
    LetterLists *lists = listsOf(cells_[dir == down ? cellIndex(line, p) : cellIndex(p, line)]);
    if (before != oldBefore) {
        lists->byRoomBefore.changeKey(cellKey, oldBefore, before, slotBefore_);
        oldBefore = static_cast<std::int8_t>(before);
    }
    if (after != oldAfter) {
        lists->byRoomAfter.changeKey(cellKey, oldAfter, after, slotAfter_);
        oldAfter = static_cast<std::int8_t>(after);
    }
}

void CrossingGrid::widenRoomsAfter(int dir, int line, int p) {
    // Rooms are capped at the room limit, so cells further back than that do not see the change.
    LineBits cells = crossable_[dir][line] & LineBits::range(std::max(p - roomLimit_ - 1, 0), p - 1);
    const LineBits barriers =
        without(without(LineBits::range(0, p - 1), placeable_[dir][line]), letter_[dir][line]);
    if (!barriers.none())
        cells = cells & LineBits::range(barriers.highest() + 1, p - 1);
    for (; !cells.none(); cells.resetLowest()) {
        const int q = cells.lowest();
        const int key = dir * gridCells + line * gridSize + q;
        const int after = roomAfter(dir, line, q);
        std::int8_t &oldAfter = roomAfter_[static_cast<std::size_t>(key)];
        if (after > oldAfter) {
            listsOf(cells_[dir == down ? cellIndex(line, q) : cellIndex(q, line)])
                ->byRoomAfter.changeKey(static_cast<std::uint32_t>(key), oldAfter, after, slotAfter_);
            oldAfter = static_cast<std::int8_t>(after);
        }
    }
}

void CrossingGrid::commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex) {
    const int dir = at.down ? down : across;
    const int cross = 1 - dir;
    const int clue = at.start - 1;
    const int end = at.start + answer.length; // one past the last letter
    auto cellAt = [&](int p) { return at.down ? cellIndex(at.line, p) : cellIndex(p, at.line); };

    // Each changed cell lies on this line and on its own crossing line.
    LineBits written;   // positions along the line that were free before
    LineBits unblocked; // of those, the ones that could not take a letter along their crossing line
    for (int p = at.start; p < end; ++p) {
        std::int32_t &cell = cells_[static_cast<std::size_t>(cellAt(p))];
        if (isFreeCell(cell)) {
            cell = answer.value[static_cast<std::size_t>(p - at.start)];
            written.set(p);
            if (!placeable_[cross][p].test(at.line))
                unblocked.set(p);
            free_[cross][p].reset(at.line);
            letter_[cross][p].set(at.line);
            placeable_[cross][p].reset(at.line);
            if (p > 0)
                placeable_[cross][p - 1].reset(at.line);
            if (p + 1 < gridSize)
                placeable_[cross][p + 1].reset(at.line);
        } else if (crossable_[cross][p].test(at.line)) {
            removeCrossable(cross, p, at.line); // now in two answers
        }
    }
    cells_[static_cast<std::size_t>(cellAt(clue))] = clueCellValue(entryIndex, at.down);
    free_[cross][clue].reset(at.line);
    placeable_[cross][clue].reset(at.line);
    const LineBits changed = written | LineBits::range(clue, clue);
    free_[dir][at.line] = without(free_[dir][at.line], changed);
    letter_[dir][at.line] = letter_[dir][at.line] | written;
    placeable_[dir][at.line] = without(placeable_[dir][at.line], changed);
    if (at.line > 0)
        placeable_[dir][at.line - 1] = without(placeable_[dir][at.line - 1], written);
    if (at.line + 1 < gridSize)
        placeable_[dir][at.line + 1] = without(placeable_[dir][at.line + 1], written);

    // The new letters can be crossed across this line. The rooms of the cells already crossable stay
    // bounds, with one exception: a free cell that could not take a letter along its crossing line
    // ended the room after of the crossable cells before it there, and as a letter it no longer does.
    for (LineBits cells = written; !cells.none(); cells.resetLowest())
        addCrossable(cross, cells.lowest(), at.line);
    for (; !unblocked.none(); unblocked.resetLowest())
        widenRoomsAfter(cross, unblocked.lowest(), at.line);

    // The clue cell and the last letter span the answer's cells.
    const int x0 = at.down ? at.line : clue;
    const int y0 = at.down ? clue : at.line;
    const int x1 = at.down ? at.line : end - 1;
    const int y1 = at.down ? end - 1 : at.line;
    if (usedCells_ == 0) {
        minX_ = x0;
        minY_ = y0;
        maxX_ = x1;
        maxY_ = y1;
    } else {
        minX_ = std::min(minX_, x0);
        minY_ = std::min(minY_, y0);
        maxX_ = std::max(maxX_, x1);
        maxY_ = std::max(maxY_, y1);
    }
    usedCells_ += written.count() + 1;
}

bool CrossingGrid::firstCrossingFits(std::uint32_t cellKey, int j, const FastAnswer &answer,
                                     Placement &at) const {
    const int key = static_cast<int>(cellKey);
    const int dir = key / gridCells;
    const int line = key / gridSize % gridSize;
    const int p = key % gridSize;
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
    const LineBits &placeable = placeable_[dir][line];
    if (!covers(placeable, LineBits::range(start, p - 1)))
        return false;
    LineBits others = without(LineBits::range(p + 1, end - 1), placeable);
    while (!others.none()) {
        const int q = others.lowest();
        others.resetLowest();
        const std::int32_t v = cells_[dir == down ? cellIndex(line, q) : cellIndex(q, line)];
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
        const int count = countWithRoomBefore(letter, j);
        for (int i = 0; i < count; ++i)
            if (firstCrossingFits(withRoomBefore(letter, j, i), j, answer, at))
                fits.push_back(at);
    }
}
