#pragma once

#include "puzzledocument.h"

class TMainForm;

// What "Speichern unter..." saves of the window: the word rows of StringGrid1 (an edit in progress
// counts with the text it shows), the settings as the controls report them, the two fonts, grid and
// the entries in list order, and the trailer records it keeps. Only the entry list's cursor
// currentEntry moves.
PuzzleDocument windowDocument(TMainForm &form);

// Puts a completely read document into the window, field by field in the order of the file: the word
// table gets the document's rows (rows.size() + 1 rows with the header), then the title, the switches,
// the six numbers through their fields (clamped, shown and used as shown), the clue-cell switch, the
// fonts through their dialogs, grid and the entries; then the view repaints at once. Each control
// raises its change as an edit would. False when memory ran out while the entries were added (the
// record list has reported it); the window then holds the new grid and the entries added so far.
bool showDocument(TMainForm &form, const PuzzleDocument &document);
