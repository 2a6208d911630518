#include "scanned_image.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "morvex/twain/dib.h"

namespace morvex::gui {
namespace {

// The largest bitmap the window makes, as for bitmaps read from files: a
// side of at most 2^20 pixels and at most 2^27 pixels in all. A larger scan
// finds no room, as a bitmap beyond the graphics resources would.
constexpr std::int64_t kMaxSide = std::int64_t{1} << 20;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 27;

void CheckRoom(const DibSize& size) {
  const std::int64_t w = size.width, h = size.height;
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels) throw OutOfGraphicsResources();
}

}  // namespace

DibSize ReadDibSize(HGLOBAL dib) {
  // The layer reads both header kinds, with the block's size checked.
  DibSize size{twain::TWAIN_DibWidth(dib), std::abs(twain::TWAIN_DibHeight(dib))};
  if (size.width < 0) size.width = 0;
  return size;
}

void PutDibIntoBitmap(HGLOBAL dib, const DibSize& size, Bitmap& working) {
  try {
    // The palette: a DIB with a colour table makes the bitmap an 8-bit one
    // with that table, so that its indices are drawn as they are; a
    // true-colour DIB's palette leaves a 24-bit bitmap's pixels alone.
    const twain::HPALETTE palette = twain::TWAIN_DibPalette(dib);
    if (palette && twain::TWAIN_DibNumColors(dib) > 0) {
      std::vector<Rgb> entries;
      entries.reserve(palette->entries.size());
      for (const twain::PALETTEENTRY& e : palette->entries) entries.push_back({e.peRed, e.peGreen, e.peBlue});
      working.reset(0, 0, PixelFormat::Indexed8);
      working.setPaletteEntries(entries);
    }
    CheckRoom({size.width, working.height()});
    working.setSize(size.width, working.height());
    CheckRoom(size);
    working.setSize(size.width, size.height);
    twain::TWAIN_DrawDib(working, 0, 0, size.width, size.height, dib, 0, 0);
  } catch (const std::bad_alloc&) {
    throw OutOfGraphicsResources();
  }
}

}  // namespace morvex::gui
