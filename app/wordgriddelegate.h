#pragma once

#include <QStyledItemDelegate>

class WordGrid;

// Draws and edits the cells of the word table: a marked row gets its mark's background and tooltip,
// and a finished edit becomes an undoable step of the table instead of a plain write.
class WordGridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit WordGridDelegate(WordGrid &grid);

    // The background of each kind of mark.
    static QColor markColor(int kind);

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    WordGrid &grid_;
};
