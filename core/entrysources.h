#pragma once

#include "grid.h"
#include "wordtable.h"

#include <string>
#include <vector>

class PuzzleModel;

// The two texts of an entry, as the model or a document holds them.
struct EntryTexts {
    std::u16string clue;
    std::u16string answer;
};

// The texts of every entry of the model, in list order.
std::vector<EntryTexts> entryTextsOf(const PuzzleModel &model);

// The word-table row (1 and up) that each entry was collected from, or 0 for an entry that no row
// matches any more. Entries are matched to rows in order, as they were collected: an entry's row
// comes after the previous entry's, holds the same clue, and its answer is written as the entry's
// under one of the umlaut spellings or the first version's rule.
std::vector<int> entrySourceRows(const WordTable &table, const std::vector<EntryTexts> &entries);

// The word-table row (1 and up) of each entry found by its clue alone, or 0: entries are matched to
// the rows that can make an entry in order, each to the next such row after the previous entry's that
// holds the same clue. For what concerns the clue only, such as a clue too long for its cell; an entry
// whose row holds another clue by now gets 0.
std::vector<int> entryClueRows(const WordTable &table, const std::vector<std::u16string> &entryClues);

// Which entries a clue cell of grid names: placed[i] for entry i.
std::vector<bool> placedEntries(const Grid &grid, std::size_t entryCount);

// The word-table rows (1 and up, ascending) of the entries that no clue cell of grid names: the words
// a generation left out. Entries without a matching row are not counted.
std::vector<int> leftOutRows(const WordTable &table, const std::vector<EntryTexts> &entries,
                             const Grid &grid);
