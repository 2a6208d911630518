#include "morvex/grey_image.h"

#include <array>
#include <cstdint>
#include <optional>

#include "imaging/dib_layout.h"

namespace morvex {

namespace {

// The row conversion is the one pass over every pixel of a scan. Its
// three-byte pixels need byte shuffles to vectorise, which the x86-64 baseline
// lacks; an AVX2 variant is chosen at load time where the processor has it.
#if defined(__x86_64__) && defined(__clang__)
#define MORVEX_PIXEL_LOOP __attribute__((target_clones("default", "avx2")))
#elif defined(__x86_64__) && defined(__GNUC__)
#define MORVEX_PIXEL_LOOP __attribute__((target_clones("default", "avx2"), optimize("vect-cost-model=dynamic")))
#else
#define MORVEX_PIXEL_LOOP
#endif

// One row of blue, green, red pixels to their brightness levels. The
// pointers never overlap (two different bitmaps).
MORVEX_PIXEL_LOOP void GreyRow(const std::uint8_t* __restrict bgr, std::uint8_t* __restrict grey, int width) {
  for (int x = 0; x < width; ++x)
    grey[x] = static_cast<std::uint8_t>(BrightnessOf(bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x]));
}

}  // namespace

void MakeGreyImage(Bitmap& bitmap) {
  if (bitmap.format() == PixelFormat::Rgb24) {
    // The 8-bit reduction already installs the grey palette with each pixel at
    // its brightness.
    bitmap.setFormat(PixelFormat::Indexed8);
  } else {
    bitmap.replacePalette(GreyPalette());
  }
}

Bitmap MakeWorkingImage(const Bitmap& input) {
  const int w = input.width(), h = input.height();
  Bitmap grey(w, h, PixelFormat::Indexed8);
  if (input.format() == PixelFormat::Rgb24) {
    for (int y = 0; y < h; ++y) GreyRow(input.row(y), grey.row(y), w);
  } else {
    // Each palette entry maps to the grey nearest to it, which is the grey of
    // its brightness; entries past the palette's end read as black.
    std::array<std::uint8_t, 256> level{};
    const auto palette = input.palette();
    for (std::size_t i = 0; i < palette.size(); ++i)
      level[i] = static_cast<std::uint8_t>(BrightnessOf(palette[i].r, palette[i].g, palette[i].b));
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = input.row(y);
      std::uint8_t* d = grey.row(y);
      for (int x = 0; x < w; ++x) d[x] = level[s[x]];
    }
  }
  return grey;
}

void DecodePackedDibGrey(std::span<const std::uint8_t> dib, Bitmap& grey) {
  try {
    bmp::DibLayout layout = bmp::ReadInfoHeader(dib);
    bmp::PlaceData(layout, dib, std::nullopt);
    if (layout.bitCount == 24 && layout.encoding == bmp::Encoding::Rows) {
      const int w = layout.width, h = layout.height;
      grey.resetForOverwrite(w, h, PixelFormat::Indexed8);
      grey.setPaletteEntries(GreyPalette());
      for (int r = 0; r < h; ++r) {
        const std::uint8_t* source = dib.data() + layout.pixelOffset + static_cast<std::size_t>(r) * layout.rowBytes;
        GreyRow(source, grey.row(layout.topDown ? r : h - 1 - r), w);
      }
      grey.setSourceBitDepth(layout.sourceBitDepth);
    } else {
      bmp::DecodeDib(dib, layout, grey);
      if (grey.format() == PixelFormat::Indexed8) {
        // Each index becomes the grey nearest its palette colour, which is the
        // grey of its brightness, in place.
        std::array<std::uint8_t, 256> level{};
        const auto palette = grey.palette();
        for (std::size_t i = 0; i < palette.size(); ++i)
          level[i] = static_cast<std::uint8_t>(BrightnessOf(palette[i].r, palette[i].g, palette[i].b));
        std::uint8_t* p = grey.data();
        const std::size_t count = static_cast<std::size_t>(grey.stride()) * static_cast<std::size_t>(grey.height());
        for (std::size_t i = 0; i < count; ++i) p[i] = level[p[i]];
        grey.setPaletteEntries(GreyPalette());
      } else {
        MakeGreyImage(grey);
      }
    }
  } catch (...) {
    grey.resetForOverwrite(0, 0, grey.format());
    throw;
  }
}

}  // namespace morvex
