// Readable names for the cases of parameterised tests: a failing case then
// says which file, value or option it was ("g_pal8_bmp", "dpi_150").
#pragma once

#include <sstream>
#include <string>
#include <string_view>

namespace morvex::testing {

// The text with its ASCII letters and digits kept, every run of other ASCII
// characters (punctuation, spaces) turned into one "_" and every run of
// other bytes (UTF-8 letters) written as hexadecimal digits between "_", none
// at either end: "Note-150-АЯ1.bmp" is "Note_150_D090D0AF_1_bmp". Text
// without letters and digits is "empty".
inline std::string CaseName(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name;
  auto separate = [&] {
    if (!name.empty() && name.back() != '_') name += '_';
  };
  bool inHex = false;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (byte >= 0x80) {
      if (!inHex) separate();
      name += kHex[byte >> 4];
      name += kHex[byte & 15];
      inHex = true;
      continue;
    }
    if (inHex) separate();
    inHex = false;
    if (alnum) {
      name += c;
    } else {
      separate();
    }
  }
  if (!name.empty() && name.back() == '_') name.pop_back();
  return name.empty() ? "empty" : name;
}

// A value after a prefix: "dpi_150", "tilt_minus_17_5", "value_1e_300"; a
// minus sign is written "minus".
template <class Value>
std::string CaseName(std::string_view prefix, const Value& value) {
  std::ostringstream text;
  text << +value;
  std::string s = text.str();
  if (!s.empty() && s.front() == '-') s = "minus " + s.substr(1);
  return CaseName(std::string(prefix) + " " + s);
}

}  // namespace morvex::testing
