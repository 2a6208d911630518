// What the note analysis asks of the zone recognition.
#pragma once

#include <string>

#include "morvex/bitmap.h"
#include "morvex/reference_digits.h"

namespace morvex {

// Classifies a face-value patch: 1 to 10 for a recognised sequence of marks
// (odd: normal order, even: reversed), 0 or -1 for none.
int ClassifyPatch(const Bitmap& patch);

// Read the seven-digit serial number of an upright zone image. The readers
// stretch the zone's contrast in place (its pixels become greys).
//
// Zone 1 reads the boxes that segmentation finds and answers "#######" when
// fewer than seven follow the series letters. Zone 2 takes the first digit
// from segmentation and lays the other six at Left + R(k * DigitPitch), each
// R(DigitWidth) wide; DigitPitch is the true pitch in pixels, not rounded, so
// that the rounding error does not add up over the six boxes.
//
// Both may run on several threads at once: all working state is per call.
std::string ReadZone1Number(Bitmap& zone, const ReferenceDigits& references);
std::string ReadZone2Number(Bitmap& zone, double DigitPitch, double DigitWidth, const ReferenceDigits& references);

}  // namespace morvex
