// The dark print of the number side: the serial number in its two zones and
// the face-value marks.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "note_canvas.h"
#include "typeface.h"

namespace morvex::notegen {

// Where the characters of a serial number lie, in millimetres of the upright
// note: the ink boxes of the two letters and of the seven digits.
struct SerialLayout {
  std::array<MmRect, 2> letters;
  std::array<MmRect, 7> digits;
};

// The serial number centred in the zone: two letters in their own proportions
// (narrowed like the digits), the first digit kSeriesToDigits after the second
// letter's left edge, the digits' left edges kDigitPitch apart, each digit's
// ink box kDigitInkWidth by kTextHeight (a little narrower than the reader's
// kDigitBoxWidth box, which takes a light column on either side).
SerialLayout LayoutSerial(const Typeface& face, const std::u32string& series, const MmRect& zone);

// The ink's opacity for a character centred d mm along the note (1: full).
using InkOpacityAt = std::function<double(double d)>;

void DrawSerial(NoteCanvas& canvas, const Typeface& face, const std::u32string& series, const std::string& number,
                const MmRect& zone, Rgbf ink, const InkOpacityAt& opacity = {});

void DrawMarks(NoteCanvas& canvas, int denomination, Rgbf ink, double opacity = 1);

}  // namespace morvex::notegen
