#pragma once

#include "printerpage.h"
#include "puzzlemodel.h"
#include "puzzlesettings.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;
class TextLayouts;

// Device-pixel geometry of one draw (the window's C, A, M, L, G, T, Y0, I, J, W and H, in that order):
// cell size, arrow size, text margin, line width, page margin, title height, the grid's top, the used
// extent (largest column and row of a cell that is not free), and the picture's width and height.
struct PuzzleGeometry {
    int cellSize, arrowSize, textMargin, lineWidth, pageMargin, titleHeight, gridTop, lastColumn, lastRow,
        width, height;
};

// Converted lengths are kept between 0 and this many pixels (4.4 km at 96 pixels per inch), so that
// every coordinate of a drawing fits an int; width and height saturate at INT_MAX.
constexpr int maxPixelLength = 1 << 24;

// The surface a puzzle is drawn on. The screen view and a picture are cleared to white first and show
// where the printed page ends, when the settings ask for it; a printer page is drawn on as it is, from
// the top-left corner of its printable area.
struct RenderTarget {
    enum class Kind { Screen, Picture, Printer };
    Kind kind = Kind::Printer;
    // Screen and picture: the surface's size; a puzzle that needs another size is not drawn.
    QSize size;
    // Screen and picture: the current printer, asked for its page whenever the page end is marked.
    const PrinterQuery *printer = nullptr;
    // Pixels per inch of the surface; 0 takes the painter device's logicalDpiX.
    int resolution = 0;
    // Where the clue texts' layouts are kept between paints of the same surface, or null: each paint
    // lays them out anew. Screen and picture only.
    TextLayouts *layouts = nullptr;

    // The view's paint box of its current size, at the resolution of its device.
    static RenderTarget screen(QSize paintBoxSize, const PrinterQuery &printer,
                               TextLayouts *layouts = nullptr) {
        return {Kind::Screen, paintBoxSize, &printer, 0, layouts};
    }
    // A picture of the given size at resolution pixels per inch.
    static RenderTarget picture(QSize size, int resolution, const PrinterQuery &printer) {
        return {Kind::Picture, size, &printer, resolution, nullptr};
    }
    // A printed page at the device's resolution, or at the one given.
    static RenderTarget printerPage(int resolution = 0) {
        return {Kind::Printer, {}, nullptr, resolution, nullptr};
    }
};

// What drawPuzzle did. drawn is false when a screen or picture target has another size than the
// puzzle needs; nothing was drawn then. size is the picture's size W x H either way.
struct PuzzleDrawing {
    bool drawn = false;
    QSize size;
};

// Draws the puzzle onto the painter's device in the fixed step order, at the settings' zoom. Reads
// the model and changes nothing in it. Cells that lie outside the part of the surface that can change
// are skipped, which changes nothing that can be seen.
PuzzleDrawing drawPuzzle(QPainter &painter, const PuzzleModel &model, const PuzzleSettings &settings,
                         const RenderTarget &target);

// The picture size W x H that the settings and grid give at a resolution (for exports).
QSize puzzlePictureSize(const PuzzleModel &model, const PuzzleSettings &settings, int resolution);

// The geometry at a resolution and the settings' zoom (tests, exports). T is measured as on an image.
PuzzleGeometry puzzleGeometry(const PuzzleModel &model, const PuzzleSettings &settings, int resolution);

// Pixels of a length in millimetres: v x R / 25.39995 x z in extended precision, rounded half to even.
// Saturates at the int range; NaN gives 0.
int millimetresToPixels(double millimetres, int resolution, double zoomFactor);

// The nearest int, an exact half going to the even neighbour; saturates at the int range, NaN gives 0.
int roundHalfEven(long double value);

// Where the printed page ends on a target of the given resolution: the right edge PX and the bottom
// edge PY of the printable area, page size / P x R each, rounded half to even. Nothing when the
// printer reports no resolution.
std::optional<QPoint> pageEndPosition(const PrinterPage &page, int resolution);

// Whether a picture of this size may be allocated: both sides from 1 to maxPictureSide pixels and
// at most maxPicturePixels pixels in all (512 MiB at four bytes a pixel).
constexpr int maxPictureSide = 32767;
constexpr long long maxPicturePixels = 1LL << 27;
bool pictureSizeIsDrawable(QSize size);

// The screen view of the puzzle as an image at resolution pixels per inch: a picture target sized from
// puzzlePictureSize, page-end marking from the printer's page. A null image when it cannot be made,
// with the reason in German in *error.
QImage renderPuzzleImage(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                         const PrinterQuery &printer, QString *error = nullptr);
// The same with the page-end marking of the default PDF page.
QImage renderPuzzleImage(const PuzzleModel &model, const PuzzleSettings &settings, int resolution,
                         QString *error = nullptr);

// The image encoded in the given format ("PNG", "BMP"); empty when it cannot be encoded.
QByteArray encodePuzzleImage(const QImage &image, const char *format);

// Writes the image to fileName in the given format ("PNG", "BMP") through a SafeFile: an existing file
// is replaced only when everything was written, a device or pipe gets the whole picture. False with
// the German message naming the file in *error.
bool savePuzzleImage(const QImage &image, const QString &fileName, const char *format,
                     QString *error = nullptr);
