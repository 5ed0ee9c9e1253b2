#pragma once

#include "documentreader.h"
#include "puzzledocument.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QString>

// A document read for drawing, as the window holds it after "Öffnen...".
struct OpenedPuzzle {
    PuzzleDocument document;
    PuzzleSettings settings; // the document's, its six numbers taken through the window's fields
    PuzzleModel model;       // the document's grid and entries
};

// Reads the document at path exactly as "Öffnen..." does (the same row limit and checks). The
// message is the window's, except that the runtime's "Read beyond end of file", which the window shows
// as it is, is said in German here.
DocumentReadResult readDocumentFile(const QString &path);

// Reads the document at path exactly as "Öffnen..." does (the same row limit and checks) into puzzle.
// False, with the German message on standard error, when it cannot be read or its entries do not fit
// into memory.
bool openPuzzle(const QString &path, OpenedPuzzle &puzzle);
