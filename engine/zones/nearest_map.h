// Nearest-neighbour scaling maps, the same rule as the bitmap layer's
// StretchCopy: destination step i of n takes the source coordinate
// from + floor((2i + 1) * (to - from) / (2n)), so the whole source span maps
// onto the whole destination.
#pragma once

#include <cstdint>
#include <vector>

namespace morvex {

inline int NearestSource(int i, int n, int from, int to) {
  const std::int64_t num = (2 * static_cast<std::int64_t>(i) + 1) * (static_cast<std::int64_t>(to) - from);
  const std::int64_t den = 2 * static_cast<std::int64_t>(n);
  std::int64_t q = num / den;
  if (num % den != 0 && ((num < 0) != (den < 0))) --q;
  return static_cast<int>(from + q);
}

// Source coordinates of the n destination steps over the span [from, to).
inline std::vector<int> NearestMap(int n, int from, int to) {
  std::vector<int> map(static_cast<std::size_t>(n > 0 ? n : 0));
  for (int i = 0; i < n; ++i) map[static_cast<std::size_t>(i)] = NearestSource(i, n, from, to);
  return map;
}

}  // namespace morvex
