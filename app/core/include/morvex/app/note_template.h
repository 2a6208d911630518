// The note file-name template "Note-dpi-s-o-vvvv-SSnnnnnnn.bmp": reading the
// truth out of a name and writing a result into one. Positions count
// characters from 1, not bytes.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "morvex/engine.h"

namespace morvex::app {

inline constexpr int Zone1Match = 1;
inline constexpr int Zone2Match = 2;
inline constexpr int DenominationMatch = 4;

// Raised when text that must be an integer is not: "'%s' is not a valid
// integer value" with the text in place of %s.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
};

// A signed decimal integer, leading zeros allowed ("0100" is 100, "-001" is
// -1); anything else raises ConversionError.
int StrToInt(std::string_view text);

// Compares one result with the truth in a file name (without folder): the
// mask of Zone1Match, Zone2Match and DenominationMatch. Characters 14 to 17
// must be an integer (ConversionError otherwise), even on the side without a
// number, whose truth is "#######" and -1.
int CompareWithTemplate(std::string_view fileName, std::string_view zone1Number, std::string_view zone2Number,
                        int denomination);

// The base name (without ".bmp") the renaming gives a file after its result:
// "Note-" dpi "-1-" orientation "-" face value "-ХХ" zone 1 number.
std::string TemplateName(const AnalisysResult& result);

}  // namespace morvex::app
