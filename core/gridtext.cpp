#include "gridtext.h"

GridExtent usedExtent(const Grid &grid) {
    GridExtent e{0, 0};
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y)
            if (!isFreeCell(grid[cellIndex(x, y)])) {
                if (x + 1 > e.columns)
                    e.columns = x + 1;
                if (y + 1 > e.rows)
                    e.rows = y + 1;
            }
    if (e.columns == 0)
        e = GridExtent{};
    return e;
}

std::u16string gridText(const Grid &grid) {
    const GridExtent extent = usedExtent(grid);
    std::u16string text;
    for (int y = 0; y < extent.rows; ++y) {
        for (int x = 0; x < extent.columns; ++x) {
            const std::int32_t v = grid[cellIndex(x, y)];
            if (isFreeCell(v))
                text += u'.';
            else if (isClueCell(v))
                text += u'#';
            else
                text += v == 0 ? u'?' : static_cast<char16_t>(v);
        }
        text += u'\n';
    }
    return text;
}
