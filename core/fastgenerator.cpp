#include "generator.h"

#include "entrycollector.h"
#include "fastrun.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// What the threads share: the next run to take, the number of runs finished and the cancel flag.
struct RunQueue {
    RunQueue(const std::vector<FastAnswer> &a, GeneratorStore &s, std::uint64_t seedValue)
        : answers(a), store(s), seed(seedValue) {}

    const std::vector<FastAnswer> &answers;
    GeneratorStore &store;
    const std::uint64_t seed;
    std::atomic<int> nextRun{0};
    std::atomic<int> finished{0};
    std::atomic<bool> cancelled{false};
    std::mutex offering;                        // one thread at a time offers placements to the store
    std::vector<FastRun::EntryOutcome> lastRun; // outcomes of the store's last run
};

// Takes runs from the queue until none is left or the generation is cancelled, calling afterRun after
// each. Each run draws from its own generator, so what a run produces does not depend on which thread
// makes it. A thread offers the store the placements of each run that beats its own earlier runs; the
// best run of all is among them.
template <typename AfterRun> void makeRuns(RunQueue &queue, AfterRun afterRun) {
    // A run's working state holds its grid and line bits by value: on the heap rather than on a
    // thread's stack.
    const auto runner = std::make_unique<FastRun>(queue.answers);
    GeneratorStore &store = queue.store;
    const int runs = store.runs();
    int ownBest = -1;
    while (!queue.cancelled.load(std::memory_order_relaxed)) {
        const int run = queue.nextRun.fetch_add(1);
        if (run >= runs)
            break;
        RandomGenerator rng(runSeed(queue.seed, run));
        const int fitted = runner->run(rng);
        store.setRun(run, fitted, runner->figures());
        const bool beatsOwn = ownBest < 0 || store.ranksBefore(run, ownBest);
        if (beatsOwn)
            ownBest = run;
        if (beatsOwn || store.keepEveryRun) {
            std::lock_guard<std::mutex> lock(queue.offering);
            store.offerPlacements(run, runner->placements());
        }
        if (run == runs - 1) {
            runner->drawLastAttempts(rng);
            queue.lastRun = runner->outcomes();
        }
        queue.finished.fetch_add(1, std::memory_order_release);
        afterRun();
    }
}

// Makes the runs on the calling thread and threads - 1 more. The calling thread reports progress
// between its own runs, so onRunDone is never called from another thread and never concurrently.
void makeAllRuns(RunQueue &queue, const GenerationOptions &options, int threads) {
    int reported = 0;
    auto report = [&] {
        const int finished = queue.finished.load(std::memory_order_acquire);
        if (!options.onRunDone || finished <= reported || queue.cancelled)
            return;
        reported = finished;
        if (!options.onRunDone(finished))
            queue.cancelled = true;
    };

    std::exception_ptr failure;
    std::mutex failureMutex;
    auto keepFailure = [&] {
        std::lock_guard<std::mutex> lock(failureMutex);
        if (!failure)
            failure = std::current_exception();
        queue.cancelled = true;
    };
    std::vector<std::thread> workers;
    try {
        for (int t = 1; t < threads; ++t)
            workers.emplace_back([&] {
                try {
                    makeRuns(queue, [] {});
                } catch (...) {
                    keepFailure();
                }
            });
        makeRuns(queue, report);
    } catch (...) {
        keepFailure();
    }
    for (std::thread &worker : workers)
        worker.join();
    if (failure)
        std::rethrow_exception(failure);
    report();
}

} // namespace

std::uint64_t runSeed(std::uint64_t seed, int run) {
    return mix64(mix64(seed) + (static_cast<std::uint64_t>(run) + 1) * 0x9E3779B97F4A7C15ULL);
}

GenerationStats GenerateFast(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                             const GenerationOptions &options) {
    CollectEntries(table, model, options.umlauts);
    store.prepare(options.runs);
    std::vector<FastAnswer> answers;
    for (std::uint32_t i = 0; i < model.entryCount(); ++i)
        answers.push_back(makeFastAnswer(entryText(model.entry(i)->answer)));

    int threads =
        options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::min(std::max(threads, 1), std::max(store.runs(), 1));
    RunQueue queue(answers, store, options.seed);
    makeAllRuns(queue, options, threads);

    if (queue.cancelled) {
        GenerationStats stats;
        stats.cancelled = true;
        stats.entries = static_cast<int>(model.entryCount());
        stats.runs = queue.finished;
        return stats;
    }
    store.mostPlaced = 0;
    for (std::int32_t n : store.placedPerRun)
        store.mostPlaced = std::max(store.mostPlaced, n);
    if (store.runs() > 0) {
        store.placedInLastRun = store.placedPerRun.back();
        for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
            const FastRun::EntryOutcome &outcome = queue.lastRun[i];
            TPuzzleEntry *e = model.entry(i);
            e->done = 1;
            e->tries = outcome.tries;
            e->down = outcome.at.down ? 1 : 0;
            e->line = outcome.at.line;
            e->start = outcome.at.start;
            e->arrowkind = 0;
        }
    }
    return FinishGeneration(model, store);
}
