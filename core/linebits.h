#pragma once

#include "grid.h"

#include <array>
#include <cstdint>

// One bit per position along a line of the grid (positions 0 to 99), in two 64-bit words: positions 0
// to 63 in words[0], 64 to 127 in words[1]. Bits 100 to 127 stay zero as long as only set() and range()
// put bits in.
struct LineBits {
    std::uint64_t words[2] = {0, 0};

    void set(int p) { words[p >> 6] |= bit(p); }
    void reset(int p) { words[p >> 6] &= ~bit(p); }
    bool test(int p) const { return (words[p >> 6] >> (p & 63)) & 1; }
    bool none() const { return (words[0] | words[1]) == 0; }

    // The lowest and the highest set position; the line must not be empty.
    int lowest() const { return words[0] != 0 ? __builtin_ctzll(words[0]) : 64 + __builtin_ctzll(words[1]); }
    int highest() const {
        return words[1] != 0 ? 127 - __builtin_clzll(words[1]) : 63 - __builtin_clzll(words[0]);
    }
    void resetLowest() {
        std::uint64_t &word = words[0] != 0 ? words[0] : words[1];
        word &= word - 1;
    }
    int count() const { return popcount(words[0]) + popcount(words[1]); }

    // Positions from to to, both included; empty when from > to. Both lie in 0 to 99.
    static LineBits range(int from, int to) {
        return without(below(to + 1), below(from)); // empty when from > to: the first lies in the second
    }

    // Every position of a line.
    static LineBits full() { return below(gridSize); }

    friend LineBits operator&(LineBits a, LineBits b) {
        return {{a.words[0] & b.words[0], a.words[1] & b.words[1]}};
    }
    friend LineBits operator|(LineBits a, LineBits b) {
        return {{a.words[0] | b.words[0], a.words[1] | b.words[1]}};
    }
    // a without the positions of b.
    friend LineBits without(LineBits a, LineBits b) {
        return {{a.words[0] & ~b.words[0], a.words[1] & ~b.words[1]}};
    }
    // The positions next to a position of a.
    friend LineBits neighbours(LineBits a) {
        const LineBits up{{a.words[0] << 1, (a.words[1] << 1) | (a.words[0] >> 63)}};
        const LineBits down{{(a.words[0] >> 1) | (a.words[1] << 63), a.words[1] >> 1}};
        return (up | down) & full();
    }
    // Every position of b also lies in a.
    friend bool covers(LineBits a, LineBits b) {
        return ((b.words[0] & ~a.words[0]) | (b.words[1] & ~a.words[1])) == 0;
    }

private:
    static std::uint64_t bit(int p) { return std::uint64_t{1} << (p & 63); }

    // Positions 0 to n - 1, n from 0 to 128, looked up rather than shifted together.
    static LineBits below(int n) { return belowTable()[static_cast<std::size_t>(n)]; }
    static const std::array<LineBits, 129> &belowTable() {
        static constexpr std::array<LineBits, 129> table = [] {
            std::array<LineBits, 129> t{};
            for (int n = 0; n <= 128; ++n) {
                t[static_cast<std::size_t>(n)].words[0] =
                    n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
                t[static_cast<std::size_t>(n)].words[1] =
                    n <= 64 ? 0 : (n == 128 ? ~std::uint64_t{0} : (std::uint64_t{1} << (n - 64)) - 1);
            }
            return t;
        }();
        return table;
    }

    // Set bits of a word, without relying on a popcount instruction.
    static int popcount(std::uint64_t v) {
        v = v - ((v >> 1) & 0x5555555555555555ULL);
        v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
        v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
    }
};
