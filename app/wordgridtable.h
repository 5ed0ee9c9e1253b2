#pragma once

#include "wordtable.h"

class WordGrid;

// The word table as the generator reads it: row count with the header, and the text of each cell.
class WordGridTable : public WordTable {
public:
    explicit WordGridTable(const WordGrid &grid) : grid_(grid) {}

    int RowCount() const override;
    std::u16string Cell(int column, int row) const override;

private:
    const WordGrid &grid_;
};
