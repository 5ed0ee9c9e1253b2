#include "documentfacts.h"

#include "documentconversion.h"
#include "entrysources.h"

DocumentFacts documentFacts(const PuzzleDocument &document) {
    DocumentFacts facts;
    facts.rows = static_cast<int>(document.rows.size());
    for (const VectorWordTable::Row &row : document.rows)
        if (!row.first.empty() || !row.second.empty())
            ++facts.nonEmptyRows;
    facts.entries = static_cast<int>(document.entries.size());
    for (std::int32_t cell : document.grid) {
        if (isFreeCell(cell)) {
            ++facts.freeCells;
        } else if (isLetterCell(cell)) {
            ++facts.letterCells;
        } else {
            ++facts.clueCells;
            if (clueEntryIndex(cell) < document.entries.size())
                ++facts.placedEntries;
        }
    }
    facts.extent = usedExtent(document.grid);
    std::vector<EntryTexts> entries;
    entries.reserve(document.entries.size());
    for (const PuzzleDocumentEntry &entry : document.entries)
        entries.push_back({entry.clue, entry.answer});
    facts.leftOutRows = leftOutRows(documentWordTable(document), entries, document.grid);
    return facts;
}
