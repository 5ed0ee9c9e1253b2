#pragma once

#include "puzzledocument.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <string>

// Documents as bytes, for tests that build, cut or change stored documents.

// The bytes writeDocument gives for the document; stops the test program when writing fails.
QByteArray documentBytes(const PuzzleDocument &document);

// A 32-bit integer as four bytes, little-endian, as documents store it.
QByteArray le32(std::int32_t value);

// A finished entry (done, three tries) with the given texts and placement.
PuzzleDocumentEntry documentEntry(const std::u16string &clue, const std::u16string &answer, bool down,
                                  std::int32_t line, std::int32_t start);

// The numeric settings in the order of the window's number fields: zoom, cell width, line width,
// arrow size, text margin, page margin.
std::array<double, 6> settingsNumbers(const PuzzleSettings &settings);

// The numeric setting of the given field (0 to 5, in the order of settingsNumbers).
double &settingsNumber(PuzzleSettings &settings, int field);
