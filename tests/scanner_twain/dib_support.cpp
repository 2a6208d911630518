#include "dib_support.h"

#include <cstdlib>
#include <cstring>

namespace morvex::testing {

HGLOBAL BlockOf(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!bytes.empty()) std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

std::vector<std::uint8_t> BytesOf(HGLOBAL block) {
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
  std::vector<std::uint8_t> copy(bytes, bytes + GlobalSize(block));
  GlobalUnlock(block);
  return copy;
}

std::vector<Rgb> Ramp(int count) {
  std::vector<Rgb> palette;
  for (int i = 0; i < count; ++i) {
    palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                       static_cast<std::uint8_t>(i * 7)});
  }
  return palette;
}

DibLayout Plan(std::uint32_t headerSize, int bits, int width, int height, std::uint32_t clrUsed,
               int paletteEntries) {
  DibLayout plan;
  plan.headerSize = headerSize;
  plan.bitCount = static_cast<std::uint16_t>(bits);
  plan.width = width;
  plan.height = height;
  plan.clrUsed = clrUsed;
  plan.palette = Ramp(paletteEntries);
  std::vector<std::uint32_t> values(static_cast<std::size_t>(width) * static_cast<std::size_t>(std::abs(height)));
  const std::uint32_t limit = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  // Indices stay within the colour table.
  const std::uint32_t modulus = bits <= 8 && paletteEntries > 0 ? static_cast<std::uint32_t>(paletteEntries) : 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto value = static_cast<std::uint32_t>(i * 37 + 5);
    values[i] = modulus != 0 ? value % modulus : value & limit;
  }
  plan.pixels = PackRows(width, std::abs(height), bits, values, height < 0);
  return plan;
}

}  // namespace morvex::testing
