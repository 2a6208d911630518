// Header fields, colour counts and where the pixels begin.
#include "dib_header.h"

#include "morvex/twain/dib.h"

namespace morvex::twain {

DibFields ReadDibFields(const void* header, std::size_t available) {
  DibFields f;
  if (header == nullptr || available < 4) return f;
  const auto size = LoadAt<std::uint32_t>(header, 0);
  if (size == 12 && available >= 12) {
    f.headerSize = 12;
    f.core = true;
    f.width = LoadAt<std::uint16_t>(header, 4);
    f.height = LoadAt<std::uint16_t>(header, 6);
    f.bitCount = LoadAt<std::uint16_t>(header, 10);
  } else if (size >= 40 && available >= 40) {
    f.headerSize = size;
    f.width = LoadAt<std::int32_t>(header, 4);
    f.height = LoadAt<std::int32_t>(header, 8);
    f.bitCount = LoadAt<std::uint16_t>(header, 14);
    f.compression = LoadAt<std::uint32_t>(header, 16);
    f.sizeImage = LoadAt<std::uint32_t>(header, 20);
    f.clrUsed = LoadAt<std::uint32_t>(header, 32);
  }
  return f;
}

int ColorCountOf(const DibFields& f) {
  std::uint64_t count = 0;
  if (f.core) {
    count = f.bitCount < 32 ? std::uint64_t{1} << f.bitCount : 0;
  } else if (f.clrUsed != 0) {
    count = f.clrUsed;
  } else {
    count = f.bitCount < 32 ? std::uint64_t{1} << f.bitCount : 0;
  }
  return count > 256 ? 0 : static_cast<int>(count);
}

std::uint64_t DeclaredTableEntries(const DibFields& f) {
  if (!f.core && f.clrUsed > 256) return f.clrUsed;
  return static_cast<std::uint64_t>(ColorCountOf(f));
}

std::size_t MaskBytes(const DibFields& f) { return f.headerSize == 40 && f.compression == BI_BITFIELDS ? 12 : 0; }

int TWAIN_DibColorCount(const void* header) {
  const auto size = LoadAt<std::uint32_t>(header, 0);
  return ColorCountOf(ReadDibFields(header, size == 12 ? 12 : 40));
}

std::size_t TWAIN_DibPixelOffset(const void* header) {
  const auto size = LoadAt<std::uint32_t>(header, 0);
  const DibFields f = ReadDibFields(header, size == 12 ? 12 : 40);
  return static_cast<std::size_t>(size) + MaskBytes(f) +
         static_cast<std::size_t>(DeclaredTableEntries(f)) * TableEntryBytes(f);
}

const std::uint8_t* TWAIN_DibPixels(const void* header) {
  return static_cast<const std::uint8_t*>(header) + TWAIN_DibPixelOffset(header);
}

}  // namespace morvex::twain
