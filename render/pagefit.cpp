#include "pagefit.h"

#include "renderer.h"

#include <QSize>

#include <algorithm>
#include <cmath>

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
    model.grid = freeGrid();
    model.grid[cellIndex(columns - 1, rows - 1)] = 'A';
    return puzzlePictureSize(model, settings, resolution);
}

// The most cells from 0 to gridSize for which fitsWith holds, which holds up to some count and not
// beyond it.
template <typename Fits> int mostCellsThatFit(Fits fitsWith) {
    int low = 0; // fits, or is nothing
    int high = gridSize + 1;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (fitsWith(middle) ? low : high) = middle;
    }
    return low;
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
    // The cells of the solution word are chosen once the puzzle exists; until then its row of boxes
    // takes the room of one box for each letter of the word.
    PuzzleSettings framed = settings;
    if (framed.solution.enabled)
        framed.solution.cells.assign(solutionLetters(framed.solution.word, framed.umlauts).size(), noCell);
    // The picture grows with the columns and the rows, but not in equal steps: it is at least as wide
    // as its title, for one. The boxes below the grid wrap at its width, so the rows are counted at
    // the columns found.
    CellCount frame;
    frame.columns = mostCellsThatFit([&](int columns) {
        return pictureOfExtent(framed, columns, 1, page.resolution).width() <= page.width;
    });
    if (frame.columns == 0)
        return {};
    frame.rows = mostCellsThatFit([&](int rows) {
        return pictureOfExtent(framed, frame.columns, rows, page.resolution).height() <= page.height;
    });
    if (frame.rows == 0)
        return {};
    return frame;
}

CellCount compactFrameFor(const CellCount &page, int usedCells) {
    // A little below the fill that compact layouts reach, so that the search has room to place all.
    constexpr double expectedFill = 0.45;
    const CellCount shape = page.columns > 0 && page.rows > 0 ? page
                                                              : CellCount{LayoutSettings::defaultFrameColumns,
                                                                          LayoutSettings::defaultFrameRows};
    const double needed = std::max(usedCells, 0) / expectedFill;
    const double scale = std::max(1.0, std::sqrt(needed / (double(shape.columns) * shape.rows)));
    return {std::min(gridSize, static_cast<int>(std::ceil(shape.columns * scale))),
            std::min(gridSize, static_cast<int>(std::ceil(shape.rows * scale)))};
}
