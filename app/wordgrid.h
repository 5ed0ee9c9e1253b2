#pragma once

#include "documentfile.h"
#include "rowmarks.h"

#include <QTableWidget>
#include <QUndoStack>

#include <string>
#include <utility>
#include <vector>

class CellsCommand;
class ReplaceRowsCommand;
class RowCommand;

// The word table: column 0 the clue ("Frage"), column 1 the answer ("Antwort"). Rows are numbered as
// the program counts them: row 0 is the header, shown as the table's fixed header row, and rows 1 to
// RowCount() - 1 hold the words; the row numbers show at the left. It works like a spreadsheet: a
// rectangular range can be selected, every word cell is edited in place, Ctrl+C copies the selected
// cells as tab-separated lines, Ctrl+V pastes such a block at the current cell, Ctrl+X cuts and
// Delete empties the selected cells; the context menu also inserts and removes rows. Every change of
// the word rows through these functions is a step on the table's undo stack; only a whole new table
// (setWordRows, clearWordRows) starts a new stack. The two columns can be resized and share the
// table's width in the proportion the user gave them. Rows can be marked (a background and a tooltip).
class WordGrid : public QTableWidget {
    Q_OBJECT

public:
    using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

    static constexpr int columns = 2;
    static constexpr int defaultColumnWidth = 150;
    static constexpr int defaultRowHeight = 24;
    // Most word rows the table takes from a document. A million empty rows fill the table in well under
    // a second with about 30 MB; filled with short words they take about 500 MB (bench_documentwindow).
    // Far more rows would make the memory, not the file, the limit.
    static constexpr int maxWordRows = maxOpenedWordRows;

    explicit WordGrid(QWidget *parent = nullptr);
    // Its undo stack goes quietly: those who listen to it may be gone already.
    ~WordGrid() override;

    // Number of rows, header row included.
    int RowCount() const { return rowCount() + 1; }
    // Sets the number of rows, header row included (at least 1); texts of rows that stay are kept.
    void setRowCount(int rows);
    // The text of a cell; row 0 is the header. Empty outside the table.
    QString Cells(int column, int row) const;
    // Sets the text of a cell; row 0 is the header. A word cell changes as one undoable step, as if
    // typed; setting the text it has already changes nothing. Cells outside the table are ignored.
    void setCells(int column, int row, const QString &text);
    // Empties every word row (1 to RowCount() - 1); the header and the row count stay; the undo stack
    // starts anew.
    void clearWordRows();
    // Replaces every word row: the table gets rows.size() + 1 rows (at most maxWordRows word rows are
    // taken), row r the texts of rows[r - 1], the header stays, the undo stack starts anew. An edit in
    // progress is dropped, so that its old text cannot land in the new table later.
    void setWordRows(const Rows &rows);
    // Replaces every word row as setWordRows does, as one undoable step called text.
    void replaceWordRows(const Rows &rows, const QString &text);
    // The texts of every word row, in order.
    Rows wordRows() const;
    // Writes the text of an edit in progress into its cell; the editor stays open.
    void commitEdit();

    // Inserts an empty word row before row (1 to RowCount()), or removes word row row, as an undoable
    // step; the table keeps its number of rows where it can (see RowCommand).
    void insertWordRow(int row);
    void removeWordRow(int row);
    // Removes the rows of the selection (else the current row) in one undoable step.
    void removeSelectedRows();

    // Copies the selected cells to the clipboard as tab-separated lines.
    void copySelectedCells();
    // Pastes the clipboard's block with its top-left cell at the current cell (the top-left of the
    // selection); what passes the table's last row or column is left out.
    void pasteBlock();
    // Empties the selected cells; called text on the undo stack.
    void clearSelectedCells(const QString &text = QStringLiteral("Löschen"));

    QUndoStack &undoStack() { return undoStack_; }

    // The marks of the rows (by word row number); unmarked rows are drawn as usual.
    void setRowMarks(RowMarks marks);
    const RowMark *rowMark(int row) const;
    // Selects the given word rows (both columns) and shows the first of them.
    void selectRows(const std::vector<int> &rows);

    // The first column's share of the width of both columns (0 to 1), kept when the table's width
    // changes; the user sets it by dragging the border between the columns.
    double firstColumnShare() const { return firstColumnShare_; }
    void setFirstColumnShare(double share);

signals:
    // The texts or the number of the word rows changed, by any function of the table.
    void wordRowsChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class CellsCommand;
    friend class RowCommand;
    friend class ReplaceRowsCommand;

    // The raw changes the undo steps make.
    void writeCell(int column, int row, const QString &text);
    void insertEmptyRow(int row);
    void removeRowAt(int row);
    void fillWordRows(const Rows &rows);
    void showCells(int top, int left, int bottom, int right);
    void notifyRowsChanged() { emit wordRowsChanged(); }

    // Changes several cells as one undoable step; unchanged cells are left out, no change adds no step.
    void changeCells(const std::vector<std::pair<QModelIndex, QString>> &cells, const QString &text);
    // The editor of an edit in progress, else null.
    QWidget *openEditor() const;
    // The top-left cell of the selection, else the current cell; row and column of the view.
    QModelIndex pasteAnchor() const;
    // Gives the first column its share of the width that both columns have.
    void fitColumns();

    QUndoStack undoStack_;
    RowMarks marks_;
    double firstColumnShare_ = 0.5;
    bool fittingColumns_ = false;
};
