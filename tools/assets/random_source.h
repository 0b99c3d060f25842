#pragma once

#include <cstdint>

// A tiny seeded generator (SplitMix64) so that every picture comes out
// byte-identical on every run, independent of the C++ library's engines.
class RandomSource {
 public:
  explicit RandomSource(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

  // Uniform in [lo, hi).
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

  // Uniform integer in [lo, hi].
  int between(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }

 private:
  std::uint64_t state_;
};
