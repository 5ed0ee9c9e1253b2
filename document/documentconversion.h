#pragma once

#include "puzzledocument.h"
#include "puzzlemodel.h"

// Gathers what "Speichern unter..." saves: word rows 1 to RowCount - 1 of the table, the settings as
// given, the entries' own texts and placement fields in list order, and grid. Only the entry list's
// cursor of the model changes.
PuzzleDocument makeDocument(const WordTable &table, const PuzzleSettings &settings, PuzzleModel &model);

// Replaces the model's entries and grid by the document's: every old entry is released, then each
// document entry is added in order with its placement fields and fresh copies of its texts, and grid
// is replaced whole; the entries the grid's clue cells name then take those cells' direction and
// arrow kind. False when memory ran out while adding entries; the model then holds the grid and the
// entries added so far.
bool applyDocumentToModel(const PuzzleDocument &document, PuzzleModel &model);

// The document's word rows as a word table.
VectorWordTable documentWordTable(const PuzzleDocument &document);
