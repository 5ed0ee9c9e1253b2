#pragma once

#include "documentfile.h"

#include <QTableWidget>

#include <string>
#include <utility>
#include <vector>

// The word table: column 0 the clue ("Frage"), column 1 the answer ("Antwort"). Rows are numbered as
// the program counts them: row 0 is the header, shown as the table's fixed header row, and rows 1 to
// RowCount() - 1 hold the words. It works like a spreadsheet: a rectangular range can be selected,
// every word cell is edited in place, Ctrl+C copies the selected cells as tab-separated lines, Ctrl+V
// pastes such a block at the current cell, Ctrl+X cuts and Delete empties the selected cells.
class WordGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int columns = 2;
    static constexpr int defaultColumnWidth = 150;
    static constexpr int defaultRowHeight = 24;
    // Most word rows the table takes from a document. A million empty rows fill the table in well under
    // a second with about 30 MB; filled with short words they take about 500 MB (bench_documentwindow).
    // Far more rows would make the memory, not the file, the limit.
    static constexpr int maxWordRows = maxOpenedWordRows;

    explicit WordGrid(QWidget *parent = nullptr);

    // Number of rows, header row included.
    int RowCount() const { return rowCount() + 1; }
    // Sets the number of rows, header row included (at least 1); texts of rows that stay are kept.
    void setRowCount(int rows);
    // The text of a cell; row 0 is the header. Empty outside the table.
    QString Cells(int column, int row) const;
    // Sets the text of a cell; row 0 is the header. Cells outside the table are ignored.
    void setCells(int column, int row, const QString &text);
    // Empties every word row (1 to RowCount() - 1); the header and the row count stay.
    void clearWordRows();
    // Replaces every word row: the table gets rows.size() + 1 rows (at most maxWordRows word rows are
    // taken), row r the texts of rows[r - 1], the header stays. An edit in progress is dropped, so
    // that its old text cannot land in the new table later.
    void setWordRows(const std::vector<std::pair<std::u16string, std::u16string>> &rows);
    // Writes the text of an edit in progress into its cell; the editor stays open.
    void commitEdit();

    // Copies the selected cells to the clipboard as tab-separated lines.
    void copySelectedCells();
    // Pastes the clipboard's block with its top-left cell at the current cell (the top-left of the
    // selection); what passes the table's last row or column is left out.
    void pasteBlock();
    // Empties the selected cells.
    void clearSelectedCells();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The editor of an edit in progress, else null.
    QWidget *openEditor() const;
    // The top-left cell of the selection, else the current cell; row and column of the view.
    QModelIndex pasteAnchor() const;
};
