// Writing JSON and CSV values.
#pragma once

#include <string>
#include <string_view>

namespace morvex::cli {

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// A CSV field: quoted, with inner quotes doubled, when it holds a comma, a
// quote or a line break.
std::string CsvField(std::string_view text);

// A confidence (0 to 1) with three decimals and a point, whatever the locale.
std::string ConfidenceText(double confidence);

}  // namespace morvex::cli
