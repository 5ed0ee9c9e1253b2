#include "literalgenerator.h"

#include "generatorstore.h"
#include "placement.h"

namespace {

bool someEntryOpen(PuzzleModel &model) {
    for (std::uint32_t i = 0; i < model.entryCount(); ++i)
        if (!model.entry(i)->done)
            return true;
    return false;
}

} // namespace

int LiteralRun(PuzzleModel &model, RandomGenerator &rng) {
    int fitted = 0;
    bool firstEntry = true;
    for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
        model.entry(i)->done = 0;
        model.entry(i)->tries = 0;
    }
    model.grid.fill(cellFree);

    while (someEntryOpen(model)) {
        std::uint32_t picked;
        do {
            picked = rng.Random(model.entryCount());
        } while (model.entry(picked)->done);
        TPuzzleEntry *e = model.entry(picked);
        const std::u16string answer = entryText(e->answer);
        const auto length = static_cast<std::uint32_t>(answer.size());

        bool success = false;
        Placement at;
        for (int attempt = 1; attempt <= attemptsPerRound && !success; ++attempt) {
            e->done = 1;
            e->down = rng.Random(2) == 0;
            e->arrowkind = 0;
            e->line = static_cast<std::int32_t>(rng.Random(gridSize));
            e->start = static_cast<std::int32_t>(rng.Random(gridSize - length) + 1);
            at = Placement{e->down != 0, e->line, e->start};
            PlacementTest test = testPlacement(model.grid, answer, at);
            success = !test.conflict && (test.crossed || firstEntry);
        }
        if (success) {
            commitPlacement(model.grid, answer, at, picked);
            ++fitted;
            firstEntry = false;
        } else {
            e->tries += 1;
            if (e->tries < roundsPerEntry)
                e->done = 0;
        }
    }
    return fitted;
}
