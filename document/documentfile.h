#pragma once

#include "documentreader.h"

#include <QString>

// The most word rows that "Öffnen..." takes into the word table; every reader of documents for the
// user (the window and the command line) keeps to it.
constexpr std::int32_t maxOpenedWordRows = 1000000;

// Saves the document to path through a SafeFile: an existing plain file is replaced only when
// everything was written and stays as it was after any failure; a character device or pipe at path is
// written straight into, never replaced; a folder, block device or socket is refused. False, with the
// SafeFile's German message naming the file and the reason in *error (may be null).
bool saveDocument(const QString &path, const PuzzleDocument &document, QString *error);

// Reads the whole document at path with read access only. A file that does not exist or cannot be
// read, something that is no plain file (a folder, a device, a pipe, which could block or never end),
// a file that is no valid document and one of more than maxWordRows word rows (refused at its row
// count, before any row is read) fail with a German message naming the file and the reason in error
// (the reason alone in reason).
DocumentReadResult loadDocument(const QString &path, std::int32_t maxWordRows = maxOpenedWordRows);
