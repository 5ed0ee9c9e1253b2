#pragma once

#include "wordtable.h"

#include <string>
#include <vector>

// The word-table row (counted as the table counts them: row 0 is the header) that each entry was made
// from, in entry order: the n-th row that CollectEntries takes gives entry n. An entry whose row holds
// another clue by now (the table was edited after the puzzle was made), or that has no such row, gets
// row 0.
std::vector<int> entryTableRows(const WordTable &table, const std::vector<std::u16string> &entryClues);
