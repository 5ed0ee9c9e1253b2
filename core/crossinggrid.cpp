#include "crossinggrid.h"

#include <algorithm>

CrossingGrid::CrossingGrid(int roomLimit, const std::vector<std::int32_t> &letters, int roomsAfterFrom)
    : roomLimit_(std::min(std::max(roomLimit, 0), static_cast<int>(RankedList::maxKey))),
      roomsAfterFrom_(roomsAfterFrom), slots_(2 * gridCells, -1) {
    listOf_.fill(-1);
    for (std::int32_t letter : letters)
        if (letter >= 0 && letter <= maxLetterCode && listOf_[static_cast<std::size_t>(letter)] < 0) {
            listOf_[static_cast<std::size_t>(letter)] = static_cast<std::int16_t>(byRoomBefore_.size());
            byRoomBefore_.emplace_back();
        }
    clueCells_.reserve(gridCells / 2);
    letters_.fill(cellFree);
    roomBefore_.fill(-1);
    roomAfter_.fill(-1);
    for (int dir = 0; dir < 2; ++dir)
        resetLines(dir, 0, gridSize - 1);
}

void CrossingGrid::resetLines(int dir, int first, int last) {
    for (int line = std::max(first, 0); line <= std::min(last, gridSize - 1); ++line)
        lines_[dir][line] = LineState{LineBits::full(), LineBits(), LineBits::full(), LineBits()};
}

void CrossingGrid::reset() {
    // Only the bounding box of the used cells holds anything, and only the lines through it and beside
    // it have bits cleared.
    if (usedCells_ > 0) {
        const int height = maxY_ - minY_ + 1;
        for (int x = minX_; x <= maxX_; ++x) {
            std::fill_n(letters_.begin() + cellIndex(x, minY_), height, static_cast<std::uint8_t>(cellFree));
        }
        resetLines(down, minX_ - 1, maxX_ + 1);
        resetLines(across, minY_ - 1, maxY_ + 1);
        usedCells_ = 0;
    }
    clueCells_.clear();
    for (RankedList &l : byRoomBefore_)
        l.clear();
    for (RoomTable &t : byRooms_)
        t.clear();
    roomsAfterKept_ = false;
}

Grid CrossingGrid::cells() const {
    Grid grid;
    for (std::size_t cell = 0; cell < grid.size(); ++cell)
        grid[cell] = letters_[cell];
    for (const auto &clue : clueCells_)
        grid[static_cast<std::size_t>(clue.first)] = clue.second;
    return grid;
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

inline int CrossingGrid::roomBefore(int dir, int line, int p) const {
    // Placeable cells back to the clue cell, which only has to be free.
    const LineBits blocked = without(LineBits::range(0, p - 1), lines_[dir][line].placeable);
    if (blocked.none())
        return std::min(p - 1, roomLimit_);
    const int b = blocked.highest();
    return std::min(lines_[dir][line].free.test(b) ? p - 1 - b : p - 2 - b, roomLimit_);
}

inline int CrossingGrid::roomAfter(int dir, int line, int p) const {
    // Placeable cells and letter cells (which may be crossed too) up to the first other cell.
    const LineBits barrier = without(
        without(LineBits::range(p + 1, gridSize - 1), lines_[dir][line].placeable), lines_[dir][line].letter);
    return std::min(barrier.none() ? gridSize - 1 - p : barrier.lowest() - 1 - p, roomLimit_);
}

inline void CrossingGrid::addCrossable(int dir, int line, int p) {
    const int cell = lineCell(dir, line, p);
    const int list = listOfCell(cell);
    if (list < 0)
        return; // no answer can cross this letter
    const int before = roomBefore(dir, line, p);
    if (before < 0)
        return;
    const std::uint32_t key = keyOf(dir, line, p);
    roomBefore_[static_cast<std::size_t>(cell)] = static_cast<std::int8_t>(before);
    lines_[dir][line].crossable.set(p);
    if (roomsAfterKept_) {
        const int after = roomAfter(dir, line, p);
        byRooms_[static_cast<std::size_t>(list)].insert(key, before, after, slots_);
        roomAfter_[static_cast<std::size_t>(cell)] = static_cast<std::int8_t>(after);
    } else {
        byRoomBefore_[static_cast<std::size_t>(list)].insert(key, before, slots_);
    }
}

void CrossingGrid::keepRoomsAfter() {
    byRooms_.resize(byRoomBefore_.size());
    for (int dir = 0; dir < 2; ++dir)
        for (int line = 0; line < gridSize; ++line)
            for (LineBits cells = lines_[dir][line].crossable; !cells.none(); cells.resetLowest()) {
                const int p = cells.lowest();
                const int cell = lineCell(dir, line, p);
                const int after = roomAfter(dir, line, p);
                byRooms_[static_cast<std::size_t>(listOfCell(cell))].putUncounted(
                    keyOf(dir, line, p), roomBefore_[static_cast<std::size_t>(cell)], after, slots_);
                roomAfter_[static_cast<std::size_t>(cell)] = static_cast<std::int8_t>(after);
            }
    for (RoomTable &t : byRooms_)
        t.countAll();
    for (RankedList &l : byRoomBefore_)
        l.clear();
    roomsAfterKept_ = true;
}

void CrossingGrid::removeCrossable(int dir, int line, int p) {
    const int cell = lineCell(dir, line, p);
    const std::uint32_t key = keyOf(dir, line, p);
    const std::size_t list = static_cast<std::size_t>(listOfCell(cell));
    if (roomsAfterKept_)
        byRooms_[list].remove(key, roomBefore_[static_cast<std::size_t>(cell)],
                              roomAfter_[static_cast<std::size_t>(cell)], slots_);
    else
        byRoomBefore_[list].remove(key, roomBefore_[static_cast<std::size_t>(cell)], slots_);
    lines_[dir][line].crossable.reset(p);
}

inline void CrossingGrid::setRooms(std::uint32_t key, int cell, int before, int after) {
    const std::size_t list = static_cast<std::size_t>(listOfCell(cell));
    std::int8_t &oldBefore = roomBefore_[static_cast<std::size_t>(cell)];
    if (!roomsAfterKept_) {
        byRoomBefore_[list].changeKey(key, oldBefore, before, slots_);
        oldBefore = static_cast<std::int8_t>(before);
        return;
    }
    std::int8_t &oldAfter = roomAfter_[static_cast<std::size_t>(cell)];
    byRooms_[list].move(key, oldBefore, oldAfter, before, after, slots_);
    oldBefore = static_cast<std::int8_t>(before);
    oldAfter = static_cast<std::int8_t>(after);
}

void CrossingGrid::refreshRooms(std::uint32_t cellKey) {
    const KeyPlace at = placeOf(cellKey);
    if (!lines_[at.dir][at.line].crossable.test(at.p))
        return;
    const int before = roomBefore(at.dir, at.line, at.p);
    if (before < 0) {
        removeCrossable(at.dir, at.line, at.p);
        return;
    }
    setRooms(cellKey, static_cast<int>(cellKey >> 1), before,
             roomsAfterKept_ ? roomAfter(at.dir, at.line, at.p) : 0);
}

void CrossingGrid::widenRoomsAfter(int dir, int line, int p) {
    // Rooms are capped at the room limit, so cells further back than that do not see the change.
    LineBits cells = lines_[dir][line].crossable & LineBits::range(std::max(p - roomLimit_ - 1, 0), p - 1);
    if (cells.none())
        return;
    const LineBits barriers =
        without(without(LineBits::range(0, p - 1), lines_[dir][line].placeable), lines_[dir][line].letter);
    if (!barriers.none())
        cells = cells & LineBits::range(barriers.highest() + 1, p - 1);
    for (; !cells.none(); cells.resetLowest()) {
        const int q = cells.lowest();
        const int cell = lineCell(dir, line, q);
        const int after = roomAfter(dir, line, q);
        if (after > roomAfter_[static_cast<std::size_t>(cell)])
            setRooms(keyOf(dir, line, q), cell, roomBefore_[static_cast<std::size_t>(cell)], after);
    }
}

void CrossingGrid::commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex) {
    const int dir = at.down ? down : across;
    const int cross = 1 - dir;
    const int clue = at.start - 1;
    const int end = at.start + answer.length; // one past the last letter

    // Each changed cell lies on this line and on its own crossing line.
    const LineBits wasFree = lines_[dir][at.line].free;
    LineBits written; // positions along the line that were free before
    for (int p = at.start; p < end; ++p) {
        const int cell = lineCell(dir, at.line, p);
        if (wasFree.test(p)) {
            const std::int32_t value = answer.value[static_cast<std::size_t>(p - at.start)];
            letters_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(value);
            written.set(p);
            lines_[cross][p].free.reset(at.line);
            lines_[cross][p].letter.set(at.line);
            lines_[cross][p].placeable.reset(at.line);
            if (p > 0)
                lines_[cross][p - 1].placeable.reset(at.line);
            if (p + 1 < gridSize)
                lines_[cross][p + 1].placeable.reset(at.line);
            // The new letter can be crossed across this line. Its room before lies on its crossing
            // line, where no other cell of this answer is.
            addCrossable(cross, p, at.line);
        } else if (lines_[cross][p].crossable.test(at.line)) {
            removeCrossable(cross, p, at.line); // now in two answers
        }
    }
    clueCells_.emplace_back(lineCell(dir, at.line, clue), clueCellValue(entryIndex, at.down));
    lines_[cross][clue].free.reset(at.line);
    lines_[cross][clue].placeable.reset(at.line);
    // A free cell beside a letter of this line could not take a letter along its crossing line.
    LineBits unblocked = written & neighbours(lines_[dir][at.line].letter);
    const LineBits changed = written | LineBits::range(clue, clue);
    lines_[dir][at.line].free = without(lines_[dir][at.line].free, changed);
    lines_[dir][at.line].letter = lines_[dir][at.line].letter | written;
    lines_[dir][at.line].placeable = without(lines_[dir][at.line].placeable, changed);
    if (at.line > 0)
        lines_[dir][at.line - 1].placeable = without(lines_[dir][at.line - 1].placeable, written);
    if (at.line + 1 < gridSize)
        lines_[dir][at.line + 1].placeable = without(lines_[dir][at.line + 1].placeable, written);

    // The rooms of the cells already crossable stay bounds, with one exception: a free cell that could
    // not take a letter along its crossing line ended the room after of the crossable cells before it
    // there, and as a letter it no longer does.
    if (roomsAfterKept_)
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
    if (!roomsAfterKept_ && usedCells_ >= roomsAfterFrom_)
        keepRoomsAfter();
}

CrossingGrid::CrossingTest CrossingGrid::testCrossing(std::uint32_t cellKey, int j, const FastAnswer &answer,
                                                      Placement &at) const {
    const KeyPlace crossing = placeOf(cellKey);
    const int dir = crossing.dir;
    const int line = crossing.line;
    const int p = crossing.p;
    const int start = p - j;
    const int end = start + answer.length; // one past the last letter
    const CrossingTest outOfRoomAfter =
        roomsAfterKept_ ? CrossingTest::outOfRoom : CrossingTest::otherConflict;
    if (start < 1)
        return CrossingTest::outOfRoom;
    if (end > gridSize)
        return outOfRoomAfter;
    const LineState &state = lines_[dir][line];
    if (!state.free.test(start - 1))
        return CrossingTest::outOfRoom; // the clue cell must be free
    if (end < gridSize && state.letter.test(end))
        return CrossingTest::otherConflict; // no letter right after the answer
    // Before the crossing every letter goes into a free cell (else this is not the first crossing);
    // after it each letter goes into a free cell or onto a cell holding that very letter.
    if (!covers(state.placeable, LineBits::range(start, p - 1)))
        return CrossingTest::outOfRoom;
    for (LineBits others = without(LineBits::range(p + 1, end - 1), state.placeable); !others.none();
         others.resetLowest()) {
        const int q = others.lowest();
        const int held = letters_[static_cast<std::size_t>(lineCell(dir, line, q))];
        if (held != answer.match[static_cast<std::size_t>(q - start)])
            return held == cellFree ? outOfRoomAfter : CrossingTest::otherConflict;
    }
    at = Placement{dir == down, line, start};
    return CrossingTest::fits;
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
