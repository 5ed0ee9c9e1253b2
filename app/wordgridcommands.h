#pragma once

#include <QString>
#include <QUndoCommand>

#include <string>
#include <utility>
#include <vector>

class WordGrid;

// The word table's undoable steps. Rows are numbered as the program counts them (word rows from 1).

// Changes the texts of some cells: a typed cell, a pasted block, emptied or cut cells.
class CellsCommand : public QUndoCommand {
public:
    struct Change {
        int column;
        int row;
        QString before;
        QString after;
    };

    CellsCommand(WordGrid &grid, std::vector<Change> changes, const QString &text);
    void undo() override;
    void redo() override;

private:
    void show();

    WordGrid &grid_;
    std::vector<Change> changes_;
};

// Inserts an empty word row before a row, or removes a row. The table keeps its number of rows where
// it can: an insertion drops an empty last row, a removal adds an empty row at the end.
class RowCommand : public QUndoCommand {
public:
    enum Kind { Insert, Remove };

    RowCommand(WordGrid &grid, Kind kind, int row);
    void undo() override;
    void redo() override;

private:
    void insertRow();
    void removeRow();

    WordGrid &grid_;
    Kind kind_;
    int row_;
    std::pair<QString, QString> removedTexts_;
    bool lastRowDropped_ = false; // by an insertion
};

// Replaces every word row, as an imported word list does.
class ReplaceRowsCommand : public QUndoCommand {
public:
    using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

    ReplaceRowsCommand(WordGrid &grid, Rows before, Rows after, const QString &text);
    void undo() override;
    void redo() override;

private:
    WordGrid &grid_;
    Rows before_;
    Rows after_;
};
