#pragma once

#include "puzzledocument.h"

class RecordReader;
class RecordWriter;

// An entry in a document: its 28-byte block, then the text records of its clue and its answer.
// Block bytes 0 to 7 stood for the two text addresses; they are written as zeros and never read.
// Bytes 8 to 27: spare u8, down and done Boolean bytes, padding u8, tries, line, start, arrowkind i32.

// Smallest size of an entry in a document: the block and two empty text records.
constexpr int minEntryBytes = 28 + 4 + 4;

void writeEntryRecord(RecordWriter &writer, const PuzzleDocumentEntry &entry);
bool readEntryRecord(RecordReader &reader, PuzzleDocumentEntry &entry);
