// Palettes, drawing and header accessors of DIB handles.
#include <algorithm>
#include <span>

#include "dib_header.h"
#include "morvex/bmp.h"
#include "morvex/twain/dib.h"

namespace morvex::twain {

namespace {

// Locks a DIB for the length of one operation.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL dib) : dib_(dib), bytes_(static_cast<std::uint8_t*>(GlobalLock(dib))) {
    if (bytes_ != nullptr) size_ = GlobalSize(dib);
  }
  ~LockedDib() {
    if (bytes_ != nullptr) GlobalUnlock(dib_);
  }
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  explicit operator bool() const { return bytes_ != nullptr; }
  std::uint8_t* bytes() const { return bytes_; }
  std::size_t size() const { return size_; }
  DibFields fields() const { return ReadDibFields(bytes_, size_); }

 private:
  HGLOBAL dib_;
  std::uint8_t* bytes_;
  std::size_t size_ = 0;
};

}  // namespace

HPALETTE TWAIN_DibPalette(HGLOBAL dib) {
  LockedDib locked(dib);
  if (!locked) return nullptr;
  const DibFields f = locked.fields();
  if (f.headerSize == 0) return nullptr;
  const int count = ColorCountOf(f);
  auto palette = std::make_unique<LogicalPalette>();
  palette->palVersion = 0x300;
  if (count == 0) {
    palette->entries.assign(TWAIN_DefaultPalette().begin(), TWAIN_DefaultPalette().end());
    return palette;
  }
  const std::size_t start = f.headerSize + MaskBytes(f);
  const std::size_t entryBytes = TableEntryBytes(f);
  // A table that the block cuts short gives no palette.
  if (start > locked.size() || static_cast<std::size_t>(count) * entryBytes > locked.size() - start) return nullptr;
  palette->entries.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = locked.bytes() + start + static_cast<std::size_t>(i) * entryBytes;
    palette->entries[static_cast<std::size_t>(i)] = {entry[2], entry[1], entry[0], 0};
  }
  return palette;
}

void TWAIN_DrawDib(Bitmap& target, int left, int top, int width, int height, HGLOBAL dib, int sourceLeft,
                   int sourceTop) {
  LockedDib locked(dib);
  if (!locked || width <= 0 || height <= 0) return;
  Bitmap image;
  try {
    DecodePackedDib(std::span<const std::uint8_t>(locked.bytes(), locked.size()), image);
  } catch (const std::exception&) {
    return;  // not a DIB that can be drawn: nothing is drawn, as for a failed StretchDIBits
  }
  // The decoded image is top-down; a bottom-up DIB's source rectangle counts
  // its rows from the bottom.
  const bool bottomUp = locked.fields().core || locked.fields().height > 0;
  const long long srcTop = bottomUp ? static_cast<long long>(image.height()) - sourceTop - height : sourceTop;
  // Clip the source rectangle to the image and move the destination along.
  const long long x0 = std::max<long long>(sourceLeft, 0);
  const long long x1 = std::min<long long>(static_cast<long long>(sourceLeft) + width, image.width());
  const long long y0 = std::max<long long>(srcTop, 0);
  const long long y1 = std::min<long long>(srcTop + height, image.height());
  if (x0 >= x1 || y0 >= y1) return;
  const long long dx = left + (x0 - sourceLeft);
  const long long dy = top + (y0 - srcTop);
  const Rect from{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)};
  const Rect to{static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dx + (x1 - x0)),
                static_cast<int>(dy + (y1 - y0))};
  StretchCopy(target, to, image, from);
}

int TWAIN_DibBitCount(HGLOBAL dib) {
  LockedDib locked(dib);
  return locked ? static_cast<int>(locked.fields().bitCount) : 0;
}

int TWAIN_DibWidth(HGLOBAL dib) {
  LockedDib locked(dib);
  return locked ? locked.fields().width : 0;
}

int TWAIN_DibHeight(HGLOBAL dib) {
  LockedDib locked(dib);
  return locked ? locked.fields().height : 0;
}

int TWAIN_DibNumColors(HGLOBAL dib) {
  LockedDib locked(dib);
  return locked ? ColorCountOf(locked.fields()) : 0;
}

}  // namespace morvex::twain
