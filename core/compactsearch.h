#pragma once

#include "compactlayout.h"
#include "randomgenerator.h"
#include "searchbudget.h"

#include <cstdint>
#include <vector>

// The proportions a layout is made for: those of a frame, or none (then only its area counts).
struct LayoutShape {
    int width = 0;
    int height = 0;

    bool given() const { return width > 0 && height > 0; }
    // How far a box must be scaled to fit a frame of this shape, as a number that compares like the
    // scale: max(w x height, h x width).
    std::int64_t scaleOf(int w, int h) const;
    // The area of the smallest rectangle of this shape that holds a box of w x h cells; w x h itself
    // when no shape is given.
    double coveringArea(int w, int h) const;
};

// The moves of the compact layout search on one layout at a time: insertion of answers where they
// cross the layout best, and large-neighbourhood search (take a few answers out, insert again, keep
// the result unless it is worse). Every move leaves a layout that keeps the rules. Draws from its own
// random generator and counts its steps in the budget, so a seed and a budget give one result.
class CompactSearch {
public:
    CompactSearch(const CompactWords &words, std::uint64_t seed, SearchBudget &budget);

    // What insertion aims at: growth of the box counts as the growth of the covering area of shape,
    // weighed by growthWeight (1: as much as one new cell).
    void aimAt(LayoutShape shape, double growthWeight);

    // Places the answer where it crosses the layout best; one step. False when it crosses nowhere.
    bool insertBest(CompactLayout &layout, int word);
    // Places the answer alone on an empty layout, in the frame's centre or anywhere; false when it
    // does not fit the frame.
    bool placeFirst(CompactLayout &layout, int word, bool centre);
    // Inserts the answers that are not placed, longer ones first, in passes until none fits any more;
    // an empty layout first gets one of the longest answers that fit.
    void recreate(CompactLayout &layout);
    // Removes an answer. Two answers that crossed it in neighbouring cells would then stand side by
    // side, so one of each such pair goes too, and so on.
    void removeAnswer(CompactLayout &layout, int word);
    // Removes every answer outside the connected cluster with the most letters.
    void keepLargestCluster(CompactLayout &layout);
    // Takes up to count answers out (at least one stays): random ones, or those nearest to a random cell.
    void ruin(CompactLayout &layout, int count);
    // Ruins and recreates the layout for up to steps steps, or until target answers are placed, and
    // leaves it at the best state met.
    void improve(CompactLayout &layout, std::int64_t steps, int target);
    // Lower is better: answers left out, then their cells, then the used cells.
    std::int64_t energy(const CompactLayout &layout) const;

    // The layout moved by (dx, dy) into a frame of width x height. Answers that no longer fit are
    // removed first, then the largest cluster is kept. The others are copied as they lie: placing them
    // one by one through the rules could lose answers whose neighbouring letters are both crossed.
    CompactLayout moved(const CompactLayout &layout, int width, int height, int dx, int dy);
    // The layout in a frame the size of its box.
    CompactLayout cropped(const CompactLayout &layout);
    // The layout, cropped, with the answers it left out added wherever they cross it without its box
    // growing beyond width x height.
    CompactLayout toppedUp(const CompactLayout &layout, int width, int height);

    RandomGenerator &random() { return rng_; }
    SearchBudget &budget() { return budget_; }
    const CompactWords &words() const { return words_; }

private:
    struct Candidate {
        bool down;
        std::int16_t x;
        std::int16_t y;
        int crossings;
    };
    void collectCandidates(const CompactLayout &layout, int word);
    double score(const CompactLayout &layout, int word, const Candidate &c, const CellBox &box);
    bool acceptWorse(std::int64_t increase);
    void restore(CompactLayout &layout, const std::vector<CompactPlacement> &saved);
    void shuffle(std::vector<int> &items);

    const CompactWords &words_;
    RandomGenerator rng_;
    SearchBudget &budget_;
    LayoutShape shape_;
    double growthWeight_ = 1;
    LayoutShape boxLimit_; // while given: no candidate makes the box larger
    std::vector<Candidate> candidates_;
    std::vector<int> byLength_; // answers, longest first
};
