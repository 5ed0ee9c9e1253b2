#include "pagefit.h"

#include "renderer.h"

#include <QSize>

#include <algorithm>

namespace {

bool pageKnown(const PrinterPage &page) {
    return page.resolution > 0 && page.width > 0 && page.height > 0;
}

bool fits(QSize picture, const PrinterPage &page) {
    return picture.width() <= page.width && picture.height() <= page.height;
}

// The picture size of a puzzle whose used cells reach column columns - 1 and row rows - 1.
QSize pictureOfExtent(const PuzzleSettings &settings, int columns, int rows, int resolution) {
    PuzzleModel model;
    model.feld = freeGrid();
    model.feld[cellIndex(columns - 1, rows - 1)] = 'A';
    return puzzlePictureSize(model, settings, resolution);
}

// How many cells of the given picture growth per cell fit into room beyond the first one's picture.
int cellsThatFit(int firstCell, int perCell, int room) {
    if (room < firstCell)
        return 0;
    if (perCell <= 0)
        return gridSize;
    return std::min(gridSize, 1 + (room - firstCell) / perCell);
}

} // namespace

bool puzzleFitsPage(const PuzzleModel &model, const PuzzleSettings &settings, const PrinterPage &page) {
    return !pageKnown(page) || fits(puzzlePictureSize(model, settings, page.resolution), page);
}

std::optional<int> fitPageZoom(const PuzzleModel &model, const PuzzleSettings &settings,
                               const PrinterPage &page, int minimumZoom, int maximumZoom) {
    if (!pageKnown(page))
        return std::nullopt;
    // The picture grows with the zoom: find the last zoom that fits.
    PuzzleSettings at = settings;
    int low = minimumZoom; // fits, or is the least there is
    int high = maximumZoom + 1;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        at.zoom = middle;
        if (fits(puzzlePictureSize(model, at, page.resolution), page))
            low = middle;
        else
            high = middle;
    }
    return low;
}

CellCount pageCellFrame(const PuzzleSettings &settings, const PrinterPage &page) {
    if (!pageKnown(page))
        return {};
    const QSize one = pictureOfExtent(settings, 1, 1, page.resolution);
    const QSize two = pictureOfExtent(settings, 2, 2, page.resolution);
    CellCount frame{cellsThatFit(one.width(), two.width() - one.width(), page.width),
                    cellsThatFit(one.height(), two.height() - one.height(), page.height)};
    if (frame.columns == 0 || frame.rows == 0)
        return {};
    return frame;
}
