#pragma once

#include <cstdint>

namespace vestro::bench {

// SplitMix64: tiny, fast, and the same sequence on every platform, so data sets are reproducible.
class PseudoRandom {
  public:
    explicit PseudoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t value = (state_ += 0x9E3779B97F4A7C15ULL);
        value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
        value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
        return value ^ (value >> 31);
    }

    // Uniform enough for sizes: the modulo bias is far below one part in a million.
    std::uint64_t Between(std::uint64_t lowest, std::uint64_t highest) {
        return lowest + Next() % (highest - lowest + 1);
    }

  private:
    std::uint64_t state_;
};

}  // namespace vestro::bench
