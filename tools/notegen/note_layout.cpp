#include "note_layout.h"

#include <cstring>

namespace morvex::notegen {

MmRect MmRect::turned() const { return {kNoteLength - d1, kNoteWidth - e1, kNoteLength - d0, kNoteWidth - e0}; }

const char* MarkSequence(int denomination) {
  switch (denomination) {
    case 10: return "CE";
    case 50: return "CCE";
    case 100: return "CEE";
    case 500: return "CCEE";
    case 1000: return "CEEE";
    default: return "";
  }
}

int MarkRects(int denomination, std::array<MmRect, 4>& out) {
  const char* kinds = MarkSequence(denomination);
  const int n = static_cast<int>(std::strlen(kinds));
  // The bands are centred as a group, so two or three marks sit in the middle
  // of the place just as four fill it.
  const double top = kMarkCentreE - ((n - 1) * kMarkPitch + kMarkHeight) / 2;
  for (int i = 0; i < n; ++i) {
    const double w = kinds[i] == 'C' ? kCompactWidth : kElongatedWidth;
    const double e0 = top + i * kMarkPitch;
    out[static_cast<std::size_t>(i)] = {kMarkCentreD - w / 2, e0, kMarkCentreD + w / 2, e0 + kMarkHeight};
  }
  return n;
}

namespace {

MmRect Hull(const MmRect& a, const MmRect& b) {
  return {a.d0 < b.d0 ? a.d0 : b.d0, a.e0 < b.e0 ? a.e0 : b.e0, a.d1 > b.d1 ? a.d1 : b.d1, a.e1 > b.e1 ? a.e1 : b.e1};
}

}  // namespace

const std::array<MmRect, 4>& ClearAreas() {
  constexpr double margin = 1.5;
  // The zones are read on the upright note only; each patch place is read on
  // the note either way round, so the place and its turned twin stay clear.
  static const std::array<MmRect, 4> areas = {{
      kZone1.grown(margin),
      kZone2.grown(margin),
      Hull(kPatchFirst, kPatchSecond.turned()).grown(margin),
      Hull(kPatchSecond, kPatchFirst.turned()).grown(margin),
  }};
  return areas;
}

}  // namespace morvex::notegen
