#pragma once

#include "answerrules.h"
#include "fontdescription.h"
#include "layoutsettings.h"
#include "numberfield.h"
#include "solutionword.h"

#include <array>
#include <string>

// Everything the puzzle is drawn with, as the window's fields hold it: zoom in percent, lengths in
// millimetres, the three switches, the title and the two fonts; and how the next puzzle is made.
// Renderer, document and command line all take this one struct.
struct PuzzleSettings {
    double zoom = zoomField.defaultValue;                            // ZoomEd
    double cellWidth = cellWidthField.defaultValue;                  // FeldBreitEd
    double lineWidth = lineWidthField.defaultValue;                  // StrichStarkEd
    double arrowSize = arrowSizeField.defaultValue;                  // PfeilgrossEd
    double textMargin = textMarginField.defaultValue;                // TextRandEd
    double pageMargin = pageMarginField.defaultValue;                // SeitenRandEd
    bool showSolution = false;                                       // LosungEinCheck
    bool markPageEnd = true;                                         // BlattRotCheck
    bool clueCellsBlack = true;                                      // FrageSchwarzCheck
    std::u16string title = u"Wabrixr\u00e4tsel";                     // caped
    FontDescription clueFont = FontDescription::defaultClueFont();   // FontDialog1
    FontDescription titleFont = FontDescription::defaultTitleFont(); // FontDialog2
    bool fitClues = false; // FragenEinpassenCheck: clues hyphenated and made smaller to fit
    double minClueFontSize = minClueFontField.defaultValue; // KleinsteSchriftEd: smallest clue font
    SolutionWord solution; // LoesungswortCheck, LoesungswortEd and the cells chosen for the word
    UmlautSpelling umlauts = UmlautSpelling::Capitals; // UmlauteCombo: how the next puzzle writes umlauts
    LayoutSettings layout; // "Anordnung" and "Rahmen" on the settings page: how the next puzzle is made
};

// One number of the settings: the field that holds it and its place in PuzzleSettings.
struct SettingsNumber {
    const NumberField *field;
    double PuzzleSettings::*value;
};

// The six numbers in the order of the window's fields and of a document: zoom, cell width, line
// width, arrow size, text margin, page margin.
constexpr std::array<SettingsNumber, 6> settingsNumberFields{
    {{&zoomField, &PuzzleSettings::zoom},
     {&cellWidthField, &PuzzleSettings::cellWidth},
     {&lineWidthField, &PuzzleSettings::lineWidth},
     {&arrowSizeField, &PuzzleSettings::arrowSize},
     {&textMarginField, &PuzzleSettings::textMargin},
     {&pageMarginField, &PuzzleSettings::pageMargin}}};
