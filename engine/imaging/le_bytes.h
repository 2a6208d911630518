// Little-endian field reads for the bitmap reader and writer. Callers check
// the bounds before reading.
#pragma once

#include <cstdint>
#include <vector>

namespace morvex::bmp {

inline std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t LeS32(const std::uint8_t* p) { return static_cast<std::int32_t>(Le32(p)); }

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

}  // namespace morvex::bmp
