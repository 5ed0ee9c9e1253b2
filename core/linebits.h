#pragma once

#include "grid.h"

#include <cstdint>

// One bit per position along a line of the grid (positions 0 to 99), held in two 64-bit words.
// Bits 100 to 127 stay zero as long as only set() and range() put bits in.
struct LineBits {
    std::uint64_t low = 0;  // positions 0 to 63
    std::uint64_t high = 0; // positions 64 to 99

    void set(int p) {
        if (p < 64)
            low |= std::uint64_t{1} << p;
        else
            high |= std::uint64_t{1} << (p - 64);
    }
    void reset(int p) {
        if (p < 64)
            low &= ~(std::uint64_t{1} << p);
        else
            high &= ~(std::uint64_t{1} << (p - 64));
    }
    bool test(int p) const { return p < 64 ? (low >> p) & 1 : (high >> (p - 64)) & 1; }
    bool none() const { return (low | high) == 0; }

    // The lowest set position; the line must not be empty.
    int lowest() const { return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(high); }
    void resetLowest() {
        if (low != 0)
            low &= low - 1;
        else
            high &= high - 1;
    }

    // Positions from to to, both included; empty when from > to. Both lie in 0 to 99.
    static LineBits range(int from, int to) {
        LineBits r;
        if (from > to)
            return r;
        r.low = upTo(to + 1, 0) & ~upTo(from, 0);
        r.high = upTo(to + 1, 64) & ~upTo(from, 64);
        return r;
    }

    // Every line of the grid with all positions set.
    static LineBits full() { return range(0, gridSize - 1); }

    friend LineBits operator&(LineBits a, LineBits b) { return {a.low & b.low, a.high & b.high}; }
    friend LineBits operator|(LineBits a, LineBits b) { return {a.low | b.low, a.high | b.high}; }
    // a without the positions of b.
    friend LineBits without(LineBits a, LineBits b) { return {a.low & ~b.low, a.high & ~b.high}; }
    // Every position of b also lies in a.
    friend bool covers(LineBits a, LineBits b) { return without(b, a).none(); }

private:
    // The bits below position n of the word that starts at position base.
    static std::uint64_t upTo(int n, int base) {
        const int bits = n - base;
        if (bits <= 0)
            return 0;
        if (bits >= 64)
            return ~std::uint64_t{0};
        return (std::uint64_t{1} << bits) - 1;
    }
};
