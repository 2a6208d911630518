#include "json.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace morvex::cli {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string ConfidenceText(double confidence) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::clamp(confidence, 0.0, 1.0), std::chars_format::fixed, 3);
  return std::string(buf, r.ptr);
}

}  // namespace morvex::cli
