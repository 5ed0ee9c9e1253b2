// Opening a document of many word rows in the window: the time to fill the word table and the memory
// the table takes, for the largest table a document may set (a million word rows), empty and filled,
// and the whole opening of such a file through LoadOptionsFile. And the word report that the table's
// marks follow a moment after each change: the usual 999 rows and a million.
#include "documentfile.h"
#include "mainform.h"
#include "wordgrid.h"
#include "wordgridtable.h"
#include "wordreport.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

// Resident memory of the process in kilobytes.
double residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6));
    return 0;
}

std::vector<VectorWordTable::Row> wordRows(bool filled) {
    std::vector<VectorWordTable::Row> rows(WordGrid::maxWordRows);
    if (filled)
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = {u"Frage " + QString::number(i).toStdU16String(), u"ANTWORT"};
    return rows;
}

void SetMillionWordRows(benchmark::State &state) {
    const auto rows = wordRows(state.range(0) != 0);
    WordGrid grid;
    double grown = 0;
    for (auto _ : state) {
        grid.setWordRows({});
        const double before = residentKilobytes();
        grid.setWordRows(rows);
        // Later rounds reuse the memory the first one took.
        grown = std::max(grown, residentKilobytes() - before);
    }
    state.counters["tableMB"] = grown / 1024;
}
BENCHMARK(SetMillionWordRows)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("filled")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void OpenMillionRowDocument(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.wbx"));
    PuzzleDocument document;
    document.rows = wordRows(state.range(0) != 0);
    QString error;
    if (!saveDocument(path, document, &error))
        state.SkipWithError(qPrintable(error));
    TMainForm form;
    for (auto _ : state) {
        form.LoadOptionsFile(path);
        benchmark::DoNotOptimize(form.model().entryCount());
    }
    state.counters["peakMB"] = residentKilobytes() / 1024;
}
BENCHMARK(OpenMillionRowDocument)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("filled")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void WordReportOfTable(benchmark::State &state) {
    std::vector<VectorWordTable::Row> rows(static_cast<std::size_t>(state.range(0)));
    std::vector<EntryTexts> entries;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = {u"Frage " + QString::number(i).toStdU16String(), u"Antwort"};
        // Every tenth row made an entry that the puzzle left out.
        if (i % 10 == 0)
            entries.push_back({rows[i].first, u"ANTWORT"});
    }
    WordGrid grid;
    grid.setWordRows(rows);
    const Grid puzzle = freeGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(reportWords(WordGridTable(grid), UmlautSpelling::Capitals, entries, puzzle));
}
BENCHMARK(WordReportOfTable)
    ->Arg(999)
    ->Arg(WordGrid::maxWordRows)
    ->ArgName("rows")
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
