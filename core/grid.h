#pragma once

#include <array>
#include <cstdint>

// The 100 x 100 puzzle board, column by column: cell (x, y) is element x * gridSize + y.
constexpr int gridSize = 100;
constexpr int gridCells = gridSize * gridSize;
using Grid = std::array<std::int32_t, gridCells>;

// Cell encoding. Free is exactly 1; a letter cell is any other value up to 255 (the letter's code,
// 63 for codes above 255); a clue cell is any value above 255.
constexpr std::int32_t cellFree = 1;
constexpr std::int32_t maxLetterCode = 255;
constexpr std::int32_t unknownLetter = 63; // "?", stored for letters without a one-byte code
constexpr std::int32_t clueBase = 256;
constexpr std::int32_t clueIndexMask = 0xFFFFF;
constexpr std::int32_t clueDownBit = 0x40000000;
constexpr int arrowKindShift = 20;

constexpr int cellIndex(int x, int y) {
    return x * gridSize + y;
}

constexpr bool isFreeCell(std::int32_t v) {
    return v == cellFree;
}
constexpr bool isLetterCell(std::int32_t v) {
    return v != cellFree && v <= maxLetterCode;
}
constexpr bool isClueCell(std::int32_t v) {
    return v > maxLetterCode;
}

// Value stored in a letter cell for a UTF-16 code unit. Codes that a letter cell cannot hold are
// stored as "?": those above 255, and the free marker 1, which would otherwise leave a hole in
// the answer.
constexpr std::int32_t letterCellValue(char16_t letter) {
    return (letter > maxLetterCode || letter == cellFree) ? unknownLetter : static_cast<std::int32_t>(letter);
}

constexpr std::int32_t clueCellValue(std::uint32_t entryIndex, bool down, std::uint32_t arrowKind = 0) {
    return static_cast<std::int32_t>(clueBase + entryIndex + (arrowKind << arrowKindShift) +
                                     (down ? static_cast<std::uint32_t>(clueDownBit) : 0u));
}

constexpr std::uint32_t clueEntryIndex(std::int32_t v) {
    return (static_cast<std::uint32_t>(v) - static_cast<std::uint32_t>(clueBase)) &
           static_cast<std::uint32_t>(clueIndexMask);
}
constexpr bool clueRunsDown(std::int32_t v) {
    return (v & clueDownBit) != 0;
}
constexpr std::int32_t clueArrowKind(std::int32_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v & ~clueDownBit) >> arrowKindShift);
}

// A fresh grid with every cell free.
Grid freeGrid();
