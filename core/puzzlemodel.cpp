#include "puzzlemodel.h"

#include <cstdlib>
#include <cstring>
#include <utility>

PuzzleModel::PuzzleModel() : entries(sizeof(TPuzzleEntry), &currentEntry) {}

PuzzleModel::~PuzzleModel() {
    releaseEntries();
}

void PuzzleModel::releaseEntries() {
    entries.First();
    while (entries.WhileNext()) {
        std::free(currentEntry->clue);
        std::free(currentEntry->answer);
    }
    entries.Clear();
}

void PuzzleModel::SetEntryText(char16_t *&target, const std::u16string &text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    auto *buffer = static_cast<char16_t *>(std::calloc(1, bytes));
    if (!buffer)
        throw std::bad_alloc();
    std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
    target = buffer;
}

TPuzzleEntry *PuzzleModel::AddEntry(const std::u16string &clue, const std::u16string &answer) {
    if (!entries.Add())
        return nullptr;
    TPuzzleEntry *added = currentEntry;
    SetEntryText(added->clue, clue);
    SetEntryText(added->answer, answer);
    return added;
}

const TPuzzleEntry *PuzzleModel::entryOfClueCell(std::int32_t cellValue) const {
    const std::uint32_t index = clueEntryIndex(cellValue);
    if (index >= entries.count())
        return nullptr;
    return &entryAt(index);
}

void PuzzleModel::storeClueDirections() {
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (!isClueCell(v) || clueEntryIndex(v) >= entries.count())
                continue;
            TPuzzleEntry *named = entry(clueEntryIndex(v));
            named->down = clueRunsDown(v) ? 1 : 0;
            named->arrowkind = clueArrowKind(v);
        }
}

void PuzzleModel::takeOver(PuzzleModel &other) {
    releaseEntries();
    for (std::uint32_t i = 0; i < other.entryCount(); ++i) {
        const TPuzzleEntry placement = *other.entry(i);
        TPuzzleEntry *copy = AddEntry(entryText(placement.clue), entryText(placement.answer));
        if (!copy)
            break;
        char16_t *clue = copy->clue;
        char16_t *answer = copy->answer;
        *copy = placement;
        copy->clue = clue;
        copy->answer = answer;
    }
    grid = other.grid;
    other.releaseEntries();
}

std::size_t entryTextLength(const char16_t *text) {
    if (!text)
        return 0;
    std::size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

std::u16string entryText(const char16_t *text) {
    return std::u16string(text, entryTextLength(text));
}
