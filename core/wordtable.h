#pragma once

#include <string>
#include <utility>
#include <vector>

// What the generator needs of the word table: its row count (header row 0 included) and the text of
// each cell; column 0 holds the clue ("Frage"), column 1 the answer ("Antwort").
class WordTable {
public:
    virtual ~WordTable() = default;
    virtual int RowCount() const = 0;
    virtual std::u16string Cell(int column, int row) const = 0;
};

// A word table held in memory: row 0 is the header, rows 1.. the word rows.
class VectorWordTable : public WordTable {
public:
    using Row = std::pair<std::u16string, std::u16string>;

    // A table of wordRows empty word rows below the header.
    explicit VectorWordTable(int wordRows = 999);
    // A table holding the given word rows, padded with empty rows to at least minimumWordRows.
    VectorWordTable(std::vector<Row> rows, int minimumWordRows);

    int RowCount() const override { return static_cast<int>(rows_.size()) + 1; }
    std::u16string Cell(int column, int row) const override;
    void setCell(int column, int row, const std::u16string &text);

private:
    std::vector<Row> rows_;
};

// A copy of the word rows of table that hold both a clue and an answer, in row order. The generator
// collects the same entries from it as from table itself, and it stays as it is while table changes.
VectorWordTable copyWordRows(const WordTable &table);
