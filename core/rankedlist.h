#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Items grouped by a small key (0 to maxKey): counting the items with key >= m costs one look-up,
// finding the i-th of them at most one step per key, and adding, removing or re-keying an item a
// fixed handful of operations. Each item's index in its group is kept in a slot array that the owner
// provides, indexed by the item.
class RankedList {
public:
    static constexpr int maxKey = 15;

    void clear();
    int size() const { return atLeast_[0]; }
    // Number of items with key >= m.
    int countAtLeast(int m) const {
        return m <= 0 ? atLeast_[0] : (m > maxKey ? 0 : atLeast_[static_cast<std::size_t>(m)]);
    }
    // The i-th of the items with key >= m, in a fixed but unspecified order. The counts tell which
    // group holds it, so that only that group's items are read.
    std::uint32_t atLeast(int m, int i) const {
        for (int k = m < 0 ? 0 : m;; ++k) {
            const int inGroup = atLeast_[static_cast<std::size_t>(k)] -
                                (k < maxKey ? atLeast_[static_cast<std::size_t>(k + 1)] : 0);
            if (i < inGroup)
                return groups_[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)];
            i -= inGroup;
        }
    }

    void insert(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    void changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots);
    void remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots);

private:
    using Counts = std::array<std::int16_t, maxKey + 1>;

    void take(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    void put(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    // Adds sign to the count of every m from 0 to key.
    void count(int key, int sign);

    Counts atLeast_{};                                          // [m]: items with key >= m
    std::array<std::vector<std::uint32_t>, maxKey + 1> groups_; // by key
};
