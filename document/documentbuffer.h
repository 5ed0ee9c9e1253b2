#pragma once

#include "documentreader.h"
#include "puzzledocument.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// Documents held in memory, for callers that build, check or change stored bytes without a file.

// Reads a document from bytes exactly as readDocument reads it from a device.
DocumentReadResult readDocumentBytes(const QByteArray &bytes, std::int32_t maxWordRows = anyWordRows);

// The bytes writeDocument writes for the document. Empty, with a German message in *error (may be
// null), when a field cannot be stored.
QByteArray documentToBytes(const PuzzleDocument &document, QString *error);
