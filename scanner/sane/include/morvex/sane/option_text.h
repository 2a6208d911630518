// Option values as text: reading a value a person typed, checking it against
// the option's constraint, and saying what an option accepts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "morvex/sane/options.h"

namespace morvex::sane {

// Reads `text` as a value of the option, by its type: yes/no (also
// true/false, on/off, 1/0) for Bool, integers for Int, decimal numbers for
// Fixed, the text itself for String; arrays take values separated by commas.
// A Button takes an empty text. Checks the result with CheckValue. Throws
// OptionError naming the option and saying what it accepts.
OptionValue ParseOptionValue(const OptionDescriptor& option, std::string_view text);

// Why the option does not accept the value (wrong kind or count, outside the
// range or off its step, not in its list, too long), or nothing when it does.
std::optional<std::string> CheckValue(const OptionDescriptor& option, const OptionValue& value);

// What the option accepts, for messages and help:
// "one of Gray, Color", "an integer from 1 to 1200 dpi in steps of 1",
// "a decimal number from 0 to 200 mm", "yes or no", "any text".
std::string AcceptedValues(const OptionDescriptor& option);

// A value as text: "yes", "300", "12.5", "Color", "1,2,3".
std::string FormatValue(const OptionValue& value);

}  // namespace morvex::sane
