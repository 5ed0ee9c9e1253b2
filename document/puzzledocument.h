#pragma once

#include "documenttrailer.h"
#include "grid.h"
#include "puzzlesettings.h"
#include "wordtable.h"

#include <cstdint>
#include <string>
#include <vector>

// Word rows of a fresh word table, below its header row.
constexpr int defaultWordRows = 999;

// One entry as a document holds it: the placement fields of its 28-byte block and its two texts.
// spare and padding are carried unchanged; down and done are Boolean bytes.
struct PuzzleDocumentEntry {
    std::uint8_t spare = 0;
    bool down = false;
    bool done = false;
    std::uint8_t padding = 0;
    std::int32_t tries = 0;
    std::int32_t line = 0;
    std::int32_t start = 0;
    std::int32_t arrowkind = 0;
    std::u16string clue;
    std::u16string answer;

    bool operator==(const PuzzleDocumentEntry &o) const {
        return spare == o.spare && down == o.down && done == o.done && padding == o.padding &&
               tries == o.tries && line == o.line && start == o.start && arrowkind == o.arrowkind &&
               clue == o.clue && answer == o.answer;
    }
    bool operator!=(const PuzzleDocumentEntry &o) const { return !(*this == o); }
};

// A whole puzzle document (.wbx): word rows, title, switches, layout numbers, fonts, grid and entries,
// and the settings of the optional trailer (documentextensions.h).
// The numbers are kept as stored, without clamping. A default-constructed document is the one the
// program saves right after start-up: 999 empty rows, the default settings and fonts (made at 96
// pixels per inch), a grid of 10,000 cells of value 0 and no entries.
struct PuzzleDocument {
    std::vector<VectorWordTable::Row> rows = std::vector<VectorWordTable::Row>(defaultWordRows);
    PuzzleSettings settings;
    Grid grid{};
    std::vector<PuzzleDocumentEntry> entries;
    // Trailer records of settings this program does not know (written by a later version), kept so
    // that saving the document again writes them back.
    std::vector<TrailerRecord> keptExtensions;
};
