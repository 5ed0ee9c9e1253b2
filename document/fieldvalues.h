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

// The value a numeric field uses after being given value: clamped to its range, then the number its
// text shows (whole, or two decimals), so 0.127 becomes 0.13 and the line width minimum 0.001
// becomes 0. Not a number gives the minimum.
double numericFieldValue(double value, const NumericFieldRange &range);

// The settings with all six numbers taken through their fields, as the window draws with them after
// opening a document.
PuzzleSettings settingsThroughFields(PuzzleSettings settings);
