#include "gridpicture.h"

Grid gridFromPicture(const std::vector<std::string> &rows) {
    Grid g = freeGrid();
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            std::int32_t &cell = g[cellIndex(static_cast<int>(x), static_cast<int>(y))];
            if (c == '#')
                cell = clueCellValue(0, false);
            else if (c != '.')
                cell = static_cast<unsigned char>(c);
        }
    return g;
}
