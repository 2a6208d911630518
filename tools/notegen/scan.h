// Scanning the flat note: the image's size, the note's place and turn in it,
// area sampling of the note's face, and the scanner's blur and noise.
#pragma once

#include "morvex/bitmap.h"
#include "note_canvas.h"
#include "notegen.h"

namespace morvex::notegen {

// The columns that cross both long edges of the note must be well over half of
// the image width (the reader fits the long edges from them): the image is at
// most this much wider than that stretch, at the cost of the corners of a
// steeply tilted note.
inline constexpr double kMinFullColumnShare = 0.64;

struct ScanGeometry {
  int width = 0, height = 0;      // pixels
  double pxPerMm = 0;
  double centreX = 0, centreY = 0;  // the note's centre, in pixels
  double cosTurn = 1, sinTurn = 0;  // the note's turn, upside down included
};

// Throws std::invalid_argument for a resolution or tilt outside the world.
ScanGeometry ComputeScanGeometry(const NotePlan& plan);

// The image point (in pixels, continuous) of a position in millimetres on the
// upright note.
struct ImagePoint {
  double x = 0, y = 0;
};
ImagePoint NoteToImage(const ScanGeometry& g, double d, double e);

// The scan of the face at the plan's geometry, blur, noise and background.
Bitmap ScanNote(const NoteCanvas& face, const NotePlan& plan);

}  // namespace morvex::notegen
