#pragma once

#include "puzzlemodel.h"
#include "wordtable.h"

#include <string>

// Upper-cases the 26 letters a to z and keeps every other code unit (ä, ö, ü and ß stay as they are).
std::u16string upperCaseAnswer(const std::u16string &answer);

// Rebuilds the entries from the word table: every row with a clue and an answer whose upper-cased
// form has at most 99 code units becomes an entry, in row order. Other rows are skipped silently.
void CollectEntries(const WordTable &table, PuzzleModel &model);
