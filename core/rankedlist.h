#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

// Items grouped by a small key (0 to maxKey): counting the items with key >= m costs one look-up,
// finding the i-th of them at most one step per key, and adding, removing or re-keying an item a
// fixed handful of operations. Each item's index in its group is kept in a slot array that the owner
// provides, indexed by the item.
class RankedList {
public:
    static constexpr int maxKey = 15;
    // Per item its index in its group; the owner has fewer than 32,768 items.
    using Slots = std::vector<std::int16_t>;

    void clear();
    int size() const { return atLeast_[0]; }
    // Number of items with key >= m.
    int countAtLeast(int m) const {
        return m <= 0 ? atLeast_[0] : (m > maxKey ? 0 : atLeast_[static_cast<std::size_t>(m)]);
    }
    // The same for m from 0 to maxKey, without looking at m.
    int countFrom(int m) const { return atLeast_[static_cast<std::size_t>(m)]; }
    // The i-th of the items with key >= m, in a fixed but unspecified order: by key from the largest
    // down. The counts tell which group holds it, so that only that group's items are read. Walking
    // down from the largest key given since the list was cleared, where owners that cap their keys
    // lower start, ends at a key >= m, since i is below the count at m.
    std::uint32_t atLeast([[maybe_unused]] int m, int i) const {
        int k = top_;
        while (atLeast_[static_cast<std::size_t>(k)] <= i)
            --k;
        const int above = k < maxKey ? atLeast_[static_cast<std::size_t>(k) + 1] : 0;
        return groups_[static_cast<std::size_t>(k)][static_cast<std::size_t>(i - above)];
    }

    void insert(std::uint32_t item, int key, Slots &slots) {
        put(item, key, slots);
        count(key, 1);
    }
    void changeKey(std::uint32_t item, int from, int to, Slots &slots) {
        if (from == to)
            return;
        take(item, from, slots);
        put(item, to, slots);
        count(from, -1);
        count(to, 1);
    }
    void remove(std::uint32_t item, int key, Slots &slots) {
        take(item, key, slots);
        slots[item] = -1;
        count(key, -1);
    }

private:
    using Counts = std::array<std::int16_t, maxKey + 1>;

    void take(std::uint32_t item, int key, Slots &slots) {
        auto &group = groups_[static_cast<std::size_t>(key)];
        const std::int16_t slot = slots[item];
        const std::uint32_t moved = group.back();
        group[static_cast<std::size_t>(slot)] = moved;
        slots[moved] = slot;
        group.pop_back();
    }
    void put(std::uint32_t item, int key, Slots &slots) {
        auto &group = groups_[static_cast<std::size_t>(key)];
        slots[item] = static_cast<std::int16_t>(group.size());
        group.push_back(item);
        if (key > top_)
            top_ = key;
    }
    // Adds sign to the count of every m from 0 to key: a whole row of ones up to key, added as one
    // vector of sixteen counts (written as a loop, the compiler made it sixteen scalar additions).
    void count(int key, int sign) {
        using Lanes = std::int16_t __attribute__((vector_size(sizeof(Counts))));
        Lanes counts;
        Lanes row;
        std::memcpy(&counts, atLeast_.data(), sizeof counts);
        std::memcpy(&row, upTo()[static_cast<std::size_t>(key)].data(), sizeof row);
        counts = sign > 0 ? counts + row : counts - row;
        std::memcpy(atLeast_.data(), &counts, sizeof counts);
    }
    // upTo()[k][m] = 1 for 0 <= m <= k.
    static const std::array<Counts, maxKey + 1> &upTo() {
        static constexpr std::array<Counts, maxKey + 1> rows = [] {
            std::array<Counts, maxKey + 1> r{};
            for (int k = 0; k <= maxKey; ++k)
                for (int m = 0; m <= k; ++m)
                    r[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)] = 1;
            return r;
        }();
        return rows;
    }

    Counts atLeast_{};                                          // [m]: items with key >= m
    int top_ = 0; // no item has had a larger key since the list was cleared
    std::array<std::vector<std::uint32_t>, maxKey + 1> groups_; // by key
};
