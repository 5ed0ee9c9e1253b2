#pragma once

#include "documentreader.h"

#include <QString>

// Saves the document to path through a temporary file that replaces path only when everything was
// written, so an existing file stays as it was after any failure. False, with a German message naming
// the file and the reason in *error (may be null), when the file cannot be created or written.
bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error);

// Reads the whole document at path with read access only. A file that does not exist or cannot be
// read, and a file that is no valid document, fail with a German message naming the file and the
// reason in error (the reason alone in reason).
DocumentReadResult loadDocument(const QString &path);
