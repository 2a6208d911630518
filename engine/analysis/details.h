// Detail line 3: the note's tilt.
#pragma once

#include <string>

namespace morvex {

// arctan(k) in degrees with two decimals ("%2.2f") and the decimal separator
// of the process's LC_NUMERIC locale.
std::string TiltLine(double k);

}  // namespace morvex
