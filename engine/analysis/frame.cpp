#include "analysis/frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "morvex/arith.h"

namespace morvex {

namespace {

double Distance(IntPoint a, IntPoint b) {
  const std::int64_t dx = static_cast<std::int64_t>(a.x) - b.x;
  const std::int64_t dy = static_cast<std::int64_t>(a.y) - b.y;
  return static_cast<double>(std::sqrt(static_cast<Real>(dx * dx + dy * dy)));
}

std::int32_t Intercept(const PointSums& s, double m) {
  return R32(Divide(static_cast<Real>(s.Sy) - m * static_cast<Real>(s.Sx), static_cast<Real>(s.n)));
}

}  // namespace

NoteFrame BuildFrame(SampleTable& lines, const LongEdges& edges) {
  const SampleRun run = SortAndRun(lines, LineSampleCount);
  const PointSums left = SumLeftPoints(lines, run);
  const PointSums right = SumRightPoints(lines, run);

  NoteFrame f;
  f.k = edges.k;
  f.bTop = edges.bTop;
  f.bBottom = edges.bBottom;
  const std::int64_t d1 = left.Denominator();
  f.m = d1 == 0 ? VerticalSlope
                : static_cast<double>(static_cast<Real>(left.Numerator()) / static_cast<Real>(d1));
  const std::int64_t d2 = right.Denominator();
  if (d2 == 0) {
    f.m = VerticalSlope;
  } else {
    f.m = static_cast<double>((static_cast<Real>(right.Numerator()) / static_cast<Real>(d2) + f.m) / 2);
  }
  f.cL = Intercept(left, f.m);
  f.cR = Intercept(right, f.m);
  PlaceCorners(f);
  return f;
}

NoteFrame BuildSquareFrame(const SampleTable& lines, const LongEdges& edges) {
  NoteFrame f;
  f.k = edges.k;
  f.bTop = edges.bTop;
  f.bBottom = edges.bBottom;
  const Rotation r = RotationOf(edges.k);
  // Positions along the note (u) of the left and right ends of every line.
  std::vector<double> lefts, rights;
  for (int i = 1; i <= LineSampleCount && static_cast<std::size_t>(i) < lines.size(); ++i) {
    const EdgeSample& s = lines[static_cast<std::size_t>(i)];
    lefts.push_back(s.X1 * r.C + s.Y1 * r.S);
    rights.push_back(s.X2 * r.C + s.Y2 * r.S);
  }
  const auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  const double uLeft = median(lefts), uRight = median(rights);
  // The short edges are u = const: y = m * x + c with m = -C / S, or upright.
  f.m = std::fabs(r.S) * VerticalSlope > std::fabs(r.C) ? -r.C / r.S : VerticalSlope;
  // Each edge through its point halfway across the note.
  const double across = (static_cast<double>(edges.bTop) + edges.Median / 2) * r.C;
  const auto intercept = [&](double u) {
    const double x = u * r.C - across * r.S, y = u * r.S + across * r.C;
    return R32(static_cast<Real>(y) - static_cast<Real>(f.m) * x);
  };
  f.cL = intercept(uLeft);
  f.cR = intercept(uRight);
  PlaceCorners(f);
  return f;
}

void PlaceCorners(NoteFrame& f) {
  f.P1 = IntersectLines(f.k, f.bTop, f.m, f.cL);
  f.P2 = IntersectLines(f.k, f.bBottom, f.m, f.cL);
  f.P3 = IntersectLines(f.k, f.bBottom, f.m, f.cR);
  f.P4 = IntersectLines(f.k, f.bTop, f.m, f.cR);
  f.ShortSide = Distance(f.P1, f.P2);
  f.LongSide = Distance(f.P1, f.P4);
}

NoteScales ScalesOf(const NoteFrame& frame) {
  return {static_cast<double>(static_cast<Real>(frame.LongSide) / NoteLengthMm),
          static_cast<double>(static_cast<Real>(frame.ShortSide) / NoteWidthMm)};
}

std::int32_t EstimateDpi(double longSide) {
  return R32(static_cast<Real>(longSide) / 5.915L / 10) * 10;
}

std::string SizeLine(const NoteFrame& frame) {
  return std::to_string(R(frame.ShortSide)) + "x" + std::to_string(R(frame.LongSide));
}

IntPoint NotePoint(const NoteFrame& frame, const NoteScales& scales, double d, double e) {
  const double theta = static_cast<double>(std::atan(static_cast<Real>(frame.k)));
  // The left short edge moved d mm along the note.
  const Real shift = Divide((static_cast<Real>(frame.m) * scales.PxPerMmX) * d, std::cos(static_cast<Real>(theta)));
  const double c = static_cast<double>(static_cast<Real>(frame.cL) - shift);
  // The parallel to the long edges at the fraction e / 65 of the frame's height.
  const double fraction = e / NoteWidthMm;
  const std::int64_t height = static_cast<std::int64_t>(frame.bBottom) - frame.bTop;
  const double b = static_cast<double>(static_cast<Real>(height) * fraction + frame.bTop);
  return IntersectLines(frame.k, b, frame.m, c);
}

}  // namespace morvex
