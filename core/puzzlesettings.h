#pragma once

#include "fontdescription.h"
#include "solutionword.h"

#include <string>

// Everything the puzzle is drawn with, as the window's fields hold it: zoom in percent, lengths in
// millimetres, the three switches, the title and the two fonts. Renderer, document and command line
// all take this one struct.
struct PuzzleSettings {
    double zoom = 100;                                               // ZoomEd, 10 to 1000
    double cellWidth = 10;                                           // FeldBreitEd, 1 to 100
    double lineWidth = 0.3;                                          // StrichStarkEd, 0.001 to 10
    double arrowSize = 1;                                            // PfeilgrossEd, 0.001 to 100
    double textMargin = 1;                                           // TextRandEd, 0.001 to 100
    double pageMargin = 15;                                          // SeitenRandEd, 0.001 to 100
    bool showSolution = false;                                       // LosungEinCheck
    bool markPageEnd = true;                                         // BlattRotCheck
    bool clueCellsBlack = true;                                      // FrageSchwarzCheck
    std::u16string title = u"Wabrixr\u00e4tsel";                     // caped
    FontDescription clueFont = FontDescription::defaultClueFont();   // FontDialog1
    FontDescription titleFont = FontDescription::defaultTitleFont(); // FontDialog2
    SolutionWord solution; // LoesungswortCheck, LoesungswortEd and the cells chosen for the word
};
