#include "runselection.h"

BestRun measureGrid(const Grid &grid) {
    BestRun m;
    int maxX = 0;
    int maxY = 0;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            if (isFreeCell(grid[cellIndex(x, y)]))
                continue;
            if (m.usedCells == 0) {
                m.minX = maxX = x;
                m.minY = maxY = y;
            } else {
                if (x < m.minX) m.minX = x;
                if (x > maxX) maxX = x;
                if (y < m.minY) m.minY = y;
                if (y > maxY) maxY = y;
            }
            ++m.usedCells;
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
