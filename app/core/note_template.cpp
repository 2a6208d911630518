#include "morvex/app/note_template.h"

#include <cstdio>

#include "morvex/app/utf8.h"

namespace morvex::app {

namespace {

// Character positions of the template's fields.
constexpr std::size_t kSidePos = 10;
constexpr std::size_t kValuePos = 14, kValueLen = 4;
constexpr std::size_t kNumberPos = 21, kNumberLen = 7;

// What the engine answers for a note side without face-value marks.
constexpr std::string_view kNoNumber = "#######";
constexpr int kNoDenomination = -1;

}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

int StrToInt(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw ConversionError(text);
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw ConversionError(text);
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) throw ConversionError(text);
  }
  if (negative) value = -value;
  if (value > 2147483647LL) throw ConversionError(text);
  return static_cast<int>(value);
}

int CompareWithTemplate(std::string_view fileName, std::string_view zone1Number, std::string_view zone2Number,
                        int denomination) {
  std::string expectedNumber = CharacterRange(fileName, kNumberPos, kNumberLen);
  int expectedValue = StrToInt(CharacterRange(fileName, kValuePos, kValueLen));
  if (CharacterRange(fileName, kSidePos, 1) == "0") {
    expectedNumber = kNoNumber;
    expectedValue = kNoDenomination;
  }
  int mask = 0;
  if (expectedNumber == zone1Number) mask |= Zone1Match;
  if (expectedNumber == zone2Number) mask |= Zone2Match;
  if (expectedValue == denomination) mask |= DenominationMatch;
  return mask;
}

std::string TemplateName(const AnalisysResult& result) {
  char head[64];
  std::snprintf(head, sizeof head, "Note-%.3d-1-%c-%.4d-", static_cast<int>(result.Dpi),
                result.UpsideDown ? '0' : '1', static_cast<int>(result.Denomination));
  return std::string(head) + "ХХ" + result.Zone1Number;
}

}  // namespace morvex::app
