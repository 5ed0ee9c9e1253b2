#include "wordtable.h"

VectorWordTable::VectorWordTable(int wordRows) : rows_(static_cast<std::size_t>(wordRows)) {}

VectorWordTable::VectorWordTable(std::vector<Row> rows, int minimumWordRows) : rows_(std::move(rows)) {
    if (rows_.size() < static_cast<std::size_t>(minimumWordRows))
        rows_.resize(static_cast<std::size_t>(minimumWordRows));
}

std::u16string VectorWordTable::Cell(int column, int row) const {
    if (row == 0)
        return column == 0 ? u"Frage" : u"Antwort";
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return {};
    const Row &r = rows_[static_cast<std::size_t>(row - 1)];
    return column == 0 ? r.first : r.second;
}

void VectorWordTable::setCell(int column, int row, const std::u16string &text) {
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return;
    Row &r = rows_[static_cast<std::size_t>(row - 1)];
    (column == 0 ? r.first : r.second) = text;
}
