#pragma once

#include <QString>
#include <QStringList>

#include <climits>
#include <functional>
#include <vector>

// The width of a text in the units of the line width.
using TextMeasure = std::function<double(const QString &)>;
// The places inside a word where it may be broken with a hyphen (positions k: the break lies between
// word[k - 1] and word[k]).
using HyphenationPoints = std::function<std::vector<int>(const QString &)>;

// Lines of a text broken to a width, and how the breaks were found.
struct BrokenLines {
    QStringList lines;
    // A word was broken at a place that is no hyphenation point, because no point left a part that
    // fits.
    bool forcedBreak = false;
    // A line is still wider than the width: a single character that is wider on its own.
    bool tooWide = false;
    // All of the text is in the lines; false when breaking stopped at the most lines asked for.
    bool complete = true;
};

// Breaks text into lines no wider than width, filling each line before the next: between words (runs
// of blanks count as one; blanks at a line's ends are dropped), after a hyphen the text has, at the
// hyphenation points of a word with a hyphen added at the end of the line, and at the line breaks of
// the text, where empty lines stay. A soft hyphen (U+00AD) is a hyphenation point of its own and
// takes the place of the word's others; it shows only where the word is broken there. A word that
// still does not fit on a line of its own is broken by force: at its last break point where the part
// before it fits without the hyphen, else after as many characters as fit, and at least one
// (characters that belong together, such as a letter and its accent, stay together).
// Breaking stops once there is one line more than maxLines.
BrokenLines breakLines(const QString &text, double width, const TextMeasure &measure,
                       const HyphenationPoints &points, int maxLines = INT_MAX);
