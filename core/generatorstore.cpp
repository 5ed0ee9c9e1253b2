#include "generatorstore.h"

void GeneratorStore::prepare(int runCount) {
    const std::size_t n = static_cast<std::size_t>(runCount > 0 ? runCount : 0);
    placedPerRun.assign(n, 0);
    figures.assign(n, RunFigures());
    placedInLastRun = 0;
    mostPlaced = 0;
    keptRun = -1;
    keptPlacements.clear();
    everyRun.clear();
    if (keepEveryRun)
        everyRun.resize(n);
}

void GeneratorStore::setRun(int run, std::int32_t placed, const RunFigures &runFigures) {
    placedPerRun[static_cast<std::size_t>(run)] = placed;
    figures[static_cast<std::size_t>(run)] = runFigures;
}

bool GeneratorStore::ranksBefore(int a, int b) const {
    const std::int32_t placedA = placedPerRun[static_cast<std::size_t>(a)];
    const std::int32_t placedB = placedPerRun[static_cast<std::size_t>(b)];
    if (placedA != placedB)
        return placedA > placedB;
    const RunFigures &fa = figures[static_cast<std::size_t>(a)];
    const RunFigures &fb = figures[static_cast<std::size_t>(b)];
    if (fa.usedCells != fb.usedCells)
        return fa.usedCells < fb.usedCells;
    if (fa.area != fb.area)
        return fa.area < fb.area;
    return a < b;
}

void GeneratorStore::offerPlacements(int run, const std::vector<PlacedEntry> &placements) {
    if (keepEveryRun)
        everyRun[static_cast<std::size_t>(run)] = placements;
    if (keptRun < 0 || ranksBefore(run, keptRun)) {
        keptRun = run;
        keptPlacements = placements;
    }
}

const std::vector<PlacedEntry> *GeneratorStore::placementsOf(int run) const {
    if (run >= 0 && run == keptRun)
        return &keptPlacements;
    if (run >= 0 && static_cast<std::size_t>(run) < everyRun.size())
        return &everyRun[static_cast<std::size_t>(run)];
    return nullptr;
}
