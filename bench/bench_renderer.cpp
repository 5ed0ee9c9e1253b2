// Paint time of the puzzle view: a full 100 x 100 grid with more than 500 clue cells drawn at 96 pixels
// per inch into an image the size of the picture, as the screen view and the export do; with the clues
// fitted into their cells (hyphenated and made smaller), a paint should take at most half as long again
// as without.
#include "renderer.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <array>

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
            std::int32_t &cell = model.feld[cellIndex(x, y)];
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

void DrawFullPuzzle(benchmark::State &state) {
    PuzzleModel model;
    fillDensePuzzle(model);
    PuzzleSettings settings;
    settings.showSolution = state.range(0) != 0;
    settings.fitClues = state.range(1) != 0;
    const FixedPrinterQuery printer(defaultPdfPage());
    constexpr int resolution = 96;
    const QSize size = puzzlePictureSize(model, settings, resolution);
    QImage image(size, QImage::Format_RGB32);
    // The first paint loads the hyphenation patterns and lays the fitted clues out once; the view
    // paints again and again with what it keeps.
    {
        QPainter painter(&image);
        drawPuzzle(painter, model, settings, RenderTarget::picture(size, resolution, printer));
    }
    for (auto _ : state) {
        QPainter painter(&image);
        if (!drawPuzzle(painter, model, settings, RenderTarget::picture(size, resolution, printer)).drawn)
            state.SkipWithError("picture size changed");
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["clueCells"] = model.entryCount();
    state.counters["pixels"] = static_cast<double>(size.width()) * size.height();
}
BENCHMARK(DrawFullPuzzle)
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
