#include "wordgridcommands.h"

#include "wordgrid.h"

#include <algorithm>

CellsCommand::CellsCommand(WordGrid &grid, std::vector<Change> changes, const QString &text)
    : QUndoCommand(text), grid_(grid), changes_(std::move(changes)) {}

void CellsCommand::redo() {
    for (const Change &c : changes_)
        grid_.writeCell(c.column, c.row, c.after);
    show();
}

void CellsCommand::undo() {
    for (auto c = changes_.rbegin(); c != changes_.rend(); ++c)
        grid_.writeCell(c->column, c->row, c->before);
    show();
}

// Selects the changed cells, so that the user sees what an undo or redo touched.
void CellsCommand::show() {
    if (changes_.empty())
        return;
    int top = changes_.front().row, bottom = top;
    int left = changes_.front().column, right = left;
    for (const Change &c : changes_) {
        top = std::min(top, c.row);
        bottom = std::max(bottom, c.row);
        left = std::min(left, c.column);
        right = std::max(right, c.column);
    }
    grid_.showCells(top, left, bottom, right);
    grid_.notifyRowsChanged();
}

RowCommand::RowCommand(WordGrid &grid, Kind kind, int row)
    : QUndoCommand(kind == Insert ? QStringLiteral("Zeile einfügen") : QStringLiteral("Zeile löschen")),
      grid_(grid), kind_(kind), row_(row) {}

void RowCommand::redo() {
    if (kind_ == Insert)
        insertRow();
    else
        removeRow();
    grid_.notifyRowsChanged();
}

void RowCommand::undo() {
    if (kind_ == Insert)
        removeRow();
    else
        insertRow();
    grid_.notifyRowsChanged();
}

void RowCommand::insertRow() {
    const bool restoring = kind_ == Remove;
    if (restoring) {
        // The removal added an empty row at the end; it goes again.
        grid_.removeRowAt(grid_.RowCount() - 1);
    }
    grid_.insertEmptyRow(row_);
    if (restoring) {
        grid_.writeCell(0, row_, removedTexts_.first);
        grid_.writeCell(1, row_, removedTexts_.second);
    } else {
        const int last = grid_.RowCount() - 1;
        lastRowDropped_ = last > row_ && grid_.Cells(0, last).isEmpty() && grid_.Cells(1, last).isEmpty();
        if (lastRowDropped_)
            grid_.removeRowAt(last);
    }
    grid_.showCells(row_, 0, row_, WordGrid::columns - 1);
}

void RowCommand::removeRow() {
    const bool undoingInsert = kind_ == Insert;
    if (!undoingInsert)
        removedTexts_ = {grid_.Cells(0, row_), grid_.Cells(1, row_)};
    grid_.removeRowAt(row_);
    if (!undoingInsert || lastRowDropped_)
        grid_.insertEmptyRow(grid_.RowCount());
    grid_.showCells(std::min(row_, grid_.RowCount() - 1), 0, std::min(row_, grid_.RowCount() - 1),
                    WordGrid::columns - 1);
}

ReplaceRowsCommand::ReplaceRowsCommand(WordGrid &grid, Rows before, Rows after, const QString &text)
    : QUndoCommand(text), grid_(grid), before_(std::move(before)), after_(std::move(after)) {}

void ReplaceRowsCommand::redo() {
    grid_.fillWordRows(after_);
    grid_.notifyRowsChanged();
}

void ReplaceRowsCommand::undo() {
    grid_.fillWordRows(before_);
    grid_.notifyRowsChanged();
}
