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
}

void CrossingGrid::reset() {
    cells_.fill(cellFree);
    for (int dir = 0; dir < 2; ++dir)
        for (int line = 0; line < gridSize; ++line) {
            free_[dir][line] = LineBits::full();
            placeable_[dir][line] = LineBits::full();
            letter_[dir][line] = LineBits();
            crossable_[dir][line] = LineBits();
        }
    for (LetterLists &l : lists_) {
        l.byRoomBefore.clear();
        l.byRoomAfter.clear();
    }
}

int CrossingGrid::roomBefore(int dir, int line, int p, const LineBits &placeable) const {
    // Placeable cells back to the clue cell, which only has to be free.
    const LineBits blocked = without(LineBits::range(0, p - 1), placeable);
    if (blocked.none())
        return std::min(p - 1, roomLimit_);
    const int b = blocked.highest();
    return std::min(free_[dir][line].test(b) ? p - 1 - b : p - 2 - b, roomLimit_);
}

int CrossingGrid::roomAfter(int dir, int line, int p, const LineBits &placeable) const {
    // Placeable cells and letter cells (which may be crossed too) up to the first other cell.
    const LineBits barrier =
        without(without(LineBits::range(p + 1, gridSize - 1), placeable), letter_[dir][line]);
    return std::min(barrier.none() ? gridSize - 1 - p : barrier.lowest() - 1 - p, roomLimit_);
}

void CrossingGrid::addCrossable(int dir, int line, int p) {
    const LineBits &placeable = placeable_[dir][line];
    const int before = roomBefore(dir, line, p, placeable);
    if (before < 0)
        return;
    const int after = roomAfter(dir, line, p, placeable);
    const int key = dir * gridCells + line * gridSize + p;
    LetterLists *lists = listsOf(cells_[dir == down ? cellIndex(line, p) : cellIndex(p, line)]);
    if (!lists)
        return; // no answer can cross this letter
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

CrossingGrid::Changes::Changes(int fromPosition, int toPosition, int roomLimit)
    : from(fromPosition), to(toPosition),
      window(LineBits::range(std::max(from - roomLimit - 1, 0), std::min(to + roomLimit + 2, gridSize - 1))),
      before(LineBits::range(0, from - 1)), inside(LineBits::range(from, to)),
      behind(LineBits::range(to + 1, gridSize - 1)) {}

void CrossingGrid::refreshLine(int dir, int line, const Changes &changes) {
    if (line < 0 || line >= gridSize)
        return;
    const LineBits cells = crossable_[dir][line] & changes.window;
    if (cells.none())
        return;
    // Cells only become less usable, so every changed cell now blocks the room before the cells behind
    // it: of those only the first crossable cell, if nothing else blocks in between, can see a change
    // (a crossable cell is a letter, which blocks too). The room after of a cell before the changes
    // runs on over letters, up to the first other cell that is not placeable: all crossable cells back
    // to the last such cell before the changes may see one. Rooms held at their limit do not change
    // outside the window.
    const LineBits &placeable = placeable_[dir][line];
    const int base = dir * gridCells + line * gridSize;
    if (!(cells & changes.behind).none()) {
        const int p = without(changes.behind, placeable).lowest(); // exists: crossable cells are letters
        if (cells.test(p))
            updateRooms(dir, line, p, base + p, roomBefore(dir, line, p, placeable),
                        roomAfter_[static_cast<std::size_t>(base + p)]);
    }
    LineBits left = cells & changes.before;
    if (!left.none()) {
        const LineBits barriers = without(without(changes.before, placeable), letter_[dir][line]);
        if (!barriers.none())
            left = left & LineBits::range(barriers.highest() + 1, changes.from - 1);
        for (; !left.none(); left.resetLowest()) {
            const int p = left.lowest();
            updateRooms(dir, line, p, base + p, roomBefore_[static_cast<std::size_t>(base + p)],
                        roomAfter(dir, line, p, placeable));
        }
    }
    for (LineBits inside = cells & changes.inside; !inside.none(); inside.resetLowest()) {
        const int p = inside.lowest();
        updateRooms(dir, line, p, base + p, roomBefore(dir, line, p, placeable),
                    roomAfter(dir, line, p, placeable));
    }
}

void CrossingGrid::updateRooms(int dir, int line, int p, int key, int before, int after) {
    if (before < 0) {
        removeCrossable(dir, line, p);
        return;
    }
    std::int8_t &oldBefore = roomBefore_[static_cast<std::size_t>(key)];
    std::int8_t &oldAfter = roomAfter_[static_cast<std::size_t>(key)];
    if (before == oldBefore && after == oldAfter)
        return;
    LetterLists *lists = listsOf(cells_[dir == down ? cellIndex(line, p) : cellIndex(p, line)]);
    if (before != oldBefore) {
        lists->byRoomBefore.changeKey(static_cast<std::uint32_t>(key), oldBefore, before, slotBefore_);
        oldBefore = static_cast<std::int8_t>(before);
    }
    if (after != oldAfter) {
        lists->byRoomAfter.changeKey(static_cast<std::uint32_t>(key), oldAfter, after, slotAfter_);
        oldAfter = static_cast<std::int8_t>(after);
    }
}

int CrossingGrid::commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex) {
    const int dir = at.down ? down : across;
    const int cross = 1 - dir;
    const int clue = at.start - 1;
    const int end = at.start + answer.length; // one past the last letter
    auto cellAt = [&](int p) { return at.down ? cellIndex(at.line, p) : cellIndex(p, at.line); };

    // Each changed cell lies on this line and on its own crossing line.
    LineBits written; // positions along the line that were free before
    for (int p = at.start; p < end; ++p) {
        std::int32_t &cell = cells_[static_cast<std::size_t>(cellAt(p))];
        if (isFreeCell(cell)) {
            cell = answer.value[static_cast<std::size_t>(p - at.start)];
            written.set(p);
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

    // The lines beside the changed cells see new letters; crossed cells changed nothing.
    const Changes alongLine(clue, end - 1, roomLimit_);
    for (int line = at.line - 1; line <= at.line + 1; ++line)
        refreshLine(dir, line, alongLine);
    const Changes acrossLines(at.line, at.line, roomLimit_);
    for (LineBits lines = changed | neighbours(written); !lines.none(); lines.resetLowest()) {
        const int line = lines.lowest();
        refreshLine(cross, line, acrossLines);
        if (written.test(line))
            addCrossable(cross, line, at.line);
    }
    return written.count() + 1;
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
