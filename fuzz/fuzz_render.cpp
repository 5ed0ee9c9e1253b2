// Draws puzzles made from arbitrary bytes: any cell values, entry texts, stored numbers (taken through
// the window's fields, as opening a document does) and fonts, on the screen picture and on a printer
// page. Nothing may crash; a picture that is made has the size the renderer announced, and painting it
// again as the view does, from the clue layouts it keeps, gives the same pixels. Zoom and cell
// width are kept small and the resolution low, so one input draws in milliseconds.

#include "fieldvalues.h"
#include "printerpage.h"
#include "renderer.h"
#include "textlayouts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

void require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_render: %s\n", what);
        std::abort();
    }
}

std::u16string someText(FuzzedDataProvider &input, std::size_t longest) {
    const std::string bytes = input.ConsumeRandomLengthString(2 * longest);
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return text;
}

// Faces and sizes come from short lists: every new face or size makes Qt load and keep another font,
// and the fuzzer's memory limit would measure Qt's font cache instead of the renderer.
void fillFont(FuzzedDataProvider &input, FontDescription &font) {
    static const char16_t *const faces[] = {u"Liberation Sans", u"Arial Narrow",        u"Tahoma", u"",
                                            u"\xD800x",         u"Keine solche Schrift"};
    static const std::int32_t sizes[] = {INT32_MIN, -72, -1, 0, 1, 8, 14, 300, 65536, INT32_MAX};
    font.face = faces[input.ConsumeIntegralInRange<std::size_t>(0, std::size(faces) - 1)];
    font.pointSize = sizes[input.ConsumeIntegralInRange<std::size_t>(0, std::size(sizes) - 1)];
    font.pixelsPerInch = input.ConsumeIntegral<std::int32_t>();
    font.color = input.ConsumeIntegral<std::uint32_t>();
    font.bold = input.ConsumeBool();
    font.italic = input.ConsumeBool();
    font.underline = input.ConsumeBool();
    font.strikeOut = input.ConsumeBool();
}

PuzzleSettings someSettings(FuzzedDataProvider &input) {
    PuzzleSettings s;
    for (double *number : {&s.zoom, &s.cellWidth, &s.lineWidth, &s.arrowSize, &s.textMargin, &s.pageMargin})
        *number = input.ConsumeFloatingPoint<double>();
    s = settingsThroughFields(s);
    s.zoom = std::min(s.zoom, 200.0);
    s.cellWidth = std::min(s.cellWidth, 20.0);
    s.showSolution = input.ConsumeBool();
    s.markPageEnd = input.ConsumeBool();
    s.clueCellsBlack = input.ConsumeBool();
    s.title = someText(input, 40);
    fillFont(input, s.clueFont);
    fillFont(input, s.titleFont);
    // Fitted clues, with any smallest font: the layout keeps it within its own limits.
    s.fitClues = input.ConsumeBool();
    s.minClueFontSize = input.ConsumeFloatingPoint<double>();
    return s;
}

// A cell value of one of the kinds a grid holds, or any 32-bit value.
std::int32_t someCell(FuzzedDataProvider &input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return input.ConsumeIntegralInRange<std::int32_t>(0, maxLetterCode);
    case 1:
        return clueCellValue(input.ConsumeIntegralInRange<std::uint32_t>(0, 12), input.ConsumeBool(),
                             input.ConsumeIntegralInRange<std::uint32_t>(0, 3));
    case 2:
        return cellFree;
    default:
        return input.ConsumeIntegral<std::int32_t>();
    }
}

// Pictures the renderer may make (up to 512 MiB) but this fuzzer does not, to stay in its memory limit.
constexpr long long largestPicturePixels = 1LL << 24;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // Font fallback warnings about random code points would drown the fuzzer's own output.
    qInstallMessageHandler(quiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_render";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Qt trims its font cache from a timer; without an event loop the cache would only grow.
    QCoreApplication::processEvents();
    FuzzedDataProvider input(data, size);
    const int resolution = input.ConsumeIntegralInRange(1, 24);
    const bool printit = input.ConsumeBool();
    PuzzleSettings settings = someSettings(input);
    PuzzleModel model;
    const int entries = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < entries; ++i) {
        const std::u16string clue = someText(input, 30);
        model.AddEntry(clue, someText(input, 10));
    }
    // A solution word with cells as a document may store them, or as the window chooses them.
    SolutionWord &solution = settings.solution;
    solution.enabled = input.ConsumeBool();
    solution.word = someText(input, 12);
    const int cells = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < cells; ++i)
        solution.cells.push_back(
            {input.ConsumeIntegralInRange(-2, gridSize + 1), input.ConsumeIntegralInRange(-2, gridSize + 1)});
    const bool chosen = input.ConsumeBool();
    model.grid = freeGrid();
    while (input.remaining_bytes() > 0) {
        const int at = input.ConsumeIntegralInRange(0, gridCells - 1);
        model.grid[static_cast<std::size_t>(at)] = someCell(input);
    }
    if (chosen) {
        const SolutionChoice choice = chooseSolutionCells(model.grid, solution.word, settings.umlauts);
        for (std::size_t i = 0; i < choice.cells.size(); ++i)
            require(!isOnGrid(choice.cells[i]) ||
                        model.grid[cellIndex(choice.cells[i].column, choice.cells[i].row)] ==
                            choice.letters[i],
                    "solution letter in a cell of another letter");
        solution.cells = choice.cells;
    }

    const FixedPrinterQuery printer(defaultPdfPage());
    if (printit) {
        QImage page(200, 280, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        drawPuzzle(painter, model, settings, RenderTarget::printerPage(resolution));
        return 0;
    }
    const QSize pictureSize = puzzlePictureSize(model, settings, resolution);
    if (static_cast<long long>(pictureSize.width()) * pictureSize.height() > largestPicturePixels)
        return 0;
    QString error;
    const QImage picture = renderPuzzleImage(model, settings, resolution, printer, &error);
    require(picture.isNull() != error.isEmpty(),
            "a picture without reason missing, or a reason with a picture");
    if (picture.isNull())
        return 0;
    require(picture.size() == puzzlePictureSize(model, settings, resolution), "picture of another size");
    // The view keeps the clues' layouts between its paints: painting from what it kept, and keeping it
    // first, shows the same picture.
    TextLayouts layouts;
    RenderTarget target = RenderTarget::picture(picture.size(), resolution, printer);
    target.layouts = &layouts;
    for (int paint = 0; paint < 2; ++paint) {
        QImage again(picture.size(), picture.format());
        again.setDotsPerMeterX(picture.dotsPerMeterX());
        again.setDotsPerMeterY(picture.dotsPerMeterY());
        QPainter painter(&again);
        require(drawPuzzle(painter, model, settings, target).drawn, "a second paint not drawn");
        painter.end();
        require(again == picture, "a paint with kept layouts shows another picture");
    }
    return 0;
}
