#pragma once

#include "generator.h"
#include "generatorstore.h"
#include "puzzlemodel.h"
#include "wordtable.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// What a finished generation hands over: the new entries and grid, every run's grid and count, and the
// figures of the generation.
struct GenerationResult {
    PuzzleModel model;
    GeneratorStore store{0};
    GenerationStats stats;
};

// Runs one generation at a time on a worker thread, on a copy of the word table and into a model and a
// store of its own, so that the window's puzzle stays untouched until a result is complete. Every
// signal arrives on the thread that owns the runner (the window's thread), never from the worker; the
// outcome comes after the worker has ended.
class GenerationRunner : public QObject {
    Q_OBJECT

public:
    using Engine = std::function<GenerationStats(const WordTable &table, PuzzleModel &model,
                                                 GeneratorStore &store, const GenerationOptions &options)>;

    explicit GenerationRunner(QObject *parent = nullptr);
    // Cancels a running generation and waits for its worker.
    ~GenerationRunner() override;

    // The generator the worker calls; GenerateFast unless another is put in place (tests slow it down
    // or make it fail). Takes effect with the next start.
    void setEngine(Engine engine);
    // Starts generating runs layouts from table with seed, writing the answers' umlauts as umlauts
    // says, and signals started; false, and nothing happens, while a generation is running.
    bool start(VectorWordTable table, std::uint64_t seed, int runs = defaultRuns,
               UmlautSpelling umlauts = UmlautSpelling::Capitals);
    // Starts a generation with engine and options (their seed, effort, frame, umlauts...; the runner
    // reports progress) and signals started with progressTotal, the count that progress reports rise to.
    bool start(VectorWordTable table, const GenerationOptions &options, Engine engine, int progressTotal);
    bool isRunning() const { return job_ != nullptr; }
    // Asks the running generation to stop as soon as possible; it ends with cancelled, also when its
    // last run was already done.
    void cancel();
    // Stops the running generation and waits for its worker; signals ended and cancelled before it
    // returns. Does nothing when no generation runs.
    void cancelAndWait();

signals:
    void started(int runs);
    // Runs finished so far, rising; a fast worker's counts are thinned out, never queued up.
    void progress(int runsDone);
    // The generation is over and a new one may start; exactly one of the three outcomes follows.
    void ended();
    // The receiver takes what it needs from result during the call; the result is dropped after it.
    void succeeded(GenerationResult &result);
    void cancelled();
    // The generation stopped with an error; message is the text for the error box.
    void failed(const QString &message);

private:
    struct Job;

    void work(Job &job);
    void deliverProgress(std::uint64_t jobId);
    void finish(std::uint64_t jobId);

    Engine engine_;
    std::unique_ptr<Job> job_;
    std::uint64_t lastJobId_ = 0;
};
