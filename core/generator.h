#pragma once

#include "answerrules.h"
#include "generatorstore.h"
#include "puzzlemodel.h"
#include "wordtable.h"

#include <cstdint>
#include <functional>

// Search steps of a compact layout unless asked otherwise: about a second for 100 words on two cores.
constexpr int defaultCompactEffort = 250000;

// How a generation runs: how many layouts, from which seed, on how many threads, how answers are
// written, and whom to tell about progress.
struct GenerationOptions {
    int runs = defaultRuns;
    std::uint64_t seed = 0;
    // Threads for GenerateFast: 0 takes every hardware thread. The result does not depend on it.
    int threads = 0;
    // How the answers' umlauts and ß become capitals.
    UmlautSpelling umlauts = UmlautSpelling::Capitals;
    // Called with the number of runs finished so far, always on the thread that called the generator,
    // one call at a time and with rising counts; unless cancelled, the last call reports all runs.
    // GenerateLiteral calls it after every run; GenerateFast between the runs that the calling thread
    // makes itself, so with several threads counts may be skipped. Returning false cancels the
    // generation as soon as possible: runs under way finish, no new run starts, no further call comes.
    std::function<bool(int runsDone)> onRunDone;

    // GenerateCompact only: the search steps to spend; the frame the puzzle must fit in, in cells (0 x 0:
    // none, the whole grid); without a frame, the proportions its box should have (0 x 0: none, the
    // smallest box). onRunDone then reports the steps done.
    int effort = defaultCompactEffort;
    int frameWidth = 0;
    int frameHeight = 0;
    int shapeWidth = 0;
    int shapeHeight = 0;
};

// What a generation produced, for the status line and the command line's statistics.
struct GenerationStats {
    int entries = 0;       // entries made from the word table
    int placed = 0;        // answers in the chosen puzzle
    int usedCells = 0;     // cells of the chosen puzzle that are not free
    int area = 0;          // its bounding box
    int bestRun = -1;      // the chosen run's number
    int runs = 0;          // runs made
    double meanPlaced = 0; // entries placed on average over all runs
    bool cancelled = false;
};

// Builds a puzzle from the word table: collects the entries, makes the runs with the literal placement
// (one random sequence drawn from the seed), picks the best run and moves it to the top-left corner
// of grid; the entries it names take their clue cell's direction and arrow kind. The store receives
// every run's count and figures and the best run's placements. On cancellation the model and the store
// hold a partial state; callers that must keep the old puzzle generate into copies.
GenerationStats GenerateLiteral(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options);

// Builds the same kind of puzzle as GenerateLiteral, with the same distribution of results, much faster:
// each round's outcome is drawn from its exact law instead of attempt by attempt, and the runs are
// spread over options.threads threads. Run r draws from its own generator seeded by runSeed(seed, r),
// so a seed gives the same store and puzzle on any number of threads. The entries' placement fields
// describe the last run (an entry left out keeps a random last attempt), except that every entry the
// chosen puzzle names runs in its clue cell's direction. Uses no shared state: model
// and store may be private to a worker thread. On cancellation the entries are collected, grid is
// unchanged, and the store holds the counts and figures of the finished runs only (stats.runs of them,
// not necessarily the first ones); stats.cancelled is set.
GenerationStats GenerateFast(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                             const GenerationOptions &options);

// Builds a compact puzzle from the word table: the most entries it can place (inside the frame, when
// options give one), then the box that needs the least scaling to fit the frame or the shape (the
// smallest box when there is neither), keeping the same rules as the other engines. The search is split into
// a fixed number of chains, each with its own seed drawn from options.seed and its share of options.effort,
// spread over options.threads threads: the same seed, word table, frame and effort give the same puzzle on
// any machine and any number of threads. The store receives the puzzle as its one run; the entries' placement
// fields describe it (an entry left out has tries = roundsPerEntry). On cancellation the entries are
// collected, grid and the store are unchanged, and stats.cancelled is set.
GenerationStats GenerateCompact(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options);

// The seed of run number run's random generator in GenerateFast.
std::uint64_t runSeed(std::uint64_t seed, int run);

// Chooses the best run of a filled store, builds its grid from the placements the store kept, places it
// in grid, gives the entries its clue cells name their direction and arrow kind, and summarises the
// generation.
GenerationStats FinishGeneration(PuzzleModel &model, GeneratorStore &store);
