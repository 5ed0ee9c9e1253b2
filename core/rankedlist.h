#pragma once

#include <cstdint>
#include <vector>

// Items ordered by a small key (0 to a limit) so that the items with key >= m always form a block at
// the end: counting them is one look-up and the i-th of them is one index. Changing a key by d costs d
// swaps; a new item starts at the limit, so items with high keys are cheap to add.
// Each item's index in the list is kept in a slot array that the owner provides, indexed by item >> 1
// (the owner's cell number).
class RankedList {
public:
    static constexpr int maxKey = 99;

    // Empties the list and sets the highest key to limit (0 to maxKey).
    void clear(int limit);
    int size() const { return static_cast<int>(items_.size()); }
    // Number of items with key >= m.
    int countAtLeast(int m) const {
        return m <= 0 ? size() : (m > limit_ ? 0 : size() - below_[m]);
    }
    // The i-th of the items with key >= m.
    std::uint32_t atLeast(int m, int i) const {
        return items_[static_cast<std::size_t>((m <= 0 ? 0 : below_[m]) + i)];
    }

    void insert(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    void changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots);
    void remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots);

private:
    void swapItems(int i, int k, std::vector<std::int32_t> &slots);

    std::vector<std::uint32_t> items_; // ascending by key
    int limit_ = 0;
    int below_[maxKey + 1] = {}; // below_[m] for m >= 1: items with key < m
};
