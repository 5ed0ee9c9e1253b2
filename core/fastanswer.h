#pragma once

#include "grid.h"

#include <cstdint>
#include <string>
#include <vector>

// An answer prepared for the fast generator: per letter the cell value it writes and the cell value
// it can cross.
struct FastAnswer {
    int length = 0;
    std::vector<std::int32_t> value; // what the letter's cell receives (63 for codes it cannot hold)
    std::vector<std::int32_t> match; // the letter cell value that holds this letter, or noMatch
};

// A letter that no cell can hold (code above 255, or the free marker 1) never crosses anything.
constexpr std::int32_t noMatch = -1;

inline FastAnswer makeFastAnswer(const std::u16string &answer) {
    FastAnswer a;
    a.length = static_cast<int>(answer.size());
    for (char16_t c : answer) {
        a.value.push_back(letterCellValue(c));
        a.match.push_back(isLetterCell(c) ? static_cast<std::int32_t>(c) : noMatch);
    }
    return a;
}
