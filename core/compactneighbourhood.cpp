// The large-neighbourhood moves of the compact layout search: taking answers out so that the layout
// keeps the rules, and ruin and recreate with a little annealing.
#include "compactsearch.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// At most this many answers are taken out at once, and at most a fifth of the list.
constexpr int maxRuin = 12;
// A recreated layout that is worse by d is kept with the chance acceptChance^d (acceptChance as
// acceptNumerator / acceptDenominator): a little annealing, drawn without floating point so that
// every machine draws alike.
constexpr std::uint32_t acceptNumerator = 3;
constexpr std::uint32_t acceptDenominator = 5;
constexpr std::int64_t maxAcceptedIncrease = 40;
// Weights of the energy: an answer left out outweighs all cells; a left-out cell outweighs the cells
// the layout uses.
constexpr std::int64_t leftOutAnswerEnergy = 1000000000;
constexpr std::int64_t leftOutCellEnergy = 1000;

} // namespace

void CompactSearch::removeAnswer(CompactLayout &layout, int word) {
    std::vector<int> pending{word};
    std::vector<int> crossers;
    while (!pending.empty()) {
        const int w = pending.back();
        pending.pop_back();
        const CompactPlacement at = layout.placement(w);
        if (!at.placed)
            continue;
        const int length = words_.words[static_cast<std::size_t>(w)].length();
        crossers.clear();
        for (int i = 0, cell = layout.cellAt(at.x, at.y); i < length; ++i, cell += layout.along(at.down))
            crossers.push_back(layout.ownerAt(cell, !at.down));
        layout.remove(w);
        for (int i = 0; i + 1 < length; ++i) {
            const int a = crossers[static_cast<std::size_t>(i)];
            const int b = crossers[static_cast<std::size_t>(i) + 1];
            if (a >= 0 && b >= 0 && layout.placement(a).placed && layout.placement(b).placed)
                pending.push_back(rng_.Random(2) == 0 ? a : b);
        }
    }
}

void CompactSearch::keepLargestCluster(CompactLayout &layout) {
    const int n = static_cast<int>(words_.words.size());
    std::vector<int> parent(static_cast<std::size_t>(n));
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](int a) {
        while (parent[static_cast<std::size_t>(a)] != a)
            a = parent[static_cast<std::size_t>(a)] =
                parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(a)])];
        return a;
    };
    for (int w = 0; w < n; ++w) {
        const CompactPlacement &at = layout.placement(w);
        if (!at.placed || !at.down)
            continue;
        const int length = words_.words[static_cast<std::size_t>(w)].length();
        for (int i = 0, cell = layout.cellAt(at.x, at.y); i < length; ++i, cell += layout.along(true)) {
            const int across = layout.ownerAt(cell, false);
            if (across >= 0)
                parent[static_cast<std::size_t>(root(w))] = root(across);
        }
    }
    std::vector<int> letters(static_cast<std::size_t>(n), 0);
    for (int w = 0; w < n; ++w)
        if (layout.placement(w).placed)
            letters[static_cast<std::size_t>(root(w))] +=
                words_.words[static_cast<std::size_t>(w)].length() + 1;
    const int largest = static_cast<int>(std::max_element(letters.begin(), letters.end()) - letters.begin());
    for (int w = 0; w < n; ++w)
        if (layout.placement(w).placed && root(w) != largest)
            layout.remove(w);
}

void CompactSearch::shuffle(std::vector<int> &items) {
    for (std::size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[rng_.Random(static_cast<std::uint32_t>(i))]);
}

void CompactSearch::ruin(CompactLayout &layout, int count) {
    std::vector<int> placed;
    for (int w = 0; w < static_cast<int>(words_.words.size()); ++w)
        if (layout.placement(w).placed)
            placed.push_back(w);
    if (placed.size() <= 1)
        return;
    count = std::min(count, static_cast<int>(placed.size()) - 1);
    if (rng_.Random(2) == 0) {
        shuffle(placed);
    } else {
        // Those nearest to a random cell: a hole in one place, which the reinsertion can fill anew.
        const int px = static_cast<int>(rng_.Random(static_cast<std::uint32_t>(layout.width())));
        const int py = static_cast<int>(rng_.Random(static_cast<std::uint32_t>(layout.height())));
        std::vector<std::pair<int, int>> byDistance;
        for (int w : placed) {
            const CompactPlacement &at = layout.placement(w);
            const int length = words_.words[static_cast<std::size_t>(w)].length();
            const int x1 = at.down ? at.x : at.x + length - 1;
            const int y1 = at.down ? at.y + length - 1 : at.y;
            const int dx = px < at.x ? at.x - px : (px > x1 ? px - x1 : 0);
            const int dy = py < at.y ? at.y - py : (py > y1 ? py - y1 : 0);
            byDistance.emplace_back(dx + dy, w);
        }
        std::sort(byDistance.begin(), byDistance.end());
        for (std::size_t i = 0; i < placed.size(); ++i)
            placed[i] = byDistance[i].second;
    }
    for (int i = 0; i < count; ++i)
        removeAnswer(layout, placed[static_cast<std::size_t>(i)]);
    keepLargestCluster(layout);
}

std::int64_t CompactSearch::energy(const CompactLayout &layout) const {
    std::int64_t e = layout.usedCells();
    for (int w = 0; w < static_cast<int>(words_.words.size()); ++w)
        if (!layout.placement(w).placed)
            e += leftOutAnswerEnergy +
                 leftOutCellEnergy * (words_.words[static_cast<std::size_t>(w)].length() + 1);
    return e;
}

bool CompactSearch::acceptWorse(std::int64_t increase) {
    if (increase > maxAcceptedIncrease)
        return false;
    for (std::int64_t i = 0; i < increase; ++i)
        if (rng_.Random(acceptDenominator) >= acceptNumerator)
            return false;
    return true;
}

void CompactSearch::restore(CompactLayout &layout, const std::vector<CompactPlacement> &saved) {
    const int n = static_cast<int>(saved.size());
    for (int w = 0; w < n; ++w)
        if (layout.placement(w).placed && !(layout.placement(w) == saved[static_cast<std::size_t>(w)]))
            layout.remove(w);
    for (int w = 0; w < n; ++w) {
        const CompactPlacement &at = saved[static_cast<std::size_t>(w)];
        if (at.placed && !layout.placement(w).placed)
            layout.place(w, at.down, at.x, at.y);
    }
}

void CompactSearch::improve(CompactLayout &layout, std::int64_t steps, int target) {
    CompactLayout best = layout;
    std::int64_t bestEnergy = energy(best);
    std::int64_t currentEnergy = bestEnergy;
    const int n = static_cast<int>(words_.words.size());
    const int most = std::max(2, std::min(maxRuin, n / 5));
    const std::int64_t end = budget_.used() + steps;
    std::vector<CompactPlacement> saved(static_cast<std::size_t>(n));
    while (budget_.used() < end && !budget_.exhausted() && best.placedCount() < target) {
        budget_.spend();
        for (int w = 0; w < n; ++w)
            saved[static_cast<std::size_t>(w)] = layout.placement(w);
        ruin(layout, 1 + static_cast<int>(rng_.Random(static_cast<std::uint32_t>(most))));
        recreate(layout);
        const std::int64_t e = energy(layout);
        if (e <= currentEnergy || acceptWorse(e - currentEnergy)) {
            currentEnergy = e;
            if (e < bestEnergy) {
                bestEnergy = e;
                best = layout;
            }
        } else {
            restore(layout, saved);
        }
    }
    layout = std::move(best);
}
