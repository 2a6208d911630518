// Feeds arbitrary bytes to the .bmp reader, as a file and as a packed DIB.
// Besides the sanitizers it checks what a decoded bitmap promises: every
// palette index has an entry, and writing and reading it back gives the same
// picture. Any exception other than BitmapFormatError is a failure.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "morvex/bmp.h"

namespace {

using morvex::Bitmap;
using morvex::PixelFormat;

void Check(const Bitmap& b) {
  if (b.empty()) std::abort();  // a decoded image always has pixels
  const std::size_t bytes = static_cast<std::size_t>(b.stride()) * static_cast<std::size_t>(b.height());
  if (b.format() == PixelFormat::Indexed8) {
    for (std::size_t i = 0; i < bytes; ++i)
      if (b.data()[i] >= b.paletteSize()) std::abort();
  }
  Bitmap back;
  morvex::DecodeBmp(morvex::EncodeBmp(b), back);
  if (back.width() != b.width() || back.height() != b.height() || back.format() != b.format()) std::abort();
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if (back.pixel(x, y) != b.pixel(x, y)) std::abort();
}

template <typename Decoder>
void Try(Decoder decode, std::span<const std::uint8_t> bytes) {
  Bitmap b;
  try {
    decode(bytes, b);
  } catch (const morvex::BitmapFormatError&) {
    if (!b.empty()) std::abort();
    return;
  }
  Check(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Try(morvex::DecodeBmp, bytes);
  Try(morvex::DecodePackedDib, bytes);
  // A file's bytes after its 14-byte header are a packed DIB of the same image.
  if (size > 14) Try(morvex::DecodePackedDib, bytes.subspan(14));
  return 0;
}
