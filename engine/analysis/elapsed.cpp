#include "morvex/elapsed.h"

#include <cstdio>

namespace morvex {

std::string ElapsedText(std::uint32_t t0, std::uint32_t t1, int form) {
  const std::uint32_t e = t1 - t0;
  const int ms = static_cast<int>(e % 1000);
  const int s = static_cast<int>((e / 1000) % 60);
  const int mi = static_cast<int>((e / 60000) % 60);
  char text[64];
  if (form == 1) {
    std::snprintf(text, sizeof text, "%.2d,%.2d сек", s, ms);
  } else {
    std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d (мин:сек:мсек)", mi, s, ms);
  }
  return text;
}

}  // namespace morvex
