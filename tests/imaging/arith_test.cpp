#include "morvex/arith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include "case_name.h"

namespace morvex {
namespace {

struct RoundCase {
  Real value;
  std::int64_t expected;
};

class RoundsToNearestEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundsToNearestEven, R) { EXPECT_EQ(R(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Ties, RoundsToNearestEven,
                         ::testing::Values(RoundCase{0.5L, 0}, RoundCase{1.5L, 2}, RoundCase{2.5L, 2},
                                           RoundCase{3.5L, 4}, RoundCase{-0.5L, 0}, RoundCase{-1.5L, -2},
                                           RoundCase{-2.5L, -2}, RoundCase{2.4999L, 2}, RoundCase{2.5001L, 3},
                                           RoundCase{-2.5001L, -3},
                                           // The extremes of the 64-bit range are exact in long double.
                                           RoundCase{-9223372036854775808.0L, std::numeric_limits<std::int64_t>::min()},
                                           RoundCase{9223372036854775807.0L, std::numeric_limits<std::int64_t>::max()}),
                         [](const auto& info) { return ::morvex::testing::CaseName("value", info.param.value); });

class NotConvertible : public ::testing::TestWithParam<Real> {};

TEST_P(NotConvertible, RaisesArithmeticError) { EXPECT_THROW(R(GetParam()), ArithmeticError); }

INSTANTIATE_TEST_SUITE_P(Values, NotConvertible,
                         ::testing::Values(std::numeric_limits<Real>::quiet_NaN(), std::numeric_limits<Real>::infinity(),
                                           -std::numeric_limits<Real>::infinity(), 9223372036854775808.0L,
                                           -9223372036854775810.0L, 1e300L),
                         [](const auto& info) { return ::morvex::testing::CaseName("value", info.param); });

TEST(R32, RefusesValuesOutside32Bits) {
  EXPECT_EQ(R32(2147483647.4L), 2147483647);
  EXPECT_EQ(R32(-2147483648.0L), -2147483647 - 1);
  EXPECT_THROW(R32(2147483647.5L), ArithmeticError);  // rounds to 2^31
  EXPECT_THROW(R32(-2147483649.0L), ArithmeticError);
}

TEST(Divide, ByZeroIsAnError) {
  EXPECT_THROW(Divide(1, 0), ArithmeticError);
  EXPECT_THROW(Divide(-1, 0), ArithmeticError);
  EXPECT_THROW(Divide(0, 0), ArithmeticError);
  EXPECT_THROW(Divide(1, -0.0L), ArithmeticError);
  EXPECT_EQ(Divide(1, 4), 0.25L);
}

TEST(IntDivide, TruncatesAndRefusesZeroAndOverflow) {
  EXPECT_EQ(IntDivide(7, 2), 3);
  EXPECT_EQ(IntDivide(-7, 2), -3);
  EXPECT_THROW(IntDivide(1, 0), ArithmeticError);
  EXPECT_THROW(IntDivide(0, 0), ArithmeticError);
  EXPECT_THROW(IntDivide(std::numeric_limits<std::int64_t>::min(), -1), ArithmeticError);
}

// Intermediates are extended precision: these give other answers in double.
TEST(Real, KeepsDigitsThatDoubleLoses) {
  static_assert(std::numeric_limits<Real>::digits == 64, "Real must be the x87 80-bit format");
  const double big = 1e16;  // doubles are 2 apart here
  const Real sum = Real{big} + 1;
  EXPECT_EQ(R(sum - big), 1);
  EXPECT_EQ(static_cast<std::int64_t>((big + 1.0) - big), 0);  // the same in double

  // 2.5 plus a little: in double the little is lost and the tie goes to even.
  const double little = 1e-17;
  EXPECT_EQ(R(Real{2.5} + little), 3);
  EXPECT_EQ(R(static_cast<double>(2.5 + little)), 2);
}

TEST(Real, StoringToDoubleRoundsOnce) {
  // 1/3 in extended precision, stored to double, differs from the extended value.
  const Real third = Divide(1, 3);
  const double stored = static_cast<double>(third);
  EXPECT_NE(Real{stored}, third);
  EXPECT_EQ(stored, 1.0 / 3.0);
}

}  // namespace
}  // namespace morvex
