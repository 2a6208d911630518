// The text of the time between two readings of the millisecond tick counter.
#pragma once

#include <cstdint>
#include <string>

namespace morvex {

// form 1: "ss,mmm сек" (seconds modulo 60, milliseconds with at least two
// digits); any other form: "mi:ss:mmm (мин:сек:мсек)" (minutes modulo 60). The
// difference is taken modulo 2^32, so a wrap of the counter in between is fine.
// UTF-8.
std::string ElapsedText(std::uint32_t t0, std::uint32_t t1, int form);

}  // namespace morvex
