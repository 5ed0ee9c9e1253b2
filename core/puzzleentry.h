#pragma once

#include <cstdint>

// One clue/answer pair of the puzzle with the generator's placement fields. The two texts are
// zero-terminated UTF-16 buffers owned by the entry and released by PuzzleModel::releaseEntries.
// Field order and widths follow the entry's 28-byte document image; on a 64-bit build the two
// pointers make the record larger in memory.
struct TPuzzleEntry {
    char16_t *clue;
    char16_t *answer;
    std::uint8_t spare;
    std::uint8_t down; // 1: the answer runs down; 0: across
    std::uint8_t done; // generator bookkeeping: placed, given up or under trial in this run
    std::uint8_t padding;
    std::int32_t tries;     // failed rounds in the current generator run
    std::int32_t line;      // column of a down answer, row of an across answer
    std::int32_t start;     // position of the first letter along that line
    std::int32_t arrowkind; // 0: clue cell directly before the first letter
};
