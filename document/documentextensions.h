#pragma once

#include "documenttrailer.h"
#include "puzzledocument.h"

#include <QString>

#include <string>
#include <vector>

class RecordReader;
class RecordWriter;

// A setting that the original format has no room for, kept as one record of the document's trailer.
// present tells whether the document's value differs from the default: only then is the record
// written, so a document that uses nothing new keeps the original bytes. write stores the value as
// the record's payload; read takes it back from a payload (bytes after what it reads are ignored)
// and fails the reader on a payload it cannot understand.
struct DocumentExtension {
    const char *tag; // four characters, A-Z and 0-9
    bool (*present)(const PuzzleDocument &document);
    void (*write)(RecordWriter &payload, const PuzzleDocument &document);
    bool (*read)(RecordReader &payload, PuzzleDocument &document);
};

// Every extension this program knows, in the order their records are written.
const std::vector<DocumentExtension> &documentExtensions();

// The trailer records of a document: one for each known extension that is present, in table order,
// then the records of unknown tags that reading kept, in their stored order.
std::vector<TrailerRecord> extensionRecords(const PuzzleDocument &document);

// Takes records read from a trailer into the document: a known tag sets its setting (a later record
// of the same tag wins), an unknown one is kept in document.keptExtensions to be written back. False,
// with a German message in *error, when a known record's payload cannot be understood.
bool takeExtensionRecords(const std::vector<TrailerRecord> &records, PuzzleDocument &document,
                          QString *error);

// The tags of the records the document's trailer holds (empty without a trailer).
std::vector<std::string> extensionTags(const PuzzleDocument &document);
