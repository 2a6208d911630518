// Integer points and straight lines y = k * x + b in image coordinates.
#pragma once

#include <cstdint>

namespace morvex {

struct IntPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// The integer point where y = k1 * x + b1 meets y = k2 * x + b2:
// X = R((b1 - b2) / (k2 - k1)), Y = R(X * k1 + b1) on the first line from the
// rounded X. Parallel lines (k1 == k2) are an ArithmeticError, and so is a
// crossing outside the 32-bit range.
IntPoint IntersectLines(double k1, double b1, double k2, double b2);

// cos and sin of arctan(k), each computed once and kept as a double; the
// rotation by which tilted regions are sampled and tinted.
struct Rotation {
  double C = 1.0;
  double S = 0.0;
};
Rotation RotationOf(double k);

}  // namespace morvex
