// SANE's option descriptors and values in this layer's types.
#pragma once

#include <sane/sane.h>

#include <cstdint>
#include <vector>

#include "morvex/sane/options.h"

namespace morvex::sane {

OptionDescriptor DescribeOption(int index, const SANE_Option_Descriptor& d);

// The value in SANE's memory form, `option.size` bytes long (strings
// zero-terminated). The value's kind has been checked to fit the option.
std::vector<std::uint8_t> EncodeValue(const OptionDescriptor& option, const OptionValue& value);
OptionValue DecodeValue(const OptionDescriptor& option, const std::vector<std::uint8_t>& bytes);

// Why a value's kind or count does not fit the option, or empty.
std::string KindMismatch(const OptionDescriptor& option, const OptionValue& value);

}  // namespace morvex::sane
