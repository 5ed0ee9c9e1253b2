#pragma once

#include "fontdescription.h"

#include <QColor>
#include <QFont>

#include <cstdint>

// The colour a stored font colour stands for. 0x00BBGGRR is an explicit colour. A high byte of 0xFF
// marks a system colour whose index is in the low byte; it is mapped to the colour of the classic
// Windows scheme for that index, never to the desktop's current palette, so that printed and
// exported pictures do not depend on the machine: index 8 (window text, the fonts' default) is black,
// unknown indices are black too. Any other high byte is ignored.
QColor fontColor(std::uint32_t color);
// The stored value of an explicit colour: 0x00BBGGRR.
std::uint32_t fontColorValue(const QColor &color);

// Whole points of a font of pointSize points at zoom percent: trunc(pointSize x zoom / 100), at
// least 1 and at most maxScaledPoints.
constexpr int maxScaledPoints = 16384;
int scaledPointSize(std::int32_t pointSize, double zoom);
// Character height in pixels of points on a device of the given vertical pixels per inch:
// points x ppi / 72, halves rounded away from zero; at least 1 and at most maxFontPixels.
constexpr int maxFontPixels = 1 << 20;
int pixelSizeForPoints(int points, int verticalResolution);

// The font a surface draws with for a dialog font: its face, style and pitch, scaled by the zoom and
// realised in pixels for the device, so that its points have the same physical size on every device.
// The character set has no counterpart: Qt fonts cover all of Unicode.
QFont scaledFont(const FontDescription &description, double zoom, int verticalResolution);

// The description a font dialog's choice is stored as: face, style, pitch, the colour as an explicit
// value, and the size in whole points as the character height at screenPpi pixels per inch gives it.
// The character set is stored as 0.
FontDescription fontDescriptionFromQFont(const QFont &font, const QColor &color, int screenPpi);

// The font a font dialog starts with for a description: face, style, pitch and the size in points.
QFont dialogFont(const FontDescription &description);
