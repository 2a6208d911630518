// Reading the fields of a DIB's header, whichever of the two header kinds it
// has, from bytes that may lie at any address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace morvex::twain {

struct DibFields {
  std::uint32_t headerSize = 0;
  bool core = false;  // the 12-byte BITMAPCOREHEADER
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::uint32_t clrUsed = 0;
};

// The fields of the header at `header`. `available` bytes may be read; a
// header that does not fit gives headerSize 0.
DibFields ReadDibFields(const void* header, std::size_t available = 40);

template <typename T>
T LoadAt(const void* base, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(base) + offset, sizeof value);
  return value;
}

template <typename T>
void StoreAt(void* base, std::size_t offset, T value) {
  std::memcpy(static_cast<unsigned char*>(base) + offset, &value, sizeof value);
}

// Colour-table entries stored between the header (and masks) and the pixels:
// the colour count, or biClrUsed itself when it declares more than 256.
std::uint64_t DeclaredTableEntries(const DibFields& fields);
// Bytes of bit-field masks after a 40-byte BI_BITFIELDS header.
std::size_t MaskBytes(const DibFields& fields);
// Bytes per colour-table entry: 3 after a core header, else 4.
inline std::size_t TableEntryBytes(const DibFields& fields) { return fields.core ? 3 : 4; }
int ColorCountOf(const DibFields& fields);

}  // namespace morvex::twain
