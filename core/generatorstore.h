#pragma once

#include "grid.h"

#include <cstdint>
#include <vector>

constexpr int defaultRuns = 1001;      // randomised layouts per generation
constexpr int attemptsPerRound = 1001; // placement attempts in one round of an entry
constexpr int roundsPerEntry = 5;      // rounds before an entry is given up for the run
constexpr int maxAnswerLength = 99;    // longer answers (in UTF-16 code units) are skipped

// The generator's results: the grid and the number of placed entries of every run.
struct GeneratorStore {
    explicit GeneratorStore(int runs = defaultRuns)
        : felder(static_cast<std::size_t>(runs)), fittedall(static_cast<std::size_t>(runs), 0) {}

    int runs() const { return static_cast<int>(fittedall.size()); }

    // Makes room for a generation of the given number of runs: all counts 0; the saved grids keep
    // their memory (and their old contents until the runs overwrite them).
    void prepare(int runCount) {
        const std::size_t n = static_cast<std::size_t>(runCount > 0 ? runCount : 0);
        felder.resize(n);
        fittedall.assign(n, 0);
        fitted = 0;
        maxfitted = 0;
    }

    std::vector<Grid> felder;
    std::vector<std::int32_t> fittedall;
    std::int32_t fitted = 0;
    std::int32_t maxfitted = 0;
};
