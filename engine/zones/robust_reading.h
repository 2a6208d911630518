// The robust reading of a number zone: boxes laid on the digit pitch from more
// than one anchor, each box read at small shifts and with its five widths, the
// score of every digit kept, and a confidence from how far the best digit
// stands above the next. The two zones of a note carry the same number, so
// where their readings disagree the surer digit settles both.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "morvex/reference_digits.h"
#include "zones/glyph_match.h"
#include "zones/grey_plane.h"

namespace morvex {

// A zone read at least this surely is taken as read; below it other first
// digits are tried.
inline constexpr double SureZoneConfidence = 0.65;

// One digit position: the score of every digit, the best digit, its score
// and the best score of any other digit.
struct DigitChoice {
  std::array<double, 10> Scores{};
  std::int32_t Digit = 10;
  double Score = 0;
  double Runner = 0;
  // Digit, Score and Runner from Scores.
  static DigitChoice Of(const std::array<double, 10>& scores);
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

// Reads an upright zone (zoneNumber 1 or 2) whose pixels are still as cut,
// DigitPitch and DigitWidth as for ReadZone2Number. The boxes are laid from
// the first digit that segmentation finds; a zone that does not read clearly
// so is read again from other first digits (in zone 1 the seventh box from
// the right, and as segmented; in both one and two pitches either way). The
// readings come best score first; a clear first reading comes alone unless
// every first digit is asked for; then, when none of them reads surely, the
// best places of the seven boxes slid over the whole zone are read too.
std::vector<ZoneReading> ReadZoneCandidates(const GreyPlane& zone, int zoneNumber, double DigitPitch,
                                            double DigitWidth, const ReferenceDigits& references,
                                            bool everyFirstDigit = false);
// The best of them.
ZoneReading ReadZoneRobustly(const GreyPlane& zone, int zoneNumber, double DigitPitch, double DigitWidth,
                             const ReferenceDigits& references);

// How many positions of two complete readings hold the same digit.
int AgreeingDigits(const ZoneReading& a, const ZoneReading& b);
// Whether two readings read one number: they differ in at most two places.
bool ReadOneNumber(const ZoneReading& a, const ZoneReading& b);

// One reading of each zone: the pair that reads one number (differing in at
// most two places) with the most agreeing digits and then the best scores;
// when no pair reads one number, each zone's best.
std::pair<ZoneReading, ZoneReading> ChooseReadings(const std::vector<ZoneReading>& zone1,
                                                  const std::vector<ZoneReading>& zone2);

// Two complete readings of the same number: each position is decided by the
// two prints' scores together, so a digit that one print shows doubtfully is
// settled by the other, and agreeing digits grow surer. Readings that differ
// in more than two places show two different numbers and are left alone.
void SettleZones(ZoneReading& zone1, ZoneReading& zone2);

}  // namespace morvex
