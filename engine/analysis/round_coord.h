// Rounding of pixel coordinates in the engine's inner loops.
#pragma once

#include <cstdint>

#include "morvex/arith.h"

namespace morvex {

// R32 with a fast path: for |v| < 2^30 adding and subtracting 1.5 * 2^63 in
// extended precision leaves exactly the nearest integer, ties to even (the
// sum's unit in the last place is 1). Everything else, NaN included, goes
// through R32 and so raises the same ArithmeticError.
inline std::int32_t RoundCoord(Real v) {
  constexpr Real kLimit = 1073741824.0L;  // 2^30
  if (v > -kLimit && v < kLimit) {
    constexpr Real kShift = 13835058055282163712.0L;  // 1.5 * 2^63
    const Real rounded = (v + kShift) - kShift;
    return static_cast<std::int32_t>(rounded);
  }
  return R32(v);
}

}  // namespace morvex
