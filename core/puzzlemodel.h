#pragma once

#include "dynaarray.h"
#include "grid.h"
#include "puzzleentry.h"

#include <cstdint>
#include <string>

// The puzzle the window holds (its raten, arat and feld): the entry list with its cursor, and the working
// grid. The renderer only reads it: it draws from grid alone and fetches clue texts from the entries its clue
// cells name, without moving the cursor.
class PuzzleModel {
public:
    PuzzleModel();
    ~PuzzleModel();
    PuzzleModel(const PuzzleModel &) = delete;
    PuzzleModel &operator=(const PuzzleModel &) = delete;

    // Releases both texts of every entry, then empties the list.
    void releaseEntries();
    // Adds an entry with copies of both texts and makes it current; null when no memory was left.
    TPuzzleEntry *AddEntry(const std::u16string &clue, const std::u16string &answer);
    // Gives the current entry's text field a fresh zero-terminated copy of text. The field must not
    // hold a buffer of its own yet (a record fresh from Add).
    static void SetEntryText(char16_t *&target, const std::u16string &text);

    // The entry a clue cell names; null when its index is not below the entry count. The cursor stays.
    const TPuzzleEntry *entryOfClueCell(std::int32_t cellValue) const;
    // Entry i made current; i must be below entryCount().
    TPuzzleEntry *entry(std::uint32_t i) { return static_cast<TPuzzleEntry *>(entries.GetObject(i)); }
    // Entry i; the cursor stays. i must be below entryCount().
    const TPuzzleEntry &entryAt(std::uint32_t i) const {
        return *static_cast<const TPuzzleEntry *>(entries.record(i));
    }
    std::uint32_t entryCount() const { return entries.count(); }

    // Replaces the entries and the grid by those of other, which is left empty.
    void takeOver(PuzzleModel &other);

    // Gives every entry that a clue cell of grid names that cell's direction (down) and arrow kind;
    // when several cells name one entry, the last one column by column counts. Other entries keep
    // theirs; the last entry given a direction is current afterwards. Done wherever a grid comes in (a
    // generation, an opened document), so the entries that are saved agree with the grid that is drawn.
    void storeClueDirections();

    TPuzzleEntry *currentEntry = nullptr;
    TDynaArray entries;
    Grid grid{}; // all 0 before the first generation: letter cells without letters
};

// Length of a zero-terminated UTF-16 text; 0 for null.
std::size_t entryTextLength(const char16_t *text);
// The text of a zero-terminated buffer as a string; empty for null.
std::u16string entryText(const char16_t *text);
