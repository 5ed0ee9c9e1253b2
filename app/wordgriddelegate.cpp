#include "wordgriddelegate.h"

#include "wordgrid.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

WordGridDelegate::WordGridDelegate(WordGrid &grid) : QStyledItemDelegate(&grid), grid_(grid) {}

QColor WordGridDelegate::markColor(int kind) {
    switch (static_cast<RowMark::Kind>(kind)) {
    case RowMark::Kind::LeftOut:
        return QColor(0xD4, 0xE0, 0xFF); // blue: the word is missing from the puzzle
    case RowMark::Kind::Unusable:
        return QColor(0xF4, 0xC4, 0xC4); // red: the row makes no entry
    case RowMark::Kind::Note:
        break;
    }
    return QColor(0xFF, 0xF4, 0xC0); // yellow: worth a look
}

void WordGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // A cell's own background (a clue too long for its cell) goes before a mere note.
    const RowMark *mark = grid_.rowMark(index.row() + 1);
    if (mark && (mark->kind != RowMark::Kind::Note || !index.data(Qt::BackgroundRole).isValid()))
        option->backgroundBrush = markColor(static_cast<int>(mark->kind));
}

void WordGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const {
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        grid_.setCells(index.column(), index.row() + 1, line->text());
}

bool WordGridDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                 const QStyleOptionViewItem &option, const QModelIndex &index) {
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        if (const RowMark *mark = grid_.rowMark(index.row() + 1)) {
            // The cell's own tooltip, if it has one, comes along.
            const QString own = index.data(Qt::ToolTipRole).toString();
            QToolTip::showText(event->globalPos(),
                               own.isEmpty() ? mark->toolTip : own + u'\n' + mark->toolTip, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
