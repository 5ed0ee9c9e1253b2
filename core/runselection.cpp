#include "runselection.h"

#include "placement.h"

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

RunFigures runFigures(const Grid &grid) {
    const BestRun m = measureGrid(grid);
    RunFigures f;
    f.usedCells = static_cast<std::int16_t>(m.usedCells);
    f.area = static_cast<std::int16_t>(m.area);
    f.minX = static_cast<std::int8_t>(m.minX);
    f.minY = static_cast<std::int8_t>(m.minY);
    return f;
}

BestRun ChooseBestRun(const GeneratorStore &store) {
    int chosen = -1;
    for (int run = 0; run < store.runs(); ++run)
        if (store.placedPerRun[static_cast<std::size_t>(run)] == store.mostPlaced &&
            (chosen < 0 || store.ranksBefore(run, chosen)))
            chosen = run;
    BestRun best;
    if (chosen < 0)
        return best;
    const RunFigures &f = store.figures[static_cast<std::size_t>(chosen)];
    best.run = chosen;
    best.usedCells = f.usedCells;
    best.area = f.area;
    best.minX = f.minX;
    best.minY = f.minY;
    return best;
}

std::vector<PlacedEntry> placedEntries(const PuzzleModel &model) {
    std::vector<PlacedEntry> placements;
    for (std::uint32_t i = 0; i < model.entryCount(); ++i) {
        const TPuzzleEntry &e = model.entryAt(i);
        if (e.tries < roundsPerEntry)
            placements.push_back(PlacedEntry{i, Placement{e.down != 0, e.line, e.start}});
    }
    return placements;
}

Grid runGrid(const PuzzleModel &model, const std::vector<PlacedEntry> &placements) {
    Grid grid = freeGrid();
    for (const PlacedEntry &placed : placements)
        commitPlacement(grid, entryText(model.entryAt(placed.entry).answer), placed.at, placed.entry);
    return grid;
}

void PlaceBestRun(const PuzzleModel &model, const GeneratorStore &store, const BestRun &best, Grid &grid) {
    grid.fill(cellFree);
    const std::vector<PlacedEntry> *placements = store.placementsOf(best.run);
    if (!placements || best.usedCells == 0)
        return;
    const Grid winner = runGrid(model, *placements);
    for (int x = best.minX; x < gridSize; ++x)
        for (int y = best.minY; y < gridSize; ++y)
            grid[cellIndex(x - best.minX, y - best.minY)] = winner[cellIndex(x, y)];
}
