// Readable names for the cases of parameterised tests: a failing case then
// says which file, value or option it was ("g_pal8_bmp", "dpi_150").
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace morvex::testing {

// The text with its ASCII letters and digits kept and every other run of
// characters (punctuation, spaces, non-ASCII bytes) turned into one "_",
// none at either end; "_" alone for text without any letter or digit.
inline std::string CaseName(std::string_view text) {
  std::string name;
  for (const char c : text) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (keep) {
      name += c;
    } else if (name.empty() || name.back() != '_') {
      name += '_';
    }
  }
  if (!name.empty() && name.back() == '_') name.pop_back();
  if (!name.empty() && name.front() == '_') name.erase(0, 1);
  return name.empty() ? "_" : name;
}

// A number with a prefix; a minus sign becomes "minus_" and a decimal point "_"
// ("tilt_minus_17_5").
template <class Number>
std::string CaseName(std::string_view prefix, Number value) {
  std::string text = std::to_string(value);
  if constexpr (std::is_floating_point_v<Number>) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text.front() == '-') text = "minus_" + text.substr(1);
  return CaseName(std::string(prefix) + "_" + text);
}

}  // namespace morvex::testing
