#pragma once

#include "puzzledocument.h"

#include <QString>

class QIODevice;

// The outcome of reading a document. document holds the whole document only when ok; on failure it
// is a default document and must not be used. Callers take a document over only after it was read
// completely.
struct DocumentReadResult {
    bool ok = false;
    QString error;  // German message; from loadDocument it names the file
    QString reason; // the cause alone, e.g. "Read beyond end of file"
    PuzzleDocument document;
};

// Reads a whole document from an open device, field by field in the order writeDocument writes.
// Fails with "Read beyond end of file" when the device ends inside a field, and with a German message
// for a negative count or one larger than the rest of the device can hold; neither allocates for such
// a count. Bytes after the last entry are ignored.
DocumentReadResult readDocument(QIODevice &device);
