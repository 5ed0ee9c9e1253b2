#pragma once

#include "solutionword.h"

#include <QObject>

#include <functional>

class QCheckBox;
class QLineEdit;
class StatusNotices;

// The solution word on the toolbar: the switch "Lösungswort:" and the word beside it. Whenever the word
// or the puzzle changes, the cells are chosen anew for the current grid; a word that cannot be marked,
// letters the puzzle lacks and cells that had to be put side by side are reported in the status line.
// A word opened with a document keeps its stored cells.
class SolutionWordField : public QObject {
    Q_OBJECT

public:
    // The key of the field's notice in the status line.
    static const QString noticeKey;

    SolutionWordField(QCheckBox *LoesungswortCheck, QLineEdit *LoesungswortEd, StatusNotices *notices,
                      std::function<const Grid &()> grid, std::function<UmlautSpelling()> spelling,
                      std::function<void()> generate, QObject *parent = nullptr);

    // The word, its switch and its cells as the puzzle is drawn and saved with them.
    const SolutionWord &solution() const { return solution_; }
    // Takes a stored solution word with its cells; the cells are chosen only when none are stored.
    void setSolution(const SolutionWord &solution);
    // Chooses the cells for the new grid (after a generation).
    void puzzleChanged();

signals:
    // The marking changed: the view draws anew.
    void changed();

private:
    void LoesungswortEdChange();
    void LoesungswortCheckClick();
    void choose();
    void report(const SolutionChoice &choice);

    QCheckBox *LoesungswortCheck;
    QLineEdit *LoesungswortEd;
    StatusNotices *notices_;
    std::function<const Grid &()> grid_;
    std::function<UmlautSpelling()> spelling_; // how the puzzle's answers write umlauts and ß
    std::function<void()> generate_;
    SolutionWord solution_;
};
