#include "placement.h"

PlacementTest testPlacement(const Grid &grid, const std::u16string &answer, const Placement &at) {
    PlacementTest result;
    const int length = static_cast<int>(answer.size());
    for (int j = 0; j < length; ++j) {
        const int p = at.start + j;
        const std::int32_t v = grid[lineCellIndex(at, at.line, p)];
        if (isFreeCell(v)) {
            // A letter in a free cell must not touch a letter of a parallel word.
            if (at.line > 0 && isLetterCell(grid[lineCellIndex(at, at.line - 1, p)]))
                result.conflict = true;
            if (at.line < gridSize - 1 && isLetterCell(grid[lineCellIndex(at, at.line + 1, p)]))
                result.conflict = true;
        } else if (isLetterCell(v) && v == static_cast<std::int32_t>(answer[static_cast<std::size_t>(j)])) {
            result.crossed = true;
        } else {
            result.conflict = true;
        }
    }
    const int after = at.start + length;
    if (after < gridSize && isLetterCell(grid[lineCellIndex(at, at.line, after)]))
        result.conflict = true;
    if (!isFreeCell(grid[lineCellIndex(at, at.line, at.start - 1)]))
        result.conflict = true;
    return result;
}

void commitPlacement(Grid &grid, const std::u16string &answer, const Placement &at,
                     std::uint32_t entryIndex) {
    const int length = static_cast<int>(answer.size());
    for (int j = 0; j < length; ++j)
        grid[lineCellIndex(at, at.line, at.start + j)] = letterCellValue(answer[static_cast<std::size_t>(j)]);
    grid[lineCellIndex(at, at.line, at.start - 1)] = clueCellValue(entryIndex, at.down);
}
