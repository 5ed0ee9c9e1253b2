#pragma once

#include "puzzledocument.h"

#include <QString>

class QIODevice;

// Writes the whole document to an open device: N and the N word rows, the title, the two switches,
// the six numbers as f64, the clue-cell switch, the 40,000-byte grid column by column, the clue and
// title fonts, M and the M entries, then the trailer when any setting needs one (documenttrailer.h).
// Nothing else, and nothing in between. False, with a German
// message in *error (may be null), when a field cannot be stored or the device refuses the bytes;
// the device may then hold part of the document, so files are written through saveDocument.
bool writeDocument(QIODevice &device, const PuzzleDocument &document, QString *error);
