#include "generator.h"

#include "entrycollector.h"
#include "literalgenerator.h"
#include "runselection.h"

GenerationStats FinishGeneration(PuzzleModel &model, GeneratorStore &store) {
    const BestRun best = ChooseBestRun(store);
    PlaceBestRun(store, best, model.feld);
    model.storeClueDirections();
    GenerationStats stats;
    stats.entries = static_cast<int>(model.entryCount());
    stats.placed = store.maxfitted;
    stats.usedCells = best.usedCells;
    stats.area = best.area;
    stats.bestRun = best.run;
    stats.runs = store.runs();
    double sum = 0;
    for (std::int32_t n : store.fittedall)
        sum += n;
    stats.meanPlaced = store.runs() > 0 ? sum / store.runs() : 0.0;
    return stats;
}

GenerationStats GenerateLiteral(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options) {
    CollectEntries(table, model, options.umlauts);
    store.prepare(options.runs);
    RandomGenerator rng(options.seed);
    store.maxfitted = 0;
    for (int run = 0; run < options.runs; ++run) {
        store.fitted = LiteralRun(model, rng);
        store.felder[static_cast<std::size_t>(run)] = model.feld;
        store.fittedall[static_cast<std::size_t>(run)] = store.fitted;
        if (store.fitted > store.maxfitted)
            store.maxfitted = store.fitted;
        if (options.onRunDone && !options.onRunDone(run + 1)) {
            GenerationStats stats;
            stats.cancelled = true;
            stats.runs = run + 1;
            return stats;
        }
    }
    return FinishGeneration(model, store);
}
