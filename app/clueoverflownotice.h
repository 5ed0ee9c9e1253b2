#pragma once

#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QString>

#include <functional>
#include <vector>

class StatusNotices;
class WordGrid;

// Tells the user which clues of the puzzle on screen do not fit their cells as they will be printed:
// a notice in the status line under the puzzle ("3 Fragen passen nicht in ihr Feld") with a button
// that turns "Fragen einpassen" on while it is off, or that shows the settings page while it is on,
// and a background colour and tooltip on the word-table rows of those clues.
class ClueOverflowNotice {
public:
    // The key of the notice in the status line.
    static const QString noticeKey;
    // The tooltip of a marked row.
    static const QString rowToolTip;

    // turnFittingOn and showSettings are what the notice's button does.
    ClueOverflowNotice(StatusNotices &notices, WordGrid &table, std::function<void()> turnFittingOn,
                       std::function<void()> showSettings);

    // Checks every clue of the model at the settings and brings the notice and the marks up to date.
    void update(const PuzzleModel &model, const PuzzleSettings &settings);

    // The clues that did not fit at the last update, and the word-table rows marked for them (table
    // rows as the program counts them; a clue whose row holds another clue by now has none).
    int overflowingClues() const { return overflowingClues_; }
    const std::vector<int> &markedRows() const { return markedRows_; }

private:
    void markRows(const std::vector<int> &rows);

    StatusNotices &notices_;
    WordGrid &table_;
    std::function<void()> turnFittingOn_;
    std::function<void()> showSettings_;
    int overflowingClues_ = 0;
    std::vector<int> markedRows_;
};
