#pragma once

// One of the number fields of the settings (zoom, the five lengths, the smallest clue font): its limits, the
// step of its up/down buttons, its default and how many decimals it shows. The window's fields, the settings'
// defaults and the command line all take these from here.
struct NumberField {
    double minimum;
    double maximum;
    double step;
    double defaultValue;
    int decimals; // 0: a whole number; 2: two decimals
};

constexpr NumberField zoomField{10, 1000, 10, 100, 0};        // ZoomEd, percent
constexpr NumberField cellWidthField{1, 100, 10, 10, 2};      // FeldBreitEd, mm
constexpr NumberField lineWidthField{0.001, 10, 10, 0.3, 2};  // StrichStarkEd, mm
constexpr NumberField arrowSizeField{0.001, 100, 10, 1, 2};   // PfeilgrossEd, mm
constexpr NumberField textMarginField{0.001, 100, 10, 1, 2};  // TextRandEd, mm
constexpr NumberField pageMarginField{0.001, 100, 10, 15, 2}; // SeitenRandEd, mm
// KleinsteSchriftEd: the smallest font a fitted clue is made, points at zoom 100, whole as font sizes are.
constexpr NumberField minClueFontField{1, 72, 1, 5, 0};

// The value a field shows, and then uses, once it was given value: kept within the limits (not a
// number counts as the minimum), then rounded to the field's decimals, an exact half away from zero
// as the field's text shows it. So 150.5 becomes 151, 0.127 becomes 0.13, and the line width minimum
// 0.001 becomes 0.
double numberFieldValue(double value, const NumberField &field);
