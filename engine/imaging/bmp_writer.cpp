// Writing bottom-up BITMAPINFOHEADER files: 24 bits, or 8 bits with palette.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "imaging/le_bytes.h"
#include "morvex/bmp.h"

namespace morvex {

namespace {

using bmp::PutLe16;
using bmp::PutLe32;

constexpr std::uint32_t kHeadersSize = 14 + 40;

// Colour-table entries to write: the palette, extended to the highest index
// in use so that every pixel has an entry (entries past the palette read as
// black in memory and are written so).
std::size_t ColourCount(const Bitmap& b) {
  if (b.format() != PixelFormat::Indexed8) return 0;
  std::size_t count = static_cast<std::size_t>(b.paletteSize());
  if (count < 256) {
    const std::size_t bytes = static_cast<std::size_t>(b.stride()) * static_cast<std::size_t>(b.height());
    if (bytes > 0) count = std::max<std::size_t>(count, std::size_t{*std::max_element(b.data(), b.data() + bytes)} + 1);
  }
  return std::max<std::size_t>(count, 1);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Bitmap& b) {
  if (b.empty()) throw std::runtime_error("Cannot write an empty bitmap as a .bmp file");
  const bool indexed = b.format() == PixelFormat::Indexed8;
  const std::uint32_t bits = indexed ? 8 : 24;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(b.width()) * bits + 31) / 32 * 4;
  const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(b.height());
  const std::size_t colours = ColourCount(b);
  const std::uint64_t offBits = kHeadersSize + 4 * colours;
  if (offBits + imageBytes > 0xFFFFFFFFu) throw std::runtime_error("Bitmap too large for a .bmp file");

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(offBits + imageBytes));
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  PutLe32(out, static_cast<std::uint32_t>(offBits + imageBytes));
  PutLe32(out, 0);
  PutLe32(out, static_cast<std::uint32_t>(offBits));
  // BITMAPINFOHEADER
  PutLe32(out, 40);
  PutLe32(out, static_cast<std::uint32_t>(b.width()));
  PutLe32(out, static_cast<std::uint32_t>(b.height()));  // positive: bottom-up
  PutLe16(out, 1);
  PutLe16(out, bits);
  PutLe32(out, 0);  // BI_RGB
  PutLe32(out, static_cast<std::uint32_t>(imageBytes));
  PutLe32(out, 0);  // no resolution recorded
  PutLe32(out, 0);
  PutLe32(out, static_cast<std::uint32_t>(colours));
  PutLe32(out, 0);
  // Colour table: blue, green, red, reserved.
  const auto palette = b.palette();
  for (std::size_t i = 0; i < colours; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{};
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  // Rows from the bottom up, each padded with zeros to a multiple of 4 bytes.
  const std::size_t used = static_cast<std::size_t>(b.stride());
  for (int y = b.height() - 1; y >= 0; --y) {
    out.insert(out.end(), b.row(y), b.row(y) + used);
    out.resize(out.size() + static_cast<std::size_t>(rowBytes) - used, 0);
  }
  return out;
}

void SaveBmpFile(const std::filesystem::path& path, const Bitmap& bitmap) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(bitmap);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw FileWriteError("Cannot create file \"" + path.string() + "\". " + std::strerror(errno));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeError = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed)
    throw FileWriteError("Cannot write file \"" + path.string() + "\". " + std::strerror(written ? errno : writeError));
}

}  // namespace morvex
