#include "analysis/walks.h"

#include "analysis/round_coord.h"

namespace morvex {

int WalkColumn(const GreyView& image, int x, int y, int step) {
  while (!image.bright(x, y) || !image.bright(x, y + 1)) y += step;
  return y - step;
}

namespace {

std::int32_t LineRow(int x, double k, double b) { return RoundCoord(static_cast<Real>(x) * k + b); }

}  // namespace

IntPoint WalkLine(const GreyView& image, int x, int step, double k, double b) {
  // Consecutive positions share one of their two rows, so each step rounds once.
  std::int32_t y0 = LineRow(x, k, b);
  std::int32_t y1 = LineRow(x + 1, k, b);
  while (!image.bright(x, y0) || !image.bright(x + 1, y1)) {
    x += step;
    if (step == 1) {
      y0 = y1;
      y1 = LineRow(x + 1, k, b);
    } else if (step == -1) {
      y1 = y0;
      y0 = LineRow(x, k, b);
    } else {
      y0 = LineRow(x, k, b);
      y1 = LineRow(x + 1, k, b);
    }
  }
  return {x - step, LineRow(x - step, k, b)};
}

}  // namespace morvex
