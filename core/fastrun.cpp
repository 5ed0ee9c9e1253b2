#include "fastrun.h"

#include "generatorstore.h"

#include <algorithm>
#include <cmath>

Placement randomPlacement(int length, RandomGenerator &rng) {
    Placement at;
    at.down = rng.Random(2) == 0;
    at.line = static_cast<int>(rng.Random(gridSize));
    at.start = static_cast<int>(rng.Random(static_cast<std::uint32_t>(gridSize - length))) + 1;
    return at;
}

namespace {

int longestAnswer(const std::vector<FastAnswer> &answers) {
    int longest = 0;
    for (const FastAnswer &a : answers)
        longest = std::max(longest, a.length);
    return longest;
}

} // namespace

double roundSuccessChance(int valid, int combinations) {
    return -std::expm1(attemptsPerRound * std::log1p(-static_cast<double>(valid) / combinations));
}

FastRun::FastRun(const std::vector<FastAnswer> &answers)
    : answers_(answers), grid_(longestAnswer(answers) - 1, crossingLetters(answers)),
      outcomes_(answers.size()), openSlot_(answers.size()),
      crossingsUpTo_(static_cast<std::size_t>(maxAnswerLength)),
      byRoomAfter_(static_cast<std::size_t>(maxAnswerLength)) {
    open_.reserve(answers.size());
    placements_.reserve(answers.size());
    for (const FastAnswer &answer : answers) {
        std::vector<LetterQuery> queries(static_cast<std::size_t>(answer.length));
        for (int j = 0; j < answer.length; ++j) {
            LetterQuery &q = queries[static_cast<std::size_t>(j)];
            const std::int32_t letter = answer.match[static_cast<std::size_t>(j)];
            if (letter == noMatch)
                continue;
            q.byRoomBefore = grid_.listByRoomBefore(letter);
            q.byRoomAfter = grid_.listByRoomAfter(letter);
            q.needBefore = std::min(j, grid_.roomLimit());
            q.needAfter = std::min(answer.length - 1 - j, grid_.roomLimit());
        }
        queries_.push_back(std::move(queries));
    }
}

void FastRun::closeEntry(std::uint32_t entry) {
    const std::uint32_t slot = openSlot_[entry];
    const std::uint32_t moved = open_.back();
    open_[slot] = moved;
    openSlot_[moved] = slot;
    open_.pop_back();
}

RunFigures FastRun::figures() const {
    RunFigures f;
    if (usedCells_ == 0)
        return f;
    f.usedCells = static_cast<std::int16_t>(usedCells_);
    f.area = static_cast<std::int16_t>((maxX_ - minX_ + 1) * (maxY_ - minY_ + 1));
    f.minX = static_cast<std::int8_t>(minX_);
    f.minY = static_cast<std::int8_t>(minY_);
    return f;
}

int FastRun::run(RandomGenerator &rng) {
    grid_.reset();
    placements_.clear();
    usedCells_ = 0;
    open_.clear();
    for (std::uint32_t i = 0; i < answers_.size(); ++i) {
        outcomes_[i] = EntryOutcome();
        openSlot_[i] = i;
        open_.push_back(i);
    }
    int fitted = 0;
    while (!open_.empty()) {
        const std::uint32_t entry = open_[rng.Random(static_cast<std::uint32_t>(open_.size()))];
        const FastAnswer &answer = answers_[entry];
        EntryOutcome &outcome = outcomes_[entry];
        bool success = true;
        if (fitted == 0)
            outcome.at = randomPlacement(answer.length, rng); // on the empty grid the first attempt fits
        else
            success = crossingRound(entry, rng, outcome.at);
        if (success) {
            const int newlyUsed = grid_.commit(answer, outcome.at, entry);
            // The clue cell and the last letter span the cells of the answer.
            const Placement &at = outcome.at;
            const int x0 = at.down ? at.line : at.start - 1;
            const int y0 = at.down ? at.start - 1 : at.line;
            const int x1 = at.down ? at.line : at.start - 1 + answer.length;
            const int y1 = at.down ? at.start - 1 + answer.length : at.line;
            if (usedCells_ == 0) {
                minX_ = x0;
                minY_ = y0;
                maxX_ = x1;
                maxY_ = y1;
            } else {
                minX_ = std::min(minX_, x0);
                minY_ = std::min(minY_, y0);
                maxX_ = std::max(maxX_, x1);
                maxY_ = std::max(maxY_, y1);
            }
            usedCells_ += newlyUsed;
            placements_.push_back(PlacedEntry{entry, at});
            outcome.placed = true;
            ++fitted;
            closeEntry(entry);
        } else if (++outcome.tries >= roundsPerEntry) {
            closeEntry(entry);
        }
    }
    return fitted;
}

// The attempts that land on a candidate crossing (T of them in all) form a Bernoulli process with hit
// chance T/N, and a hit is uniform over the T candidates. Each valid placement is exactly one crossing,
// its first, and that crossing is a candidate: for letter j the candidates are the crossable cells with
// that letter and room for j letters before them, or those with room for the L - 1 - j letters after
// them, whichever are fewer. Every other candidate stands for an invalid combination (there are enough
// of those as long as T <= N). So walking from hit to hit and stopping at the first valid one gives the
// round's exact law without making the misses.
bool FastRun::crossingRound(std::uint32_t entry, RandomGenerator &rng, Placement &at) {
    const FastAnswer &answer = answers_[entry];
    const std::vector<LetterQuery> &queries = queries_[entry];
    const int length = answer.length;
    const int combinations = 2 * gridSize * (gridSize - length);
    int crossings = 0;
    for (int j = 0; j < length; ++j) {
        const LetterQuery &q = queries[static_cast<std::size_t>(j)];
        if (q.byRoomBefore) {
            const int before = q.byRoomBefore->countAtLeast(q.needBefore);
            const int after = q.byRoomAfter->countAtLeast(q.needAfter);
            byRoomAfter_[static_cast<std::size_t>(j)] = after < before;
            crossings += after < before ? after : before;
        }
        crossingsUpTo_[static_cast<std::size_t>(j)] = crossings;
    }
    if (crossings == 0)
        return false;
    // Few combinations (answers of 95 letters or more) or more candidates than combinations: counting
    // the valid placements is cheaper, or the only way.
    if (crossings > combinations || combinations < attemptsPerRound)
        return countedRound(answer, combinations, rng, at);

    const double hitChance = static_cast<double>(crossings) / combinations;
    const double logMiss = std::log1p(-hitChance);
    int attempt = 0;
    for (;;) {
        if (hitChance < 1.0) {
            // Misses before the next hit, geometric: P(more than m) = (1 - hitChance)^m.
            const double misses = std::floor(std::log(1.0 - rng.uniform01()) / logMiss);
            if (misses >= attemptsPerRound - attempt)
                return false;
            attempt += static_cast<int>(misses);
        }
        if (++attempt > attemptsPerRound)
            return false;
        const int hit = static_cast<int>(rng.Random(static_cast<std::uint32_t>(crossings)));
        const auto upTo = crossingsUpTo_.begin();
        const int j = static_cast<int>(std::upper_bound(upTo, upTo + length, hit) - upTo);
        const int i = hit - (j > 0 ? crossingsUpTo_[static_cast<std::size_t>(j - 1)] : 0);
        const LetterQuery &q = queries[static_cast<std::size_t>(j)];
        const std::uint32_t key = byRoomAfter_[static_cast<std::size_t>(j)]
                                      ? q.byRoomAfter->atLeast(q.needAfter, i)
                                      : q.byRoomBefore->atLeast(q.needBefore, i);
        if (grid_.firstCrossingFits(key, j, answer, at))
            return true;
    }
}

bool FastRun::countedRound(const FastAnswer &answer, int combinations, RandomGenerator &rng, Placement &at) {
    fits_.clear();
    grid_.collectFits(answer, fits_);
    if (fits_.empty())
        return false;
    if (rng.uniform01() >= roundSuccessChance(static_cast<int>(fits_.size()), combinations))
        return false;
    at = fits_[rng.Random(static_cast<std::uint32_t>(fits_.size()))];
    return true;
}

void FastRun::drawLastAttempts(RandomGenerator &rng) {
    for (std::size_t i = 0; i < outcomes_.size(); ++i)
        if (!outcomes_[i].placed)
            outcomes_[i].at = randomPlacement(answers_[i].length, rng);
}
