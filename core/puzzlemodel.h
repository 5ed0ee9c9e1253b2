#pragma once

#include "dynaarray.h"
#include "grid.h"
#include "puzzleentry.h"

#include <cstdint>
#include <string>

// The puzzle the window holds: the entry list raten with its cursor arat, and the working grid feld.
// The renderer draws from feld alone and fetches clue texts from the entries its clue cells name.
class PuzzleModel {
public:
    PuzzleModel();
    ~PuzzleModel();
    PuzzleModel(const PuzzleModel &) = delete;
    PuzzleModel &operator=(const PuzzleModel &) = delete;

    // Releases both texts of every entry, then empties the list.
    void FreeRaten();
    // Adds an entry with copies of both texts and makes it current; null when no memory was left.
    TPuzzleEntry *AddEntry(const std::u16string &clue, const std::u16string &answer);
    // Gives the current entry's text field a fresh zero-terminated copy of text. The field must not
    // hold a buffer of its own yet (a record fresh from Add).
    static void SetEntryText(char16_t *&target, const std::u16string &text);

    // The entry a clue cell names, made current; null when its index is not below the entry count.
    TPuzzleEntry *entryOfClueCell(std::int32_t cellValue);
    // Entry i made current; i must be below entryCount().
    TPuzzleEntry *entry(std::uint32_t i) { return static_cast<TPuzzleEntry *>(raten.GetObject(i)); }
    // Entry i, left as it is and without moving the cursor; i must be below entryCount().
    const TPuzzleEntry *entryAt(std::uint32_t i) const {
        return static_cast<const TPuzzleEntry *>(raten.block()) + i;
    }
    std::uint32_t entryCount() const { return raten.count(); }

    // Replaces the entries and the grid by those of other, which is left empty.
    void takeOver(PuzzleModel &other);

    TPuzzleEntry *arat = nullptr;
    TDynaArray raten;
    Grid feld{}; // all 0 before the first generation: letter cells without letters
};

// Length of a zero-terminated UTF-16 text; 0 for null.
std::size_t entryTextLength(const char16_t *text);
// The text of a zero-terminated buffer as a string; empty for null.
std::u16string entryText(const char16_t *text);
