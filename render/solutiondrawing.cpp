#include "solutiondrawing.h"

#include "canvas.h"
#include "fontmapping.h"

#include <QFontMetrics>

#include <algorithm>
#include <climits>

const QString solutionCaption = QStringLiteral("L\u00f6sungswort:");

namespace {

// Caption, numbers and letters are drawn in the clue font.
QFont clueFont(const PuzzleSettings &settings, int verticalResolution) {
    return scaledFont(settings.clueFont, settings.zoom, verticalResolution);
}

// Width of the heavy frame of a chosen cell: three line widths, at least two pixels more than a line.
int frameWidth(int L) {
    return std::max(L + 2, 3 * L);
}

// The number in the top-left corner of the cell at (X, Y), inside a frame of the given width whose
// outer edge lies on the outer edge of the cell's line of width L.
void writeNumber(Canvas &canvas, int X, int Y, int frame, int L, int number) {
    const int inset = frame - L / 2 + 1;
    canvas.textOut(X + inset, Y + inset, QString::number(number));
}

void writeLetter(Canvas &canvas, int X, int Y, int C, char16_t letter) {
    const QChar c(letter);
    if (letter == 0 || !c.isPrint())
        return;
    canvas.letterOut(X + (C - canvas.textWidth(c)) / 2, Y + (C - canvas.textHeight()) / 2, c);
}

} // namespace

int SolutionRowGeometry::height(int cellSize) const {
    if (rows == 0)
        return 0;
    const long long total =
        static_cast<long long>(gap) + captionHeight + captionGap + static_cast<long long>(rows) * cellSize;
    return static_cast<int>(std::min<long long>(total, INT_MAX / 4));
}

SolutionRowGeometry solutionRowGeometry(const PuzzleSettings &settings, int columns, int C, int M,
                                        int verticalResolution, const QPaintDevice *device) {
    SolutionRowGeometry row;
    if (!settings.solution.marked())
        return row;
    const QFontMetrics metrics(clueFont(settings, verticalResolution), const_cast<QPaintDevice *>(device));
    const int boxes = static_cast<int>(std::min<std::size_t>(settings.solution.cells.size(), gridCells));
    row.gap = C / 2;
    row.captionHeight = metrics.height();
    row.captionWidth = metrics.horizontalAdvance(solutionCaption);
    row.captionGap = M;
    row.boxesPerRow = std::clamp(columns, 1, boxes);
    row.rows = (boxes + row.boxesPerRow - 1) / row.boxesPerRow;
    return row;
}

void drawSolutionWord(Canvas &canvas, const Grid &grid, const PuzzleSettings &settings,
                      const SolutionPlacement &at, const SolutionRowGeometry &row) {
    const SolutionWord &solution = settings.solution;
    if (!solution.marked() || row.rows == 0)
        return;
    const int C = at.cellSize, L = at.lineWidth;
    const int frame = frameWidth(L);
    const int shift = (frame - L) / 2; // the heavy frame's outer edge on the cell line's outer edge
    const QColor ink = Qt::black;
    canvas.setTextBackground(TextBackground::Transparent);
    canvas.setFont(clueFont(settings, canvas.verticalResolution()), ink);

    // A document may list a cell more than once or far more cells than the grid has; no cell is
    // numbered more than the grid has cells.
    const std::size_t marks = std::min<std::size_t>(solution.cells.size(), gridCells);
    for (std::size_t i = 0; i < marks; ++i) {
        const GridCell cell = solution.cells[i];
        if (!isOnGrid(cell) || !isLetterCell(grid[cellIndex(cell.column, cell.row)]))
            continue;
        const int X = at.pageMargin + cell.column * C, Y = at.gridTop + cell.row * C;
        canvas.setPen(ink, frame);
        canvas.outline(X + shift, Y + shift, X + C + 1 - shift, Y + C + 1 - shift);
        writeNumber(canvas, X, Y, frame, L, static_cast<int>(i) + 1);
    }

    const int captionTop = at.gridTop + at.gridRows * C + L + row.gap;
    canvas.textOut(at.pageMargin, captionTop, solutionCaption);

    const int boxesTop = captionTop + row.captionHeight + row.captionGap;
    const std::u16string letters = solutionBoxLetters(grid, solution, settings.umlauts);
    const int boxes = static_cast<int>(std::min<std::size_t>(letters.size(), gridCells));
    auto boxX = [&](int i) { return at.pageMargin + (i % row.boxesPerRow) * C; };
    auto boxY = [&](int i) { return boxesTop + (i / row.boxesPerRow) * C; };
    canvas.setPen(ink, L);
    canvas.setBrush(Qt::white);
    for (int i = 0; i < boxes; ++i)
        canvas.rectangle(boxX(i), boxY(i), boxX(i) + C + 1, boxY(i) + C + 1);
    for (int i = 0; i < boxes; ++i) {
        writeNumber(canvas, boxX(i), boxY(i), L, L, i + 1);
        if (settings.showSolution)
            writeLetter(canvas, boxX(i), boxY(i), C, letters[static_cast<std::size_t>(i)]);
    }
}
