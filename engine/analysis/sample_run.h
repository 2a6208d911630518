// Edge samples and the run of samples that agree with their median.
#pragma once

#include <cstdint>
#include <vector>

namespace morvex {

// One sample of an edge search. A column sample has X1 = X2 = the column, Y1
// the row above the note's top edge, Y2 its bottom row, and Key the vertical
// extent Y2 - Y1 + 1. A line sample has the left end (X1, Y1), the right end
// (X2, Y2) and Key the squared chord length.
struct EdgeSample {
  std::int32_t X1 = 0;
  std::int32_t Y1 = 0;
  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  double Key = 0.0;
};

// Samples are kept from index 1; index 0 is never used.
using SampleTable = std::vector<EdgeSample>;

struct SampleRun {
  std::int32_t First = 0;
  std::int32_t Last = 0;
  double Median = 0.0;
};

// Sorts entries 1..count by Key (an exchange sort whose order among equal
// keys the fits depend on) and returns the run of entries around the median
// entry count / 2 whose keys lie within 3 of the median. The run never holds
// entry 1 nor the last two entries. Needs 2 <= count < table.size().
SampleRun SortAndRun(SampleTable& table, int count);

// Exact integer sums of x, y, x*y and x*x over entries First..Last, using the
// left (X1, Y1) or the right (X2, Y2) points.
struct PointSums {
  std::int64_t n = 0;
  std::int64_t Sx = 0;
  std::int64_t Sy = 0;
  std::int64_t Sxy = 0;
  std::int64_t Sxx = 0;
  // n * Sxx - Sx^2: zero when all points lie in one column.
  std::int64_t Denominator() const { return n * Sxx - Sx * Sx; }
  // n * Sxy - Sx * Sy.
  std::int64_t Numerator() const { return n * Sxy - Sx * Sy; }
};
PointSums SumLeftPoints(const SampleTable& table, const SampleRun& run);
PointSums SumRightPoints(const SampleTable& table, const SampleRun& run);

}  // namespace morvex
