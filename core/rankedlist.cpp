#include "rankedlist.h"

#include <algorithm>

void RankedList::clear(int limit) {
    limit = std::min(std::max(limit, 0), maxKey);
    if (limit != limit_) {
        groups_.assign(static_cast<std::size_t>(limit) + 1, {});
        atLeast_.assign(static_cast<std::size_t>(limit) + 2, 0);
        limit_ = limit;
    } else {
        for (auto &group : groups_)
            group.clear();
        std::fill(atLeast_.begin(), atLeast_.end(), 0);
    }
    size_ = 0;
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
    ++size_;
    for (int m = 1; m <= key; ++m)
        ++atLeast_[static_cast<std::size_t>(m)];
}

void RankedList::remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    take(item, key, slots);
    slots[item] = -1;
    --size_;
    for (int m = 1; m <= key; ++m)
        --atLeast_[static_cast<std::size_t>(m)];
}

void RankedList::changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots) {
    if (from == to)
        return;
    take(item, from, slots);
    put(item, to, slots);
    for (int m = to + 1; m <= from; ++m)
        --atLeast_[static_cast<std::size_t>(m)];
    for (int m = from + 1; m <= to; ++m)
        ++atLeast_[static_cast<std::size_t>(m)];
}
