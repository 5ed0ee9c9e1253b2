#pragma once

#include "fontdescription.h"
#include "grid.h"
#include "puzzlesettings.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class Canvas;

// Fitted clues are laid out in the puzzle's own units, millimetres and points at zoom 100, so that the
// screen at any zoom, the printed page and every exported picture break a clue at the same places.

// Steps by which the font of a clue that does not fit is made smaller, in points.
constexpr double clueFontStep = 0.5;
// The smallest clue font is never below this many points at zoom 100.
constexpr double lowestMinClueFont = 1;
// The resolution at which clues are checked for whether they fit: that of a good printer.
constexpr int overflowCheckResolution = 600;

// The text box of a clue cell in millimetres at zoom 100: the cell less the text margin on every side.
struct ClueBox {
    double width = 0;
    double height = 0;
};
ClueBox clueBox(const PuzzleSettings &settings);

// A clue's text broken into lines for its box.
struct FittedClue {
    QStringList lines;
    double pointSize = 0;  // the size the lines are set in, points at zoom 100
    double lineHeight = 0; // millimetres from one line to the next at zoom 100
    bool fits = false;     // every line lies inside the box
};

// Fits text into box in font: lines break between words and at German hyphenation points with a
// hyphen. While the lines do not fit, or fit only with a word broken where no hyphenation point
// allows, the font is made smaller by clueFontStep, down to minPointSize (never larger than the font
// itself). When no size fits without such a break, the largest size that fits with one is taken;
// when none fits at all, the lines at minPointSize, which do not fit. A text of more than a thousand
// characters never fits; only its beginning is laid out. Results are kept per text, font, sizes and
// box, so that painting again costs no new layout.
FittedClue fitClue(const QString &text, const FontDescription &font, double minPointSize, const ClueBox &box);

// Draws the clue texts of a puzzle into their text boxes on a canvas whose font is the scaled clue
// font: as the wrapped text of the canvas, or with settings.fitClues fitted into the box (fitClue),
// scaled by the zoom and centred vertically. A clue that does not fit is cut off at its box.
class ClueTextDrawing {
public:
    ClueTextDrawing(Canvas &canvas, const PuzzleSettings &settings);
    // Draws text into the box, the text box of its clue cell in pixels.
    void draw(const QString &text, const QRect &box);

private:
    Canvas &canvas_;
    const PuzzleSettings &settings_;
    ClueBox box_;
    double pixelsPerMillimetre_ = 0;
    double pixelsPerPoint_ = 0;
};

// The entries (indices into clues, ascending) that a clue cell of grid names and whose clue text
// does not fit into the cell's text box as the renderer draws it at the settings, on a target of
// the given resolution. With settings.fitClues the answer is the same at every resolution.
std::vector<std::uint32_t> overflowingClueEntries(const Grid &grid, const std::vector<std::u16string> &clues,
                                                  const PuzzleSettings &settings,
                                                  int resolution = overflowCheckResolution);
