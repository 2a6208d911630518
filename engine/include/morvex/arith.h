// Exact arithmetic helpers shared by the whole engine.
//
// Stored reals are doubles; intermediate expressions are evaluated in `Real`
// (80-bit extended precision on x86-64) and stored back to double where a value
// is kept. Every real-to-integer conversion goes through R: round to nearest,
// ties to even. A value that cannot be converted, and any division by zero,
// raises ArithmeticError instead of carrying an infinity or NaN on.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace morvex {

using Real = long double;

class ArithmeticError : public std::runtime_error {
 public:
  explicit ArithmeticError(const std::string& what) : std::runtime_error(what) {}
};

// Round to the nearest integer, ties to even. Throws ArithmeticError when v is
// not finite or lies outside the 64-bit signed range.
std::int64_t R(Real v);

// R narrowed to a 32-bit signed integer; a value outside that range is an
// arithmetic error too (the engine's coordinates are 32-bit).
std::int32_t R32(Real v);

// a / b in extended precision; b == 0 (0/0 included) is an arithmetic error.
Real Divide(Real a, Real b);

// Integer division truncating towards zero; b == 0 is an arithmetic error.
std::int64_t IntDivide(std::int64_t a, std::int64_t b);

}  // namespace morvex
