#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// The effort a layout search may spend, counted in search steps (one step: one answer tried at every
// place where it can cross the layout), so that the same effort gives the same result on any machine.
// Every reportEvery steps, and on flush, the owner hears how many steps were spent since it last heard;
// answering false stops the search.
class SearchBudget {
public:
    using Report = std::function<bool(int stepsSinceLastReport)>;
    static constexpr int reportEvery = 256;

    explicit SearchBudget(std::int64_t limit, Report report = {})
        : limit_(limit), report_(std::move(report)) {}

    void spend() {
        ++used_;
        if (++unreported_ >= reportEvery)
            flush();
    }
    void flush() {
        if (unreported_ > 0 && report_ && !report_(unreported_))
            stopped_ = true;
        unreported_ = 0;
    }
    // Spent, or stopped by the owner: the search ends as soon as its layout keeps the rules.
    bool exhausted() const { return used_ >= limit_ || stopped_; }
    bool stopped() const { return stopped_; }
    std::int64_t used() const { return used_; }
    std::int64_t limit() const { return limit_; }

private:
    std::int64_t limit_;
    std::int64_t used_ = 0;
    int unreported_ = 0;
    bool stopped_ = false;
    Report report_;
};
