#include "samplepuzzle.h"

void placeAnswer(PuzzleModel &model, const std::u16string &clue, const std::u16string &answer, Placement at) {
    model.AddEntry(clue, answer);
    commitPlacement(model.grid, answer, at, model.entryCount() - 1);
}

void smallPuzzle(PuzzleModel &model) {
    model.grid = freeGrid();
    placeAnswer(model, u"Stadt", u"HAUS", {false, 1, 1});
    placeAnswer(model, u"Himmelsrichtung", u"OST", {true, 6, 1});
}
