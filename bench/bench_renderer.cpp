// Paint time of the puzzle view: a full 100 x 100 grid with more than 500 clue cells drawn at 96 pixels
// per inch into an image the size of the picture, as the screen view and the export do, and the paint
// of one window-sized part of it, as the view paints while the puzzle is dragged or zoomed; with the
// clues fitted into their cells (hyphenated and made smaller), a paint should take at most half as long
// again as without.
#include "renderer.h"
#include "textlayouts.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <array>
#include <optional>

namespace {

const std::array<std::u16string, 8> clues = {
    u"Tiefdruckgebiet",           u"fahle Farbe",      u"Gönner",          u"Oocyte", u"Straßenbild",
    u"Hauptstadt von Frankreich", u"kleines Gewässer", u"Teil des Baumes",
};

// Every cell used: a clue cell across every 8 columns in every 4th row, a clue cell down in between,
// letters everywhere else.
void fillDensePuzzle(PuzzleModel &model) {
    std::uint32_t entries = 0;
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y) {
            std::int32_t &cell = model.grid[cellIndex(x, y)];
            const bool across = y % 4 == 0 && x % 8 == 0;
            const bool down = y % 4 == 2 && x % 8 == 4;
            if (across || down) {
                model.AddEntry(clues[entries % clues.size()], u"ANTWORT");
                cell = clueCellValue(entries++, down);
            } else {
                cell = 'A' + (x + y) % 26;
            }
        }
}

// Paints the dense puzzle with the state's arguments (solution letters, fitted clues) at 96 pixels per
// inch again and again: the whole picture, or the part of it that a window of the given size shows when
// scrolled a third of the way right and down. The first paint loads the hyphenation patterns, fits the
// clues and lays their texts out once; the view paints again and again with what it keeps.
void paintDensePuzzle(benchmark::State &state, std::optional<QSize> window) {
    PuzzleModel model;
    fillDensePuzzle(model);
    PuzzleSettings settings;
    settings.showSolution = state.range(0) != 0;
    settings.fitClues = state.range(1) != 0;
    const FixedPrinterQuery printer(defaultPdfPage());
    constexpr int resolution = 96;
    const QSize size = puzzlePictureSize(model, settings, resolution);
    const QSize imageSize = window.value_or(size);
    const QPoint scrolled = window ? QPoint(size.width() / 3, size.height() / 3) : QPoint();
    QImage image(imageSize, QImage::Format_RGB32);
    TextLayouts layouts;
    RenderTarget target = RenderTarget::picture(size, resolution, printer);
    target.layouts = &layouts;
    const auto paint = [&] {
        QPainter painter(&image);
        painter.translate(-scrolled);
        return drawPuzzle(painter, model, settings, target).drawn;
    };
    paint();
    for (auto _ : state) {
        if (!paint())
            state.SkipWithError("picture size changed");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["clueCells"] = model.entryCount();
    state.counters["pixels"] = static_cast<double>(imageSize.width()) * imageSize.height();
}

void DrawFullPuzzle(benchmark::State &state) {
    paintDensePuzzle(state, std::nullopt);
}
BENCHMARK(DrawFullPuzzle)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"solution", "fit"})
    ->Unit(benchmark::kMillisecond);

// What dragging and zooming cost: the paint of one window-sized part of the same puzzle, as the view
// paints the part its scroll box shows.
void DrawViewport(benchmark::State &state) {
    paintDensePuzzle(state, QSize(1280, 800));
}
BENCHMARK(DrawViewport)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"solution", "fit"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
