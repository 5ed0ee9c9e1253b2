#pragma once

#include "generatorstore.h"
#include "puzzlemodel.h"
#include "wordtable.h"

#include <cstdint>
#include <functional>

// How a generation runs: how many layouts, from which seed, and whom to tell about progress.
struct GenerationOptions {
    int runs = defaultRuns;
    std::uint64_t seed = 0;
    // Called after each finished run with the number of runs done; returning false cancels.
    std::function<bool(int runsDone)> onRunDone;
};

// What a generation produced, for the status line and the command line's statistics.
struct GenerationStats {
    int entries = 0;      // entries made from the word table
    int placed = 0;       // answers in the chosen puzzle
    int usedCells = 0;    // cells of the chosen puzzle that are not free
    int area = 0;         // its bounding box
    int bestRun = -1;     // the chosen run's number
    int runs = 0;         // runs made
    double meanPlaced = 0; // entries placed on average over all runs
    bool cancelled = false;
};

// Builds a puzzle from the word table: collects the entries, makes the runs with the literal placement
// (one random sequence drawn from the seed), picks the best run and moves it to the top-left corner
// of feld. The store receives every run's grid and count. On cancellation the model and the store hold
// a partial state; callers that must keep the old puzzle generate into copies.
GenerationStats GenerateLiteral(const WordTable &table, PuzzleModel &model, GeneratorStore &store,
                                const GenerationOptions &options);

// Chooses the best run of a filled store, places it in feld and summarises the generation.
GenerationStats FinishGeneration(const PuzzleModel &model, GeneratorStore &store, Grid &feld);
