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
