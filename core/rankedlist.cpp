#include "rankedlist.h"

#include <algorithm>

void RankedList::clear(int limit) {
    items_.clear();
    std::fill(below_, below_ + limit_ + 1, 0);
    limit_ = std::min(std::max(limit, 0), maxKey);
}

void RankedList::swapItems(int i, int k, std::vector<std::int32_t> &slots) {
    const std::uint32_t a = items_[static_cast<std::size_t>(i)];
    const std::uint32_t b = items_[static_cast<std::size_t>(k)];
    items_[static_cast<std::size_t>(i)] = b;
    items_[static_cast<std::size_t>(k)] = a;
    slots[a >> 1] = k;
    slots[b >> 1] = i;
}

void RankedList::insert(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    slots[item >> 1] = size();
    items_.push_back(item); // the last place belongs to the highest key
    changeKey(item, limit_, key, slots);
}

void RankedList::changeKey(std::uint32_t item, int from, int to, std::vector<std::int32_t> &slots) {
    // Lowering a key by one moves the item to the front of its group and across the boundary below;
    // raising moves it to the back of its group and across the boundary above. The item itself is only
    // put down at its final place: until then its place is a hole that each displaced item fills.
    int place = slots[item >> 1];
    auto moveInto = [&](int from) {
        if (from == place)
            return;
        const std::uint32_t moved = items_[static_cast<std::size_t>(from)];
        items_[static_cast<std::size_t>(place)] = moved;
        slots[moved >> 1] = place;
        place = from;
    };
    for (int m = from; m > to; --m)
        moveInto(below_[m]++);
    for (int m = from + 1; m <= to; ++m)
        moveInto(--below_[m]);
    items_[static_cast<std::size_t>(place)] = item;
    slots[item >> 1] = place;
}

void RankedList::remove(std::uint32_t item, int key, std::vector<std::int32_t> &slots) {
    changeKey(item, key, limit_, slots);
    swapItems(slots[item >> 1], size() - 1, slots);
    items_.pop_back();
    slots[item >> 1] = -1;
}
