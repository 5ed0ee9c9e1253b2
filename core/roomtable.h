#pragma once

#include "keyedgroups.h"

#include <array>
#include <cstdint>
#include <cstring>

// Items grouped by two small keys, a room before and a room after (each 0 to maxRoom): counting the
// items with room before >= b and room after >= a costs one look-up, finding the i-th of them two
// comparisons of sixteen counts at once, and adding, removing or moving an item a few vector additions
// per room after. Each item's index in its group is kept in a slot array that the owner provides,
// indexed by the item.
class RoomTable {
public:
    static constexpr int maxRoom = keyedgroups::maxKey;
    using Slots = keyedgroups::Slots;

    void clear();
    int size() const { return atLeast_[0][0]; }
    // Number of items with room before >= before and room after >= after, both 0 to maxRoom.
    int count(int before, int after) const {
        return atLeast_[static_cast<std::size_t>(after)][static_cast<std::size_t>(before)];
    }
    // The i-th of those items, i below their count, in a fixed but unspecified order: by room before
    // from the largest down, then by room after from the largest down.
    std::uint32_t find([[maybe_unused]] int before, int after, int i) const {
        // The rooms before of the items with room after >= after, counted from each room up, are more
        // than i up to the room that holds the i-th item; it is at least before, since i is below the
        // count there.
        const Counts &byBefore = atLeast_[static_cast<std::size_t>(after)];
        const int b = lanesAbove(byBefore, i) - 1;
        i -= b < maxRoom ? byBefore[static_cast<std::size_t>(b) + 1] : 0;
        // The same among the items with exactly that room before, by room after.
        const Counts &byAfter = exactlyBefore_[static_cast<std::size_t>(b)];
        const int a = lanesAbove(byAfter, i) - 1;
        i -= a < maxRoom ? byAfter[static_cast<std::size_t>(a) + 1] : 0;
        return groups_[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)][static_cast<std::size_t>(i)];
    }

    void insert(std::uint32_t item, int before, int after, Slots &slots) {
        put(item, before, after, slots);
        countIn<1>(before, after);
    }
    void remove(std::uint32_t item, int before, int after, Slots &slots) {
        take(item, before, after, slots);
        slots[item] = -1;
        countIn<-1>(before, after);
    }
    void move(std::uint32_t item, int fromBefore, int fromAfter, int toBefore, int toAfter, Slots &slots);
    // Adds many items to an empty table: each one put in without counting it, then all counted at once.
    void putUncounted(std::uint32_t item, int before, int after, Slots &slots) {
        put(item, before, after, slots);
    }
    void countAll();

private:
    using Counts = keyedgroups::Counts;

    // Adds sign times the row to the counts of the rooms after from first to last.
    template <int sign> void addRows(const Counts &row, int first, int last) {
        for (int a = first; a <= last; ++a)
            keyedgroups::add<sign>(atLeast_[static_cast<std::size_t>(a)], row);
    }
    static const Counts &upTo(int room) { return keyedgroups::upTo(room); }
    // How many of the counts are above i, without a branch: a compare of eight counts at once (the
    // width every x86-64 processor has) gives -1 in every such lane; the two halves' lanes are added
    // and their four 16-bit sums in each word summed by one multiplication.
    static int lanesAbove(const Counts &c, int i) {
        using Half = std::int16_t __attribute__((vector_size(sizeof(Counts) / 2)));
        Half low, high;
        std::memcpy(&low, c.data(), sizeof low);
        std::memcpy(&high, c.data() + (maxRoom + 1) / 2, sizeof high);
        const Half limit = Half{} + static_cast<std::int16_t>(i);
        const Half above = -((low > limit) + (high > limit)); // 0 to 2 per lane
        std::uint64_t words[2];
        std::memcpy(words, &above, sizeof words);
        constexpr std::uint64_t lowBits = 0x0001000100010001ULL;
        return static_cast<int>(((words[0] + words[1]) * lowBits) >> 48);
    }

    // Adds sign to the counts of every (room before <= before, room after <= after).
    template <int sign> void countIn(int before, int after) {
        addRows<sign>(upTo(before), 0, after);
        keyedgroups::add<sign>(exactlyBefore_[static_cast<std::size_t>(before)], upTo(after));
    }
    void take(std::uint32_t item, int before, int after, Slots &slots) {
        keyedgroups::take(groups_[static_cast<std::size_t>(before)][static_cast<std::size_t>(after)], item,
                          slots);
    }
    void put(std::uint32_t item, int before, int after, Slots &slots) {
        keyedgroups::put(groups_[static_cast<std::size_t>(before)][static_cast<std::size_t>(after)], item,
                         slots);
        if (before > topBefore_)
            topBefore_ = before;
        if (after > topAfter_)
            topAfter_ = after;
    }

    std::array<Counts, maxRoom + 1> atLeast_{};       // [a][b]: items with room after >= a, room before >= b
    std::array<Counts, maxRoom + 1> exactlyBefore_{}; // [b][a]: items with room before b, room after >= a
    // No item has had larger rooms since the table was cleared.
    int topBefore_ = 0;
    int topAfter_ = 0;
    std::array<std::array<keyedgroups::Group, maxRoom + 1>, maxRoom + 1> groups_; // [before][after]
};
