#pragma once

#include <cstdint>

// The generator's source of uniform draws: xoshiro256** seeded through splitmix64, with unbiased
// bounded draws. Fast, small, and the same sequence for the same seed on every build.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0);

    void seed(std::uint64_t value);
    std::uint64_t next64() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    std::uint32_t next32() { return static_cast<std::uint32_t>(next64() >> 32); }
    // A uniform integer from 0 to n - 1; n must be at least 1. Lemire's multiply-and-reject: no modulo
    // bias, and rarely more than one draw.
    std::uint32_t Random(std::uint32_t n) {
        std::uint64_t product = static_cast<std::uint64_t>(next32()) * n;
        if (static_cast<std::uint32_t>(product) < n)
            product = rejectBelowThreshold(product, n);
        return static_cast<std::uint32_t>(product >> 32);
    }
    // A uniform double in [0, 1).
    double uniform01() { return static_cast<double>(next64() >> 11) * 0x1.0p-53; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    // The rare second part of Random: draws again while the low half of product lies below the
    // threshold that makes every result equally likely.
    std::uint64_t rejectBelowThreshold(std::uint64_t product, std::uint32_t n);

    std::uint64_t s_[4];
};

// A seed from the high-resolution clock (its low 32 bits), as the program takes once at start-up.
std::uint32_t seedFromClock();
