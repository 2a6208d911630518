// The face-value patch classifier: bands of print, one glyph per band sorted
// by its proportions, and the sequence of kinds looked up in the pattern table.
#pragma once

#include <cstdint>
#include <vector>

#include "zones/grey_plane.h"

namespace morvex {

enum class GlyphKind : std::uint8_t { Compact = 1, Elongated = 2 };

// Rows or columns, both inclusive.
struct Run {
  int first = 0;
  int last = 0;
};

// Kind of a glyph band h = last - first rows high whose one segment spans w =
// last - first columns.
GlyphKind KindOf(int w, int h);

// Runs of profile entries at or below the threshold over entries 0 to n - 1,
// kept when last - first >= minSpan.
std::vector<Run> DarkRuns(const std::vector<std::int64_t>& profile, int n, std::int64_t threshold, int minSpan);

// The kinds of the glyph bands of a stretched working copy, from the top.
std::vector<GlyphKind> GlyphKinds(const GreyPlane& copy);

// The patch code of a sequence of kinds: 1 to 10, -1, or 0.
int PatchCodeOf(const std::vector<GlyphKind>& kinds);

}  // namespace morvex
