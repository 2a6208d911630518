// Banknotes composed in code: face-value marks in the patch and the two
// serial numbers drawn with the reference strip's digits, at the places the
// engine reads them.
#pragma once

#include <functional>
#include <string>

#include "morvex/reference_digits.h"

namespace morvex::test {

// Printed pitch and width of the serial digits, in millimetres.
inline constexpr double kDigitPitchMm = 2.712;
inline constexpr double kDigitWidthMm = 2.373;

struct NoteContent {
  int denomination = 100;     // 10, 50, 100, 500 or 1000; 0: no marks
  std::string zone1 = "0000000";
  std::string zone2 = "0000000";
};

// Ink of the composed note at (d, e) mm in its upright orientation: a grey
// level, or -1 for paper. paper is the level the digits are blended onto.
// The strip is copied; the function does not refer to strip afterwards.
std::function<int(double, double)> ComposeNote(const NoteContent& content, const ReferenceDigits& strip, int paper);

}  // namespace morvex::test
