// Finding the note on the grey image: 100 columns sampled for the long edges,
// the long-edge fit that gives the tilt, and 15 lines parallel to the long
// edges sampled for the short edges.
#pragma once

#include <cstdint>

#include "analysis/grey_view.h"
#include "analysis/sample_run.h"

namespace morvex {

inline constexpr int ColumnSampleCount = 100;
inline constexpr int LineSampleCount = 15;

// The long edges y = k * x + bTop and y = k * x + bBottom, and the median
// vertical extent of the note they were fitted from.
struct LongEdges {
  double k = 0.0;
  std::int32_t bTop = 0;
  std::int32_t bBottom = 0;
  double Median = 0.0;
};

// Samples 1..100 of the columns x = R(i * W / 101): walks down from row 1 and
// up from row H - 1.
SampleTable SampleColumns(const GreyView& image);

// Sorts the column table and fits the top edge through the run's top rows; the
// bottom edge is parallel at the median extent. All run columns in one place
// (a zero denominator) is an ArithmeticError.
LongEdges FitLongEdges(SampleTable& columns);

// Start columns of the walks along y = k * x + b: the left walk from where the
// line crosses row 0 (or row H - 1) in the left half, the right walk from such
// a crossing in the right half, else from the image's side columns. Arithmetic
// errors (k == 0, a crossing out of range) propagate; the line sampling falls
// back to the side columns then.
int LeftWalkStart(double k, double b, int width, int height);
int RightWalkStart(double k, double b, int width, int height);

// Samples 1..15 on the lines b = i * Median / 16 + bTop; index 0 stays zero.
SampleTable SampleLines(const GreyView& image, const LongEdges& edges);

}  // namespace morvex
