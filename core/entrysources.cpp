#include "entrysources.h"

#include "answerrules.h"
#include "puzzlemodel.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Whether an answer typed into the table is written as written under some rule the program has used.
bool writtenFrom(const std::u16string &typed, const std::u16string &written) {
    for (UmlautSpelling spelling :
         {UmlautSpelling::Capitals, UmlautSpelling::Digraphs, UmlautSpelling::AsTyped})
        if (puzzleAnswer(typed, spelling) == written)
            return true;
    return upperCaseAnswer(typed) == written;
}

// Matches entries to rows in order: entry i gets the first row after the previous match that holds its
// clue and that fits(row, i) accepts; 0 when there is none.
template <typename Fits>
std::vector<int> matchRowsInOrder(const WordTable &table, const std::vector<std::u16string> &clues,
                                  const Fits &fits) {
    // Rows by clue, ascending, so that each entry looks only at rows with its own clue.
    std::unordered_map<std::u16string, std::vector<int>> rowsByClue;
    for (int r = 1; r < table.RowCount(); ++r) {
        std::u16string clue = table.Cell(0, r);
        if (!clue.empty())
            rowsByClue[std::move(clue)].push_back(r);
    }
    std::vector<int> rows(clues.size(), 0);
    int previous = 0;
    for (std::size_t i = 0; i < clues.size(); ++i) {
        const auto found = rowsByClue.find(clues[i]);
        if (found == rowsByClue.end())
            continue;
        const std::vector<int> &candidates = found->second;
        for (auto r = std::upper_bound(candidates.begin(), candidates.end(), previous); r != candidates.end();
             ++r) {
            if (fits(*r, i)) {
                rows[i] = previous = *r;
                break;
            }
        }
    }
    return rows;
}

} // namespace

std::vector<EntryTexts> entryTextsOf(const PuzzleModel &model) {
    std::vector<EntryTexts> texts;
    texts.reserve(model.entryCount());
    for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
        const TPuzzleEntry &entry = model.entryAt(i);
        texts.push_back({entryText(entry.clue), entryText(entry.answer)});
    }
    return texts;
}

std::vector<int> entrySourceRows(const WordTable &table, const std::vector<EntryTexts> &entries) {
    std::vector<std::u16string> clues;
    clues.reserve(entries.size());
    for (const EntryTexts &entry : entries)
        clues.push_back(entry.clue);
    return matchRowsInOrder(table, clues, [&](int row, std::size_t i) {
        return writtenFrom(table.Cell(1, row), entries[i].answer);
    });
}

std::vector<int> entryClueRows(const WordTable &table, const std::vector<std::u16string> &entryClues) {
    // Written as typed, an answer is at its shortest: a row that made an entry under any spelling
    // passes.
    return matchRowsInOrder(table, entryClues, [&](int row, std::size_t) {
        return checkWordRow(table.Cell(0, row), table.Cell(1, row), UmlautSpelling::AsTyped).problem ==
               RowProblem::None;
    });
}

std::vector<bool> placedEntries(const Grid &grid, std::size_t entryCount) {
    std::vector<bool> placed(entryCount, false);
    for (std::int32_t cell : grid)
        if (isClueCell(cell) && clueEntryIndex(cell) < entryCount)
            placed[clueEntryIndex(cell)] = true;
    return placed;
}

std::vector<int> leftOutRows(const WordTable &table, const std::vector<EntryTexts> &entries,
                             const Grid &grid) {
    const std::vector<int> sources = entrySourceRows(table, entries);
    const std::vector<bool> placed = placedEntries(grid, entries.size());
    std::vector<int> rows;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!placed[i] && sources[i] > 0)
            rows.push_back(sources[i]);
    return rows;
}
