#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

// Items grouped by two small keys, a room before and a room after (each 0 to maxRoom): counting the
// items with room before >= b and room after >= a costs one look-up, finding the i-th of them two
// comparisons of sixteen counts at once, and adding, removing or moving an item a few vector additions
// per room after. Each item's index in its group is kept in a slot array that the owner provides,
// indexed by the item.
class RoomTable {
public:
    static constexpr int maxRoom = 15;
    // Per item its index in its group; the owner has fewer than 32,768 items.
    using Slots = std::vector<std::int16_t>;

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
    using Counts = std::array<std::int16_t, maxRoom + 1>;
    using Lanes = std::int16_t __attribute__((vector_size(sizeof(Counts))));

    // Adds sign times the row to the counts of the rooms after from first to last, as one vector of
    // sixteen counts each (written as a loop, the compiler makes it sixteen scalar additions).
    template <int sign> void addRows(const Counts &row, int first, int last) {
        Lanes r;
        std::memcpy(&r, row.data(), sizeof r);
        for (int a = first; a <= last; ++a) {
            Lanes c;
            std::memcpy(&c, atLeast_[static_cast<std::size_t>(a)].data(), sizeof c);
            c = sign > 0 ? c + r : c - r;
            std::memcpy(atLeast_[static_cast<std::size_t>(a)].data(), &c, sizeof c);
        }
    }
    template <int sign> static void add(Counts &counts, const Counts &row) {
        Lanes c, r;
        std::memcpy(&c, counts.data(), sizeof c);
        std::memcpy(&r, row.data(), sizeof r);
        c = sign > 0 ? c + r : c - r;
        std::memcpy(counts.data(), &c, sizeof c);
    }
    // The row with a one for every room from 0 to room.
    static const Counts &upTo(int room) { return upToRows()[static_cast<std::size_t>(room)]; }
    static const std::array<Counts, maxRoom + 1> &upToRows() {
        static constexpr std::array<Counts, maxRoom + 1> rows = [] {
            std::array<Counts, maxRoom + 1> r{};
            for (int k = 0; k <= maxRoom; ++k)
                for (int m = 0; m <= k; ++m)
                    r[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)] = 1;
            return r;
        }();
        return rows;
    }
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
        add<sign>(exactlyBefore_[static_cast<std::size_t>(before)], upTo(after));
    }
    void take(std::uint32_t item, int before, int after, Slots &slots) {
        auto &group = groups_[static_cast<std::size_t>(before)][static_cast<std::size_t>(after)];
        const std::int16_t slot = slots[item];
        const std::uint32_t moved = group.back();
        group[static_cast<std::size_t>(slot)] = moved;
        slots[moved] = slot;
        group.pop_back();
    }
    void put(std::uint32_t item, int before, int after, Slots &slots) {
        auto &group = groups_[static_cast<std::size_t>(before)][static_cast<std::size_t>(after)];
        slots[item] = static_cast<std::int16_t>(group.size());
        group.push_back(item);
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
    std::array<std::array<std::vector<std::uint32_t>, maxRoom + 1>, maxRoom + 1> groups_; // [before][after]
};
