#include "wordgrid.h"

#include "wordgridcommands.h"
#include "wordgriddelegate.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// The narrowest a column may be made, so that it can still be found and widened again.
constexpr int minimumColumnWidth = 20;

} // namespace

WordGrid::WordGrid(QWidget *parent) : QTableWidget(parent) {
    setColumnCount(columns);
    setHorizontalHeaderItem(0, new QTableWidgetItem);
    setHorizontalHeaderItem(1, new QTableWidgetItem);
    setRowCount(1000);
    setItemDelegate(new WordGridDelegate(*this));
    // Row numbers at the left, as the program counts the word rows.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(minimumColumnWidth);
    horizontalHeader()->setDefaultSectionSize(defaultColumnWidth);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    // The columns always share the table's width between them.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(defaultRowHeight);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int width) {
        const int both = viewport()->width();
        if (section == 0 && !fittingColumns_ && both > 0)
            firstColumnShare_ = std::clamp(double(width) / both, 0.0, 1.0);
    });
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    setCornerButtonEnabled(false);
}

WordGrid::~WordGrid() {
    undoStack_.blockSignals(true);
}

void WordGrid::setRowCount(int rows) {
    QTableWidget::setRowCount(std::max(rows, 1) - 1);
    emit wordRowsChanged();
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
    if (row == 0)
        horizontalHeaderItem(column)->setText(text);
    else
        changeCells({{model()->index(row - 1, column), text}}, QStringLiteral("Eingabe"));
}

void WordGrid::writeCell(int column, int row, const QString &text) {
    if (column < 0 || column >= columns || row < 1 || row >= RowCount())
        return;
    if (QTableWidgetItem *cell = item(row - 1, column))
        cell->setText(text);
    else if (!text.isEmpty())
        setItem(row - 1, column, new QTableWidgetItem(text));
}

void WordGrid::changeCells(const std::vector<std::pair<QModelIndex, QString>> &cells, const QString &text) {
    std::vector<CellsCommand::Change> changes;
    for (const auto &[index, after] : cells) {
        const QString before = Cells(index.column(), index.row() + 1);
        if (index.isValid() && before != after)
            changes.push_back({index.column(), index.row() + 1, before, after});
    }
    if (!changes.empty())
        undoStack_.push(new CellsCommand(*this, std::move(changes), text));
}

void WordGrid::clearWordRows() {
    // The items hold nothing but their text; removing them empties the cells.
    clearContents();
    undoStack_.clear();
    emit wordRowsChanged();
}

QWidget *WordGrid::openEditor() const {
    return state() == QAbstractItemView::EditingState ? indexWidget(currentIndex()) : nullptr;
}

void WordGrid::fillWordRows(const Rows &rows) {
    const int wordRows = static_cast<int>(std::min<std::size_t>(rows.size(), maxWordRows));
    // Items exist only for cells with text, so a long table of empty rows costs little. Clearing
    // resets the model, which also closes an edit in progress without writing its text back.
    clearContents();
    QTableWidget::setRowCount(wordRows);
    for (int r = 0; r < wordRows; ++r) {
        const std::size_t i = static_cast<std::size_t>(r);
        writeCell(0, r + 1, QString::fromStdU16String(rows[i].first));
        writeCell(1, r + 1, QString::fromStdU16String(rows[i].second));
    }
}

void WordGrid::setWordRows(const Rows &rows) {
    fillWordRows(rows);
    undoStack_.clear();
    emit wordRowsChanged();
}

void WordGrid::replaceWordRows(const Rows &rows, const QString &text) {
    commitEdit();
    undoStack_.push(new ReplaceRowsCommand(*this, wordRows(), rows, text));
}

WordGrid::Rows WordGrid::wordRows() const {
    Rows rows(static_cast<std::size_t>(rowCount()));
    for (int r = 1; r < RowCount(); ++r)
        rows[static_cast<std::size_t>(r - 1)] = {Cells(0, r).toStdU16String(), Cells(1, r).toStdU16String()};
    return rows;
}

void WordGrid::commitEdit() {
    if (QWidget *editor = openEditor())
        commitData(editor);
}

void WordGrid::insertEmptyRow(int row) {
    insertRow(row - 1);
}

void WordGrid::removeRowAt(int row) {
    removeRow(row - 1);
}

void WordGrid::insertWordRow(int row) {
    if (row < 1 || row > RowCount())
        return;
    commitEdit();
    undoStack_.push(new RowCommand(*this, RowCommand::Insert, row));
}

void WordGrid::removeWordRow(int row) {
    if (row < 1 || row >= RowCount())
        return;
    commitEdit();
    undoStack_.push(new RowCommand(*this, RowCommand::Remove, row));
}

void WordGrid::removeSelectedRows() {
    std::vector<int> rows;
    for (const QTableWidgetSelectionRange &range : selectedRanges())
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            rows.push_back(r + 1);
    if (rows.empty() && currentIndex().isValid())
        rows.push_back(currentRow() + 1);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return;
    undoStack_.beginMacro(rows.size() == 1 ? QStringLiteral("Zeile löschen")
                                           : QStringLiteral("Zeilen löschen"));
    // From the bottom up, so that the numbers of the rows still to go stay as they are.
    for (auto r = rows.rbegin(); r != rows.rend(); ++r)
        removeWordRow(*r);
    undoStack_.endMacro();
}

void WordGrid::showCells(int top, int left, int bottom, int right) {
    if (top < 1 || top >= RowCount())
        return;
    bottom = std::min(bottom, RowCount() - 1);
    const QModelIndex anchor = model()->index(top - 1, left);
    setCurrentIndex(anchor);
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(top - 1, left, bottom - 1, right), true);
    scrollTo(anchor);
}

void WordGrid::setRowMarks(RowMarks marks) {
    if (marks == marks_)
        return;
    marks_ = std::move(marks);
    viewport()->update();
}

const RowMark *WordGrid::rowMark(int row) const {
    const auto found = marks_.constFind(row);
    return found == marks_.constEnd() ? nullptr : &found.value();
}

void WordGrid::selectRows(const std::vector<int> &rows) {
    clearSelection();
    bool first = true;
    for (int row : rows) {
        if (row < 1 || row >= RowCount())
            continue;
        if (first) {
            setCurrentCell(row - 1, 0, QItemSelectionModel::NoUpdate);
            scrollTo(model()->index(row - 1, 0), QAbstractItemView::PositionAtCenter);
            first = false;
        }
        setRangeSelected(QTableWidgetSelectionRange(row - 1, 0, row - 1, columns - 1), true);
    }
}

void WordGrid::setFirstColumnShare(double share) {
    firstColumnShare_ = std::clamp(share, 0.0, 1.0);
    fitColumns();
}

void WordGrid::fitColumns() {
    const int both = viewport()->width();
    if (both <= 0)
        return;
    fittingColumns_ = true;
    const int first = static_cast<int>(std::lround(firstColumnShare_ * both));
    setColumnWidth(
        0, std::clamp(first, minimumColumnWidth, std::max(minimumColumnWidth, both - minimumColumnWidth)));
    fittingColumns_ = false;
}

void WordGrid::resizeEvent(QResizeEvent *event) {
    QTableWidget::resizeEvent(event);
    fitColumns();
}
