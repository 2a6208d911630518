// Sizing the target bitmap, installing the palette and running the decoder
// that fits the DIB's encoding.
#include <cstring>
#include <vector>

#include "imaging/dib_layout.h"

namespace morvex::bmp {

namespace {

void InstallPalette(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into) {
  std::array<Rgb, 256> entries{};
  const std::uint8_t* p = dib.data() + l.tableOffset;
  for (std::size_t i = 0; i < l.paletteEntries; ++i, p += l.tableEntrySize) entries[i] = {p[2], p[1], p[0]};
  into.setPaletteEntries(std::span<const Rgb>(entries.data(), l.paletteEntries));
}

}  // namespace

void DecodeDib(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into) {
  if (l.bitCount <= 8) {
    into.resetForOverwrite(l.width, l.height, PixelFormat::Indexed8);
    InstallPalette(dib, l, into);
    if (l.encoding == Encoding::Rows) {
      DecodeIndexedRows(dib, l, into);
    } else {
      // Pixels the stream skips keep palette index 0.
      std::memset(into.data(), 0, static_cast<std::size_t>(into.stride()) * static_cast<std::size_t>(l.height));
      DecodeRle(dib, l, into);
    }
  } else {
    into.resetForOverwrite(l.width, l.height, PixelFormat::Rgb24);
    DecodeColourRows(dib, l, into);
  }
  into.setSourceBitDepth(l.sourceBitDepth);
}

}  // namespace morvex::bmp
