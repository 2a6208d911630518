// Images built in code for the note-analysis tests.
#pragma once

#include <cstdint>
#include <functional>

#include "morvex/bitmap.h"

namespace morvex::test {

// A 24-bit image filled with one grey level.
Bitmap Filled(int width, int height, std::uint8_t level);
// An 8-bit grey image filled with one level.
Bitmap FilledGrey(int width, int height, std::uint8_t level);

inline constexpr double kMmPerInch = 25.4;

// A 150 x 65 mm note scanned at dpi, turned by degrees (clockwise on screen
// for positive angles) about the image centre, on a dark background.
struct NoteScene {
  int width = 0;
  int height = 0;
  double dpi = 300;
  double degrees = 0;
  bool upsideDown = false;  // the note's print turned by 180 degrees as well
  std::uint8_t background = 12;
  std::uint8_t paper = 215;
  // Ink at a point of the note model (d mm along, e mm across, in the note's
  // own upright orientation): a grey level, or -1 for paper.
  std::function<int(double d, double e)> ink;

  double pxPerMm() const { return dpi / kMmPerInch; }
  double longSidePx() const { return 150 * pxPerMm(); }
  double shortSidePx() const { return 65 * pxPerMm(); }
};

// Renders the scene, sampling each pixel at its centre.
Bitmap Render(const NoteScene& scene);

}  // namespace morvex::test
