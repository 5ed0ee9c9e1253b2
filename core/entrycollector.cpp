#include "entrycollector.h"

void CollectEntries(const WordTable &table, PuzzleModel &model, UmlautSpelling spelling) {
    model.releaseEntries();
    for (int r = 1; r < table.RowCount(); ++r) {
        const std::u16string clue = table.Cell(0, r);
        const WordRowCheck row = checkWordRow(clue, table.Cell(1, r), spelling);
        if (row.problem != RowProblem::None)
            continue;
        if (!model.AddEntry(clue, row.answer))
            return; // out of memory, already reported; the entries so far stay usable
    }
}
