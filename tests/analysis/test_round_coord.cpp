#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/round_coord.h"

namespace morvex {
namespace {

TEST(RoundCoord, AgreesWithRAcrossTiesAndNeighbours) {
  const Real cases[] = {0.0L,        -0.0L,        0.5L,         1.5L,          2.5L,        -0.5L,
                        -1.5L,       -2.5L,        0.49999999999L, 0.50000000001L, 1e-300L,   -1e-300L,
                        12345.5L,    12346.5L,     -12345.5L,    1073741823.5L, -1073741823.5L,
                        1073741824.5L, 2147483647.4L, -2147483648.4L, 0.3L * 3,  std::nextafter(0.5L, 0.0L)};
  for (const Real v : cases) EXPECT_EQ(RoundCoord(v), R32(v)) << static_cast<double>(v);
  for (int i = -3000; i <= 3000; ++i) {
    const Real v = static_cast<Real>(i) / 8;
    EXPECT_EQ(RoundCoord(v), R32(v)) << i;
  }
}

TEST(RoundCoord, RaisesLikeR32) {
  EXPECT_THROW(RoundCoord(std::numeric_limits<Real>::quiet_NaN()), ArithmeticError);
  EXPECT_THROW(RoundCoord(std::numeric_limits<Real>::infinity()), ArithmeticError);
  EXPECT_THROW(RoundCoord(3e9L), ArithmeticError);
  EXPECT_THROW(RoundCoord(-3e9L), ArithmeticError);
}

}  // namespace
}  // namespace morvex
