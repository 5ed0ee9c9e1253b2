#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

// What RankedList and RoomTable are made of: items kept in groups by small keys, each item's index in
// its group kept in a slot array that the owner provides, and counts per key from 0 to maxKey, added
// to a row at a time.
namespace keyedgroups {

constexpr int maxKey = 15;
// Per item its index in its group; the owner has fewer than 32,768 items.
using Slots = std::vector<std::int16_t>;
using Group = std::vector<std::uint32_t>;
using Counts = std::array<std::int16_t, maxKey + 1>;

inline void put(Group &group, std::uint32_t item, Slots &slots) {
    slots[item] = static_cast<std::int16_t>(group.size());
    group.push_back(item);
}
// Takes the item out of its group, moving the group's last item into its place.
inline void take(Group &group, std::uint32_t item, Slots &slots) {
    const std::int16_t slot = slots[item];
    const std::uint32_t moved = group.back();
    group[static_cast<std::size_t>(slot)] = moved;
    slots[moved] = slot;
    group.pop_back();
}

// Adds sign times the row to the counts as one vector of sixteen counts (written as a loop, the
// compiler made it sixteen scalar additions).
template <int sign> void add(Counts &counts, const Counts &row) {
    using Lanes = std::int16_t __attribute__((vector_size(sizeof(Counts))));
    Lanes c, r;
    std::memcpy(&c, counts.data(), sizeof c);
    std::memcpy(&r, row.data(), sizeof r);
    c = sign > 0 ? c + r : c - r;
    std::memcpy(counts.data(), &c, sizeof c);
}

// The row with a one for every key from 0 to key.
inline const Counts &upTo(int key) {
    static constexpr std::array<Counts, maxKey + 1> rows = [] {
        std::array<Counts, maxKey + 1> r{};
        for (int k = 0; k <= maxKey; ++k)
            for (int m = 0; m <= k; ++m)
                r[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)] = 1;
        return r;
    }();
    return rows[static_cast<std::size_t>(key)];
}

} // namespace keyedgroups
