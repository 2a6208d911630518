#include "analysis/details.h"

#include <cmath>
#include <cstdio>

#include "morvex/arith.h"

namespace morvex {

std::string TiltLine(double k) {
  constexpr Real kPi = 3.141592653589793238462643383279502884L;
  const Real degrees = std::atan(static_cast<Real>(k)) * 180 / kPi;
  // snprintf follows the LC_NUMERIC category of the current locale.
  char text[64];
  std::snprintf(text, sizeof text, "%2.2Lf", degrees);
  return text;
}

}  // namespace morvex
