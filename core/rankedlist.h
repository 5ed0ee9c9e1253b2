#pragma once

#include <cstdint>
#include <vector>

// Items grouped by a small key (0 to a limit): counting the items with key >= m costs one look-up,
// finding the i-th of them at most one step per key, and adding, removing or re-keying an item one
// step per key it passes. Each item's index in its group is kept in a slot array that the owner provides, indexed by
// item >> 1 (the owner's cell number).
class RankedList {
public:
    static constexpr int maxKey = 99;

    // Empties the list and sets the highest key to limit (0 to maxKey).
    void clear(int limit);
    int size() const { return size_; }
    // Number of items with key >= m.
    int countAtLeast(int m) const {
        if (m <= 0)
            return size_;
        if (m > limit_)
            return 0;
        return atLeast_[static_cast<std::size_t>(m)];
    }
    // The i-th of the items with key >= m, in a fixed but unspecified order.
    std::uint32_t atLeast(int m, int i) const {
        for (int k = m < 0 ? 0 : m;; ++k) {
            const auto &group = groups_[static_cast<std::size_t>(k)];
            if (i < static_cast<int>(group.size()))
                return group[static_cast<std::size_t>(i)];
            i -= static_cast<int>(group.size());
        }
    }

    void insert(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    void changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots);
    void remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots);

private:
    void take(std::uint32_t item, int key, std::vector<std::int32_t> &slots);
    void put(std::uint32_t item, int key, std::vector<std::int32_t> &slots);

    std::vector<std::vector<std::uint32_t>> groups_; // by key
    std::vector<int> atLeast_;                       // items with key >= m
    int limit_ = -1;
    int size_ = 0;
};
