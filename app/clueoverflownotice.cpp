#include "clueoverflownotice.h"

#include "cluelayout.h"
#include "entrysources.h"
#include "statusnotices.h"
#include "wordgrid.h"
#include "wordgridtable.h"

#include <QBrush>
#include <QColor>

namespace {

// A light orange behind a clue that does not fit, readable under the table's black text.
const QColor overflowColour(255, 220, 170);

std::vector<std::u16string> clueTexts(const PuzzleModel &model) {
    std::vector<std::u16string> clues;
    clues.reserve(model.entryCount());
    for (std::uint32_t i = 0; i < model.entryCount(); ++i)
        clues.push_back(entryText(model.entryAt(i).clue));
    return clues;
}

} // namespace

const QString ClueOverflowNotice::noticeKey = QStringLiteral("clueOverflow");
const QString ClueOverflowNotice::rowToolTip =
    QStringLiteral("Diese Frage passt nicht in ihr Feld: im Rätsel wird sie abgeschnitten.");

ClueOverflowNotice::ClueOverflowNotice(StatusNotices &notices, WordGrid &table,
                                       std::function<void()> turnFittingOn,
                                       std::function<void()> showSettings)
    : notices_(notices), table_(table), turnFittingOn_(std::move(turnFittingOn)),
      showSettings_(std::move(showSettings)) {}

void ClueOverflowNotice::update(const PuzzleModel &model, const PuzzleSettings &settings) {
    const std::vector<std::u16string> clues = clueTexts(model);
    const std::vector<std::uint32_t> overflowing = overflowingClueEntries(model.grid, clues, settings);
    overflowingClues_ = static_cast<int>(overflowing.size());

    const std::vector<int> rowOfEntry = entryClueRows(WordGridTable(table_), clues);
    std::vector<int> rows;
    for (const std::uint32_t n : overflowing)
        if (rowOfEntry[n] > 0)
            rows.push_back(rowOfEntry[n]);
    markRows(rows);

    if (overflowing.empty()) {
        notices_.clearNotice(noticeKey);
        return;
    }
    const int n = overflowingClues_;
    const QString count =
        n == 1 ? QStringLiteral("1 Frage passt") : QStringLiteral("%1 Fragen passen").arg(n);
    if (!settings.fitClues)
        notices_.setNotice(noticeKey, count + QStringLiteral(" nicht in ihr Feld."),
                           QStringLiteral("Fragen einpassen"), turnFittingOn_);
    else
        notices_.setNotice(noticeKey,
                           count + QStringLiteral(" auch eingepasst nicht in ihr Feld: breitere Felder oder "
                                                  "eine kleinere kleinste Schrift helfen."),
                           QStringLiteral("Einstellungen"), showSettings_);
}

void ClueOverflowNotice::markRows(const std::vector<int> &rows) {
    // Only the marks made here are taken away again; whatever else a row shows stays.
    for (const int row : markedRows_)
        for (int column = 0; column < WordGrid::columns; ++column)
            if (QTableWidgetItem *cell = table_.item(row - 1, column);
                cell && cell->toolTip() == rowToolTip) {
                cell->setData(Qt::BackgroundRole, QVariant());
                cell->setToolTip(QString());
            }
    markedRows_ = rows;
    for (const int row : markedRows_)
        for (int column = 0; column < WordGrid::columns; ++column) {
            QTableWidgetItem *cell = table_.item(row - 1, column);
            if (!cell) {
                cell = new QTableWidgetItem;
                table_.setItem(row - 1, column, cell);
            }
            cell->setBackground(overflowColour);
            cell->setToolTip(rowToolTip);
        }
}
