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
// ReferenceDigits value.
#pragma once

#include <cstdint>
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
};

// Analyses one note image. With ShowDetails the image is overwritten at the end
// with the marked grey picture (24 bits) and, when Details is given, three
// lines are appended to it: note size "WxL", processing time, tilt in degrees.
// Without ShowDetails the image is not touched. Errors (ArithmeticError) leave
// the image unchanged.
void AnalyzeNote(Bitmap& Image, bool ShowDetails, std::vector<std::string>* Details, AnalisysResult& Result,
                 const ReferenceDigits& References);

}  // namespace morvex
