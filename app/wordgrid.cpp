#include "wordgrid.h"

#include "tabseparatedtext.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

WordGrid::WordGrid(QWidget *parent) : QTableWidget(parent) {
    setColumnCount(columns);
    setHorizontalHeaderItem(0, new QTableWidgetItem);
    setHorizontalHeaderItem(1, new QTableWidgetItem);
    setRowCount(1000);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(defaultColumnWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(defaultRowHeight);
    horizontalHeader()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    setCornerButtonEnabled(false);
}

void WordGrid::setRowCount(int rows) {
    QTableWidget::setRowCount(std::max(rows, 1) - 1);
}

QString WordGrid::Cells(int column, int row) const {
    if (column < 0 || column >= columns || row < 0 || row >= RowCount())
        return {};
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
    return cell ? cell->text() : QString();
}

void WordGrid::setCells(int column, int row, const QString &text) {
    if (column < 0 || column >= columns || row < 0 || row >= RowCount())
        return;
    if (row == 0) {
        horizontalHeaderItem(column)->setText(text);
        return;
    }
    if (QTableWidgetItem *cell = item(row - 1, column))
        cell->setText(text);
    else if (!text.isEmpty())
        setItem(row - 1, column, new QTableWidgetItem(text));
}

void WordGrid::clearWordRows() {
    // The items hold nothing but their text; removing them empties the cells.
    clearContents();
}

QModelIndex WordGrid::pasteAnchor() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (!ranges.isEmpty())
        return model()->index(ranges.first().topRow(), ranges.first().leftColumn());
    return currentIndex();
}

void WordGrid::copySelectedCells() {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return;
    const QTableWidgetSelectionRange &range = ranges.first();
    QList<QStringList> block;
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        QStringList line;
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
            line << Cells(c, r + 1);
        block << line;
    }
    QApplication::clipboard()->setText(toTabSeparated(block));
}

void WordGrid::pasteBlock() {
    const QModelIndex anchor = pasteAnchor();
    if (!anchor.isValid())
        return;
    const QList<QStringList> block = parseTabSeparated(QApplication::clipboard()->text());
    int lastRow = anchor.row();
    int lastColumn = anchor.column();
    for (int i = 0; i < block.size(); ++i) {
        const int row = anchor.row() + i + 1;
        if (row >= RowCount())
            break;
        for (int j = 0; j < block[i].size() && anchor.column() + j < columns; ++j) {
            setCells(anchor.column() + j, row, block[i][j]);
            lastColumn = std::max(lastColumn, anchor.column() + j);
        }
        lastRow = row - 1;
    }
    // Select what was pasted, so that the user sees where the block went.
    setCurrentIndex(anchor);
    setRangeSelected(QTableWidgetSelectionRange(anchor.row(), anchor.column(), lastRow, lastColumn), true);
}

void WordGrid::clearSelectedCells() {
    for (const QTableWidgetSelectionRange &range : selectedRanges())
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
                setCells(c, r + 1, QString());
}

void WordGrid::keyPressEvent(QKeyEvent *event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            copySelectedCells();
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            copySelectedCells();
            clearSelectedCells();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            pasteBlock();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            clearSelectedCells();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}
