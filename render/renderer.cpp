#include "renderer.h"

#include "canvas.h"
#include "cluelayout.h"
#include "fontmapping.h"
#include "gridtext.h"
#include "solutiondrawing.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cfenv>
#include <climits>
#include <cmath>

namespace {

// The program has always converted with 25.39995 millimetres to the inch, not 25.4; printed sizes
// and every pixel position depend on it.
constexpr long double millimetresPerInch = 25.39995L;

int saturated(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

int pixelLength(double millimetres, int resolution, double zoomFactor) {
    return std::clamp(millimetresToPixels(millimetres, resolution, zoomFactor), 0, maxPixelLength);
}

// Extent, lengths in the order cell, arrow, margin, line, page margin, and the
// sizes that follow from them and the title's height and width. The picture is at least as wide as
// the title with the page margin on both sides, so that a narrow puzzle does not cut its heading.
PuzzleGeometry makeGeometry(const Grid &grid, const PuzzleSettings &settings, int resolution, int titleHeight,
                            int titleWidth) {
    const GridExtent extent = usedExtent(grid);
    const double z = settings.zoom / 100;
    PuzzleGeometry g{};
    g.lastColumn = extent.columns - 1;
    g.lastRow = extent.rows - 1;
    g.cellSize = pixelLength(settings.cellWidth, resolution, z);
    g.arrowSize = pixelLength(settings.arrowSize, resolution, z);
    g.textMargin = pixelLength(settings.textMargin, resolution, z);
    g.lineWidth = std::max(1, pixelLength(settings.lineWidth, resolution, z));
    g.pageMargin = pixelLength(settings.pageMargin, resolution, z);
    g.titleHeight = std::clamp(titleHeight, 0, maxPixelLength);
    g.gridTop = g.pageMargin + 2 * g.titleHeight;
    g.width = saturated((g.lastColumn + 1LL) * g.cellSize + g.lineWidth + 2LL * g.pageMargin);
    // A title too wide for any picture (fonts of thousands of points) is cut at the widest one.
    g.width = std::max(
        g.width, saturated(std::min(std::max(titleWidth, 0) + 2LL * g.pageMargin, 0LL + maxPictureSide)));
    g.height = saturated((g.lastRow + 1LL) * g.cellSize + g.lineWidth + 2LL * g.gridTop);
    return g;
}

// The row of solution boxes below the grid makes the picture taller, and wide enough for its caption.
SolutionRowGeometry makeRoomForSolutionRow(PuzzleGeometry &g, const PuzzleSettings &settings,
                                           int verticalResolution, const QPaintDevice *device) {
    const SolutionRowGeometry row =
        solutionRowGeometry(settings, g.lastColumn + 1, g.cellSize, g.textMargin, verticalResolution, device);
    g.height = saturated(static_cast<long long>(g.height) + row.height(g.cellSize));
    if (row.rows > 0)
        g.width = std::max(g.width, saturated(2LL * g.pageMargin + row.captionWidth));
    return row;
}

QFont titleFont(const PuzzleSettings &settings, int verticalResolution) {
    return scaledFont(settings.titleFont, settings.zoom, verticalResolution);
}

// How far the title reaches to the right of where it starts: its advance, or its last
// character's ink where that passes the advance (italics).
int titleReach(const QFontMetrics &metrics, const QString &title) {
    return title.isEmpty()
               ? 0
               : std::max(metrics.horizontalAdvance(title), metrics.boundingRect(title).right() + 1);
}

QString entryClue(const TPuzzleEntry &entry) {
    return entry.clue ? QString::fromUtf16(entry.clue) : QString();
}

// Whether the square of side C at (X, Y), widened by margin on every side, reaches into area.
bool cellReaches(const std::optional<QRect> &area, int X, int Y, int C, int margin) {
    if (!area)
        return true;
    const long long left = X - static_cast<long long>(margin), top = Y - static_cast<long long>(margin);
    const long long right = X + static_cast<long long>(C) + margin,
                    bottom = Y + static_cast<long long>(C) + margin;
    return !area->isEmpty() && left <= area->right() && right >= area->left() && top <= area->bottom() &&
           bottom >= area->top();
}

// Whether a band of pen width L along a line at coordinate c (centred as Canvas draws it) can reach the
// span from low to high.
bool bandReaches(int c, int L, int low, int high) {
    const long long start = c - static_cast<long long>(L / 2);
    return start + L > low && start <= high;
}

// The outlines of every used cell at once, as the cell pass would draw them one by one: along each row
// and column boundary, one band for each run of neighbouring cells that have that boundary as an edge.
// Neighbouring cells share their edges and every outline is black, so the very same pixels come out,
// in a few hundred fills instead of forty thousand. The bands are those of the canvas's pen; bands
// that cannot reach area are left out.
std::vector<QRect> gridLineBands(const Canvas &canvas, const Grid &grid, const PuzzleGeometry &g,
                                 const std::optional<QRect> &area) {
    std::vector<QRect> bands;
    const int C = g.cellSize;
    const auto used = [&grid](int x, int y) {
        return x >= 0 && x < gridSize && y >= 0 && y < gridSize && !isFreeCell(grid[cellIndex(x, y)]);
    };
    // Runs along a boundary: cells i with an edge there (used on either side), from first to last.
    const auto runs = [](const auto &hasEdge, const auto &draw) {
        for (int i = 0; i < gridSize; ++i) {
            if (!hasEdge(i))
                continue;
            const int first = i;
            while (i + 1 < gridSize && hasEdge(i + 1))
                ++i;
            draw(first, i);
        }
    };
    for (int b = 0; b <= gridSize; ++b) {
        const int Y = g.gridTop + b * C;
        if (area && !bandReaches(Y, g.lineWidth, area->top(), area->bottom()))
            continue;
        runs([&](int x) { return used(x, b - 1) || used(x, b); },
             [&](int first, int last) {
                 bands.push_back(
                     canvas.horizontalEdgeBand(g.pageMargin + first * C, g.pageMargin + last * C + C, Y));
             });
    }
    for (int b = 0; b <= gridSize; ++b) {
        const int X = g.pageMargin + b * C;
        if (area && !bandReaches(X, g.lineWidth, area->left(), area->right()))
            continue;
        runs([&](int y) { return used(b - 1, y) || used(b, y); },
             [&](int first, int last) {
                 bands.push_back(canvas.verticalEdgeBand(X, g.gridTop + first * C, g.gridTop + last * C + C));
             });
    }
    return bands;
}

// Where a solution letter goes in a cell of size C, from the cell's top-left corner. The divisions
// truncate toward zero, also for letters wider than the cell.
QPoint letterPlace(const Canvas &canvas, QChar letter, int C) {
    return QPoint((C - canvas.textWidth(letter)) / 2, (C - canvas.textHeight()) / 2);
}

// The letter a letter cell shows with the solution, or none: code 0 is a letter cell without a
// letter, control codes have no glyph either. A document may hold negative cell values; they draw as
// the code unit they end in.
std::optional<QChar> solutionLetter(std::int32_t v) {
    const QChar letter(static_cast<char16_t>(v));
    return letter.isPrint() ? std::optional<QChar>(letter) : std::nullopt;
}

// Whether every solution letter of the grid, in the canvas's font, stays inside the white of its cell
// with a pixel to spare: then nothing that the cell pass draws later (the outlines and insides of the
// cells to the right and below) reaches it, and the letters may be drawn over a picture cleared
// together with all outlines.
bool solutionLettersStayInside(const Canvas &canvas, const Grid &grid, const PuzzleGeometry &g) {
    const int C = g.cellSize, w = g.lineWidth;
    const QRect white(QPoint(w - w / 2, w - w / 2), QPoint(C - w / 2 - 1, C - w / 2 - 1));
    std::vector<bool> checked(0x10000, false);
    for (const std::int32_t v : grid) {
        if (isFreeCell(v) || isClueCell(v))
            continue;
        const std::optional<QChar> letter = solutionLetter(v);
        if (!letter || checked[letter->unicode()])
            continue;
        checked[letter->unicode()] = true;
        const QRect ink = canvas.inkBounds(QString(*letter)).translated(letterPlace(canvas, *letter, C));
        if (!white.contains(ink.adjusted(-1, -1, 1, 1)))
            return false;
    }
    return true;
}

// The cell pass. interiorsWhite: the picture was cleared together with the outlines of all cells
// (gridLineBands) and nothing drawn since reaches into the cells, so a letter cell's white inside and
// its outline need not be drawn again; this saves most of a paint. The caller allows it with solution
// letters only when they stay inside their cells, else a letter spilling into a later cell would be
// drawn over it rather than under it.
void drawCells(Canvas &canvas, const PuzzleModel &model, const PuzzleSettings &settings,
               const PuzzleGeometry &g, const std::optional<QRect> &area, bool interiorsWhite) {
    const bool showSolution = settings.showSolution;
    // A solution letter larger than its cell spills over the cell's edges, at most by its own size.
    const int margin =
        g.lineWidth + (showSolution ? std::max(canvas.textHeight(), canvas.maxCharWidth()) : 0);
    const QColor clueFill = settings.clueCellsBlack ? Qt::black : Qt::white;
    const QColor clueText = settings.clueCellsBlack ? Qt::white : Qt::black;
    const int C = g.cellSize, M = g.textMargin;
    // Where a solution letter goes in its cell, measured once per letter code.
    std::array<std::optional<QPoint>, maxLetterCode + 1> places{};
    ClueTextDrawing clueTexts(canvas, settings);
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = model.grid[cellIndex(x, y)];
            const std::optional<QChar> letter = showSolution ? solutionLetter(v) : std::nullopt;
            if (isFreeCell(v) || (interiorsWhite && !isClueCell(v) && !letter))
                continue;
            const int X = g.pageMargin + x * C, Y = g.gridTop + y * C;
            if (!cellReaches(area, X, Y, C, margin))
                continue;
            canvas.setPen(Qt::black, g.lineWidth);
            if (isClueCell(v)) {
                canvas.setBrush(clueFill);
                canvas.setFontColor(clueText);
                canvas.rectangle(X, Y, X + C + 1, Y + C + 1);
                if (const TPuzzleEntry *entry = model.entryOfClueCell(v))
                    clueTexts.draw(entryClue(*entry),
                                   QRect(QPoint(X + M, Y + M), QPoint(X + C - M - 1, Y + C - M - 1)));
                continue;
            }
            canvas.setBrush(Qt::white);
            canvas.setFontColor(Qt::black);
            if (!interiorsWhite)
                canvas.rectangle(X, Y, X + C + 1, Y + C + 1);
            if (letter) {
                // Negative cell values have no place in the table of measured letters.
                std::optional<QPoint> measured;
                std::optional<QPoint> &place = v >= 0 ? places[static_cast<std::size_t>(v)] : measured;
                if (!place)
                    place = letterPlace(canvas, *letter, C);
                // Over the picture cleared with the outlines a letter only meets the white of its cell.
                if (interiorsWhite)
                    canvas.letterOnWhite(X + place->x(), Y + place->y(), *letter);
                else
                    canvas.letterOut(X + place->x(), Y + place->y(), *letter);
            }
        }
}

void drawArrows(Canvas &canvas, const PuzzleModel &model, const PuzzleGeometry &g,
                const std::optional<QRect> &area) {
    canvas.setBrush(Qt::black);
    const int C = g.cellSize, A = g.arrowSize;
    const int h = C / 2, t = (3 * A) / 2;
    const int margin = g.lineWidth + t + A;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            const std::int32_t v = model.grid[cellIndex(x, y)];
            if (!isClueCell(v))
                continue;
            // A clue cell whose entry is missing stays without an arrow; other arrow kinds have none.
            if (!model.entryOfClueCell(v) || clueArrowKind(v) != 0)
                continue;
            const int X = g.pageMargin + x * C, Y = g.gridTop + y * C;
            if (!cellReaches(area, X, Y, C, margin))
                continue;
            if (clueRunsDown(v))
                canvas.fillPath(QPolygon({QPoint(X + h - A, Y + C), QPoint(X + h + A, Y + C),
                                          QPoint(X + h, Y + C + t), QPoint(X + h - A, Y + C)}));
            else
                canvas.fillPath(QPolygon({QPoint(X + C, Y + h - A), QPoint(X + C, Y + h + A),
                                          QPoint(X + C + t, Y + h), QPoint(X + C, Y + h - A)}));
        }
}

} // namespace

int roundHalfEven(long double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const long double rounded = std::nearbyint(value);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return static_cast<int>(rounded);
}

int millimetresToPixels(double millimetres, int resolution, double zoomFactor) {
    return roundHalfEven(static_cast<long double>(millimetres) * resolution / millimetresPerInch *
                         zoomFactor);
}

std::optional<QPoint> pageEndPosition(const PrinterPage &page, int resolution) {
    if (page.resolution <= 0 || page.width < 0 || page.height < 0)
        return std::nullopt;
    const long double P = page.resolution;
    return QPoint(roundHalfEven(page.width / P * resolution), roundHalfEven(page.height / P * resolution));
}

PuzzleGeometry puzzleGeometry(const PuzzleModel &model, const PuzzleSettings &settings, int resolution) {
    // The title is measured on an image of the resolution, as a picture measures it: the widths of
    // fallback fonts for rare characters follow the device's resolution.
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre =
        static_cast<int>(std::clamp(std::lround(resolution / 0.0254), 1L, long{INT_MAX}));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    const QFontMetrics metrics(titleFont(settings, resolution), &device);
    PuzzleGeometry g = makeGeometry(model.grid, settings, resolution, metrics.height(),
                                    titleReach(metrics, QString::fromStdU16String(settings.title)));
    makeRoomForSolutionRow(g, settings, resolution, &device);
    return g;
}

QSize puzzlePictureSize(const PuzzleModel &model, const PuzzleSettings &settings, int resolution) {
    const PuzzleGeometry g = puzzleGeometry(model, settings, resolution);
    return {g.width, g.height};
}

PuzzleDrawing drawPuzzle(QPainter &painter, const PuzzleModel &model, const PuzzleSettings &settings,
                         const RenderTarget &target) {
    Canvas canvas(painter, target.resolution);
    const int R = canvas.resolution();
    const bool screenView = target.kind != RenderTarget::Kind::Printer;
    if (screenView)
        canvas.keepLayoutsIn(target.layouts);

    const QString title = QString::fromStdU16String(settings.title);
    const QFont heading = titleFont(settings, canvas.verticalResolution());
    const QColor headingColor = fontColor(settings.titleFont.color);
    canvas.setFont(heading, headingColor);
    canvas.setTextBackground(TextBackground::Transparent);
    PuzzleGeometry g = makeGeometry(
        model.grid, settings, R, canvas.textHeight(),
        title.isEmpty() ? 0 : std::max(canvas.textWidth(title), canvas.inkBounds(title).right() + 1));
    const SolutionRowGeometry solutionRow =
        makeRoomForSolutionRow(g, settings, canvas.verticalResolution(), painter.device());
    const QSize picture(g.width, g.height);

    // Letter cells need no drawing of their own when the picture is cleared together with the cells'
    // outlines and the title does not reach down to the grid, but for solution letters that stay inside
    // their cells (see drawCells). A translucent painter would draw an edge that two cells share twice,
    // darker than once.
    const QFont clueFont = scaledFont(settings.clueFont, settings.zoom, canvas.verticalResolution());
    bool interiorsWhite = screenView && painter.opacity() == 1.0 &&
                          g.pageMargin + canvas.inkBounds(title).bottom() < g.gridTop - g.lineWidth;
    if (interiorsWhite && settings.showSolution) {
        canvas.setFont(clueFont, fontColor(settings.clueFont.color));
        interiorsWhite = solutionLettersStayInside(canvas, model.grid, g);
    }
    const std::optional<QRect> area = canvas.reachableArea();
    if (screenView) {
        if (target.size != picture)
            return {false, picture};
        canvas.setBrush(Qt::white);
        canvas.setFontColor(Qt::white);
        if (interiorsWhite) {
            canvas.setPen(Qt::black, g.lineWidth);
            canvas.rectangleUnderBands(0, 0, picture.width(), picture.height(), Qt::white,
                                       gridLineBands(canvas, model.grid, g, area), area);
        } else {
            canvas.setPen(Qt::white, g.lineWidth);
            canvas.rectangle(0, 0, picture.width(), picture.height());
        }
    }

    canvas.setFont(heading, headingColor);
    canvas.setTextBackground(TextBackground::Transparent);
    canvas.textOut(g.pageMargin, g.pageMargin, title);

    canvas.setFont(clueFont, fontColor(settings.clueFont.color));
    canvas.setTextBackground(TextBackground::Transparent);

    drawCells(canvas, model, settings, g, area, interiorsWhite);
    drawSolutionWord(canvas, model.grid, settings,
                     {g.pageMargin, g.gridTop, g.cellSize, g.lineWidth, g.lastRow + 1}, solutionRow);
    drawArrows(canvas, model, g, area);

    if (screenView && settings.markPageEnd && target.printer)
        if (const std::optional<QPoint> end = pageEndPosition(target.printer->currentPage(), R)) {
            canvas.setPen(Qt::red, 1);
            canvas.moveTo(end->x(), 0);
            canvas.lineTo(end->x(), end->y());
            canvas.lineTo(0, end->y());
        }
    canvas.setTextBackground(TextBackground::Opaque);
    return {true, picture};
}
