#include "gridpicture.h"

#include <QString>

Grid gridFromPicture(const std::vector<std::string> &rows) {
    Grid g = freeGrid();
    for (std::size_t y = 0; y < rows.size(); ++y) {
        // UTF-8, so that a picture can show umlauts and ß: one character a cell.
        const QString row = QString::fromStdString(rows[y]);
        for (int x = 0; x < row.size(); ++x) {
            const char16_t c = row[x].unicode();
            std::int32_t &cell = g[cellIndex(x, static_cast<int>(y))];
            if (c == u'#')
                cell = clueCellValue(0, false);
            else if (c != u'.')
                cell = letterCellValue(c);
        }
    }
    return g;
}
