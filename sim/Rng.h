#pragma once

// SplitMix64: small, fast, and the same sequence on every platform and
// standard library (the std distributions are not), which keeps seeded runs
// of the virtual pedal repeatable everywhere.

#include <cstdint>

namespace zorel::sim {

class Rng {
public:
  explicit Rng(uint64_t seed = 1) : mState(seed) {}

  uint64_t Next() {
    uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double NextUnit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  // Uniform in [0, bound]; 0 for bound 0.
  uint64_t NextUpTo(uint64_t bound) { return bound == 0 ? 0 : Next() % (bound + 1); }

private:
  uint64_t mState;
};

} // namespace zorel::sim
