#include "generationrunner.h"

#include "errorreport.h"

#include <atomic>
#include <exception>
#include <thread>
#include <utility>

// One generation: its input, its result and what the window's thread and the worker share. The worker
// writes the result and failure; the window's thread reads them only after joining the worker.
struct GenerationRunner::Job {
    Job(std::uint64_t jobId, VectorWordTable wordTable, Engine generator)
        : id(jobId), table(std::move(wordTable)), engine(std::move(generator)) {}

    const std::uint64_t id;
    const VectorWordTable table;
    const Engine engine;
    GenerationOptions options;
    GenerationResult result;
    std::exception_ptr failure;

    std::atomic<bool> cancelRequested{false};
    std::atomic<int> runsDone{0};
    std::atomic<bool> progressQueued{false};
    std::thread worker;
};

GenerationRunner::GenerationRunner(QObject *parent) : QObject(parent), engine_(&GenerateFast) {}

GenerationRunner::~GenerationRunner() {
    cancelAndWait();
}

void GenerationRunner::setEngine(Engine engine) {
    engine_ = engine ? std::move(engine) : Engine(&GenerateFast);
}

bool GenerationRunner::start(VectorWordTable table, std::uint64_t seed, int runs, UmlautSpelling umlauts) {
    GenerationOptions options;
    options.runs = runs;
    options.seed = seed;
    options.umlauts = umlauts;
    return start(std::move(table), options, engine_, runs);
}

bool GenerationRunner::start(VectorWordTable table, const GenerationOptions &options, Engine engine,
                             int progressTotal) {
    if (job_)
        return false;
    auto job = std::make_unique<Job>(++lastJobId_, std::move(table), std::move(engine));
    job->options = options;
    Job *running = job.get();
    job->options.onRunDone = [this, running](int runsDone) {
        running->runsDone = runsDone;
        // At most one report waits in the window's queue; it reads the latest count when it is handled.
        if (!running->progressQueued.exchange(true))
            QMetaObject::invokeMethod(
                this, [this, id = running->id] { deliverProgress(id); }, Qt::QueuedConnection);
        return !running->cancelRequested;
    };
    job->worker = std::thread([this, running] { work(*running); });
    job_ = std::move(job);
    emit started(progressTotal);
    return true;
}

void GenerationRunner::work(Job &job) {
    try {
        job.result.stats = job.engine(job.table, job.result.model, job.result.store, job.options);
    } catch (...) {
        job.failure = std::current_exception();
    }
    QMetaObject::invokeMethod(
        this, [this, id = job.id] { finish(id); }, Qt::QueuedConnection);
}

void GenerationRunner::deliverProgress(std::uint64_t jobId) {
    if (!job_ || job_->id != jobId)
        return;
    job_->progressQueued = false;
    emit progress(job_->runsDone);
}

void GenerationRunner::cancel() {
    if (job_)
        job_->cancelRequested = true;
}

void GenerationRunner::cancelAndWait() {
    if (!job_)
        return;
    const std::unique_ptr<Job> job = std::move(job_);
    job->cancelRequested = true;
    job->worker.join();
    // The worker's report of its end may still wait in the queue; finish ignores it, as no job has
    // its number any more.
    emit ended();
    emit cancelled();
}

void GenerationRunner::finish(std::uint64_t jobId) {
    if (!job_ || job_->id != jobId)
        return;
    const std::unique_ptr<Job> job = std::move(job_);
    job->worker.join();
    emit ended();
    if (job->failure)
        emit failed(exceptionMessage(job->failure));
    else if (job->cancelRequested || job->result.stats.cancelled)
        emit cancelled();
    else
        emit succeeded(job->result);
}
