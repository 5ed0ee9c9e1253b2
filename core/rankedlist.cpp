#include "rankedlist.h"

void RankedList::clear() {
    top_ = 0;
    if (atLeast_[0] == 0)
        return; // every group is empty already
    for (auto &group : groups_)
        group.clear();
    atLeast_.fill(0);
}
