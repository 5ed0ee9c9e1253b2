#pragma once

#include "answerrules.h"
#include "puzzlemodel.h"
#include "wordtable.h"

// Rebuilds the entries from the word table: every row that checkWordRow accepts becomes an entry, in
// row order, with the clue as typed and the answer as the puzzle writes it. Other rows make no entry.
void CollectEntries(const WordTable &table, PuzzleModel &model, UmlautSpelling spelling);
