#pragma once

#include "grid.h"
#include "placement.h"

#include <cstdint>
#include <vector>

constexpr int defaultRuns = 1001;      // randomised layouts per generation
constexpr int attemptsPerRound = 1001; // placement attempts in one round of an entry
constexpr int roundsPerEntry = 5;      // rounds before an entry is given up for the run
constexpr int maxAnswerLength = 99;    // longer answers (in UTF-16 code units) are skipped

// Where one entry went in a run.
struct PlacedEntry {
    std::uint32_t entry = 0;
    Placement at;

    bool operator==(const PlacedEntry &o) const {
        return entry == o.entry && at.down == o.at.down && at.line == o.at.line && at.start == o.at.start;
    }
};

// What choosing among the runs needs of a run's grid: its used cells (every cell that is not free) and
// their bounding box. Area 0 and corner (0, 0) when no cell is used.
struct RunFigures {
    std::int16_t usedCells = 0;
    std::int16_t area = 0;
    std::int8_t minX = 0;
    std::int8_t minY = 0;

    bool operator==(const RunFigures &o) const {
        return usedCells == o.usedCells && area == o.area && minX == o.minX && minY == o.minY;
    }
};

// The generator's results: of every run the number of placed entries and the figures of its grid, and
// the placements of the best run, from which its grid is built. A run's grid is not kept: a few bytes a
// run, however many runs a generation makes.
struct GeneratorStore {
    explicit GeneratorStore(int runs = defaultRuns) { prepare(runs); }

    int runs() const { return static_cast<int>(placedPerRun.size()); }

    // Makes room for a generation of the given number of runs: all counts 0, all figures empty, no
    // placements kept. keepEveryRun stays as it is.
    void prepare(int runCount);

    // Enters what run produced. Several threads may enter runs at the same time, each its own runs.
    void setRun(int run, std::int32_t placed, const RunFigures &figures);

    // Whether the choice prefers run a to run b: more placed entries, then fewer used cells, then a
    // smaller bounding box, then the lower run number. Both must have been entered.
    bool ranksBefore(int a, int b) const;

    // Offers the placements of an entered run: kept when it ranks before the run kept so far, and with
    // keepEveryRun in any case. One thread at a time. A generation offers at least every run that ranks
    // before all runs it offered earlier, so that the best run's placements are kept in the end.
    void offerPlacements(int run, const std::vector<PlacedEntry> &placements);

    // The placements of run, or null when they were not kept.
    const std::vector<PlacedEntry> *placementsOf(int run) const;

    std::vector<std::int32_t> placedPerRun; // per run: entries placed
    std::vector<RunFigures> figures;        // per run: used cells and bounding box of its grid
    std::int32_t placedInLastRun = 0;
    std::int32_t mostPlaced = 0;
    int keptRun = -1;                        // the best run offered, -1 before the first offer
    std::vector<PlacedEntry> keptPlacements; // its placements
    // Keeps the placements of every run in everyRun, for tests and tools that look at each run's grid;
    // memory then grows with runs and entries.
    bool keepEveryRun = false;
    std::vector<std::vector<PlacedEntry>> everyRun;
};
