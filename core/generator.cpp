#include "generator.h"

#include "entrycollector.h"
#include "literalgenerator.h"
#include "runselection.h"

GenerationStats FinishGeneration(PuzzleModel &model, GeneratorStore &store) {
    const BestRun best = ChooseBestRun(store);
    PlaceBestRun(model, store, best, model.grid);
    model.storeClueDirections();
    GenerationStats stats;
    stats.entries = static_cast<int>(model.entryCount());
    stats.placed = store.mostPlaced;
    stats.usedCells = best.usedCells;
    stats.area = best.area;
    stats.bestRun = best.run;
    stats.runs = store.runs();
    double sum = 0;
    for (std::int32_t n : store.placedPerRun)
        sum += n;
    stats.meanPlaced = store.runs() > 0 ? sum / store.runs() : 0.0;
    return stats;
}

GenerationStats GenerateLiteral(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options) {
    CollectEntries(table, model, options.umlauts);
    store.prepare(options.runs);
    RandomGenerator rng(options.seed);
    store.mostPlaced = 0;
    for (int run = 0; run < options.runs; ++run) {
        store.placedInLastRun = LiteralRun(model, rng);
        store.setRun(run, store.placedInLastRun, runFigures(model.grid));
        if (store.keepEveryRun || store.keptRun < 0 || store.ranksBefore(run, store.keptRun))
            store.offerPlacements(run, placedEntries(model));
        if (store.placedInLastRun > store.mostPlaced)
            store.mostPlaced = store.placedInLastRun;
        if (options.onRunDone && !options.onRunDone(run + 1)) {
            GenerationStats stats;
            stats.cancelled = true;
            stats.runs = run + 1;
            return stats;
        }
    }
    return FinishGeneration(model, store);
}
