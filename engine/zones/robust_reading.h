// The robust reading of a number zone: boxes laid on the digit pitch from more
// than one anchor, each box read at small shifts and with its five widths, the
// score of every digit kept, and a confidence from how far the best digit
// stands above the next. The two zones of a note carry the same number, so
// where their readings disagree the surer digit settles both.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "morvex/reference_digits.h"
#include "zones/glyph_match.h"
#include "zones/grey_plane.h"

namespace morvex {

// One digit position: the best digit, its score and the best score of any
// other digit.
struct DigitChoice {
  std::int32_t Digit = 10;
  double Score = 0;
  double Runner = 0;
  // 0 (a guess) to 1 (clear).
  double confidence() const;
};

struct ZoneReading {
  std::vector<DigitChoice> Digits;  // seven when the zone was read, else none
  bool read() const { return Digits.size() == 7; }
  // Seven characters, "*" for a position no digit agreed with; "#######"
  // when the zone was not read.
  std::string text() const;
  // The least sure digit's confidence; 0 when the zone was not read.
  double confidence() const;
  // Sum of the digits' scores, to choose between readings of one zone.
  double score() const;
};

// Reads an upright zone (zoneNumber 1 or 2) whose pixels are still as cut:
// DigitPitch and DigitWidth as for ReadZone2Number.
ZoneReading ReadZoneRobustly(const GreyPlane& zone, int zoneNumber, double DigitPitch, double DigitWidth,
                             const ReferenceDigits& references);

// Where two complete readings disagree, the digit with the larger lead over
// its runner-up is taken in both; agreeing digits grow surer.
void SettleZones(ZoneReading& zone1, ZoneReading& zone2);

}  // namespace morvex
