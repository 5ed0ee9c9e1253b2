// The word table's clipboard, keys and context menu.
#include "wordgrid.h"

#include "tabseparatedtext.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

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
    std::vector<std::pair<QModelIndex, QString>> cells;
    int lastRow = anchor.row();
    int lastColumn = anchor.column();
    for (int i = 0; i < block.size(); ++i) {
        const int row = anchor.row() + i;
        if (row >= rowCount())
            break;
        for (int j = 0; j < block[i].size() && anchor.column() + j < columns; ++j) {
            cells.emplace_back(model()->index(row, anchor.column() + j), block[i][j]);
            lastColumn = std::max(lastColumn, anchor.column() + j);
        }
        lastRow = row;
    }
    changeCells(cells, QStringLiteral("Einfügen"));
    // Select what was pasted, so that the user sees where the block went.
    setCurrentIndex(anchor);
    setRangeSelected(QTableWidgetSelectionRange(anchor.row(), anchor.column(), lastRow, lastColumn), true);
}

void WordGrid::clearSelectedCells(const QString &text) {
    std::vector<std::pair<QModelIndex, QString>> cells;
    for (const QTableWidgetSelectionRange &range : selectedRanges())
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
                cells.emplace_back(model()->index(r, c), QString());
    changeCells(cells, text);
}

void WordGrid::keyPressEvent(QKeyEvent *event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            copySelectedCells();
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            copySelectedCells();
            clearSelectedCells(QStringLiteral("Ausschneiden"));
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

void WordGrid::contextMenuEvent(QContextMenuEvent *event) {
    commitEdit();
    // A click outside the selection selects the cell under the pointer first, as spreadsheets do.
    const QModelIndex clicked = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (clicked.isValid() && !selectionModel()->isSelected(clicked))
        setCurrentIndex(clicked);
    const int row = currentIndex().isValid() ? currentIndex().row() + 1 : 0;

    QMenu menu(this);
    QAction *insert =
        menu.addAction(QStringLiteral("Zeile einfügen"), this, [this, row] { insertWordRow(row); });
    QAction *remove = menu.addAction(QStringLiteral("Zeile löschen"), this, [this] { removeSelectedRows(); });
    insert->setEnabled(row > 0);
    remove->setEnabled(row > 0);
    menu.addSeparator();
    // The shortcuts are shown for reference; the keys themselves reach keyPressEvent.
    menu.addAction(QStringLiteral("Ausschneiden"), this,
                   [this] {
                       copySelectedCells();
                       clearSelectedCells(QStringLiteral("Ausschneiden"));
                   })
        ->setShortcut(QKeySequence::Cut);
    menu.addAction(QStringLiteral("Kopieren"), this, [this] { copySelectedCells(); })
        ->setShortcut(QKeySequence::Copy);
    QAction *paste = menu.addAction(QStringLiteral("Einfügen"), this, [this] { pasteBlock(); });
    paste->setShortcut(QKeySequence::Paste);
    paste->setEnabled(!QApplication::clipboard()->text().isEmpty());
    for (QAction *action : menu.actions())
        action->setObjectName(action->text());
    menu.exec(event->globalPos());
}
