#include "compactsearch.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// How an insertion candidate is weighed: letters it shares, new cells, used cells and walls it touches
// (a layout that hugs itself stays small), and noise, so that repeated insertions explore.
constexpr double crossingWeight = 4;
constexpr double newCellWeight = 1;
constexpr double contactWeight = 1;
constexpr double noiseWeight = 3;
// Answers are reinserted longest first, with this much noise (in letters) on their length.
constexpr double orderNoise = 4;
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

std::int64_t LayoutShape::scaleOf(int w, int h) const {
    return std::max(static_cast<std::int64_t>(w) * height, static_cast<std::int64_t>(h) * width);
}

double LayoutShape::coveringArea(int w, int h) const {
    if (!given())
        return static_cast<double>(w) * h;
    const double s = static_cast<double>(scaleOf(w, h));
    return s * s / (static_cast<double>(width) * height);
}

CompactSearch::CompactSearch(const CompactWords &words, std::uint64_t seed, SearchBudget &budget)
    : words_(words), rng_(seed), budget_(budget) {
    byLength_.resize(words.words.size());
    std::iota(byLength_.begin(), byLength_.end(), 0);
    std::stable_sort(byLength_.begin(), byLength_.end(), [&](int a, int b) {
        return words.words[static_cast<std::size_t>(a)].length() >
               words.words[static_cast<std::size_t>(b)].length();
    });
}

void CompactSearch::aimAt(LayoutShape shape, double growthWeight) {
    shape_ = shape;
    growthWeight_ = growthWeight;
}

void CompactSearch::collectCandidates(const CompactLayout &layout, int word) {
    candidates_.clear();
    const CompactWord &w = words_.words[static_cast<std::size_t>(word)];
    const LetterSymbol *letters = w.letters.data();
    const int length = w.length();
    const CellBox box = layout.box();
    const auto withinLimit = [&](bool down, int x, int y) {
        if (!boxLimit_.given())
            return true;
        const int left = std::min(box.left, down ? x : x - 1);
        const int top = std::min(box.top, down ? y - 1 : y);
        const int right = std::max(box.right, down ? x : x + length - 1);
        const int bottom = std::max(box.bottom, down ? y + length - 1 : y);
        return right - left < boxLimit_.width && bottom - top < boxLimit_.height;
    };
    for (const CompactWord::Occurrences &o : w.crossable)
        for (int cell : layout.openCells(o.symbol)) {
            // One answer passes through an open cell: the new one runs the other way.
            const bool down = layout.ownerAt(cell, false) >= 0;
            const int cx = layout.columnOf(cell);
            const int cy = layout.rowOf(cell);
            for (std::uint8_t i : o.positions) {
                const int x = down ? cx : cx - i;
                const int y = down ? cy - i : cy;
                const int shared = layout.crossings(letters, length, down, x, y);
                if (shared > 0 && withinLimit(down, x, y))
                    candidates_.push_back(
                        {down, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), shared});
            }
        }
}

double CompactSearch::score(const CompactLayout &layout, int word, const Candidate &c, const CellBox &box) {
    const int length = words_.words[static_cast<std::size_t>(word)].length();
    const int first = layout.cellAt(c.x, c.y);
    const int step = layout.along(c.down);
    const int side = layout.beside(c.down);
    const int clue = layout.clueCellOf(first, c.down);

    // The box with the clue cell and the last letter in it.
    const int left = c.down ? c.x : c.x - 1;
    const int top = c.down ? c.y - 1 : c.y;
    const int right = c.down ? c.x : c.x + length - 1;
    const int bottom = c.down ? c.y + length - 1 : c.y;
    double growth = 0;
    if (!box.empty()) {
        const int w = std::max(box.right, right) - std::min(box.left, left) + 1;
        const int h = std::max(box.bottom, bottom) - std::min(box.top, top) + 1;
        growth = shape_.coveringArea(w, h) - shape_.coveringArea(box.width(), box.height());
    }

    int contact = 0;
    for (int i = 0, cell = first; i < length; ++i, cell += step)
        if (layout.letterAt(cell) == noSymbol)
            contact += (layout.isFree(cell - side) ? 0 : 1) + (layout.isFree(cell + side) ? 0 : 1);
    for (int neighbour : {clue - step, clue - side, clue + side})
        contact += layout.isFree(neighbour) ? 0 : 1;
    contact += layout.isFree(first + length * step) ? 0 : 1;

    const int newCells = length + 1 - c.crossings;
    return crossingWeight * c.crossings - growthWeight_ * growth - newCellWeight * newCells +
           contactWeight * contact + noiseWeight * rng_.uniform01();
}

bool CompactSearch::insertBest(CompactLayout &layout, int word) {
    budget_.spend();
    collectCandidates(layout, word);
    if (candidates_.empty())
        return false;
    const CellBox box = layout.box();
    std::size_t best = 0;
    double bestScore = 0;
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        const double s = score(layout, word, candidates_[i], box);
        if (i == 0 || s > bestScore) {
            bestScore = s;
            best = i;
        }
    }
    const Candidate &c = candidates_[best];
    layout.place(word, c.down, c.x, c.y);
    return true;
}

bool CompactSearch::placeFirst(CompactLayout &layout, int word, bool centre) {
    const int length = words_.words[static_cast<std::size_t>(word)].length();
    const int w = layout.width();
    const int h = layout.height();
    // On an empty frame an answer fits wherever its clue cell and letters lie inside: first letters
    // in columns 1 to w - length across, rows 1 to h - length down.
    const std::int64_t acrossCount = static_cast<std::int64_t>(std::max(0, w - length)) * h;
    const std::int64_t downCount = static_cast<std::int64_t>(std::max(0, h - length)) * w;
    if (acrossCount + downCount == 0)
        return false;
    const bool down = rng_.Random(2) == 0;
    if (centre) {
        const int x = down ? w / 2 : w / 2 - length / 2;
        const int y = down ? h / 2 - length / 2 : h / 2;
        if (layout.crossings(word, down, x, y) == 0) {
            layout.place(word, down, x, y);
            return true;
        }
    }
    std::int64_t pick =
        static_cast<std::int64_t>(rng_.Random(static_cast<std::uint32_t>(acrossCount + downCount)));
    if (pick < acrossCount) {
        layout.place(word, false, 1 + static_cast<int>(pick % (w - length)),
                     static_cast<int>(pick / (w - length)));
    } else {
        pick -= acrossCount;
        layout.place(word, true, static_cast<int>(pick % w), 1 + static_cast<int>(pick / w));
    }
    return true;
}

void CompactSearch::recreate(CompactLayout &layout) {
    if (layout.placedCount() == 0) {
        // One of the three longest answers that fit starts the layout.
        std::vector<int> fitting;
        for (int word : byLength_) {
            const int length = words_.words[static_cast<std::size_t>(word)].length();
            if (length + 1 <= std::max(layout.width(), layout.height()))
                fitting.push_back(word);
            if (fitting.size() == 3)
                break;
        }
        if (fitting.empty())
            return;
        const int first = fitting[rng_.Random(static_cast<std::uint32_t>(fitting.size()))];
        if (!placeFirst(layout, first, true))
            return;
    }
    std::vector<std::pair<double, int>> keyed;
    for (int word = 0; word < static_cast<int>(words_.words.size()); ++word)
        if (!layout.placement(word).placed)
            keyed.emplace_back(
                -(words_.words[static_cast<std::size_t>(word)].length() + orderNoise * rng_.uniform01()),
                word);
    std::sort(keyed.begin(), keyed.end());
    std::vector<int> order;
    for (const auto &k : keyed)
        order.push_back(k.second);
    std::vector<int> left;
    bool progress = true;
    while (progress && !order.empty()) {
        progress = false;
        left.clear();
        for (int word : order) {
            if (insertBest(layout, word))
                progress = true;
            else
                left.push_back(word);
        }
        order.swap(left);
    }
}

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

CompactLayout CompactSearch::moved(const CompactLayout &layout, int width, int height, int dx, int dy) {
    CompactLayout kept = layout;
    for (int w = 0; w < static_cast<int>(words_.words.size()); ++w) {
        const CompactPlacement &at = kept.placement(w);
        if (!at.placed)
            continue;
        const int length = words_.words[static_cast<std::size_t>(w)].length();
        const int left = at.x + dx - (at.down ? 0 : 1);
        const int top = at.y + dy - (at.down ? 1 : 0);
        const int right = at.x + dx + (at.down ? 0 : length - 1);
        const int bottom = at.y + dy + (at.down ? length - 1 : 0);
        if (left < 0 || top < 0 || right >= width || bottom >= height)
            removeAnswer(kept, w);
    }
    keepLargestCluster(kept);
    CompactLayout target(words_, width, height);
    for (int w = 0; w < static_cast<int>(words_.words.size()); ++w) {
        const CompactPlacement &at = kept.placement(w);
        if (at.placed)
            target.place(w, at.down, at.x + dx, at.y + dy);
    }
    return target;
}

CompactLayout CompactSearch::cropped(const CompactLayout &layout) {
    const CellBox box = layout.box();
    if (box.empty())
        return layout;
    return moved(layout, box.width(), box.height(), -box.left, -box.top);
}

CompactLayout CompactSearch::toppedUp(const CompactLayout &layout, int width, int height) {
    const CellBox box = layout.box();
    if (box.empty() || box.width() > width || box.height() > height)
        return layout;
    // Room on every side for what the frame still holds.
    const int roomX = width - box.width();
    const int roomY = height - box.height();
    CompactLayout roomy =
        moved(layout, box.width() + 2 * roomX, box.height() + 2 * roomY, roomX - box.left, roomY - box.top);
    boxLimit_ = {width, height};
    recreate(roomy);
    boxLimit_ = {};
    return cropped(roomy);
}
