#include "morvex/app/utf8.h"

#include <algorithm>
#include <cstdint>

namespace morvex::app {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the character at the start of `s` (not empty): its code point and
// byte length. A malformed byte decodes as itself with length 1, above every
// Unicode code point so that it sorts after all well-formed text.
std::pair<char32_t, std::size_t> Decode(std::string_view s) {
  const std::size_t n = Utf8SequenceLength(s);
  const auto b0 = static_cast<unsigned char>(s[0]);
  if (n == 1) return {b0 < 0x80 ? char32_t{b0} : char32_t{0x110000} + b0, 1};
  char32_t cp = b0 & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  return {cp, n};
}

char32_t FoldCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;      // Latin-1 capitals
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;   // Greek capitals
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;                 // Cyrillic А to Я
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;                 // Cyrillic Ѐ to Џ (Ё among them)
  return c;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t n;
  char32_t min;
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    min = 0x10000;
  } else {
    return 1;
  }
  if (s.size() < n) return 1;
  char32_t cp = b0 & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (!IsContinuation(b)) return 1;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 1;
  return n;
}

std::size_t CharacterCount(std::string_view s) {
  std::size_t count = 0;
  while (!s.empty()) {
    s.remove_prefix(Utf8SequenceLength(s));
    ++count;
  }
  return count;
}

std::string CharacterRange(std::string_view s, std::size_t first, std::size_t count) {
  if (first < 1) first = 1;
  for (std::size_t i = 1; i < first && !s.empty(); ++i) s.remove_prefix(Utf8SequenceLength(s));
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < count && bytes < s.size(); ++i) bytes += Utf8SequenceLength(s.substr(bytes));
  return std::string(s.substr(0, bytes));
}

bool CaselessLess(std::string_view a, std::string_view b) {
  std::string_view x = a, y = b;
  while (!x.empty() && !y.empty()) {
    const auto [cx, nx] = Decode(x);
    const auto [cy, ny] = Decode(y);
    const char32_t fx = FoldCase(cx), fy = FoldCase(cy);
    if (fx != fy) return fx < fy;
    x.remove_prefix(nx);
    y.remove_prefix(ny);
  }
  if (x.empty() != y.empty()) return x.empty();
  return a < b;
}

bool EndsWithCaseless(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char p, char q) {
                      auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
                      return lower(p) == lower(q);
                    });
}

}  // namespace morvex::app
