#pragma once

#include "fastanswer.h"
#include "generatorstore.h"
#include "grid.h"
#include "linebits.h"
#include "placement.h"
#include "rankedlist.h"
#include "roomtable.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// The grid of one generator run together with what the fast generator needs to find crossings quickly:
// per line a bit for every free cell and every letter cell, and per letter value the letter cells that
// a new answer can still cross ("crossable cells").
//
// A letter cell can only be crossed by an answer running across the answer it belongs to (crossing
// along the same line always runs into that answer's clue cell or letters), and never once it lies in
// two answers.
//
// A crossing is a crossable cell together with a position j in an answer: the answer placed across
// that cell with letter j on it. Every valid placement that crosses something is reached by exactly one
// crossing, its first one: the crossable cell with all cells before it in the answer free.
//
// Each crossable cell keeps two bounds that hold for every valid placement with it as first crossing:
// room before (the most letters that fit before it: placeable cells back to a free cell for the clue)
// and room after (the most letters that fit after it: up to the next clue cell or free cell with a
// letter beside it). Cells only become less usable during a run, with one exception, so a room once
// measured stays a bound as the grid fills: a commit measures the rooms of the cells it adds and widens
// the rooms after that the exception widens (a free cell beside a letter, a barrier, becoming a letter
// itself); the others it leaves to refreshRooms, which the generator calls for the cells it found not
// to fit. A cell without room for a clue cell before it can never be crossed again and is dropped then.
class CrossingGrid {
public:
    // Only letter cells holding one of letters are kept as crossable: the letter cell values that the
    // answers can cross. Rooms are kept up to roomLimit (at most RankedList::maxKey): a larger room
    // counts as roomLimit, and asking for more room than that gets the cells with roomLimit, a
    // superset. The generator passes the longest answer's length - 1, so that no room it asks about is
    // cut.
    //
    // Rooms after are kept only once the run has used roomsAfterFrom cells: until then, asking for room
    // after gets all crossable cells of the letter, again a superset. While the grid is sparse, most
    // rooms after are wide, and telling the cells apart by them saves fewer tests of crossings than
    // keeping them costs; in a crowded grid it saves many (measured on lists of 100 to 999 words, from
    // about 3000 used cells on). Until then the crossable cells of a letter are grouped by room
    // before, from then on by both rooms.
    CrossingGrid(int roomLimit, const std::vector<std::int32_t> &letters,
                 int roomsAfterFrom = defaultRoomsAfterFrom);
    static constexpr int defaultRoomsAfterFrom = 3000;

    // Starts a run: all cells free, nothing to cross. Costs in proportion to the cells the last run used.
    void reset();

    // Writes the answer's letters and the clue cell of entry entryIndex, as commitPlacement does, and
    // brings the line bits and the crossable cells up to date.
    void commit(const FastAnswer &answer, const Placement &at, std::uint32_t entryIndex);

    // Measures the rooms of a crossable cell anew, given by its key; drops it when no crossing fits
    // there any more. Keys of cells that are no longer crossable are ignored.
    void refreshRooms(std::uint32_t cellKey);

    // Crossable cells holding the letter cell value letter (0 to 255) with room for at least n letters
    // before them (or for more than the room limit, when n exceeds it), and the i-th of them as an
    // opaque key for firstCrossingFits.
    int countWithRoomBefore(std::int32_t letter, int n) const { return countWithRooms(letter, n, 0); }
    std::uint32_t withRoomBefore(std::int32_t letter, int n, int i) const {
        return withRooms(letter, n, 0, i);
    }
    // The same for room after them (all crossable cells of the letter while its rooms after are not
    // kept).
    int countWithRoomAfter(std::int32_t letter, int n) const { return countWithRooms(letter, 0, n); }
    std::uint32_t withRoomAfter(std::int32_t letter, int n, int i) const {
        return withRooms(letter, 0, n, i);
    }
    // The same for both rooms at once.
    int countWithRooms(std::int32_t letter, int before, int after) const {
        const int l = listOf(letter);
        if (l < 0)
            return 0;
        before = std::min(before, roomLimit_);
        return roomsAfterKept_ ? countBoth(l, before, std::min(after, roomLimit_)) : countBefore(l, before);
    }
    std::uint32_t withRooms(std::int32_t letter, int before, int after, int i) const {
        const int l = listOf(letter);
        before = std::min(before, roomLimit_);
        return roomsAfterKept_ ? findBoth(l, before, std::min(after, roomLimit_), i)
                               : findBefore(l, before, i);
    }

    // The same for callers that ask often, by the number of the list of a letter cell value (-1 for a
    // letter that no answer crosses) and rooms from 0 to roomLimit(): by room before while the rooms
    // after are not kept, by both rooms once they are.
    int listOf(std::int32_t letter) const {
        return letter < 0 || letter > maxLetterCode ? -1 : listOf_[static_cast<std::size_t>(letter)];
    }
    int countBefore(int list, int n) const {
        return byRoomBefore_[static_cast<std::size_t>(list)].countFrom(n);
    }
    std::uint32_t findBefore(int list, int n, int i) const {
        return byRoomBefore_[static_cast<std::size_t>(list)].atLeast(n, i);
    }
    int countBoth(int list, int before, int after) const {
        return byRooms_[static_cast<std::size_t>(list)].count(before, after);
    }
    std::uint32_t findBoth(int list, int before, int after, int i) const {
        return byRooms_[static_cast<std::size_t>(list)].find(before, after, i);
    }
    bool roomsAfterKept() const { return roomsAfterKept_; }
    int roomLimit() const { return roomLimit_; }

    // The key of the cell at position p of the placement's line, as a crossing of that placement.
    static std::uint32_t crossingKey(const Placement &at, int p) {
        return keyOf(at.down ? down : across, at.line, p);
    }

    // Whether the answer with letter j on the crossable cell is a valid placement (no conflict under the
    // placement rules) whose first crossing this is; if so, at receives it. Answers whose letter j does
    // not match the cell must not be asked about.
    bool firstCrossingFits(std::uint32_t cellKey, int j, const FastAnswer &answer, Placement &at) const {
        return testCrossing(cellKey, j, answer, at) == CrossingTest::fits;
    }
    // The same, telling a conflict that the rooms kept for the cell might have foreseen (a cell that
    // cannot take a letter, or the edge of the grid; after the crossing only while rooms after are
    // kept) from one that they cannot (a letter right after the answer, or another letter in its way).
    enum class CrossingTest { fits, outOfRoom, otherConflict };
    CrossingTest testCrossing(std::uint32_t cellKey, int j, const FastAnswer &answer, Placement &at) const;

    // Whether the rooms kept for a crossable cell allow needBefore letters before it and needAfter
    // after it (the rooms after only while they are kept); when not, no placement with this first
    // crossing fits.
    bool roomsAllow(std::uint32_t cellKey, int needBefore, int needAfter) const {
        const std::size_t cell = cellKey >> 1;
        return roomBefore_[cell] >= needBefore && (!roomsAfterKept_ || roomAfter_[cell] >= needAfter);
    }

    // Appends every valid placement of the answer that crosses something, each exactly once.
    void collectFits(const FastAnswer &answer, std::vector<Placement> &fits) const;

    // The grid's cells, built from the letters and clue cells kept.
    Grid cells() const;
    // The used cells of the grid and their bounding box.
    RunFigures figures() const;

private:
    static constexpr int across = 0;
    static constexpr int down = 1;

    // The list number of the letter in a cell, -1 when no answer crosses it.
    int listOfCell(int cell) const { return listOf(letters_[static_cast<std::size_t>(cell)]); }

    // A crossable cell is keyed by its cell index and the direction it is crossed in. A letter cell is
    // crossed in one direction only, so the arrays by cell below serve both.
    static std::uint32_t keyOf(int dir, int line, int p) {
        return static_cast<std::uint32_t>(lineCell(dir, line, p) * 2 + dir);
    }
    static int lineCell(int dir, int line, int p) {
        return dir == down ? cellIndex(line, p) : cellIndex(p, line);
    }
    // The direction, line and position of a key.
    struct KeyPlace {
        int dir;
        int line;
        int p;
    };
    static KeyPlace placeOf(std::uint32_t key) {
        const int dir = static_cast<int>(key & 1);
        const int cell = static_cast<int>(key >> 1);
        const int x = cell / gridSize;
        const int y = cell % gridSize;
        return dir == down ? KeyPlace{dir, x, y} : KeyPlace{dir, y, x};
    }

    // Room before position p of the line (-1 when no crossing fits there) and room after it.
    int roomBefore(int dir, int line, int p) const;
    int roomAfter(int dir, int line, int p) const;
    void addCrossable(int dir, int line, int p);
    void removeCrossable(int dir, int line, int p);
    // Gives the crossable cell of key new rooms; it must stay crossable. after is ignored while the
    // rooms after are not kept.
    void setRooms(std::uint32_t key, int cell, int before, int after);
    // Starts keeping the rooms after of every crossable cell.
    void keepRoomsAfter();
    // Brings the room after of the crossable cells before position p of a line up to date after the cell
    // at p, a barrier so far, became a letter cell: the only change that can widen a room.
    void widenRoomsAfter(int dir, int line, int p);
    // Frees the lines from first to last of one direction.
    void resetLines(int dir, int first, int last);

    int roomLimit_;
    int roomsAfterFrom_;
    bool roomsAfterKept_ = false;
    std::vector<std::pair<int, std::int32_t>> clueCells_; // (cell, value) of every clue cell written
    // Per cell: its letter cell value, or cellFree for every other cell, which no letter matches.
    std::array<std::uint8_t, gridCells> letters_;
    int usedCells_ = 0;
    int minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0; // bounding box of the used cells, when there are any
    // What a crossing test looks up about one line, in one cache line: bit p stands for the cell at
    // position p along the line.
    struct alignas(64) LineState {
        LineBits free;      // the cell is free
        LineBits letter;    // the cell is a letter cell
        LineBits placeable; // a letter may go there: free, with no letter beside it across the line
        LineBits crossable; // the cell can be crossed along the line
    };
    LineState lines_[2][gridSize];                       // [dir][line]
    std::array<std::int16_t, maxLetterCode + 1> listOf_; // per letter cell value: its lists, or -1
    // Per letter cell value that can be crossed, its crossable cells: by room before until the rooms after
    // are kept, then by both rooms (the tables made when a run first keeps them).
    std::vector<RankedList> byRoomBefore_;
    std::vector<RoomTable> byRooms_;
    RankedList::Slots slots_;                       // per key: index in its group of the list it is in
    std::array<std::int8_t, gridCells> roomBefore_; // per cell that is crossable
    std::array<std::int8_t, gridCells> roomAfter_;
};
