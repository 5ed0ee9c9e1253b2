#include "roomtable.h"

void RoomTable::clear() {
    if (size() > 0) { // else every group is empty and every count 0 already
        for (int b = 0; b <= topBefore_; ++b)
            for (int a = 0; a <= topAfter_; ++a)
                groups_[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)].clear();
        for (int a = 0; a <= topAfter_; ++a)
            atLeast_[static_cast<std::size_t>(a)].fill(0);
        for (int b = 0; b <= topBefore_; ++b)
            exactlyBefore_[static_cast<std::size_t>(b)].fill(0);
    }
    topBefore_ = 0;
    topAfter_ = 0;
}

void RoomTable::countAll() {
    for (int b = topBefore_; b >= 0; --b) {
        Counts &exactly = exactlyBefore_[static_cast<std::size_t>(b)];
        int atLeastAfter = 0;
        for (int a = topAfter_; a >= 0; --a) {
            atLeastAfter +=
                static_cast<int>(groups_[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)].size());
            exactly[static_cast<std::size_t>(a)] = static_cast<std::int16_t>(atLeastAfter);
            const int above =
                b < maxRoom ? atLeast_[static_cast<std::size_t>(a)][static_cast<std::size_t>(b) + 1] : 0;
            atLeast_[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] =
                static_cast<std::int16_t>(above + atLeastAfter);
        }
    }
}

void RoomTable::move(std::uint32_t item, int fromBefore, int fromAfter, int toBefore, int toAfter,
                     Slots &slots) {
    if (fromBefore == toBefore && fromAfter == toAfter)
        return;
    take(item, fromBefore, fromAfter, slots);
    put(item, toBefore, toAfter, slots);
    // Rows up to both rooms after change by the difference of the two rows before; the rows between
    // them gain or lose a whole row.
    const int both = fromAfter < toAfter ? fromAfter : toAfter;
    if (fromBefore != toBefore) {
        // The ones of the rooms before between the two, all taken away or all added.
        Counts change = upTo(toBefore);
        keyedgroups::add<-1>(change, upTo(fromBefore));
        addRows<1>(change, 0, both);
    }
    addRows<1>(upTo(toBefore), both + 1, toAfter);
    addRows<-1>(upTo(fromBefore), both + 1, fromAfter);
    keyedgroups::add<-1>(exactlyBefore_[static_cast<std::size_t>(fromBefore)], upTo(fromAfter));
    keyedgroups::add<1>(exactlyBefore_[static_cast<std::size_t>(toBefore)], upTo(toAfter));
}
