#pragma once

#include "grid.h"

#include <cstdint>

// One bit per position along a line of the grid (positions 0 to 99), in a 128-bit word (GCC and Clang
// provide it on every 64-bit target). Bits 100 to 127 stay zero as long as only set() and range() put
// bits in.
struct LineBits {
    __extension__ using Word = unsigned __int128;
    Word bits = 0;

    void set(int p) { bits |= Word{1} << p; }
    void reset(int p) { bits &= ~(Word{1} << p); }
    bool test(int p) const { return (bits >> p) & 1; }
    bool none() const { return bits == 0; }

    // The lowest and the highest set position; the line must not be empty.
    int lowest() const {
        const auto low = static_cast<std::uint64_t>(bits);
        return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(bits >> 64));
    }
    int highest() const {
        const auto high = static_cast<std::uint64_t>(bits >> 64);
        return high != 0 ? 127 - __builtin_clzll(high)
                         : 63 - __builtin_clzll(static_cast<std::uint64_t>(bits));
    }
    void resetLowest() { bits &= bits - 1; }
    int count() const {
        return __builtin_popcountll(static_cast<std::uint64_t>(bits)) +
               __builtin_popcountll(static_cast<std::uint64_t>(bits >> 64));
    }

    // Positions from to to, both included; empty when from > to. Both lie in 0 to 99.
    static LineBits range(int from, int to) {
        if (from > to)
            return {};
        return {((Word{1} << (to + 1)) - 1) & ~((Word{1} << from) - 1)};
    }

    // Every position of a line.
    static LineBits full() { return range(0, gridSize - 1); }

    friend LineBits operator&(LineBits a, LineBits b) { return {a.bits & b.bits}; }
    friend LineBits operator|(LineBits a, LineBits b) { return {a.bits | b.bits}; }
    // a without the positions of b.
    friend LineBits without(LineBits a, LineBits b) { return {a.bits & ~b.bits}; }
    // The positions next to a position of a.
    friend LineBits neighbours(LineBits a) { return {((a.bits << 1) | (a.bits >> 1)) & full().bits}; }
    // Every position of b also lies in a.
    friend bool covers(LineBits a, LineBits b) { return (b.bits & ~a.bits) == 0; }
};
