#include "rankedlist.h"

namespace {

// upTo[k][m] = 1 for 0 <= m <= k: adding a whole row keeps the counts of "key >= m" in one pass of
// fixed length, which the compiler turns into a few vector instructions.
constexpr std::array<std::array<std::int16_t, RankedList::maxKey + 1>, RankedList::maxKey + 1> makeUpTo() {
    std::array<std::array<std::int16_t, RankedList::maxKey + 1>, RankedList::maxKey + 1> rows{};
    for (int k = 0; k <= RankedList::maxKey; ++k)
        for (int m = 0; m <= k; ++m)
            rows[static_cast<std::size_t>(k)][static_cast<std::size_t>(m)] = 1;
    return rows;
}
constexpr auto upTo = makeUpTo();

} // namespace

void RankedList::clear() {
    if (atLeast_[0] == 0)
        return; // every group is empty already
    for (auto &group : groups_)
        group.clear();
    atLeast_.fill(0);
}

void RankedList::count(int key, int sign) {
    const auto &row = upTo[static_cast<std::size_t>(key)];
    for (std::size_t m = 0; m < atLeast_.size(); ++m)
        atLeast_[m] = static_cast<std::int16_t>(atLeast_[m] + sign * row[m]);
}

void RankedList::put(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    auto &group = groups_[static_cast<std::size_t>(key)];
    slots[item] = static_cast<std::int32_t>(group.size());
    group.push_back(item);
}

void RankedList::take(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    auto &group = groups_[static_cast<std::size_t>(key)];
    const std::int32_t slot = slots[item];
    const std::uint32_t moved = group.back();
    group[static_cast<std::size_t>(slot)] = moved;
    slots[moved] = slot;
    group.pop_back();
}

void RankedList::insert(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    put(item, key, slots);
    count(key, 1);
}

void RankedList::remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    take(item, key, slots);
    slots[item] = -1;
    count(key, -1);
}

void RankedList::changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots) {
    if (from == to)
        return;
    take(item, from, slots);
    put(item, to, slots);
    count(from, -1);
    count(to, 1);
}
