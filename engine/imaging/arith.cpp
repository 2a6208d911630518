#include "morvex/arith.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace morvex {

std::int64_t R(Real v) {
  if (!std::isfinite(v)) throw ArithmeticError("Invalid floating point operation: cannot round a value that is not finite");
  // rintl rounds in the current rounding mode, which is round-to-nearest-even
  // unless someone changed it; the engine never does.
  const Real r = std::rintl(v);
  // 2^63 is exact in long double; the valid range is [-2^63, 2^63).
  constexpr Real kLimit = 9223372036854775808.0L;
  if (r < -kLimit || r >= kLimit) throw ArithmeticError("Invalid floating point operation: value out of integer range");
  return static_cast<std::int64_t>(r);
}

std::int32_t R32(Real v) {
  const std::int64_t r = R(v);
  if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
    throw ArithmeticError("Invalid floating point operation: value out of 32-bit integer range");
  return static_cast<std::int32_t>(r);
}

Real Divide(Real a, Real b) {
  if (b == 0) throw ArithmeticError("Floating point division by zero");
  return a / b;
}

std::int64_t IntDivide(std::int64_t a, std::int64_t b) {
  if (b == 0) throw ArithmeticError("Division by zero");
  if (b == -1 && a == std::numeric_limits<std::int64_t>::min()) throw ArithmeticError("Integer overflow");
  return a / b;
}

}  // namespace morvex
