#include "analysis/sample_run.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "morvex/arith.h"

namespace morvex {

SampleRun SortAndRun(SampleTable& table, int count) {
  if (count < 2 || static_cast<std::size_t>(count) >= table.size())
    throw std::invalid_argument("SortAndRun: count does not fit the table");
  for (int i = 1; i <= count - 1; ++i)
    for (int j = i + 1; j <= count; ++j)
      if (table[i].Key > table[j].Key) std::swap(table[i], table[j]);

  const int m = count / 2;
  SampleRun run;
  run.Median = table[m].Key;
  const auto near = [&](int index) {
    return std::fabs(static_cast<Real>(table[index].Key) - run.Median) <= 3;
  };
  int i = m - 1;
  while (near(i) && i > 1) --i;
  run.First = i + 1;
  int j = m + 1;
  while (near(j) && j < count - 1) ++j;
  run.Last = j - 1;
  return run;
}

namespace {

PointSums Sum(const SampleTable& table, const SampleRun& run, bool right) {
  PointSums s;
  s.n = static_cast<std::int64_t>(run.Last) - run.First + 1;
  for (int i = run.First; i <= run.Last; ++i) {
    const std::int64_t x = right ? table[i].X2 : table[i].X1;
    const std::int64_t y = right ? table[i].Y2 : table[i].Y1;
    s.Sx += x;
    s.Sy += y;
    s.Sxy += x * y;
    s.Sxx += x * x;
  }
  return s;
}

}  // namespace

PointSums SumLeftPoints(const SampleTable& table, const SampleRun& run) { return Sum(table, run, false); }
PointSums SumRightPoints(const SampleTable& table, const SampleRun& run) { return Sum(table, run, true); }

}  // namespace morvex
