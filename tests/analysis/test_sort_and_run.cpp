#include <gtest/gtest.h>

#include <vector>

#include "analysis/sample_run.h"
#include "case_name.h"

namespace morvex {
namespace {

SampleTable TableOf(const std::vector<double>& keys) {
  SampleTable t(keys.size() + 1);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    t[i + 1].Key = keys[i];
    t[i + 1].X1 = static_cast<std::int32_t>(i + 1);  // remembers where the entry came from
  }
  return t;
}

struct EqualCase {
  int count;
  int first, last;
};

class EqualKeys : public ::testing::TestWithParam<EqualCase> {};

TEST_P(EqualKeys, RunSpansAllButTheEnds) {
  const EqualCase c = GetParam();
  SampleTable t = TableOf(std::vector<double>(static_cast<std::size_t>(c.count), 321.0));
  const SampleRun run = SortAndRun(t, c.count);
  EXPECT_EQ(run.First, c.first);
  EXPECT_EQ(run.Last, c.last);
  EXPECT_EQ(run.Median, 321.0);
}

INSTANTIATE_TEST_SUITE_P(Counts, EqualKeys, ::testing::Values(EqualCase{100, 2, 98}, EqualCase{15, 2, 13}),
                         [](const auto& info) { return ::morvex::testing::CaseName("count", info.param.count); });

TEST(SortAndRun, IsolatedMedianGivesARunOfOne) {
  // Sorted keys 1..15 spaced 4 apart: neighbours of the median are 4 away.
  std::vector<double> keys;
  for (int i = 15; i >= 1; --i) keys.push_back(4.0 * i);
  SampleTable t = TableOf(keys);
  const SampleRun run = SortAndRun(t, 15);
  EXPECT_EQ(run.First, 7);
  EXPECT_EQ(run.Last, 7);
  EXPECT_EQ(run.Median, 28.0);
}

TEST(SortAndRun, ToleranceOfThreeIsInclusive) {
  //                       1   2   3   4   5   6   7   8   9  10  11  12  13  14  15
  SampleTable t = TableOf({0, 10, 20, 40, 46, 47, 50, 53, 54, 60, 70, 80, 90, 95, 99});
  const SampleRun run = SortAndRun(t, 15);
  EXPECT_EQ(run.Median, 50.0);
  EXPECT_EQ(run.First, 6);  // 47 is within 3, 46 is not
  EXPECT_EQ(run.Last, 8);   // 53 is within 3, 54 is not
}

TEST(SortAndRun, ExchangeSortOrderAmongEqualKeys) {
  // Keys 2, 1, 2, 1: the exchanges leave the entries in the order 2, 4, 3, 1
  // (a stable sort would give 2, 4, 1, 3).
  SampleTable t = TableOf({2, 1, 2, 1});
  SortAndRun(t, 4);
  EXPECT_EQ(t[1].X1, 2);
  EXPECT_EQ(t[2].X1, 4);
  EXPECT_EQ(t[3].X1, 3);
  EXPECT_EQ(t[4].X1, 1);
}

TEST(SortAndRun, SumsOverTheRun) {
  SampleTable t(4);
  t[1] = {1, 2, 7, 8, 5.0};
  t[2] = {3, 4, 9, 10, 5.0};
  t[3] = {5, 6, 11, 12, 5.0};
  const SampleRun run{1, 2, 5.0};
  const PointSums left = SumLeftPoints(t, run);
  EXPECT_EQ(left.n, 2);
  EXPECT_EQ(left.Sx, 4);
  EXPECT_EQ(left.Sy, 6);
  EXPECT_EQ(left.Sxy, 1 * 2 + 3 * 4);
  EXPECT_EQ(left.Sxx, 1 + 9);
  EXPECT_EQ(left.Denominator(), 2 * 10 - 16);
  const PointSums right = SumRightPoints(t, run);
  EXPECT_EQ(right.Sxy, 7 * 8 + 9 * 10);
  EXPECT_EQ(right.Numerator(), 2 * (7 * 8 + 9 * 10) - 16 * 18);
}

}  // namespace
}  // namespace morvex
