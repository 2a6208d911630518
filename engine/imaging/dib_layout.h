// The checked layout of a device-independent bitmap: what its info header
// says, where its colour table and pixel data lie, and how to decode them.
// Shared by the .bmp file reader and the packed-DIB reader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "morvex/bitmap.h"

namespace morvex::bmp {

enum class Encoding : std::uint8_t { Rows, Rle8, Rle4 };

// One colour channel of a 16- or 32-bit pixel: mask, position and width.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

struct DibLayout {
  std::uint32_t headerSize = 0;
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  Encoding encoding = Encoding::Rows;
  int sourceBitDepth = 0;
  std::uint32_t sizeImage = 0;
  std::array<ChannelMask, 3> masks{};  // red, green, blue (16 and 32 bits)

  // Colour table: where it starts, bytes per entry (3 for the OS/2 1.x core
  // header, else 4), entries the header declares, entries used (<= 8 bits).
  std::size_t tableOffset = 0;
  std::size_t tableEntrySize = 4;
  std::uint64_t tableDeclared = 0;
  std::size_t paletteEntries = 0;

  // Pixel data (rows or RLE stream) within the DIB.
  std::size_t pixelOffset = 0;
  std::size_t pixelBytes = 0;
  std::size_t rowBytes = 0;  // uncompressed rows, padded to 4 bytes
};

// Reads and checks the info header at the start of `dib` (BITMAPCOREHEADER,
// the OS/2 2.x headers, BITMAPINFOHEADER, V2 to V5) and its bit-field masks.
// Throws BitmapFormatError for anything this reader does not accept.
DibLayout ReadInfoHeader(std::span<const std::uint8_t> dib);

// Places the colour table and the pixel data. `pixelOffset` is the file's
// pixel offset relative to the DIB; without it (a packed DIB) the pixels
// follow the colour table. Checks that everything lies inside `dib`.
void PlaceData(DibLayout& layout, std::span<const std::uint8_t> dib, std::optional<std::size_t> pixelOffset);

// Decoders for the three encodings; `into` has been sized by DecodeDib.
void DecodeIndexedRows(std::span<const std::uint8_t> dib, const DibLayout& layout, Bitmap& into);
void DecodeColourRows(std::span<const std::uint8_t> dib, const DibLayout& layout, Bitmap& into);
void DecodeRle(std::span<const std::uint8_t> dib, const DibLayout& layout, Bitmap& into);

// Decodes a placed layout into `into`, reusing its storage.
void DecodeDib(std::span<const std::uint8_t> dib, const DibLayout& layout, Bitmap& into);

}  // namespace morvex::bmp
