// Uncompressed DIB rows: palette indices of 1, 4 or 8 bits, 24-bit BGR and
// 16- or 32-bit pixels with channel masks.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/dib_layout.h"
#include "imaging/le_bytes.h"
#include "morvex/bmp.h"

namespace morvex::bmp {

namespace {

// Source row r of the file, counted from the first row stored.
const std::uint8_t* SourceRow(std::span<const std::uint8_t> dib, const DibLayout& l, int r) {
  return dib.data() + l.pixelOffset + static_cast<std::size_t>(r) * l.rowBytes;
}
int TargetRow(const DibLayout& l, int r) { return l.topDown ? r : l.height - 1 - r; }

// Maps a channel's raw value (0 .. 2^bits - 1) to 0..255, rounding to nearest.
class ChannelScale {
 public:
  explicit ChannelScale(const ChannelMask& m) : mask_(m.mask), shift_(m.shift), max_((std::uint64_t{1} << m.bits) - 1) {
    if (m.bits <= 16) {
      table_.resize(static_cast<std::size_t>(max_) + 1);
      for (std::uint64_t v = 0; v <= max_; ++v) table_[v] = Scale(v);
    }
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    const std::uint32_t v = (pixel & mask_) >> shift_;
    return table_.empty() ? Scale(v) : table_[v];
  }

 private:
  std::uint8_t Scale(std::uint64_t v) const { return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_); }

  std::uint32_t mask_;
  int shift_;
  std::uint64_t max_;
  std::vector<std::uint8_t> table_;
};

bool IsPlain32(const DibLayout& l) {
  return l.bitCount == 32 && l.masks[0].mask == 0xFF0000 && l.masks[1].mask == 0xFF00 && l.masks[2].mask == 0xFF;
}

}  // namespace

void DecodeIndexedRows(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into) {
  const int bits = l.bitCount;
  const std::size_t w = static_cast<std::size_t>(l.width);
  for (int r = 0; r < l.height; ++r) {
    const std::uint8_t* s = SourceRow(dib, l, r);
    std::uint8_t* d = into.row(TargetRow(l, r));
    if (bits == 8) {
      std::memcpy(d, s, w);
    } else {
      // Pixels are packed from the most significant bits of each byte.
      const unsigned perByte = 8u / static_cast<unsigned>(bits);
      const unsigned mask = (1u << bits) - 1;
      for (std::size_t x = 0; x < w; ++x) {
        const unsigned shift = static_cast<unsigned>(bits) * (perByte - 1 - static_cast<unsigned>(x % perByte));
        d[x] = static_cast<std::uint8_t>((s[x / perByte] >> shift) & mask);
      }
    }
    // An index past the colour table has no colour.
    if (*std::max_element(d, d + w) >= l.paletteEntries) throw BitmapFormatError();
  }
}

void DecodeColourRows(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into) {
  const std::size_t w = static_cast<std::size_t>(l.width);
  if (l.bitCount == 24) {
    for (int r = 0; r < l.height; ++r) std::memcpy(into.row(TargetRow(l, r)), SourceRow(dib, l, r), 3 * w);
    return;
  }
  if (IsPlain32(l)) {
    for (int r = 0; r < l.height; ++r) {
      const std::uint8_t* s = SourceRow(dib, l, r);
      std::uint8_t* d = into.row(TargetRow(l, r));
      for (std::size_t x = 0; x < w; ++x, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
    return;
  }
  const ChannelScale red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
  const bool wide = l.bitCount == 32;
  for (int r = 0; r < l.height; ++r) {
    const std::uint8_t* s = SourceRow(dib, l, r);
    std::uint8_t* d = into.row(TargetRow(l, r));
    for (std::size_t x = 0; x < w; ++x, d += 3) {
      const std::uint32_t v = wide ? Le32(s + 4 * x) : Le16(s + 2 * x);
      d[0] = blue(v);
      d[1] = green(v);
      d[2] = red(v);
    }
  }
}

}  // namespace morvex::bmp
