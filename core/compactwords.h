#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A letter as the compact layout compares letters: a small number per distinct letter code that a cell
// can hold, so that two letters cross exactly when their symbols are equal.
using LetterSymbol = std::uint16_t;

// No letter in the cell.
constexpr LetterSymbol noSymbol = 0;
// A letter that no cell can hold as itself (code above 255, or the free marker 1): it is written as
// "?" and never crosses anything, not even another letter of the same code.
constexpr LetterSymbol uncrossableSymbol = 0xFFFF;

// One answer prepared for the compact layout.
struct CompactWord {
    std::u16string answer;
    std::vector<LetterSymbol> letters;
    // Each crossable symbol of the answer once, with the positions where it occurs.
    struct Occurrences {
        LetterSymbol symbol;
        std::vector<std::uint8_t> positions;
    };
    std::vector<Occurrences> crossable;

    int length() const { return static_cast<int>(letters.size()); }
};

// The answers of a generation as symbols. Symbols are numbered 1, 2, ... in the order in which
// their letters first occur, so the numbering depends on the answers alone.
struct CompactWords {
    explicit CompactWords(const std::vector<std::u16string> &answers);

    std::vector<CompactWord> words;
    int symbolCount = 0; // crossable symbols: 1 to symbolCount
};
