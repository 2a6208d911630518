// Where a scan's packed device-independent bitmap (DIB) is written, and what
// it holds.
//
// The DIB is one block: a 40-byte BITMAPINFOHEADER, the colour table and the
// pixel rows, bottom-up, each padded with zero bytes to a multiple of 4. The
// resolution is in biXPelsPerMeter/biYPelsPerMeter. Three kinds come out:
//   - 1-bit line art, colour table black (index 0) and white (index 1);
//   - 8-bit grey, colour table entry i = (i, i, i);
//   - 24-bit colour, blue, green, red bytes.
// SANE's 16-bit samples become 8 bits as round(v / 257): the nearest of the
// 256 levels on the same 0..full scale (0 -> 0, 65535 -> 255, 257 k -> k).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace morvex::sane {

// The caller's storage for the DIB, so that a scan can be written straight
// into the memory that finally carries it (a global memory block handed to an
// application, for instance) and is not copied again.
class DibStorage {
 public:
  virtual ~DibStorage() = default;
  // Makes the block exactly `bytes` long, keeping its first min(old, new)
  // bytes, and returns the whole block. Bytes beyond the old size are
  // unspecified. Throws (std::bad_alloc or the storage's own error) when it
  // cannot; the block is then unchanged.
  virtual std::span<std::uint8_t> resize(std::size_t bytes) = 0;
};

// A DibStorage on the C heap. Growing uses realloc, which moves large blocks
// by remapping pages rather than copying them.
class HeapDibStorage final : public DibStorage {
 public:
  HeapDibStorage() = default;
  ~HeapDibStorage() override;
  HeapDibStorage(const HeapDibStorage&) = delete;
  HeapDibStorage& operator=(const HeapDibStorage&) = delete;

  std::span<std::uint8_t> resize(std::size_t bytes) override;
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// What a finished scan holds; its DIB is the first dibSize bytes of the storage.
struct ScannedImage {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 1, 8 or 24
  int dpiX = 0;          // as the device reported it, 0 when unknown
  int dpiY = 0;
  std::size_t dibSize = 0;
};

// Pixels per metre of a resolution in dots per inch: round(dpi / 0.0254).
std::int32_t PixelsPerMetre(double dpi);

}  // namespace morvex::sane
