// Writes the fuzzer's seed corpus into the folder given as the only argument:
// one small file or packed DIB per format the reader knows.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "dib_builder.h"
#include "morvex/bmp.h"

namespace {

using morvex::Bitmap;
using morvex::MakeColour;
using morvex::PixelFormat;
using morvex::Rgb;
using morvex::testing::BuildBmpFile;
using morvex::testing::BuildPackedDib;
using morvex::testing::DibLayout;
using morvex::testing::PackRows;

std::filesystem::path folder;

void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<Rgb> Palette(int n) {
  std::vector<Rgb> p;
  for (int i = 0; i < n; ++i) p.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i), 9});
  return p;
}

std::vector<std::uint32_t> Values(int w, int h, std::uint32_t modulo, std::uint32_t scale = 1) {
  std::vector<std::uint32_t> v;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.push_back((static_cast<std::uint32_t>(x + 3 * y) % modulo) * scale);
  return v;
}

DibLayout Indexed(int bits, int w, int h, std::uint32_t headerSize = 40) {
  DibLayout s;
  s.headerSize = headerSize;
  s.width = w;
  s.height = h;
  s.bitCount = static_cast<std::uint16_t>(bits);
  s.palette = Palette(1 << bits);
  s.pixels = PackRows(w, h, bits, Values(w, h, 1u << bits));
  return s;
}

DibLayout Colour(int bits, std::uint32_t compression, std::optional<std::array<std::uint32_t, 3>> masks,
               std::uint32_t headerSize = 40) {
  DibLayout s;
  s.headerSize = headerSize;
  s.width = 5;
  s.height = -3;
  s.bitCount = static_cast<std::uint16_t>(bits);
  s.compression = compression;
  s.masks = masks;
  s.pixels = PackRows(5, 3, bits, Values(5, 3, 251, 0x010203), true);
  return s;
}

DibLayout Rle(int bits, std::vector<std::uint8_t> stream) {
  DibLayout s;
  s.width = 6;
  s.height = 3;
  s.bitCount = static_cast<std::uint16_t>(bits);
  s.compression = bits == 8 ? 1 : 2;
  s.clrUsed = 12;
  s.palette = Palette(12);
  s.pixels = std::move(stream);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  folder = argv[1];
  std::filesystem::create_directories(folder);

  Bitmap rgb(7, 3);
  for (int x = 0; x < 7; ++x) rgb.setPixel(x, 1, MakeColour(static_cast<std::uint8_t>(x * 30), 20, 200));
  Write("writer-24.bmp", EncodeBmp(rgb));
  Bitmap grey(5, 4, PixelFormat::Indexed8);
  grey.setPixel(2, 2, MakeColour(69, 70, 70));
  Write("writer-8.bmp", EncodeBmp(grey));

  Write("pal1.bmp", BuildBmpFile(Indexed(1, 13, 3)));
  Write("pal4.bmp", BuildBmpFile(Indexed(4, 5, 3)));
  Write("pal8.bmp", BuildBmpFile(Indexed(8, 3, 2)));
  Write("pal8-core.bmp", BuildBmpFile(Indexed(8, 3, 2, 12)));
  Write("pal4-os2v2.bmp", BuildBmpFile(Indexed(4, 3, 2, 16)));
  Write("pal8-v5.bmp", BuildBmpFile(Indexed(8, 3, 2, 124)));
  Write("pal4-packed.dib", BuildPackedDib(Indexed(4, 5, 3)));
  Write("pal1-core-packed.dib", BuildPackedDib(Indexed(1, 9, 2, 12)));

  Write("rgb24.bmp", BuildBmpFile(Colour(24, 0, std::nullopt)));
  Write("rgb555.bmp", BuildBmpFile(Colour(16, 0, std::nullopt)));
  Write("rgb565.bmp", BuildBmpFile(Colour(16, 3, std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F})));
  Write("rgb32.bmp", BuildBmpFile(Colour(32, 0, std::nullopt)));
  Write("rgb32-fields.bmp", BuildBmpFile(Colour(32, 3, std::array<std::uint32_t, 3>{0x3FF00000, 0xFFC00, 0x3FF})));
  Write("rgb16-v5.bmp", BuildBmpFile(Colour(16, 3, std::array<std::uint32_t, 3>{0xF00, 0xF0, 0xF}, 124)));
  Write("rgb565-packed.dib", BuildPackedDib(Colour(16, 3, std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F})));

  Write("rle8.bmp", BuildBmpFile(Rle(8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 2, 7, 0, 2, 0, 1, 1, 9, 0, 1})));
  Write("rle4.bmp", BuildBmpFile(Rle(4, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 1, 0x60, 0, 0, 4, 0xAB, 0, 1})));
  Write("rle8-packed.dib", BuildPackedDib(Rle(8, {6, 1, 0, 0, 0, 6, 1, 2, 3, 4, 5, 6, 0, 1})));
  return 0;
}
