#include "entryrows.h"

#include "entrycollector.h"
#include "generatorstore.h"

std::vector<int> entryTableRows(const WordTable &table, const std::vector<std::u16string> &entryClues) {
    std::vector<int> rows(entryClues.size(), 0);
    std::size_t n = 0;
    for (int r = 1; r < table.RowCount() && n < entryClues.size(); ++r) {
        const std::u16string clue = table.Cell(0, r);
        const std::u16string answer = table.Cell(1, r);
        // The rule of CollectEntries: a clue, and an answer of at most maxAnswerLength capitals.
        if (clue.empty() || answer.empty() || upperCaseAnswer(answer).size() > std::size_t(maxAnswerLength))
            continue;
        if (clue == entryClues[n])
            rows[n] = r;
        ++n;
    }
    return rows;
}
