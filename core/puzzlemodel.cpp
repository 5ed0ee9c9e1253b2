#include "puzzlemodel.h"

#include <cstdlib>
#include <cstring>
#include <utility>

PuzzleModel::PuzzleModel() : raten(sizeof(TPuzzleEntry), &arat) {}

PuzzleModel::~PuzzleModel() {
    FreeRaten();
}

void PuzzleModel::FreeRaten() {
    raten.First();
    while (raten.WhileNext()) {
        std::free(arat->clue);
        std::free(arat->answer);
    }
    raten.Clear();
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
    if (!raten.Add())
        return nullptr;
    TPuzzleEntry *added = arat;
    SetEntryText(added->clue, clue);
    SetEntryText(added->answer, answer);
    return added;
}

const TPuzzleEntry *PuzzleModel::entryOfClueCell(std::int32_t cellValue) const {
    const std::uint32_t index = clueEntryIndex(cellValue);
    if (index >= raten.count())
        return nullptr;
    return &entryAt(index);
}

void PuzzleModel::storeClueDirections() {
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = feld[cellIndex(x, y)];
            if (!isClueCell(v) || clueEntryIndex(v) >= raten.count())
                continue;
            TPuzzleEntry *named = entry(clueEntryIndex(v));
            named->down = clueRunsDown(v) ? 1 : 0;
            named->arrowkind = clueArrowKind(v);
        }
}

void PuzzleModel::takeOver(PuzzleModel &other) {
    FreeRaten();
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
    feld = other.feld;
    other.FreeRaten();
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
