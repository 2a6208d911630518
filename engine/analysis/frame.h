// The note's frame on the 150 x 65 mm model: short edges, corners, side
// lengths, scales, the resolution estimate and the millimetre grid.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/edge_sampling.h"
#include "analysis/geometry.h"

namespace morvex {

inline constexpr double NoteLengthMm = 150.0;
inline constexpr double NoteWidthMm = 65.0;
// Slope of a short edge whose sample points all lie in one column.
inline constexpr double VerticalSlope = 100000.0;

struct NoteFrame {
  // Long edges y = k * x + bTop / bBottom.
  double k = 0.0;
  std::int32_t bTop = 0;
  std::int32_t bBottom = 0;
  // Short edges y = m * x + cL / cR.
  double m = 0.0;
  std::int32_t cL = 0;
  std::int32_t cR = 0;
  // Corners: top-left, bottom-left, bottom-right, top-right (the outline order).
  IntPoint P1, P2, P3, P4;
  double ShortSide = 0.0;  // |P1 P2|
  double LongSide = 0.0;   // |P1 P4|
};

// Pixels per millimetre along (X) and across (Y) the note.
struct NoteScales {
  double PxPerMmX = 0.0;
  double PxPerMmY = 0.0;
};

// Fits the short edges through the run of the line samples (sorting the table)
// and intersects them with the long edges.
NoteFrame BuildFrame(SampleTable& lines, const LongEdges& edges);

// The robust reading's frame: both short edges square to the long edges, each
// through the median position along the note of its line samples' ends. A
// single stray sample (a dog-eared corner, a walk into a fold) cannot tilt it,
// and it stays square on a tilted note when the chords disagree.
NoteFrame BuildSquareFrame(const SampleTable& lines, const LongEdges& edges);

// Corners P1..P4 from the four edges, and the side lengths.
void PlaceCorners(NoteFrame& frame);

NoteScales ScalesOf(const NoteFrame& frame);

// R(LongSide / 5.915 / 10) * 10: the resolution of a 150 mm long side.
std::int32_t EstimateDpi(double longSide);

// Detail line 1: the rounded short side, "x", the rounded long side.
std::string SizeLine(const NoteFrame& frame);

// The image point d mm along the note from its left short edge and e mm
// across from its top long edge.
IntPoint NotePoint(const NoteFrame& frame, const NoteScales& scales, double d, double e);

}  // namespace morvex
