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
// stretch the zone's contrast in place.
std::string ReadZone1Number(Bitmap& zone, const ReferenceDigits& references);
std::string ReadZone2Number(Bitmap& zone, double DigitPitch, double DigitWidth, const ReferenceDigits& references);

}  // namespace morvex
