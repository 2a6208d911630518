// The damage of the stress set: what a worn note on a poor scanner shows.
// Drawn on the flat face (coloured print under the numbers, faint and graded
// ink, wear, creases, dust and scratches), applied while scanning (rounded and
// dog-eared corners, an uneven background, streaks) and to the finished scan
// (JPEG damage at low quality).
#pragma once

#include <cstdint>

#include "morvex/bitmap.h"
#include "note_canvas.h"
#include "notegen.h"
#include "random.h"

namespace morvex::notegen {

// Draws the kinds of damage of one note, several of them, from rng.
NoteDamage DrawDamage(Random& rng);

// Coloured fine curves and rosettes over the number zones and the mark place,
// laid before the dark print.
void DrawUnderprint(NoteCanvas& canvas, const NoteDamage& damage);

// Opacity of the serial ink at d mm along a zone of the given extent.
double InkOpacity(const NoteDamage& damage, double d, double zoneD0, double zoneD1);

// Wear, creases, dust and scratches over the finished face.
void DrawFaceWear(NoteCanvas& canvas, const NoteDamage& damage);

// The corners' shape: rounded with a radius, and dog-eared ones cut off.
struct CornerShape {
  double radius = 0;  // mm
  double leg = 0;     // mm, along each edge from a dog-eared corner
  int dogEars = 0;    // bit i for corner i (0 top-left, clockwise)
  bool any() const { return radius > 0 || dogEars != 0; }
};
CornerShape CornerShapeOf(const NoteDamage& damage);

// Whether the point (d, e) mm of the note is cut away by the corners.
bool CornerCut(const CornerShape& corners, double d, double e);

// A level that changes linearly over the image: ax * x + ay * y + a0.
struct LinearField {
  double ax = 0, ay = 0, a0 = 0;
  double at(double x, double y) const { return ax * x + ay * y + a0; }
};
// The uneven background's extra level over a width x height scan: from 0 on
// one side of the image to backgroundRise on the other.
LinearField BackgroundRiseField(const NoteDamage& damage, int width, int height);

// The streaks' change of level per image column, added by the scanner.
void StreakColumns(const NoteDamage& damage, int width, double* deltas);

// JPEG compression and decompression of the scan at the damage's quality:
// colour to YCbCr, 8x8 DCT, quantisation with the standard tables scaled to
// the quality, and back.
void CompressLikeJpeg(Bitmap& scan, int quality);

}  // namespace morvex::notegen
