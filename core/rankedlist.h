#pragma once

#include "keyedgroups.h"

#include <array>
#include <cstdint>
#include <vector>

// Items grouped by a small key (0 to maxKey): counting the items with key >= m costs one look-up,
// finding the i-th of them at most one step per key, and adding, removing or re-keying an item a
// fixed handful of operations. Each item's index in its group is kept in a slot array that the owner
// provides, indexed by the item.
class RankedList {
public:
    static constexpr int maxKey = keyedgroups::maxKey;
    using Slots = keyedgroups::Slots;

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
    using Counts = keyedgroups::Counts;

    void take(std::uint32_t item, int key, Slots &slots) {
        keyedgroups::take(groups_[static_cast<std::size_t>(key)], item, slots);
    }
    void put(std::uint32_t item, int key, Slots &slots) {
        keyedgroups::put(groups_[static_cast<std::size_t>(key)], item, slots);
        if (key > top_)
            top_ = key;
    }
    // Adds sign to the count of every m from 0 to key.
    void count(int key, int sign) {
        if (sign > 0)
            keyedgroups::add<1>(atLeast_, keyedgroups::upTo(key));
        else
            keyedgroups::add<-1>(atLeast_, keyedgroups::upTo(key));
    }

    Counts atLeast_{}; // [m]: items with key >= m
    int top_ = 0;      // no item has had a larger key since the list was cleared
    std::array<keyedgroups::Group, maxKey + 1> groups_; // by key
};
