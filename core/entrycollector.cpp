#include "entrycollector.h"

#include "generatorstore.h"

std::u16string upperCaseAnswer(const std::u16string &answer) {
    std::u16string upper = answer;
    for (char16_t &c : upper)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
}

void CollectEntries(const WordTable &table, PuzzleModel &model) {
    model.FreeRaten();
    for (int r = 1; r < table.RowCount(); ++r) {
        const std::u16string clue = table.Cell(0, r);
        const std::u16string answer = table.Cell(1, r);
        if (clue.empty() || answer.empty())
            continue;
        const std::u16string upper = upperCaseAnswer(answer);
        if (upper.size() > static_cast<std::size_t>(maxAnswerLength))
            continue;
        if (!model.AddEntry(clue, upper))
            return; // out of memory, already reported; the entries so far stay usable
    }
}
