// The validator's random numbers: one 64-bit stream from the run's seed
// (splitmix64), the same on every platform, so that a seed replays a run.
#pragma once

#include <cstdint>

namespace validator {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 to n - 1; 0 when n is 0.
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(Next() % n); }
  // from to to, both included.
  int32_t Between(int32_t from, int32_t to) {
    return from + static_cast<int32_t>(Below(static_cast<uint32_t>(to - from) + 1));
  }
  // True with probability percent / 100.
  bool Percent(uint32_t percent) { return Below(100) < percent; }
  // Uniform in [from, to).
  double Real(double from, double to) {
    return from + (to - from) * static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  uint64_t state_;
};

}  // namespace validator
