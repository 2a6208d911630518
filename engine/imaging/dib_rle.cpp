// RLE8 and RLE4 streams. Rows run bottom-up; an encoded run repeats one index
// (RLE8) or alternates two (RLE4); escape 0 ends a row, 1 ends the bitmap, 2
// moves right and up by the next two bytes, 3..255 start a literal run padded
// to a 16-bit boundary. A run or move that leaves the image, an index past the
// colour table or a stream that stops before its end refuses the file.
#include "imaging/dib_layout.h"
#include "morvex/bmp.h"

namespace morvex::bmp {

namespace {

[[noreturn]] void Refuse() { throw BitmapFormatError(); }

class RleDecoder {
 public:
  RleDecoder(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into)
      : p_(dib.data() + l.pixelOffset),
        end_(p_ + l.pixelBytes),
        four_(l.encoding == Encoding::Rle4),
        width_(l.width),
        height_(l.height),
        colours_(l.paletteEntries),
        into_(into) {}

  void run() {
    for (;;) {
      if (end_ - p_ < 2) Refuse();  // the stream ends without end-of-bitmap
      const int count = p_[0];
      const std::uint8_t value = p_[1];
      p_ += 2;
      if (count > 0) {
        repeat(count, value);
      } else if (value == 0) {
        x_ = 0;
        if (++y_ == height_) return;  // the last row is complete
      } else if (value == 1) {
        return;
      } else if (value == 2) {
        if (end_ - p_ < 2) Refuse();
        x_ += p_[0];
        y_ += p_[1];
        p_ += 2;
        if (x_ > width_ || y_ >= height_) Refuse();
      } else {
        literal(value);
      }
    }
  }

 private:
  std::uint8_t* span(int count) {
    if (x_ + count > width_) Refuse();
    std::uint8_t* d = into_.row(height_ - 1 - y_) + x_;
    x_ += count;
    return d;
  }
  std::uint8_t checked(unsigned index) const {
    if (index >= colours_) Refuse();
    return static_cast<std::uint8_t>(index);
  }

  void repeat(int count, std::uint8_t value) {
    std::uint8_t* d = span(count);
    if (!four_) {
      const std::uint8_t v = checked(value);
      for (int i = 0; i < count; ++i) d[i] = v;
      return;
    }
    const std::uint8_t hi = checked(value >> 4);
    const std::uint8_t lo = count > 1 ? checked(value & 0x0F) : 0;
    for (int i = 0; i < count; ++i) d[i] = (i & 1) ? lo : hi;
  }

  void literal(int count) {
    const std::ptrdiff_t bytes = four_ ? (count + 1) / 2 : count;
    if (end_ - p_ < bytes) Refuse();
    std::uint8_t* d = span(count);
    for (int i = 0; i < count; ++i) {
      const unsigned v = four_ ? ((i & 1) ? p_[i / 2] & 0x0F : p_[i / 2] >> 4) : p_[i];
      d[i] = checked(v);
    }
    // Literal runs are padded to an even byte count; the pad byte may be
    // missing at the very end of a stream.
    p_ += bytes;
    if ((bytes & 1) != 0 && p_ < end_) ++p_;
  }

  const std::uint8_t* p_;
  const std::uint8_t* end_;
  bool four_;
  int width_, height_;
  std::size_t colours_;
  Bitmap& into_;
  int x_ = 0, y_ = 0;
};

}  // namespace

void DecodeRle(std::span<const std::uint8_t> dib, const DibLayout& l, Bitmap& into) { RleDecoder(dib, l, into).run(); }

}  // namespace morvex::bmp
