#include "compactchain.h"

#include "grid.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Shares of a chain's budget: fresh greedy layouts at the start of an episode; a search for a place
// for every answer when the greedy ones leave some out; the steps without a smaller box after which
// a new episode starts.
constexpr int greedyShare = 10;   // percent
constexpr int completeShare = 25; // percent
constexpr int stallShare = 25;    // percent
// In a frame, this much of the budget stays for squeezing the box once every answer fits.
constexpr int squeezeShare = 30; // percent
// The steps of the first attempt at a box one row or column smaller; each failure doubles them.
constexpr std::int64_t firstSqueezeSteps = 2000;
// Inside a frame the size of the box hardly matters while answers are still left out.
constexpr double fillingGrowthWeight = 0.05;

std::int64_t share(const SearchBudget &budget, int percent) {
    return budget.limit() / 100 * percent + budget.limit() % 100 * percent / 100;
}

// Fresh layouts in a frame of width x height until the greedy share of the budget is spent (at least
// one); the best of them.
CompactLayout bestGreedyLayout(CompactSearch &search, int width, int height, LayoutShape frame) {
    std::optional<CompactLayout> best;
    const std::int64_t end = search.budget().used() + share(search.budget(), greedyShare);
    do {
        search.budget().spend();
        CompactLayout layout(search.words(), width, height);
        search.recreate(layout);
        layout = search.cropped(layout);
        if (!best || betterLayout(layout, *best, frame))
            best = std::move(layout);
    } while (search.budget().used() < end && !search.budget().exhausted());
    return std::move(*best);
}

// Squeezes the box of best a row or column at a time while all of its answers still fit, until the
// budget is spent or no smaller box was found for stallSteps. Returns when it stalls; best is the
// smallest layout found.
void squeeze(CompactSearch &search, CompactLayout &best, LayoutShape shape, std::int64_t stallSteps) {
    SearchBudget &budget = search.budget();
    const int target = best.placedCount();
    std::int64_t effort = firstSqueezeSteps;
    bool widthFailed = false;
    bool heightFailed = false;
    std::int64_t lastGain = budget.used();
    while (!budget.exhausted() && budget.used() - lastGain < stallSteps) {
        const int w = best.width();
        const int h = best.height();
        // The side that sets the scale first (with no shape, the longer one), the other one after it
        // failed: a smaller box of the same scale is still a smaller box.
        bool narrower;
        if (widthFailed != heightFailed)
            narrower = heightFailed;
        else if (shape.given())
            narrower =
                static_cast<std::int64_t>(w) * shape.height >= static_cast<std::int64_t>(h) * shape.width;
        else
            narrower = w != h ? w > h : search.random().Random(2) == 0;
        const int newWidth = w - (narrower ? 1 : 0);
        const int newHeight = h - (narrower ? 0 : 1);
        if (newWidth < 2 || newHeight < 2)
            return;
        budget.spend();
        // Cut off the side whose answers are fewer to find a new place for.
        CompactLayout keepStart = search.moved(best, newWidth, newHeight, 0, 0);
        CompactLayout keepEnd = search.moved(best, newWidth, newHeight, narrower ? -1 : 0, narrower ? 0 : -1);
        CompactLayout attempt =
            search.energy(keepStart) <= search.energy(keepEnd) ? std::move(keepStart) : std::move(keepEnd);
        search.improve(attempt, effort, target);
        if (attempt.placedCount() >= target) {
            best = search.cropped(attempt);
            widthFailed = heightFailed = false;
            lastGain = budget.used();
            continue;
        }
        (narrower ? widthFailed : heightFailed) = true;
        if (widthFailed && heightFailed) {
            widthFailed = heightFailed = false;
            effort *= 2;
        }
    }
}

// Without a frame: episodes of greedy layouts in the whole grid, then squeezing towards shape, until
// the budget is spent; the best of all episodes.
CompactLayout smallestLayout(CompactSearch &search, LayoutShape shape) {
    SearchBudget &budget = search.budget();
    const int n = static_cast<int>(search.words().words.size());
    std::optional<CompactLayout> overall;
    do {
        search.aimAt(shape, 1);
        CompactLayout best = bestGreedyLayout(search, gridSize, gridSize, shape);
        if (best.placedCount() < n) {
            // The greedy layouts left answers out: look for a place for them in the whole grid.
            CompactLayout spread = search.moved(best, gridSize, gridSize, (gridSize - best.width()) / 2,
                                                (gridSize - best.height()) / 2);
            search.improve(spread, share(budget, completeShare), n);
            spread = search.cropped(spread);
            if (betterLayout(spread, best, shape))
                best = std::move(spread);
        }
        squeeze(search, best, shape, std::max<std::int64_t>(share(budget, stallShare), firstSqueezeSteps));
        if (!overall || betterLayout(best, *overall, shape))
            overall = std::move(best);
    } while (!budget.exhausted());
    return std::move(*overall);
}

// In a frame: greedy layouts in the frame, a search for a place for every answer, then squeezing
// towards the frame's shape.
CompactLayout framedLayout(CompactSearch &search, LayoutShape frame) {
    SearchBudget &budget = search.budget();
    const int n = static_cast<int>(search.words().words.size());
    search.aimAt(frame, fillingGrowthWeight);
    CompactLayout best = bestGreedyLayout(search, frame.width, frame.height, frame);
    if (best.placedCount() < n) {
        CompactLayout spread = search.moved(best, frame.width, frame.height, (frame.width - best.width()) / 2,
                                            (frame.height - best.height()) / 2);
        const std::int64_t reserve = share(budget, squeezeShare);
        search.improve(spread, std::max<std::int64_t>(budget.limit() - budget.used() - reserve, 0), n);
        if (spread.placedCount() < n)
            search.improve(spread, budget.limit() - budget.used(), n);
        spread = search.cropped(spread);
        if (betterLayout(spread, best, frame))
            best = std::move(spread);
    }
    if (best.placedCount() == n) {
        search.aimAt(frame, 1);
        squeeze(search, best, frame, budget.limit());
    }
    return best;
}

} // namespace

bool betterLayout(const CompactLayout &a, const CompactLayout &b, LayoutShape shape) {
    if (a.placedCount() != b.placedCount())
        return a.placedCount() > b.placedCount();
    const CellBox boxA = a.box();
    const CellBox boxB = b.box();
    if (shape.given()) {
        const std::int64_t scaleA = shape.scaleOf(boxA.width(), boxA.height());
        const std::int64_t scaleB = shape.scaleOf(boxB.width(), boxB.height());
        if (scaleA != scaleB)
            return scaleA < scaleB;
    }
    if (boxA.area() != boxB.area())
        return boxA.area() < boxB.area();
    return a.usedCells() < b.usedCells();
}

CompactLayout searchCompactLayout(const CompactWords &words, LayoutShape frame, LayoutShape shape,
                                  std::uint64_t seed, SearchBudget &budget) {
    CompactSearch search(words, seed, budget);
    if (words.words.size() <= 1) {
        // Alone, an answer has its smallest box wherever it lies.
        CompactLayout alone(words, frame.given() ? frame.width : gridSize,
                            frame.given() ? frame.height : gridSize);
        search.recreate(alone);
        return search.cropped(alone);
    }
    CompactLayout result = frame.given() ? framedLayout(search, frame) : smallestLayout(search, shape);
    // Squeezed layouts lie in frames of their own size; an answer left out may still fit beside them.
    if (result.placedCount() < static_cast<int>(words.words.size()))
        result = frame.given() ? search.toppedUp(result, frame.width, frame.height)
                               : search.toppedUp(result, gridSize, gridSize);
    budget.flush();
    return result;
}
