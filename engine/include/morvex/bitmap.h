// The imaging layer: an in-memory bitmap with the behaviour the engine and the
// program rely on.
//
//  - Two pixel formats: 8 bits per pixel with a palette of up to 256 colours,
//    and 24 bits per pixel stored as blue, green, red bytes (the byte order of
//    Windows bitmaps, so file rows copy straight in). Rows are top-down and
//    tightly packed: stride() == width() * bytesPerPixel().
//  - A new bitmap is white.
//  - pixel() outside the image gives kInvalidColour, whose channels all read
//    255; setPixel() outside has no effect; writing kInvalidColour puts black.
//  - sourceBitDepth() remembers the bit depth of the file a bitmap was loaded
//    from (1, 4, 8, 15, 16, 24 or 32; 15 is 16-bit 5-5-5, 16 is 5-6-5) so the
//    program can report it. A bitmap made in memory reports its own format.
//
// Hot loops should use row() and stride(); pixel()/setPixel() are for places
// that need the outside-the-image rules.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace morvex {

// A colour value as 0x00BBGGRR. kInvalidColour is what a read outside an image
// returns.
using Colour = std::uint32_t;
inline constexpr Colour kInvalidColour = 0xFFFFFFFFu;

constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// round((r + g + b) / 3) with ties to even. The sum is an integer, so the
// quotient never ends in .5 and (sum + 1) / 3 is exactly that rounding.
constexpr int BrightnessOf(int r, int g, int b) { return (r + g + b + 1) / 3; }
// Brightness of a colour value; the invalid colour has brightness 255.
constexpr int Brightness(Colour c) { return BrightnessOf(RedOf(c), GreenOf(c), BlueOf(c)); }

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PixelFormat : std::uint8_t { Indexed8, Rgb24 };

// The 256-level grey palette: entry i is (i, i, i).
const std::array<Rgb, 256>& GreyPalette();

class Bitmap {
 public:
  Bitmap() = default;
  // A white bitmap. Indexed8 bitmaps start with the grey palette.
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Rgb24);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  PixelFormat format() const { return format_; }
  int bytesPerPixel() const { return format_ == PixelFormat::Rgb24 ? 3 : 1; }
  std::ptrdiff_t stride() const { return static_cast<std::ptrdiff_t>(width_) * bytesPerPixel(); }

  int sourceBitDepth() const;
  void setSourceBitDepth(int bits) { sourceBitDepth_ = bits; }

  // Resizes to width x height and makes every pixel white, keeping the format
  // and palette (a change to Indexed8 installs the grey palette) and
  // forgetting the source bit depth. The storage is reused when it is large
  // enough, so a bitmap that is loaded again and again allocates only when
  // the images grow.
  void reset(int width, int height, PixelFormat format);
  // Like reset() but leaves the pixel bytes unspecified: for readers that
  // write every pixel themselves and should not pay for a white fill first.
  void resetForOverwrite(int width, int height, PixelFormat format);

  // Changes the size keeping the top-left content; new area is white.
  void setSize(int width, int height);

  // Converts the pixels. Indexed8 -> Rgb24 expands the palette. Rgb24 ->
  // Indexed8 reduces each pixel to the grey of its Brightness and installs the
  // grey palette (this layer's 8-bit reduction is to grey, which is all the
  // program needs).
  void setFormat(PixelFormat format);

  // The palette of an Indexed8 bitmap (paletteSize() entries are in use).
  std::span<const Rgb> palette() const { return {palette_.data(), paletteSize_}; }
  int paletteSize() const { return static_cast<int>(paletteSize_); }
  // Installs palette entries without touching the pixel indices (for readers
  // that fill indices and colour table separately). At most 256 entries.
  void setPaletteEntries(std::span<const Rgb> entries);
  // Replaces the palette and maps every pixel to the nearest colour of the new
  // palette (squared distance, lowest index on ties). A 24-bit bitmap becomes
  // 8 bits per pixel with that palette.
  void replacePalette(std::span<const Rgb> entries);
  bool hasGreyPalette() const { return greyPalette_; }

  std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::ptrdiff_t>(y) * stride(); }
  const std::uint8_t* row(int y) const { return pixels_.data() + static_cast<std::ptrdiff_t>(y) * stride(); }
  std::uint8_t* data() { return pixels_.data(); }
  const std::uint8_t* data() const { return pixels_.data(); }

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Colour pixel(int x, int y) const;
  void setPixel(int x, int y, Colour c);

  // Index of the palette entry nearest to c (squared distance, lowest index on ties).
  std::uint8_t nearestIndex(Colour c) const;

 private:
  void updateGreyFlag();
  void resize(int width, int height, PixelFormat format);

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Rgb24;
  int sourceBitDepth_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::array<Rgb, 256> palette_{};
  std::size_t paletteSize_ = 0;
  bool greyPalette_ = false;
};

// Rectangle with exclusive right and bottom bounds. A source rectangle whose
// right < left (or bottom < top) runs backwards and mirrors the copy.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Copies src's rectangle onto dst's rectangle with nearest-neighbour scaling.
// Destination pixel i of n takes source coordinate
// from + floor((2i + 1) * (to - from) / (2n)), so the whole source rectangle
// maps onto the whole destination; a backwards source rectangle [from, to)
// with from > to covers from - 1 down to to. Source points outside src read as
// the invalid colour and so write black; destination points outside dst are
// skipped. src and dst may be the same bitmap: the copy then reads a snapshot.
void StretchCopy(Bitmap& dst, Rect dstRect, const Bitmap& src, Rect srcRect);

// Draws the whole of src onto dst with its top-left corner at (x, y).
void Draw(Bitmap& dst, int x, int y, const Bitmap& src);

// A pen drawing straight lines on a bitmap. A width-w pen paints a w x w
// square centred on every point of the line, so lines are solid w pixels wide.
class Canvas {
 public:
  explicit Canvas(Bitmap& target) : target_(target) {}
  void setPen(int width, Colour colour) {
    penWidth_ = width < 1 ? 1 : width;
    penColour_ = colour;
  }
  void moveTo(int x, int y) {
    x_ = x;
    y_ = y;
  }
  // Draws from the current position to (x, y), both ends included, and moves there.
  void lineTo(int x, int y);

 private:
  void dab(int x, int y);

  Bitmap& target_;
  int penWidth_ = 1;
  Colour penColour_ = 0;
  int x_ = 0, y_ = 0;
};

}  // namespace morvex
