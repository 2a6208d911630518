// Walks along an image column or a straight line until the note is met: the
// walk goes on while the current point or the next one (the row below, the
// column to the right) is dark, and answers the point one step back.
#pragma once

#include "analysis/geometry.h"
#include "analysis/grey_view.h"

namespace morvex {

// From row y of column x in steps of step (+1 down, -1 up); returns the row
// one step before the first position y where rows y and y + 1 are both bright.
int WalkColumn(const GreyView& image, int x, int y, int step);

// Along y(x) = R(x * k + b) from column x in steps of step; returns the point
// one step before the first x where (x, y(x)) and (x + 1, y(x + 1)) are both
// bright. Rounding a y that is out of range is an ArithmeticError.
IntPoint WalkLine(const GreyView& image, int x, int step, double k, double b);

}  // namespace morvex
