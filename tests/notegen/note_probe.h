// Small measuring helpers for the generator tests: brightness of scan pixels
// and the scan position of note millimetres.
#pragma once

#include <cmath>

#include "morvex/bitmap.h"
#include "notegen.h"
#include "scan.h"

namespace notegen_test {

inline int Bright(const morvex::Bitmap& b, int x, int y) { return morvex::Brightness(b.pixel(x, y)); }

// Brightness at the pixel that holds the note position (d, e).
inline int BrightAt(const morvex::Bitmap& b, const morvex::notegen::ScanGeometry& g, double d, double e) {
  const morvex::notegen::ImagePoint p = morvex::notegen::NoteToImage(g, d, e);
  return Bright(b, static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)));
}

// A clean upright note of the number side, level and centred.
inline morvex::notegen::NotePlan CleanPlan(int dpi, int denomination = 100) {
  morvex::notegen::NotePlan s;
  s.dpi = dpi;
  s.denomination = denomination;
  s.series = U"АЯ";
  s.number = "0123456";
  s.detailSeed = 7;
  return s;
}

}  // namespace notegen_test
