#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Stands in for the window's progress callback of a generation and records what it saw: every count
// reported, whether a report came from another thread than the one that started the generation, and
// whether one came after the callback had asked to stop at cancelAt (0: it never asks).
struct ProgressRecorder {
    explicit ProgressRecorder(int cancelAt) : cancelAt(cancelAt) {}

    std::function<bool(int)> callback() {
        return [this](int done) {
            otherThread = otherThread || std::this_thread::get_id() != caller;
            calledAfterCancel =
                calledAfterCancel || (cancelAt > 0 && !reports.empty() && reports.back() >= cancelAt);
            reports.push_back(done);
            return cancelAt == 0 || done < cancelAt;
        };
    }

    // What is wrong with the reports, empty when nothing: all on the calling thread, none after the
    // stop, at least one, each larger than the one before.
    std::string problem() const {
        if (otherThread)
            return "reported from another thread";
        if (calledAfterCancel)
            return "reported after asking to stop";
        if (reports.empty())
            return "no report";
        if (std::adjacent_find(reports.begin(), reports.end(), std::greater_equal<int>()) != reports.end())
            return "reports not increasing";
        return {};
    }

    int cancelAt;
    std::thread::id caller = std::this_thread::get_id();
    std::vector<int> reports;
    bool otherThread = false;
    bool calledAfterCancel = false;
};
