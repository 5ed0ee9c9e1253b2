#pragma once

#include "crossinggrid.h"
#include "fastanswer.h"
#include "generatorstore.h"
#include "randomgenerator.h"

#include <array>
#include <cstdint>
#include <vector>

// One randomised run of the greedy placement with the same outcome distribution as LiteralRun, but
// without making the attempts one by one.
//
// In a round the literal generator makes up to 1001 independent attempts, each uniform over the
// N = 2 x 100 x (100 - L) combinations of direction, line and start, and stops at the first valid one.
// If v placements are valid the round succeeds with probability 1 - (1 - v/N)^1001, and then with a
// placement uniform over the v. Picking an entry by redrawing until an open one comes up is uniform over
// the open entries. Both laws are drawn here directly; the sequence of random numbers differs from the
// literal generator's, the distribution of the runs does not.
class FastRun {
public:
    // How an entry left the run: placed somewhere, or given up; tries counts its failed rounds.
    struct EntryOutcome {
        bool placed = false;
        int tries = 0;
        Placement at;
    };

    // The answers stay owned by the caller and must outlive the run.
    explicit FastRun(const std::vector<FastAnswer> &answers);

    // Makes one run on a grid of its own, which starts all free, and returns the number of entries
    // placed.
    int run(RandomGenerator &rng);

    // Gives every entry that was not placed a placement drawn like one literal attempt, as the last
    // attempt of its last round would have left it.
    void drawLastAttempts(RandomGenerator &rng);

    const std::vector<EntryOutcome> &outcomes() const { return outcomes_; }
    // The entries the last run placed, in the order placed.
    const std::vector<PlacedEntry> &placements() const { return placements_; }
    // The used cells and bounding box of the last run's grid.
    RunFigures figures() const { return grid_.figures(); }

private:
    // One round of up to 1001 attempts for an entry that has to cross; true with at set on success.
    bool crossingRound(std::uint32_t entry, RandomGenerator &rng, Placement &at);
    // The chance that none of a round's attempts lands on one of crossings candidates, for an answer
    // of the given length: (1 - crossings / combinations)^1001.
    double noHitChance(int length, int crossings, int combinations);
    // The same round decided from the exact number of valid placements.
    bool countedRound(const FastAnswer &answer, int combinations, RandomGenerator &rng, Placement &at);
    void closeEntry(std::uint32_t entry);

    const std::vector<FastAnswer> &answers_;
    CrossingGrid grid_;
    std::vector<EntryOutcome> outcomes_;
    std::vector<PlacedEntry> placements_;
    std::vector<std::uint32_t> open_;     // entries that can still be picked, in any order
    std::vector<std::uint32_t> openSlot_; // per entry: its index in open_
    std::vector<int> crossingsUpTo_;      // per answer letter: candidates with this letter or one before
    std::vector<Placement> fits_;
    std::vector<std::uint32_t> missed_; // crossings of this round that did not fit for want of room
    // Per answer length: noHitChance for the first few counts of crossings, worked out when first
    // asked (negative until then).
    std::vector<std::vector<double>> noHitChances_;
    std::array<double, attemptsPerRound + 1> binomialSteps_;
    // Per entry: where its letters begin in letterLists_; there per answer letter the number of the
    // crossing grid's lists of its letter cell value, -1 for a letter that cannot cross.
    std::vector<std::uint32_t> firstLetter_;
    std::vector<std::int16_t> letterLists_;
};

// The chance that a round of 1001 uniform attempts hits one of valid placements among combinations:
// 1 - (1 - valid/combinations)^1001, computed without losing small chances to rounding.
double roundSuccessChance(int valid, int combinations);

// A uniformly random placement of an answer of the given length, drawn as one literal attempt draws it.
Placement randomPlacement(int length, RandomGenerator &rng);
