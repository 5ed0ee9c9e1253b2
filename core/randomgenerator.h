#pragma once

#include <cstdint>

// The generator's source of uniform draws: xoshiro256** seeded through splitmix64, with unbiased
// bounded draws. Fast, small, and the same sequence for the same seed on every build.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0);

    void seed(std::uint64_t value);
    std::uint64_t next64();
    std::uint32_t next32() { return static_cast<std::uint32_t>(next64() >> 32); }
    // A uniform integer from 0 to n - 1; n must be at least 1.
    std::uint32_t Random(std::uint32_t n);
    // A uniform double in [0, 1).
    double uniform01() { return static_cast<double>(next64() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t s_[4];
};

// A seed from the high-resolution clock (its low 32 bits), as the program takes once at start-up.
std::uint32_t seedFromClock();
