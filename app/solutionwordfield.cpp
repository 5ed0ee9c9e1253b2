#include "solutionwordfield.h"

#include "statusnotices.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

const QString SolutionWordField::noticeKey = QStringLiteral("solutionWord");

SolutionWordField::SolutionWordField(QCheckBox *LoesungswortCheck, QLineEdit *LoesungswortEd,
                                     StatusNotices *notices, std::function<const Grid &()> grid,
                                     std::function<UmlautSpelling()> spelling, std::function<void()> generate,
                                     QObject *parent)
    : QObject(parent), LoesungswortCheck(LoesungswortCheck), LoesungswortEd(LoesungswortEd),
      notices_(notices), grid_(std::move(grid)), spelling_(std::move(spelling)),
      generate_(std::move(generate)) {
    solution_.enabled = LoesungswortCheck->isChecked();
    connect(LoesungswortEd, &QLineEdit::textChanged, this, &SolutionWordField::LoesungswortEdChange);
    connect(LoesungswortCheck, &QCheckBox::toggled, this, &SolutionWordField::LoesungswortCheckClick);
}

void SolutionWordField::setSolution(const SolutionWord &solution) {
    {
        const QSignalBlocker quietWord(LoesungswortEd);
        const QSignalBlocker quietSwitch(LoesungswortCheck);
        LoesungswortEd->setText(QString::fromStdU16String(solution.word));
        LoesungswortCheck->setChecked(solution.enabled);
        LoesungswortEd->setEnabled(solution.enabled);
    }
    solution_ = solution;
    if (!solution_.word.empty() && solution_.cells.empty()) {
        choose();
        return;
    }
    // Stored cells are kept as they are; what they lack is reported as for a fresh choice.
    SolutionChoice stored;
    stored.letters = solutionLetters(solution_.word, spelling_());
    stored.cells = solution_.cells;
    report(stored);
    emit changed();
}

void SolutionWordField::puzzleChanged() {
    choose();
}

void SolutionWordField::LoesungswortEdChange() {
    solution_.word = LoesungswortEd->text().toStdU16String();
    choose();
}

void SolutionWordField::LoesungswortCheckClick() {
    solution_.enabled = LoesungswortCheck->isChecked();
    LoesungswortEd->setEnabled(solution_.enabled);
    choose();
}

void SolutionWordField::choose() {
    const SolutionChoice choice = chooseSolutionCells(grid_(), solution_.word, spelling_());
    solution_.cells = choice.cells;
    report(choice);
    emit changed();
}

void SolutionWordField::report(const SolutionChoice &choice) {
    auto editWord = [this] {
        LoesungswortEd->setFocus();
        LoesungswortEd->selectAll();
    };
    if (!solution_.enabled || solution_.word.empty()) {
        notices_->clearNotice(noticeKey);
    } else if (choice.problem == SolutionProblem::NoPuzzle) {
        notices_->setNotice(noticeKey, QString::fromStdU16String(solutionProblemText(choice)),
                            QStringLiteral("Erzeuge Rätsel"), generate_);
    } else if (choice.problem != SolutionProblem::None) {
        notices_->setNotice(noticeKey, QString::fromStdU16String(solutionProblemText(choice)),
                            QStringLiteral("Lösungswort ändern"), editWord);
    } else if (const std::u16string missing = missingSolutionLetters(choice.letters, choice.cells);
               !missing.empty()) {
        notices_->setNotice(noticeKey, QString::fromStdU16String(missingLettersText(missing)),
                            QStringLiteral("Lösungswort ändern"), editWord);
    } else if (choice.sideBySide > 0) {
        notices_->setNotice(noticeKey,
                            QStringLiteral("Das Lösungswort ist so lang, dass markierte Felder nebeneinander "
                                           "liegen (%1-mal).")
                                .arg(choice.sideBySide),
                            QStringLiteral("Lösungswort ändern"), editWord);
    } else {
        notices_->clearNotice(noticeKey);
    }
}
