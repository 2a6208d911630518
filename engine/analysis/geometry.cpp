#include "analysis/geometry.h"

#include <cmath>

#include "morvex/arith.h"

namespace morvex {

IntPoint IntersectLines(double k1, double b1, double k2, double b2) {
  const std::int32_t x = R32(Divide(static_cast<Real>(b1) - b2, static_cast<Real>(k2) - k1));
  const std::int32_t y = R32(static_cast<Real>(x) * k1 + b1);
  return {x, y};
}

Rotation RotationOf(double k) {
  const double theta = static_cast<double>(std::atan(static_cast<Real>(k)));
  return {static_cast<double>(std::cos(static_cast<Real>(theta))),
          static_cast<double>(std::sin(static_cast<Real>(theta)))};
}

}  // namespace morvex
