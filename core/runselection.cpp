#include "runselection.h"

#include <algorithm>

BestRun measureGrid(const Grid &grid) {
    // Column by column: count the used cells of the column in one branch-free pass, and only for a
    // column that has some look for its first and last.
    BestRun m;
    int maxX = 0;
    int maxY = 0;
    for (int x = 0; x < gridSize; ++x) {
        const std::int32_t *column = &grid[static_cast<std::size_t>(cellIndex(x, 0))];
        int used = 0;
        for (int y = 0; y < gridSize; ++y)
            used += isFreeCell(column[y]) ? 0 : 1;
        if (used == 0)
            continue;
        int first = 0;
        while (isFreeCell(column[first]))
            ++first;
        int last = gridSize - 1;
        while (isFreeCell(column[last]))
            --last;
        if (m.usedCells == 0) {
            m.minX = x;
            m.minY = first;
            maxY = last;
        } else {
            m.minY = std::min(m.minY, first);
            maxY = std::max(maxY, last);
        }
        maxX = x;
        m.usedCells += used;
    }
    if (m.usedCells > 0)
        m.area = (maxX - m.minX + 1) * (maxY - m.minY + 1);
    return m;
}

BestRun ChooseBestRun(const GeneratorStore &store) {
    BestRun best;
    for (int run = 0; run < store.runs(); ++run) {
        if (store.fittedall[static_cast<std::size_t>(run)] != store.maxfitted)
            continue;
        BestRun candidate = measureGrid(store.felder[static_cast<std::size_t>(run)]);
        candidate.run = run;
        if (best.run < 0 || candidate.usedCells < best.usedCells ||
            (candidate.usedCells == best.usedCells && candidate.area < best.area))
            best = candidate;
    }
    return best;
}

void PlaceBestRun(const GeneratorStore &store, const BestRun &best, Grid &feld) {
    feld.fill(cellFree);
    if (best.run < 0 || best.usedCells == 0)
        return;
    const Grid &winner = store.felder[static_cast<std::size_t>(best.run)];
    for (int x = best.minX; x < gridSize; ++x)
        for (int y = best.minY; y < gridSize; ++y)
            feld[cellIndex(x - best.minX, y - best.minY)] = winner[cellIndex(x, y)];
}
