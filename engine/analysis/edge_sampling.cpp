#include "analysis/edge_sampling.h"

#include "analysis/geometry.h"
#include "analysis/walks.h"
#include "morvex/arith.h"

namespace morvex {

SampleTable SampleColumns(const GreyView& image) {
  const int w = image.width(), h = image.height();
  SampleTable table(ColumnSampleCount + 1);
  const double step = static_cast<double>(Divide(w, 101));
  for (int i = 1; i <= ColumnSampleCount; ++i) {
    const std::int32_t x = R32(static_cast<Real>(i) * step);
    const int top = WalkColumn(image, x, 1, +1);
    const int bottom = WalkColumn(image, x, h - 1, -1);
    table[i] = {x, top, x, bottom, static_cast<double>(bottom - top + 1)};
  }
  return table;
}

LongEdges FitLongEdges(SampleTable& columns) {
  const SampleRun run = SortAndRun(columns, ColumnSampleCount);
  const PointSums s = SumLeftPoints(columns, run);
  LongEdges edges;
  edges.k = static_cast<double>(Divide(static_cast<Real>(s.Numerator()), static_cast<Real>(s.Denominator())));
  edges.bTop = R32(Divide(static_cast<Real>(s.Sy) - edges.k * static_cast<Real>(s.Sx), static_cast<Real>(s.n)));
  edges.bBottom = R32(static_cast<Real>(edges.bTop) + run.Median);
  edges.Median = run.Median;
  return edges;
}

int LeftWalkStart(double k, double b, int width, int height) {
  const int half = width / 2;
  const std::int32_t top = IntersectLines(k, b, 0, 0).x;
  if (0 < top && top < half) return top;
  if (top > half) {
    const std::int32_t bottom = IntersectLines(k, b, 0, height - 1).x;
    return 0 < bottom && bottom < half ? bottom : 1;
  }
  return 1;
}

int RightWalkStart(double k, double b, int width, int height) {
  const int half = width / 2;
  const std::int32_t top = IntersectLines(k, b, 0, 0).x;
  if (half <= top && top <= width - 1) return top;
  if (0 <= top && top < half) {
    const std::int32_t bottom = IntersectLines(k, b, 0, height - 1).x;
    return half <= bottom && bottom <= width - 1 ? bottom : width - 1;
  }
  return width - 1;
}

SampleTable SampleLines(const GreyView& image, const LongEdges& edges) {
  const int w = image.width(), h = image.height();
  SampleTable table(LineSampleCount + 1);
  const double d = static_cast<double>(edges.Median / static_cast<Real>(16));
  for (int i = 1; i <= LineSampleCount; ++i) {
    const double b = static_cast<double>(static_cast<Real>(i) * d + edges.bTop);
    IntPoint left, right;
    try {
      left = WalkLine(image, LeftWalkStart(edges.k, b, w, h), +1, edges.k, b);
    } catch (const ArithmeticError&) {
      left = WalkLine(image, 1, +1, edges.k, b);
    }
    try {
      right = WalkLine(image, RightWalkStart(edges.k, b, w, h), -1, edges.k, b);
    } catch (const ArithmeticError&) {
      right = WalkLine(image, w - 1, -1, edges.k, b);
    }
    const std::int64_t dx = static_cast<std::int64_t>(left.x) - right.x;
    const std::int64_t dy = static_cast<std::int64_t>(left.y) - right.y;
    table[i] = {left.x, left.y, right.x, right.y, static_cast<double>(dx * dx + dy * dy)};
  }
  return table;
}

}  // namespace morvex
