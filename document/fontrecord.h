#pragma once

#include "fontdescription.h"

class RecordReader;
class RecordWriter;

// A font record: character set u8, colour i32, K u8 and K UTF-16 code units of the face name, pitch
// u8, pixels per inch i32, size in points i32, style bits u8 (1 bold, 2 italic, 4 underline,
// 8 strike-out). 16 + 2K bytes.

// Longest face name a font record holds, in UTF-16 code units.
constexpr std::size_t maxFaceNameUnits = 255;

// Writes one font record. A face name longer than 255 code units is cut to 255 (254 when the cut
// would split a surrogate pair).
void writeFontRecord(RecordWriter &writer, const FontDescription &font);
// Reads one font record into font, every field as stored; style bits other than the four are dropped.
bool readFontRecord(RecordReader &reader, FontDescription &font);
