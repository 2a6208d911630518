// Where things lie on the note, in millimetres of the upright note: d along
// the long side from the left short edge, e across from the top long edge.
#pragma once

#include <array>

namespace morvex::notegen {

struct MmRect {
  double d0 = 0, e0 = 0, d1 = 0, e1 = 0;  // left, top, right, bottom
  double width() const { return d1 - d0; }
  double height() const { return e1 - e0; }
  bool contains(double d, double e) const { return d >= d0 && d < d1 && e >= e0 && e < e1; }
  MmRect grown(double by) const { return {d0 - by, e0 - by, d1 + by, e1 + by}; }
  // The same rectangle on the note turned by 180 degrees.
  MmRect turned() const;
};

inline constexpr double kNoteLength = 150.0;
inline constexpr double kNoteWidth = 65.0;

// The number zones the reader cuts from an upright note.
inline constexpr MmRect kZone1{115, 8.5, 147, 16.5};
inline constexpr MmRect kZone2{4, 28, 35, 37};

// The face-value patch places: the first for an upright note, the second for
// one lying upside down (close to, but not exactly, the first turned).
inline constexpr MmRect kPatchFirst{21.5, 49, 29, 64};
inline constexpr MmRect kPatchSecond{122, 2, 129.5, 17};

// The serial number: cap and digit height, digit ink width, digit pitch, the
// gap from the second series letter's left edge to the first digit's, and the
// space between the two letters.
inline constexpr double kTextHeight = 3.8;
inline constexpr double kDigitInkWidth = 2.25;
inline constexpr double kDigitBoxWidth = 2.373;
inline constexpr double kDigitPitch = 2.712;
inline constexpr double kSeriesToDigits = 5.5;
inline constexpr double kLetterSpacing = 0.45;
// The letters' own proportions are narrowed to about those of the digits.
inline constexpr double kLetterCondense = 0.84;

// The face-value marks: one per band, centred on kMarkCentre, bands kMarkHeight
// tall on a kMarkPitch pitch; a Compact mark is about square, an Elongated one
// more than twice as wide as tall.
inline constexpr double kMarkCentreD = 24.75;
inline constexpr double kMarkCentreE = 56.0;
inline constexpr double kMarkHeight = 1.8;
inline constexpr double kMarkPitch = 3.4;
inline constexpr double kCompactWidth = 1.9;
inline constexpr double kElongatedWidth = 4.0;
inline constexpr double kMarkCorner = 0.25;

// The mark sequence of a face value from the top: 'C' Compact, 'E' Elongated;
// empty for a value that has none.
const char* MarkSequence(int denomination);

// The rectangles of the marks of a face value on the upright note.
int MarkRects(int denomination, std::array<MmRect, 4>& out);

// The series letters the notes use (Cyrillic capitals without descenders,
// accents or split strokes, of moderate width).
inline constexpr char32_t kSeriesLetters[] = U"АБВГЕИКЛМНОПРСТУХЧЭЯ";

// Areas the decoration keeps clear of: the number zones and both patch places,
// on the note either way round, with a margin for the reader's placement.
const std::array<MmRect, 4>& ClearAreas();

}  // namespace morvex::notegen
