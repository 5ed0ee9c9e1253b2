#include "randomgenerator.h"

#include <chrono>

namespace {

std::uint64_t splitmix64(std::uint64_t &x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

} // namespace

RandomGenerator::RandomGenerator(std::uint64_t value) {
    seed(value);
}

void RandomGenerator::seed(std::uint64_t value) {
    for (auto &word : s_)
        word = splitmix64(value);
}

std::uint64_t RandomGenerator::next64() {
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

// Lemire's multiply-and-reject: no modulo bias, and rarely more than one draw.
std::uint32_t RandomGenerator::Random(std::uint32_t n) {
    std::uint64_t product = static_cast<std::uint64_t>(next32()) * n;
    std::uint32_t low = static_cast<std::uint32_t>(product);
    if (low < n) {
        const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
        while (low < threshold) {
            product = static_cast<std::uint64_t>(next32()) * n;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::uint32_t>(product >> 32);
}

std::uint32_t seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}
