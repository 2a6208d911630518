// A small deterministic random source (SplitMix64). Every value is made with
// integer and plain double arithmetic, so a seed gives the same notes with any
// compiler and standard library.
#pragma once

#include <cstdint>

namespace morvex::notegen {

// The SplitMix64 finaliser: a well-mixed 64-bit function of x.
constexpr std::uint64_t Mix64(std::uint64_t x) {
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return Mix64(state_);
  }
  // Uniform in [0, 1), 53 bits.
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  double uniform(double lo, double hi) { return lo + (hi - lo) * unit(); }
  // Uniform integer in [0, n), n > 0.
  int below(int n) { return static_cast<int>((next() >> 33) % static_cast<std::uint64_t>(n)); }
  bool chance(double p) { return unit() < p; }
  // Approximately standard normal: the sum of four uniforms, scaled to unit
  // variance (within about 3.5 of zero, which is all scanner noise needs).
  double normal() {
    const double s = unit() + unit() + unit() + unit() - 2.0;
    return s * 1.7320508075688772;
  }

 private:
  std::uint64_t state_;
};

}  // namespace morvex::notegen
