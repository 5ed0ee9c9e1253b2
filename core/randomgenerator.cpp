#include "randomgenerator.h"

#include <chrono>

namespace {

std::uint64_t splitmix64(std::uint64_t &x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

RandomGenerator::RandomGenerator(std::uint64_t value) {
    seed(value);
}

void RandomGenerator::seed(std::uint64_t value) {
    for (auto &word : s_)
        word = splitmix64(value);
}

std::uint64_t RandomGenerator::rejectBelowThreshold(std::uint64_t product, std::uint32_t n) {
    const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
    while (static_cast<std::uint32_t>(product) < threshold)
        product = static_cast<std::uint64_t>(next32()) * n;
    return product;
}

std::uint32_t seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}
