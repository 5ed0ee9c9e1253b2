#pragma once

#include "puzzledocument.h"

#include <QString>

#include <cstdint>
#include <limits>

class QIODevice;

// No limit on the word rows beyond what the device can hold.
constexpr std::int32_t anyWordRows = std::numeric_limits<std::int32_t>::max();

// The outcome of reading a document. document holds the whole document only when ok; on failure it
// is a default document and must not be used. Callers take a document over only after it was read
// completely.
struct DocumentReadResult {
    bool ok = false;
    QString error;            // German message; from loadDocument it names the file
    QString reason;           // the cause alone, e.g. "Read beyond end of file"
    bool tooManyRows = false; // the document is sound but holds more word rows than the caller takes
    PuzzleDocument document;
};

// Reads a whole document from an open device, field by field in the order writeDocument writes.
// Fails with "Read beyond end of file" when the device ends inside a field, and with a German message
// for a negative count, one larger than the rest of the device can hold, or a document that would
// pass maxDocumentBytes (256 MB); none of these allocates for such a count, so memory stays bounded
// also on endless devices. A document of more than maxWordRows word rows fails at its row count,
// before anything of its rows is read, with tooManyRows set. After the last entry an optional trailer
// (documenttrailer.h) is read and its records taken into the document; a damaged trailer fails the
// whole document. Other bytes after the last entry are ignored.
DocumentReadResult readDocument(QIODevice &device, std::int32_t maxWordRows = anyWordRows);
