#pragma once

#include "puzzlesettings.h"

// The range and precision of one of the window's six numeric fields.
struct NumericFieldRange {
    double minimum;
    double maximum;
    int decimals; // 0 for the zoom, 2 for the millimetre fields
};

constexpr NumericFieldRange zoomRange{10, 1000, 0};
constexpr NumericFieldRange cellWidthRange{1, 100, 2};
constexpr NumericFieldRange lineWidthRange{0.001, 10, 2};
constexpr NumericFieldRange arrowSizeRange{0.001, 100, 2};
constexpr NumericFieldRange textMarginRange{0.001, 100, 2};
constexpr NumericFieldRange pageMarginRange{0.001, 100, 2};
// "kleinste Schrift in pt": whole points, as font sizes are.
constexpr NumericFieldRange minClueFontRange{1, 72, 0};

// The value a numeric field uses after being given value: clamped to its range, then the number its
// text shows (whole, or two decimals), so 0.127 becomes 0.13 and the line width minimum 0.001
// becomes 0. Not a number gives the minimum.
double numericFieldValue(double value, const NumericFieldRange &range);

// The settings with all six numbers and the smallest clue font taken through their fields, as the
// window draws with them after opening a document.
PuzzleSettings settingsThroughFields(PuzzleSettings settings);

// The font a font dialog holds after a document's font record was given to it: every field of the
// record, except that a record without a face name leaves the dialog's face as it was and that the
// dialog keeps the pixels per inch it was made for. The size in points is the stored one; when both
// resolutions agree it goes through the character height, which the dialog's font keeps then.
FontDescription fontThroughDialog(const FontDescription &dialogFont, const FontDescription &stored);
