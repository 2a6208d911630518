// Reading and checking a DIB's info header and placing its data.
#include <algorithm>
#include <bit>

#include "imaging/dib_layout.h"
#include "imaging/le_bytes.h"
#include "morvex/bmp.h"

namespace morvex::bmp {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

// Sanity caps. No scanner or camera image comes near them; they keep a lying
// header from asking for gigabytes. 2^27 pixels are 384 MiB at 24 bits.
constexpr std::int64_t kMaxDimension = 1 << 20;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 27;
// Pixels per metre; 1,000,000 is 25,400 dpi.
constexpr std::int32_t kMaxDensity = 1000000;
// An RLE stream describes at most 255 pixels with two bytes.
constexpr std::int64_t kRlePixelsPerByte = 128;

[[noreturn]] void Refuse() { throw BitmapFormatError(); }

// 12: OS/2 1.x core; 16 and 64: OS/2 2.x; 40: BITMAPINFOHEADER; 52, 56: the
// V2 and V3 headers with masks; 108: V4; 124: V5.
bool KnownHeaderSize(std::uint32_t size) {
  switch (size) {
    case 12: case 16: case 40: case 52: case 56: case 64: case 108: case 124:
      return true;
    default:
      return false;
  }
}

bool IsOs2V2(std::uint32_t headerSize) { return headerSize == 16 || headerSize == 64; }

// A channel mask must be one run of set bits inside the pixel.
ChannelMask MakeMask(std::uint32_t mask, int bitCount) {
  if (mask == 0) Refuse();
  if (bitCount == 16 && mask > 0xFFFFu) Refuse();
  const int shift = std::countr_zero(mask);
  const std::uint32_t run = mask >> shift;
  if ((run & (run + 1)) != 0) Refuse();
  return {mask, shift, std::popcount(run)};
}

struct Fields {
  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bitCount = 0, compression = kBiRgb, sizeImage = 0, clrUsed = 0;
  std::int32_t xDensity = 0, yDensity = 0;
};

Fields ReadFields(const std::uint8_t* h, std::uint32_t size) {
  Fields f;
  if (size == 12) {
    f.width = Le16(h + 4);
    f.height = Le16(h + 6);
    f.planes = Le16(h + 8);
    f.bitCount = Le16(h + 10);
    return f;
  }
  // The OS/2 2.x header may stop after any field; absent fields are zero.
  f.width = LeS32(h + 4);
  f.height = LeS32(h + 8);
  f.planes = Le16(h + 12);
  f.bitCount = Le16(h + 14);
  if (size >= 20) f.compression = Le32(h + 16);
  if (size >= 24) f.sizeImage = Le32(h + 20);
  if (size >= 28) f.xDensity = LeS32(h + 24);
  if (size >= 32) f.yDensity = LeS32(h + 28);
  if (size >= 36) f.clrUsed = Le32(h + 32);
  return f;
}

bool ValidBitCount(std::uint32_t bits, bool core) {
  switch (bits) {
    case 1: case 4: case 8: case 24:
      return true;
    case 16: case 32:
      return !core;
    default:
      return false;
  }
}

void ReadMasks(std::span<const std::uint8_t> dib, std::uint32_t compression, DibLayout& l) {
  std::array<std::uint32_t, 3> m{};
  if (compression == kBiBitFields || compression == kBiAlphaBitFields) {
    // V2 and later headers hold the masks; BITMAPINFOHEADER is followed by them.
    std::size_t at = l.headerSize >= 52 ? 40 : l.headerSize;
    if (l.headerSize < 52) {
      const std::size_t count = compression == kBiAlphaBitFields ? 4 : 3;
      if (dib.size() < l.headerSize + 4 * count) Refuse();
      l.tableOffset = l.headerSize + 4 * count;
    }
    for (auto& v : m) {
      v = Le32(dib.data() + at);
      at += 4;
    }
  } else if (l.bitCount == 16) {
    m = {0x7C00, 0x03E0, 0x001F};
  } else {
    m = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  for (std::size_t i = 0; i < 3; ++i) l.masks[i] = MakeMask(m[i], l.bitCount);
  if ((m[0] & m[1]) || (m[0] & m[2]) || (m[1] & m[2])) Refuse();
  if (l.bitCount == 16) {
    const bool is555 = m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F;
    l.sourceBitDepth = is555 ? 15 : 16;
  }
}

}  // namespace

DibLayout ReadInfoHeader(std::span<const std::uint8_t> dib) {
  if (dib.size() < 4) Refuse();
  DibLayout l;
  l.headerSize = Le32(dib.data());
  if (!KnownHeaderSize(l.headerSize) || dib.size() < l.headerSize) Refuse();
  const bool core = l.headerSize == 12;
  const Fields f = ReadFields(dib.data(), l.headerSize);

  if (f.planes != 1 || !ValidBitCount(f.bitCount, core)) Refuse();
  if (f.width <= 0 || f.height == 0) Refuse();
  const std::int64_t height = f.height < 0 ? -f.height : f.height;
  if (f.width > kMaxDimension || height > kMaxDimension || f.width * height > kMaxPixels) Refuse();
  if (f.xDensity < 0 || f.xDensity > kMaxDensity || f.yDensity < 0 || f.yDensity > kMaxDensity) Refuse();

  l.width = static_cast<int>(f.width);
  l.height = static_cast<int>(height);
  l.topDown = f.height < 0;
  l.bitCount = static_cast<int>(f.bitCount);
  l.sourceBitDepth = l.bitCount;
  l.sizeImage = f.sizeImage;
  l.tableOffset = l.headerSize;
  l.tableEntrySize = core ? 3 : 4;

  switch (f.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
    case kBiRle4:
      // RLE bitmaps are bottom-up by definition.
      if (l.bitCount != (f.compression == kBiRle8 ? 8 : 4) || l.topDown) Refuse();
      l.encoding = f.compression == kBiRle8 ? Encoding::Rle8 : Encoding::Rle4;
      break;
    case kBiBitFields:
    case kBiAlphaBitFields:
      // For the OS/2 2.x headers 3 means Huffman 1D, which is not read.
      if (IsOs2V2(l.headerSize) || (l.bitCount != 16 && l.bitCount != 32)) Refuse();
      break;
    default:
      Refuse();  // JPEG, PNG, OS/2 RLE24 and anything unknown
  }
  if (l.bitCount == 16 || l.bitCount == 32) ReadMasks(dib, f.compression, l);

  if (core) {
    l.tableDeclared = l.bitCount <= 8 ? (std::uint64_t{1} << l.bitCount) : 0;
  } else if (f.clrUsed != 0) {
    l.tableDeclared = f.clrUsed;
  } else {
    l.tableDeclared = l.bitCount <= 8 ? (std::uint64_t{1} << l.bitCount) : 0;
  }
  return l;
}

void PlaceData(DibLayout& l, std::span<const std::uint8_t> dib, std::optional<std::size_t> pixelOffset) {
  const std::uint64_t tableEnd = l.tableOffset + l.tableDeclared * l.tableEntrySize;
  // A table longer than the pixel format needs (an oversize biClrUsed, or a
  // table given to a 16-, 24- or 32-bit image) must still be there in full.
  const bool extraTable = l.bitCount > 8 ? l.tableDeclared > 0 : l.tableDeclared > (std::uint64_t{1} << l.bitCount);
  if (tableEnd > dib.size() && (extraTable || !pixelOffset)) Refuse();

  std::size_t offset = 0;
  if (pixelOffset) {
    offset = *pixelOffset;
    if (offset < l.tableOffset || offset > dib.size()) Refuse();
  } else {
    offset = static_cast<std::size_t>(tableEnd);
  }
  l.pixelOffset = offset;

  if (l.bitCount <= 8) {
    const std::uint64_t fits = (offset - l.tableOffset) / l.tableEntrySize;
    const std::uint64_t entries = std::min({l.tableDeclared, std::uint64_t{1} << l.bitCount, fits});
    if (entries == 0) Refuse();
    l.paletteEntries = static_cast<std::size_t>(entries);
  }

  const std::uint64_t available = dib.size() - offset;
  if (l.sizeImage > available) Refuse();
  const auto pixels = static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height);
  if (l.encoding == Encoding::Rows) {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.bitCount) + 31) / 32 * 4;
    const std::uint64_t need = rowBytes * static_cast<std::uint64_t>(l.height);
    if (need > available) Refuse();
    l.rowBytes = static_cast<std::size_t>(rowBytes);
    l.pixelBytes = static_cast<std::size_t>(need);
  } else {
    const std::uint64_t stream = l.sizeImage != 0 ? l.sizeImage : available;
    if (pixels > stream * kRlePixelsPerByte) Refuse();
    l.pixelBytes = static_cast<std::size_t>(stream);
  }
}

}  // namespace morvex::bmp
