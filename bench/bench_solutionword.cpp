// Time to choose the cells of a solution word, which the window does on every keystroke in the word's
// field: a usual word on a puzzle of 100 words, and the longest words on a full grid of a single letter,
// where every cell is a candidate for every letter.
#include "generator.h"
#include "solutionword.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A puzzle like the one of the 100-word example list: 100 answers of six to twelve letters.
Grid hundredWordPuzzle() {
    std::vector<VectorWordTable::Row> rows;
    for (int i = 0; i < 100; ++i) {
        std::u16string answer;
        for (int k = 0; k < 6 + i % 7; ++k)
            answer += static_cast<char16_t>(u'A' + (i * 7 + k * 3) % 26);
        rows.emplace_back(u"Frage", answer);
    }
    PuzzleModel model;
    GeneratorStore store(50);
    GenerationOptions options;
    options.runs = 50;
    options.seed = 1;
    GenerateFast(VectorWordTable(rows, 999), model, store, options);
    return model.grid;
}

void UsualWord(benchmark::State &state) {
    const Grid grid = hundredWordPuzzle();
    const std::u16string word(u"SOMMERFERIEN");
    for (auto _ : state)
        benchmark::DoNotOptimize(chooseSolutionCells(grid, word, UmlautSpelling::Capitals).cells.data());
}
BENCHMARK(UsualWord)->Unit(benchmark::kMillisecond);

void FullGridOfOneLetter(benchmark::State &state) {
    Grid grid;
    grid.fill('A');
    const std::u16string word(static_cast<std::size_t>(state.range(0)), u'A');
    for (auto _ : state)
        benchmark::DoNotOptimize(chooseSolutionCells(grid, word, UmlautSpelling::Capitals).cells.data());
}
BENCHMARK(FullGridOfOneLetter)
    ->Arg(12)
    ->Arg(1000)
    ->Arg(10000)
    ->ArgName("letters")
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
