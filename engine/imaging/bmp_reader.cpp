// The two ways into the DIB decoder: a whole .bmp file and a packed DIB.
#include "imaging/dib_layout.h"
#include "imaging/le_bytes.h"
#include "morvex/bmp.h"

namespace morvex {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// Decodes a DIB whose pixel offset is known (a file) or follows the colour
// table (a packed DIB). On any failure `into` is left empty.
void Decode(std::span<const std::uint8_t> dib, std::optional<std::size_t> pixelOffset, Bitmap& into) {
  try {
    bmp::DibLayout layout = bmp::ReadInfoHeader(dib);
    bmp::PlaceData(layout, dib, pixelOffset);
    bmp::DecodeDib(dib, layout, into);
  } catch (...) {
    into.resetForOverwrite(0, 0, into.format());
    throw;
  }
}

}  // namespace

void DecodeBmp(std::span<const std::uint8_t> file, Bitmap& into) {
  // BITMAPFILEHEADER: "BM", file size, two reserved words, pixel offset.
  if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') {
    into.resetForOverwrite(0, 0, into.format());
    throw BitmapFormatError();
  }
  const std::uint32_t fileSize = bmp::Le32(file.data() + 2);
  const std::uint32_t offBits = bmp::Le32(file.data() + 10);
  // A file shorter than its header says has lost data; a smaller size field
  // is common (OS/2 writers put the header size there) and is not used.
  if (fileSize > file.size() || offBits < kFileHeaderSize) {
    into.resetForOverwrite(0, 0, into.format());
    throw BitmapFormatError();
  }
  Decode(file.subspan(kFileHeaderSize), offBits - kFileHeaderSize, into);
}

void DecodePackedDib(std::span<const std::uint8_t> dib, Bitmap& into) { Decode(dib, std::nullopt, into); }

}  // namespace morvex
