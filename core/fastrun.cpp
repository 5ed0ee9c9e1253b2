#include "fastrun.h"

#include "generatorstore.h"

#include <algorithm>
#include <array>
#include <cmath>

Placement randomPlacement(int length, RandomGenerator &rng) {
    Placement at;
    at.down = rng.Random(2) == 0;
    at.line = static_cast<int>(rng.Random(gridSize));
    at.start = static_cast<int>(rng.Random(static_cast<std::uint32_t>(gridSize - length))) + 1;
    return at;
}

namespace {

// Counts of crossings up to this one have their no-hit chance remembered per answer length.
constexpr int rememberedCrossings = 256;
// Below this no-hit chance the binomial terms of a round could underflow.
constexpr double smallestNoHitChance = 1e-250;

// (n - k + 1) / k for k from 1 to n = attemptsPerRound: how P(K = k) of a binomial count K of hits in
// n attempts follows from P(K = k - 1), apart from the odds of one attempt.
std::array<double, attemptsPerRound + 1> makeBinomialSteps() {
    std::array<double, attemptsPerRound + 1> steps{};
    for (int k = 1; k <= attemptsPerRound; ++k)
        steps[static_cast<std::size_t>(k)] = static_cast<double>(attemptsPerRound - k + 1) / k;
    return steps;
}

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
      crossingsUpTo_(static_cast<std::size_t>(maxAnswerLength)), binomialSteps_(makeBinomialSteps()) {
    open_.reserve(answers.size());
    placements_.reserve(answers.size());
    missed_.reserve(attemptsPerRound);
    noHitChances_.resize(maxAnswerLength + 1);
    for (const FastAnswer &answer : answers) {
        std::vector<double> &chances = noHitChances_[static_cast<std::size_t>(answer.length)];
        if (chances.empty())
            chances.assign(rememberedCrossings, -1.0);
        firstLetter_.push_back(static_cast<std::uint32_t>(letterLists_.size()));
        for (std::int32_t letter : answer.match)
            letterLists_.push_back(static_cast<std::int16_t>(letter == noMatch ? -1 : grid_.listOf(letter)));
    }
}

void FastRun::closeEntry(std::uint32_t entry) {
    const std::uint32_t slot = openSlot_[entry];
    const std::uint32_t moved = open_.back();
    open_[slot] = moved;
    openSlot_[moved] = slot;
    open_.pop_back();
}

int FastRun::run(RandomGenerator &rng) {
    grid_.reset();
    placements_.clear();
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
            grid_.commit(answer, outcome.at, entry);
            placements_.push_back(PlacedEntry{entry, outcome.at});
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
// that letter, room for j letters before them and, once the rooms after are kept, room for the
// L - 1 - j letters after them. Every other candidate stands for an invalid combination (there are enough
// of those as long as T <= N). So testing the hits in turn and stopping at the first valid one gives the
// round's exact law without making the misses. The number of hits in the 1001 attempts is binomial; it
// is drawn by inversion from one uniform number, term by term and only as far as the hits go, so that a
// round needs no logarithm. Cells whose crossing did not fit for want of room have their rooms measured
// anew after the round: the candidates stay the same within a round.
bool FastRun::crossingRound(std::uint32_t entry, RandomGenerator &rng, Placement &at) {
    const FastAnswer &answer = answers_[entry];
    const std::int16_t *lists = letterLists_.data() + firstLetter_[entry];
    const int length = answer.length;
    const int combinations = 2 * gridSize * (gridSize - length);
    const int limit = grid_.roomLimit();
    // The room needed before letter j, and after it.
    const auto needBefore = [limit](int j) { return std::min(j, limit); };
    const auto needAfter = [limit, length](int j) { return std::min(length - 1 - j, limit); };
    int crossings = 0;
    const bool byBothRooms = grid_.roomsAfterKept();
    if (byBothRooms)
        for (int j = 0; j < length; ++j) {
            if (lists[j] >= 0)
                crossings += grid_.countBoth(lists[j], needBefore(j), needAfter(j));
            crossingsUpTo_[static_cast<std::size_t>(j)] = crossings;
        }
    else
        for (int j = 0; j < length; ++j) {
            if (lists[j] >= 0)
                crossings += grid_.countBefore(lists[j], needBefore(j));
            crossingsUpTo_[static_cast<std::size_t>(j)] = crossings;
        }
    if (crossings == 0)
        return false;
    // Few combinations (answers of 95 letters or more) or more candidates than combinations: counting
    // the valid placements is cheaper, or the only way.
    if (crossings > combinations || combinations < attemptsPerRound)
        return countedRound(answer, combinations, rng, at);

    missed_.clear();
    // Tests one hit, uniform over the candidates.
    const auto hitFits = [&] {
        const int hit = static_cast<int>(rng.Random(static_cast<std::uint32_t>(crossings)));
        // The letter whose candidates hold the hit: the number of letters whose candidates, counted
        // with those of the letters before, reach no further than the hit. Counted without a branch,
        // where a search would guess wrong at about every other step.
        int j = 0;
        for (int k = 0; k < length; ++k)
            j += crossingsUpTo_[static_cast<std::size_t>(k)] <= hit;
        const int i = hit - (j > 0 ? crossingsUpTo_[static_cast<std::size_t>(j - 1)] : 0);
        const std::uint32_t key = byBothRooms ? grid_.findBoth(lists[j], needBefore(j), needAfter(j), i)
                                              : grid_.findBefore(lists[j], needBefore(j), i);
        // Only a conflict that the rooms might have foreseen says that they may be out of date.
        const CrossingGrid::CrossingTest test = grid_.testCrossing(key, j, answer, at);
        if (test == CrossingGrid::CrossingTest::fits)
            return true;
        if (test == CrossingGrid::CrossingTest::outOfRoom)
            missed_.push_back(key);
        return false;
    };
    bool fits = false;
    const double noHit = noHitChance(length, crossings, combinations);
    if (noHit >= smallestNoHitChance) {
        // K, the number of hits, is the smallest k with u < P(K <= k); P(K = k) follows from
        // P(K = k - 1) by the factor (n - k + 1) / k x T / (N - T).
        const double u = rng.uniform01();
        const double odds = static_cast<double>(crossings) / (combinations - crossings);
        double term = noHit;
        double upToHits = noHit; // P(K <= hits)
        for (int hits = 1; hits <= attemptsPerRound && u >= upToHits; ++hits) {
            if (hitFits()) {
                fits = true;
                break;
            }
            term *= odds * binomialSteps_[static_cast<std::size_t>(hits)];
            upToHits += term;
        }
    } else {
        // So many hits expected that the terms would underflow: walk from hit to hit instead, the misses
        // between two hits geometric with P(more than m) = (1 - T/N)^m.
        const double hitChance = static_cast<double>(crossings) / combinations;
        const double logMiss = std::log1p(-hitChance);
        for (int attempt = 0;;) {
            if (hitChance < 1.0) {
                const double misses = std::floor(std::log(1.0 - rng.uniform01()) / logMiss);
                if (misses >= attemptsPerRound - attempt)
                    break;
                attempt += static_cast<int>(misses);
            }
            if (++attempt > attemptsPerRound)
                break;
            if (hitFits()) {
                fits = true;
                break;
            }
        }
    }
    for (std::uint32_t key : missed_)
        grid_.refreshRooms(key);
    return fits;
}

double FastRun::noHitChance(int length, int crossings, int combinations) {
    const auto chance = [&] {
        return std::exp(attemptsPerRound * std::log1p(-static_cast<double>(crossings) / combinations));
    };
    if (crossings >= rememberedCrossings)
        return chance();
    double &known = noHitChances_[static_cast<std::size_t>(length)][static_cast<std::size_t>(crossings)];
    if (known < 0)
        known = chance();
    return known;
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
