// Start value for the smallest entry of a brightness profile. The profiles of
// the original fixed-size tables started their minimum at 100000, above any
// sum those tables could hold; wider regions can sum higher, so the start
// grows past the largest possible sum and keeps its meaning.
#pragma once

#include <algorithm>
#include <cstdint>

namespace morvex {

inline std::int64_t ProfileMinStart(std::int64_t largestSum) {
  return std::max<std::int64_t>(100000, largestSum + 1);
}

}  // namespace morvex
