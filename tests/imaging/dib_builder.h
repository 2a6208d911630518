// Builds .bmp files and packed DIBs byte by byte, so tests can state exactly
// which header field, table or stream they exercise.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "morvex/bitmap.h"

namespace morvex::testing {

struct DibLayout {
  std::uint32_t headerSize = 40;  // 12 writes a BITMAPCOREHEADER
  std::int32_t width = 0;
  std::int32_t height = 0;        // negative: top-down
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;    // 0: the pixel bytes' length
  std::int32_t xDensity = 2835;
  std::int32_t yDensity = 2835;
  std::uint32_t clrUsed = 0;
  // Masks written after a 40-byte header (compression 3) or into a longer one.
  std::optional<std::array<std::uint32_t, 3>> masks;
  std::vector<Rgb> palette;        // 3-byte entries for the core header, else 4
  std::vector<std::uint8_t> pixels;  // rows as stored, or the RLE stream
};

// The info header, masks and colour table followed by the pixels.
std::vector<std::uint8_t> BuildPackedDib(const DibLayout& plan);

// A file: the 14-byte file header and the packed DIB. `offBits` overrides
// the pixel offset, `fileSize` the bfSize field.
std::vector<std::uint8_t> BuildBmpFile(const DibLayout& plan, std::optional<std::uint32_t> offBits = std::nullopt,
                                       std::optional<std::uint32_t> fileSize = std::nullopt);

// Packs values (row-major, top row first) into stored rows of `bits` per
// pixel, padded to 4 bytes, bottom row first unless `topDown`.
std::vector<std::uint8_t> PackRows(int width, int height, int bits, const std::vector<std::uint32_t>& values,
                                   bool topDown = false);

}  // namespace morvex::testing
