#pragma once

#include <cstdint>
#include <limits>
#include <string>

class RecordReader;
class RecordWriter;

// Every text of a document is a text record: i32 L, the length in UTF-16 code units, then the L
// code units little-endian, without terminator. An empty text is four zero bytes.

// The most code units a text record can count.
constexpr std::int32_t maxTextRecordLength = std::numeric_limits<std::int32_t>::max();

// Writes one text record; a text longer than an i32 can count fails the writer.
void writeTextRecord(RecordWriter &writer, const std::u16string &text);
// Reads one text record into text. Fails when L is negative or larger than the rest of the document
// can hold, or when the document ends inside the record.
bool readTextRecord(RecordReader &reader, std::u16string &text);
