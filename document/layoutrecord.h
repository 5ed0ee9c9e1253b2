#pragma once

#include "puzzledocument.h"

class RecordReader;
class RecordWriter;

// The trailer record "LAYO": the layout chosen on the settings page ("Anordnung", "Rahmen"), stored
// when it is not the standard one. Payload: arrangement (i32, 1 compact), frame (i32, 0 the page,
// 1 cells), columns and rows of the cell frame (i32 each, 1 to 100).
constexpr const char *layoutRecordTag = "LAYO";

bool layoutRecordPresent(const PuzzleDocument &document);
void writeLayoutRecord(RecordWriter &payload, const PuzzleDocument &document);
// Fails the reader on values it does not know; cell counts outside 1 to 100 are brought into range.
bool readLayoutRecord(RecordReader &payload, PuzzleDocument &document);
