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

VectorWordTable copyWordRows(const WordTable &table) {
    std::vector<VectorWordTable::Row> rows;
    for (int r = 1; r < table.RowCount(); ++r) {
        std::u16string clue = table.Cell(0, r);
        std::u16string answer = table.Cell(1, r);
        if (!clue.empty() && !answer.empty())
            rows.emplace_back(std::move(clue), std::move(answer));
    }
    return VectorWordTable(std::move(rows), 0);
}
