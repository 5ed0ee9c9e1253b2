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

// The letter cell values that some letter of the answers can cross, each once.
inline std::vector<std::int32_t> crossingLetters(const std::vector<FastAnswer> &answers) {
    std::vector<bool> seen(maxLetterCode + 1, false);
    std::vector<std::int32_t> letters;
    for (const FastAnswer &a : answers)
        for (std::int32_t letter : a.match)
            if (letter != noMatch && !seen[static_cast<std::size_t>(letter)]) {
                seen[static_cast<std::size_t>(letter)] = true;
                letters.push_back(letter);
            }
    return letters;
}

inline FastAnswer makeFastAnswer(const std::u16string &answer) {
    FastAnswer a;
    a.length = static_cast<int>(answer.size());
    for (char16_t c : answer) {
        a.value.push_back(letterCellValue(c));
        a.match.push_back(isLetterCell(c) ? static_cast<std::int32_t>(c) : noMatch);
    }
    return a;
}
