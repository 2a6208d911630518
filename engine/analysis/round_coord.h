// Rounding of pixel coordinates in the engine's inner loops.
#pragma once

#include <cstdint>
#include <limits>

#include "morvex/arith.h"

namespace morvex {

// R32 with a fast path for |v| < 2^30. Adding and subtracting 1.5 * 2^63 in
// extended precision leaves the nearest integer, ties to even, since the sum's
// unit in the last place is 1. That integer is exact as a double, whose
// conversion to int needs no change of the x87 rounding mode. Everything else,
// NaN included, goes through R32 and raises the same ArithmeticError.
inline constexpr Real RoundCoordLimit = 1073741824.0L;  // 2^30

// The fast path alone, for callers that have bounded |v| below RoundCoordLimit.
inline std::int32_t RoundBounded(Real v) {
  static_assert(std::numeric_limits<Real>::digits == 64, "RoundBounded relies on the 64-bit significand");
  constexpr Real kShift = 13835058055282163712.0L;  // 1.5 * 2^63
  const Real rounded = (v + kShift) - kShift;
  return static_cast<std::int32_t>(static_cast<double>(rounded));
}

inline std::int32_t RoundCoord(Real v) {
  if (v > -RoundCoordLimit && v < RoundCoordLimit) return RoundBounded(v);
  return R32(v);
}

// Whether every x * C -+ y * S with 0 <= x <= maxX, 0 <= y <= maxY and
// |C|, |S| <= 1 stays below RoundCoordLimit, so RoundBounded may round it.
inline bool WithinRoundBound(std::int64_t maxX, std::int64_t maxY) {
  return maxX + maxY < static_cast<std::int64_t>(RoundCoordLimit);
}

}  // namespace morvex
