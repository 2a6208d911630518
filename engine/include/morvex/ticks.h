// A millisecond tick counter: unsigned 32 bits, wrapping about every 49.7 days,
// taken from the monotonic clock. Differences of two readings taken as unsigned
// 32-bit values stay right across a wrap.
#pragma once

#include <cstdint>

namespace morvex {

std::uint32_t TickCount();

}  // namespace morvex
