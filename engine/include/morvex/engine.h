// Morvex recognition engine: one bitmap of a banknote in, an AnalisysResult out.
//
//   morvex::ReferenceDigits refs = morvex::LoadReferenceDigits();
//   morvex::Bitmap image = morvex::LoadBmpFile("note.bmp");
//   morvex::AnalisysResult result;
//   morvex::AnalyzeNote(image, false, nullptr, result, refs);
//
// Thread safety: the engine keeps no state between calls. Every call works on
// its own images; the reference digits are only read. Several threads may
// therefore analyse different images at the same time with one shared
// ReferenceDigits value. The tilt line is formatted with the process's
// LC_NUMERIC locale, so the locale must not be changed while calls run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "morvex/arith.h"
#include "morvex/bitmap.h"
#include "morvex/reference_digits.h"

namespace morvex {

struct AnalisysResult {
  std::string Zone1Number;       // seven digits or "*", or "#######"
  std::string Zone2Number;       // the same for zone 2
  std::int32_t Denomination = 0; // 10, 50, 100, 500, 1000, or -1 when not recognised
  bool UpsideDown = false;       // note turned by 180 degrees in the image
  std::int32_t Dpi = 0;          // resolution estimated from the note's length
  // How sure the robust reading is of each zone's number, 0 (a guess) to 1;
  // empty after an exact reading, which measures no confidence.
  std::optional<double> Zone1Confidence = std::nullopt;
  std::optional<double> Zone2Confidence = std::nullopt;
};

// How AnalyzeNote reads a note.
//
//   morvex::AnalyzeOptions options;
//   options.setRobust(true);
//   morvex::AnalyzeNote(image, false, nullptr, result, refs, options);
//
// Exact reading (the default) follows the engine's fixed pipeline and gives
// the same answer for the same image, bit for bit, in every release. Robust
// reading fits the note's frame with short edges square to the long ones,
// looks again at unclear digits with shifted boxes and at an unclear zone from
// other first digits, lets the two printed copies of the number settle each
// other's doubtful digits, checks the orientation when the two face-value
// patches disagree on it, and reports a confidence per zone. It reads more
// damaged scans right and takes at most about twice the time.
struct AnalyzeOptions {
  bool Robust = false;

  AnalyzeOptions& setRobust(bool robust) {
    Robust = robust;
    return *this;
  }
};

// Analyses one note image of any pixel format.
//
// A note whose face value is not found is no error: the answer is then
// "#######" for both numbers and -1 for the face value, with Dpi estimated.
//
// With ShowDetails the image is replaced at the end by the marked grey picture
// (24 bits, same size): the note's outline in yellow and, when a face value was
// found, zone 1 tinted and outlined in red, zone 2 in blue and the face-value
// patch in green. When Details is given as well, three lines (UTF-8) are
// appended after whatever it holds:
//   1. note size in pixels, short side first: "770x1772";
//   2. processing time, ElapsedText's short form: "00,85 сек";
//   3. tilt in degrees, "%2.2f" with the locale's decimal separator: "-1,25".
// Line 1 is appended once the frame is found, lines 2 and 3 at the very end.
// Without ShowDetails the image is not touched and nothing is appended.
//
// Errors: ArithmeticError when the note's edges cannot be fitted (an empty
// image, for instance). The image is then unchanged; Result keeps what was
// assigned before the error (UpsideDown false, Dpi 0 or its estimate) and its
// earlier values otherwise.
void AnalyzeNote(Bitmap& Image, bool ShowDetails, std::vector<std::string>* Details, AnalisysResult& Result,
                 const ReferenceDigits& References);

// The same with a choice of reading; with default options it is the call above.
// A robust reading fills Zone1Confidence and Zone2Confidence (0 for a zone of
// a note whose face value was not found); an exact one empties them.
void AnalyzeNote(Bitmap& Image, bool ShowDetails, std::vector<std::string>* Details, AnalisysResult& Result,
                 const ReferenceDigits& References, const AnalyzeOptions& Options);

}  // namespace morvex
