#pragma once

#include "documentreader.h"

#include <QString>

// Saves the document to path through a temporary file that replaces path only when everything was
// written, so an existing file stays as it was after any failure. A character device or pipe at path
// is written straight into, never replaced; a folder, block device or socket is refused. False, with a
// German message naming the file and the reason in *error (may be null), when the file cannot be
// created or written.
bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error);

// Reads the whole document at path with read access only. A file that does not exist or cannot be
// read, something that is no plain file (a folder, a device, a pipe, which could block or never end),
// a file that is no valid document and one of more than maxWordRows word rows fail with a German
// message naming the file and the reason in error (the reason alone in reason).
DocumentReadResult loadDocument(const QString &path, std::int32_t maxWordRows = anyWordRows);
