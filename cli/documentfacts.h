#pragma once

#include "gridtext.h"
#include "puzzledocument.h"

#include <vector>

// Counts that describe a document's word table and grid.
struct DocumentFacts {
    int rows = 0;                 // word rows
    int nonEmptyRows = 0;         // word rows whose clue or answer is not empty
    int entries = 0;              // entries stored
    int clueCells = 0;            // cells above 255
    int placedEntries = 0;        // clue cells whose entry index is below the entry count
    int letterCells = 0;          // cells other than 1 up to 255
    int freeCells = 0;            // cells equal to 1
    GridExtent extent;            // one more than the largest column and row of a cell that is not free
    std::vector<int> leftOutRows; // word rows (1 and up) of the entries that no clue cell names
};

DocumentFacts documentFacts(const PuzzleDocument &document);
