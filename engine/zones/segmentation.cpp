#include "zones/segmentation.h"

#include <algorithm>

#include "morvex/arith.h"
#include "zones/profile_limits.h"

namespace morvex {

GlyphBox& ZoneSegmentation::box(int k) {
  if (static_cast<std::size_t>(k) >= boxes.size()) boxes.resize(static_cast<std::size_t>(k) + 1);
  return boxes[static_cast<std::size_t>(k)];
}

namespace {

// Row sums over columns 0 to wp - 1; entries H and H + 1 stay 0.
std::vector<std::int64_t> RowProfile(const GreyPlane& zone, int wp) {
  std::vector<std::int64_t> rows(static_cast<std::size_t>(zone.height) + 2, 0);
  for (int y = 0; y < zone.height; ++y) {
    const std::uint8_t* p = zone.row(y);
    std::int64_t sum = 0;
    for (int x = 0; x < wp; ++x) sum += p[x];
    rows[static_cast<std::size_t>(y)] = sum;
  }
  return rows;
}

bool BandAccepted(int zoneNumber, int top, int bottom, int height) {
  const Real third = static_cast<Real>(height) / 3;
  if (zoneNumber == 1) return static_cast<Real>(bottom - top + 1) > third;
  return static_cast<Real>(bottom - top + 2) >= third;
}

TextBand FindTextBand(const std::vector<std::int64_t>& rows, int height, int wp, int zoneNumber) {
  std::int64_t rowMax = 0;
  // Up to the original table's 400 columns the minimum starts at 100000, which
  // also stands when no row exceeds 1000; wider zones start above any sum.
  std::int64_t rowMin = wp <= 400 ? 100000 : ProfileMinStart(static_cast<std::int64_t>(wp) * 255);
  for (int y = 0; y < height; ++y) {
    const std::int64_t v = rows[static_cast<std::size_t>(y)];
    rowMax = std::max(rowMax, v);
    if (v > 1000) rowMin = std::min(rowMin, v);
  }
  const std::int64_t T = rowMin + R(static_cast<Real>(3 * (rowMax - rowMin)) / 4);
  auto at = [&](int p) { return rows[static_cast<std::size_t>(p)]; };

  TextBand band;
  int p = 0;
  while (p < height - 1) {
    while (p < height - 1 && !(at(p) < T && at(p + 1) < T)) ++p;
    const int s = p;
    while (p < height && !(at(p) >= T && at(p + 1) >= T)) ++p;
    const int e = p;
    band = {s, e};
    if (BandAccepted(zoneNumber, s, e, height)) break;
  }
  return band;
}

// Column sums over the band's rows for columns 0 to wp - 1; entry wp stays 0.
std::vector<std::int64_t> ColumnProfile(const GreyPlane& zone, int wp, TextBand band) {
  std::vector<std::int64_t> cols(static_cast<std::size_t>(std::max(wp, 0)) + 1, 0);
  for (int y = band.Top; y <= band.Bottom; ++y) {
    if (y < 0 || y >= zone.height) {  // the row past the print's end reads white
      for (int x = 0; x < wp; ++x) cols[static_cast<std::size_t>(x)] += 255;
      continue;
    }
    const std::uint8_t* p = zone.row(y);
    for (int x = 0; x < wp; ++x) cols[static_cast<std::size_t>(x)] += p[x];
  }
  return cols;
}

}  // namespace

std::int32_t FirstDigitBox(const ZoneSegmentation& seg) {
  const int n = seg.N;
  if (n <= 2) return 1;
  std::int64_t sum = 0, widest = 0;
  int widestAt = 1;
  for (int k = 1; k <= n - 1; ++k) {
    const std::int64_t g = static_cast<std::int64_t>(seg.boxes[static_cast<std::size_t>(k) + 1].Left) -
                           seg.boxes[static_cast<std::size_t>(k)].Left;
    sum += g;
    if (k == 1 || g > widest) {
      widest = g;
      widestAt = k;
    }
  }
  const Real others = static_cast<Real>(sum - widest) * 1.5L / static_cast<Real>(n - 2);
  if (static_cast<Real>(widest) > others) return widestAt + 1;
  return 1;
}

ZoneSegmentation SegmentZone(const GreyPlane& zone, int zoneNumber) {
  ZoneSegmentation seg;
  seg.boxes.assign(2, GlyphBox{});
  const int w = zone.width, h = zone.height;
  const int wp = zoneNumber == 1 ? w : static_cast<int>(R(static_cast<Real>(3 * w) / 4));

  const std::vector<std::int64_t> rows = RowProfile(zone, wp);
  seg.band = FindTextBand(rows, h, wp, zoneNumber);

  const std::vector<std::int64_t> cols = ColumnProfile(zone, wp, seg.band);
  std::int64_t colMax = 0;
  std::int64_t colMin = ProfileMinStart(static_cast<std::int64_t>(seg.band.Bottom - seg.band.Top + 1) * 255);
  for (int x = 0; x < wp; ++x) {
    colMax = std::max(colMax, cols[static_cast<std::size_t>(x)]);
    colMin = std::min(colMin, cols[static_cast<std::size_t>(x)]);
  }
  const std::int64_t C = colMin + R(static_cast<Real>(7 * (colMax - colMin)) / 8);
  auto at = [&](int p) { return cols[static_cast<std::size_t>(p)]; };
  const int darkSearchLimit = zoneNumber == 1 ? wp - 1 : wp;

  int n = 1;
  int p = 0;
  while (p < wp - 1) {
    while (p < darkSearchLimit && at(p) >= C) ++p;
    const int left = p == 0 ? 0 : p - 1;
    while (p < wp && at(p) < C) ++p;
    seg.box(n) = {left, p};
    if (p - left + 1 > 6) ++n;
  }
  seg.N = n - 1;
  seg.box(seg.N + 1);  // present even when never written
  seg.StartBox = FirstDigitBox(seg);
  return seg;
}

}  // namespace morvex
