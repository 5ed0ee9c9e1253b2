#pragma once

#include "answerrules.h"
#include "entrysources.h"
#include "grid.h"
#include "rowmarks.h"
#include "wordtable.h"

#include <QString>

#include <vector>

// What became of the words of the word table: which rows the puzzle left out, which make no entry
// and why, and the marks the table shows for them.
struct WordReport {
    RowMarks marks;
    std::vector<int> leftOut;  // word rows of entries that no clue cell names, ascending
    std::vector<int> unusable; // word rows that make no entry (a row without any text is no such row)
    int entries = 0;           // entries of the puzzle
    int placed = 0;            // entries that a clue cell names
};

// Checks every row of table as the next generation would collect it under spelling, and finds the
// rows of the puzzle's entries that grid leaves out.
WordReport reportWords(const WordTable &table, UmlautSpelling spelling,
                       const std::vector<EntryTexts> &entries, const Grid &grid);

// Why a row makes no entry, or what is worth knowing about its answer; empty when nothing is to say.
QString rowCheckText(const WordRowCheck &check);
