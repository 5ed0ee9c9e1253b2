#include "generator.h"

#include "compactchain.h"
#include "entrycollector.h"
#include "runselection.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// The search is split into this many independent chains whatever the number of threads, so that the
// result does not depend on it.
constexpr int compactChains = 2;

// What the threads share: the next chain to take, the steps spent, the chains finished and the
// cancel flag.
struct ChainQueue {
    std::atomic<int> nextChain{0};
    std::atomic<std::int64_t> spent{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable chainFinished;
    int finished = 0;
    std::exception_ptr failure;
};

// Gives the entries the placement fields of the layout as compactGrid writes it.
void describePlacements(const CompactLayout &layout, PuzzleModel &model) {
    const CellBox box = layout.box();
    for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
        TPuzzleEntry *e = model.entry(i);
        const CompactPlacement &at = layout.placement(static_cast<int>(i));
        e->done = 1;
        e->arrowkind = 0;
        e->tries = at.placed ? 0 : roundsPerEntry;
        e->down = at.placed && at.down ? 1 : 0;
        e->line = !at.placed ? 0 : at.down ? at.x - box.left : at.y - box.top;
        e->start = !at.placed ? 1 : at.down ? at.y - box.top : at.x - box.left;
    }
}

} // namespace

GenerationStats GenerateCompact(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options) {
    CollectEntries(table, model, options.umlauts);
    std::vector<std::u16string> answers;
    for (std::uint32_t i = 0; i < model.entryCount(); ++i)
        answers.push_back(entryText(model.entry(i)->answer));
    const CompactWords words(answers);
    LayoutShape frame;
    if (options.frameWidth > 0 && options.frameHeight > 0)
        frame = {std::min(options.frameWidth, gridSize), std::min(options.frameHeight, gridSize)};
    LayoutShape shape = frame;
    if (!frame.given() && options.shapeWidth > 0 && options.shapeHeight > 0)
        shape = {options.shapeWidth, options.shapeHeight};
    const std::int64_t effort = std::max(options.effort, 1);

    ChainQueue queue;
    std::vector<std::optional<CompactLayout>> results(compactChains);
    int reported = 0;
    // Called on the calling thread only.
    const auto report = [&] {
        const int done = static_cast<int>(std::min(queue.spent.load(), effort));
        if (!options.onRunDone || done <= reported || queue.cancelled)
            return;
        reported = done;
        if (!options.onRunDone(done))
            queue.cancelled = true;
    };
    const auto makeChains = [&](bool reporting) {
        for (;;) {
            const int chain = queue.nextChain.fetch_add(1);
            if (chain >= compactChains)
                break;
            SearchBudget budget(effort / compactChains + (chain < effort % compactChains ? 1 : 0),
                                [&](int steps) {
                                    queue.spent += steps;
                                    if (reporting)
                                        report();
                                    return !queue.cancelled;
                                });
            try {
                if (!queue.cancelled)
                    results[static_cast<std::size_t>(chain)] =
                        searchCompactLayout(words, frame, shape, runSeed(options.seed, chain), budget);
            } catch (...) {
                std::lock_guard<std::mutex> lock(queue.mutex);
                if (!queue.failure)
                    queue.failure = std::current_exception();
                queue.cancelled = true;
            }
            std::lock_guard<std::mutex> lock(queue.mutex);
            ++queue.finished;
            queue.chainFinished.notify_all();
        }
    };

    int threads =
        options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::min(std::max(threads, 1), compactChains);
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(makeChains, false);
    makeChains(true);
    {
        // The other chains may still run: report their progress while waiting.
        std::unique_lock<std::mutex> lock(queue.mutex);
        while (queue.finished < compactChains) {
            queue.chainFinished.wait_for(lock, std::chrono::milliseconds(20));
            lock.unlock();
            report();
            lock.lock();
        }
    }
    for (std::thread &worker : workers)
        worker.join();
    if (queue.failure)
        std::rethrow_exception(queue.failure);
    if (queue.cancelled) {
        GenerationStats stats;
        stats.cancelled = true;
        stats.entries = static_cast<int>(model.entryCount());
        return stats;
    }
    queue.spent = effort;
    report();

    std::size_t best = 0;
    for (std::size_t c = 1; c < results.size(); ++c)
        if (betterLayout(*results[c], *results[best], shape))
            best = c;
    store.prepare(1);
    describePlacements(*results[best], model);
    store.setRun(0, results[best]->placedCount(), runFigures(compactGrid(*results[best])));
    store.offerPlacements(0, placedEntries(model));
    store.placedInLastRun = store.placedPerRun[0];
    store.mostPlaced = store.placedPerRun[0];
    return FinishGeneration(model, store);
}
