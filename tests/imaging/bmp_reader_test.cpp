// The .bmp reader on files and packed DIBs built byte by byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "dib_builder.h"
#include "morvex/bmp.h"
#include "case_name.h"

namespace morvex {
namespace {

using testing::BuildBmpFile;
using testing::BuildPackedDib;
using testing::DibLayout;
using testing::PackRows;

std::vector<Rgb> Palette(int n) {
  std::vector<Rgb> p;
  for (int i = 0; i < n; ++i) p.push_back({static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3 + 1)});
  return p;
}

// Index values (x + 3y) mod n, row-major from the top.
std::vector<std::uint32_t> Indices(int w, int h, int n) {
  std::vector<std::uint32_t> v;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.push_back(static_cast<std::uint32_t>((x + 3 * y) % n));
  return v;
}

Bitmap Decode(const std::vector<std::uint8_t>& file) {
  Bitmap b;
  DecodeBmp(file, b);
  return b;
}

// ---------------------------------------------------------------- palettes

struct IndexedCase {
  std::uint32_t headerSize;
  int bits;
  int width;
  bool topDown;
  int colours;  // table entries written (and biClrUsed)
};

class IndexedFile : public ::testing::TestWithParam<IndexedCase> {};

TEST_P(IndexedFile, DecodesIndicesAndPalette) {
  const IndexedCase c = GetParam();
  const int h = 3;
  DibLayout s;
  s.headerSize = c.headerSize;
  s.width = c.width;
  s.height = c.topDown ? -h : h;
  s.bitCount = static_cast<std::uint16_t>(c.bits);
  s.clrUsed = c.headerSize == 12 ? 0 : static_cast<std::uint32_t>(c.colours);
  s.palette = Palette(c.colours);
  const auto values = Indices(c.width, h, c.colours);
  s.pixels = PackRows(c.width, h, c.bits, values, c.topDown);

  const Bitmap b = Decode(BuildBmpFile(s));
  ASSERT_EQ(b.width(), c.width);
  ASSERT_EQ(b.height(), h);
  EXPECT_EQ(b.format(), PixelFormat::Indexed8);
  EXPECT_EQ(b.sourceBitDepth(), c.bits);
  ASSERT_EQ(b.paletteSize(), c.colours);
  for (int i = 0; i < c.colours; ++i) EXPECT_EQ(b.palette()[static_cast<std::size_t>(i)], s.palette[static_cast<std::size_t>(i)]);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < c.width; ++x)
      ASSERT_EQ(b.row(y)[x], values[static_cast<std::size_t>(y * c.width + x)]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, IndexedFile,
    ::testing::Values(IndexedCase{40, 1, 1, false, 2}, IndexedCase{40, 1, 33, false, 2}, IndexedCase{40, 1, 9, true, 2},
                      IndexedCase{40, 4, 7, false, 16}, IndexedCase{40, 4, 5, true, 5},  // short palette
                      IndexedCase{40, 8, 3, false, 256}, IndexedCase{40, 8, 6, true, 17},
                      IndexedCase{12, 1, 13, false, 2}, IndexedCase{12, 4, 3, false, 16},  // OS/2 1.x
                      IndexedCase{12, 8, 5, false, 256}, IndexedCase{16, 8, 5, false, 9},   // OS/2 2.x
                      IndexedCase{64, 4, 5, false, 16}, IndexedCase{108, 8, 7, false, 3},   // V4
                      IndexedCase{124, 8, 2, true, 4}),
    [](const auto& info) {
      const IndexedCase& c = info.param;
      return ::morvex::testing::CaseName("header", c.headerSize) + "_" + ::morvex::testing::CaseName("bits", c.bits) + "_" + ::morvex::testing::CaseName("width", c.width) +
             (c.topDown ? "_top_down_" : "_") + ::morvex::testing::CaseName("colours", c.colours);
    });                                     // V5

// A one-row 8-bit file of `values` with `colours` table entries.
DibLayout Row8(const std::vector<std::uint32_t>& values, int colours, std::uint32_t clrUsed) {
  DibLayout s;
  s.width = static_cast<std::int32_t>(values.size());
  s.height = 1;
  s.bitCount = 8;
  s.clrUsed = clrUsed;
  s.palette = Palette(colours);
  s.pixels = PackRows(s.width, 1, 8, values);
  return s;
}

TEST(IndexedFile, IndexPastTheColourTableIsRefused) {
  EXPECT_NO_THROW(Decode(BuildBmpFile(Row8({0, 1, 2, 2}, 3, 3))));
  EXPECT_THROW(Decode(BuildBmpFile(Row8({0, 1, 2, 3}, 3, 3))), BitmapFormatError);
}

TEST(IndexedFile, TableEndsAtThePixelOffset) {
  // biClrUsed 0 declares 256 entries, but the pixels begin after 4 of them.
  const DibLayout s = Row8({3, 1}, 4, 0);
  const Bitmap b = Decode(BuildBmpFile(s));
  EXPECT_EQ(b.paletteSize(), 4);
  EXPECT_EQ(b.pixel(0, 0), MakeColour(s.palette[3].r, s.palette[3].g, s.palette[3].b));
}

TEST(IndexedFile, OversizeClrUsedNeedsItsWholeTable) {
  EXPECT_EQ(Decode(BuildBmpFile(Row8({255, 1}, 300, 300))).paletteSize(), 256);
  // The file claims more table than it holds.
  EXPECT_THROW(Decode(BuildBmpFile(Row8({255, 1}, 256, 100000))), BitmapFormatError);
}

TEST(IndexedFile, GapBeforeThePixelsIsSkipped) {
  DibLayout s = Row8({1, 0, 1}, 2, 2);
  s.pixels.insert(s.pixels.begin(), {9, 9, 9, 9});  // 4 filler bytes, then the row
  s.sizeImage = 4;
  const Bitmap b = Decode(BuildBmpFile(s, 14 + 40 + 8 + 4));
  EXPECT_EQ(b.row(0)[0], 1);
  EXPECT_EQ(b.row(0)[1], 0);
  EXPECT_EQ(b.row(0)[2], 1);
}

// ------------------------------------------------------------ colour rows

struct ColourCase {
  const char* name;
  std::uint32_t headerSize;
  int bits;
  std::uint32_t compression;
  std::optional<std::array<std::uint32_t, 3>> masks;
  std::uint32_t pixel;  // one stored pixel value
  Colour expected;
  int depth;
};

class ColourFile : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourFile, DecodesChannels) {
  const ColourCase c = GetParam();
  DibLayout s;
  s.headerSize = c.headerSize;
  s.width = 3;
  s.height = -2;
  s.bitCount = static_cast<std::uint16_t>(c.bits);
  s.compression = c.compression;
  s.masks = c.masks;
  s.pixels = PackRows(3, 2, c.bits, {0, c.pixel, 0, 0, 0, c.pixel}, true);
  for (const auto& bytes : {BuildBmpFile(s), BuildPackedDib(s)}) {
    Bitmap b;
    if (bytes[0] == 'B')
      DecodeBmp(bytes, b);
    else
      DecodePackedDib(bytes, b);
    EXPECT_EQ(b.format(), PixelFormat::Rgb24);
    EXPECT_EQ(b.sourceBitDepth(), c.depth);
    EXPECT_EQ(b.pixel(1, 0), c.expected);
    EXPECT_EQ(b.pixel(2, 1), c.expected);
    EXPECT_EQ(b.pixel(0, 0), MakeColour(0, 0, 0));
  }
}

using Masks = std::array<std::uint32_t, 3>;
INSTANTIATE_TEST_SUITE_P(
    Formats, ColourFile,
    ::testing::Values(
        ColourCase{"rgb24", 40, 24, 0, std::nullopt, 0x102030, MakeColour(0x10, 0x20, 0x30), 24},
        ColourCase{"rgb555", 40, 16, 0, std::nullopt, 0x7C00 | 0x0010, MakeColour(255, 0, 132), 15},
        ColourCase{"rgb555TopBitIgnored", 40, 16, 0, std::nullopt, 0x8000 | 0x03E0, MakeColour(0, 255, 0), 15},
        ColourCase{"rgb565", 40, 16, 3, Masks{0xF800, 0x07E0, 0x001F}, 0x0020 | 0x0001, MakeColour(0, 4, 8), 16},
        ColourCase{"rgb555Fields", 40, 16, 3, Masks{0x7C00, 0x03E0, 0x001F}, 0x0421, MakeColour(8, 8, 8), 15},
        ColourCase{"rgb32", 40, 32, 0, std::nullopt, 0xAB102030, MakeColour(0x10, 0x20, 0x30), 32},
        ColourCase{"bgr32Fields", 40, 32, 3, Masks{0x0000FF, 0x00FF00, 0xFF0000}, 0x102030, MakeColour(0x30, 0x20, 0x10), 32},
        ColourCase{"wide32", 40, 32, 3, Masks{0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00000 | 0x200, MakeColour(255, 0, 128), 32},
        ColourCase{"v3Masks", 56, 32, 3, Masks{0xFF000000, 0x00FF0000, 0x0000FF00}, 0x11223344, MakeColour(0x11, 0x22, 0x33), 32},
        ColourCase{"v5Masks", 124, 16, 3, Masks{0x0F00, 0x00F0, 0x000F}, 0xF0F0, MakeColour(0, 255, 0), 16},
        ColourCase{"v4RgbIgnoresMasks", 108, 32, 0, Masks{0xFF, 0xFF00, 0xFF0000}, 0x102030, MakeColour(0x10, 0x20, 0x30), 32}),
    [](const auto& info) { return std::string(info.param.name); });

class RefusedMasks : public ::testing::TestWithParam<std::pair<int, Masks>> {};

TEST_P(RefusedMasks, AreRefused) {
  DibLayout s;
  s.width = 1;
  s.height = 1;
  s.bitCount = static_cast<std::uint16_t>(GetParam().first);
  s.compression = 3;
  s.masks = GetParam().second;
  s.pixels = PackRows(1, 1, s.bitCount, {0});
  EXPECT_THROW(Decode(BuildBmpFile(s)), BitmapFormatError);
}

INSTANTIATE_TEST_SUITE_P(Masks, RefusedMasks,
                         ::testing::Values(std::pair{16, Masks{0xFF00, 0x00FF, 0}},          // no blue
                                           std::pair{16, Masks{0xF000, 0x0F00, 0x00F1}},     // two runs
                                           std::pair{16, Masks{0xFF00, 0x0FF0, 0x000F}},     // overlap
                                           std::pair{16, Masks{0xF0000, 0x0F00, 0x00FF}},    // past 16 bits
                                           std::pair{24, Masks{0xFF0000, 0xFF00, 0xFF}}),
                         [](const auto& info) {
                           std::ostringstream name;
                           name << "bits_" << info.param.first << "_masks" << std::hex << std::uppercase;
                           for (const std::uint32_t m : info.param.second) name << "_" << m;
                           return name.str();
                         });  // 24 bits has none

// --------------------------------------------------------------------- RLE

DibLayout RleLayout(int bits, int w, int h, std::vector<std::uint8_t> stream) {
  DibLayout s;
  s.width = w;
  s.height = h;
  s.bitCount = static_cast<std::uint16_t>(bits);
  s.compression = bits == 8 ? 1 : 2;
  s.clrUsed = 12;  // indices 12 to 15 have no colour
  s.palette = Palette(12);
  s.pixels = std::move(stream);
  return s;
}

// Rows of a decoded Indexed8 bitmap, top row first.
std::vector<std::vector<int>> Rows(const Bitmap& b) {
  std::vector<std::vector<int>> rows;
  for (int y = 0; y < b.height(); ++y) rows.emplace_back(b.row(y), b.row(y) + b.width());
  return rows;
}

TEST(Rle8, RunsLiteralsMovesAndEnds) {
  const std::vector<std::uint8_t> stream = {
      3, 5, 0, 3, 1, 2, 3, 0,  // bottom row: run of three 5s, literal 1 2 3 (padded)
      0, 0,                     // end of line
      0, 2, 2, 0,               // move right 2
      2, 7,                     // run of two 7s
      0, 2, 0, 1,               // move up one row
      1, 9,                     // one 9 in the top row at x = 4
      0, 1};                    // end of bitmap
  const Bitmap b = Decode(BuildBmpFile(RleLayout(8, 6, 3, stream)));
  EXPECT_EQ(b.sourceBitDepth(), 8);
  const std::vector<std::vector<int>> expected = {{0, 0, 0, 0, 9, 0}, {0, 0, 7, 7, 0, 0}, {5, 5, 5, 1, 2, 3}};
  EXPECT_EQ(Rows(b), expected);
}

TEST(Rle4, AlternatesNibblesAndReadsPackedLiterals) {
  const std::vector<std::uint8_t> stream = {
      5, 0x12,              // 1 2 1 2 1
      0, 0,                 // end of line
      0, 3, 0x34, 0x50,     // literal 3 4 5 (two bytes, even already)
      1, 0x6F,              // a run of one takes only the high nibble
      0, 0,                 // the last row ends: the stream may stop here
  };
  const Bitmap b = Decode(BuildBmpFile(RleLayout(4, 5, 2, stream)));
  EXPECT_EQ(b.sourceBitDepth(), 4);
  const std::vector<std::vector<int>> expected = {{3, 4, 5, 6, 0}, {1, 2, 1, 2, 1}};
  EXPECT_EQ(Rows(b), expected);
}

TEST(Rle8, EarlyEndLeavesTheRestAsIndexZero) {
  const Bitmap b = Decode(BuildBmpFile(RleLayout(8, 3, 2, {2, 4, 0, 1})));
  const std::vector<std::vector<int>> expected = {{0, 0, 0}, {4, 4, 0}};
  EXPECT_EQ(Rows(b), expected);
}

struct BadRle {
  const char* name;
  int bits;
  std::vector<std::uint8_t> stream;
};

class RefusedRle : public ::testing::TestWithParam<BadRle> {};

TEST_P(RefusedRle, IsRefused) {
  Bitmap b(2, 2);
  EXPECT_THROW(DecodeBmp(BuildBmpFile(RleLayout(GetParam().bits, 4, 2, GetParam().stream)), b), BitmapFormatError);
  EXPECT_TRUE(b.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, RefusedRle,
    ::testing::Values(BadRle{"runPastRowEnd", 8, {5, 1, 0, 1}}, BadRle{"literalPastRowEnd", 8, {2, 1, 0, 3, 1, 1, 1, 0, 0, 1}},
                      BadRle{"moveRightPastRow", 8, {0, 2, 5, 0, 0, 1}}, BadRle{"moveAboveTop", 8, {0, 2, 0, 2, 0, 1}},
                      BadRle{"noEndOfBitmap", 8, {2, 1}}, BadRle{"cutMove", 8, {0, 2, 1}},
                      BadRle{"cutLiteral", 8, {0, 4, 1, 2}}, BadRle{"indexPastTable", 8, {1, 12, 0, 1}},
                      BadRle{"rle4IndexPastTable", 4, {2, 0x1C, 0, 1}},
                      BadRle{"rle4LiteralIndexPastTable", 4, {0, 3, 0x11, 0xD0, 0, 1}}, BadRle{"rle4RunPastRowEnd", 4, {5, 0x11, 0, 1}},
                      BadRle{"empty", 8, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rle, TopDownIsRefused) {
  DibLayout s = RleLayout(8, 2, 2, {0, 1});
  s.height = -2;
  EXPECT_THROW(Decode(BuildBmpFile(s)), BitmapFormatError);
}

TEST(Rle, MorePixelsThanTheStreamCouldDescribeAreRefused) {
  // 4 bytes cannot describe 10000 x 10000 pixels: refused before allocating.
  EXPECT_THROW(Decode(BuildBmpFile(RleLayout(8, 10000, 10000, {0, 0, 0, 1}))), BitmapFormatError);
}

// ----------------------------------------------------------------- headers

DibLayout Small24() {
  DibLayout s;
  s.width = 3;
  s.height = 2;
  s.pixels = PackRows(3, 2, 24, {1, 2, 3, 4, 5, 6});
  return s;
}

struct HeaderCase {
  const char* name;
  std::function<void(DibLayout&)> change;
};

class RefusedHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(RefusedHeader, IsRefusedInFileAndPackedForm) {
  DibLayout s = Small24();
  GetParam().change(s);
  EXPECT_THROW(Decode(BuildBmpFile(s)), BitmapFormatError);
  Bitmap b;
  EXPECT_THROW(DecodePackedDib(BuildPackedDib(s), b), BitmapFormatError);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RefusedHeader,
    ::testing::Values(HeaderCase{"headerSize66", [](DibLayout& s) { s.headerSize = 66; }},
                      HeaderCase{"headerSize0", [](DibLayout& s) { s.headerSize = 0; }},
                      HeaderCase{"twoPlanes", [](DibLayout& s) { s.planes = 2; }},
                      HeaderCase{"bits2", [](DibLayout& s) { s.bitCount = 2; }},
                      HeaderCase{"bits0", [](DibLayout& s) { s.bitCount = 0; }},
                      HeaderCase{"bits64", [](DibLayout& s) { s.bitCount = 64; }},
                      HeaderCase{"bits16InCoreHeader", [](DibLayout& s) { s.headerSize = 12; s.bitCount = 16; }},
                      HeaderCase{"widthZero", [](DibLayout& s) { s.width = 0; }},
                      HeaderCase{"widthNegative", [](DibLayout& s) { s.width = -3; }},
                      HeaderCase{"heightZero", [](DibLayout& s) { s.height = 0; }},
                      HeaderCase{"heightMinimum", [](DibLayout& s) { s.height = std::numeric_limits<std::int32_t>::min(); }},
                      HeaderCase{"hugeDimensions", [](DibLayout& s) { s.width = 3000000; s.height = 2000000; }},
                      HeaderCase{"tooManyPixels", [](DibLayout& s) { s.width = 20000; s.height = 20000; }},
                      HeaderCase{"absurdDensity", [](DibLayout& s) { s.xDensity = 30000000; }},
                      HeaderCase{"negativeDensity", [](DibLayout& s) { s.yDensity = -1; }},
                      HeaderCase{"jpeg", [](DibLayout& s) { s.compression = 4; }},
                      HeaderCase{"png", [](DibLayout& s) { s.compression = 5; }},
                      HeaderCase{"unknownCompression", [](DibLayout& s) { s.compression = 99; }},
                      HeaderCase{"rle8On24Bits", [](DibLayout& s) { s.compression = 1; }},
                      HeaderCase{"bitFieldsOn24Bits", [](DibLayout& s) { s.compression = 3; s.masks = Masks{0xFF0000, 0xFF00, 0xFF}; }},
                      HeaderCase{"os2HuffmanCode", [](DibLayout& s) { s.headerSize = 64; s.bitCount = 16; s.compression = 3; }},
                      HeaderCase{"sizeImagePastTheData", [](DibLayout& s) { s.sizeImage = 1000; }},
                      HeaderCase{"missingRow", [](DibLayout& s) { s.pixels.resize(s.pixels.size() - 12); }},
                      HeaderCase{"missingPadding", [](DibLayout& s) { s.pixels.pop_back(); }},
                      HeaderCase{"clrUsedPastTheData", [](DibLayout& s) { s.clrUsed = 0x12345678; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileHeader, EveryTruncationIsRefused) {
  DibLayout s;
  s.width = 5;
  s.height = 3;
  s.bitCount = 4;
  s.palette = Palette(16);
  s.pixels = PackRows(5, 3, 4, Indices(5, 3, 16));
  const auto file = BuildBmpFile(s);
  ASSERT_NO_THROW(Decode(file));
  for (std::size_t n = 0; n < file.size(); ++n) {
    Bitmap b;
    EXPECT_THROW(DecodeBmp(std::span(file).first(n), b), BitmapFormatError) << n;
    EXPECT_THROW(DecodePackedDib(std::span(file).subspan(14).first(n > 14 ? n - 14 : 0), b), BitmapFormatError) << n;
  }
}

TEST(FileHeader, MagicSizeAndOffsetAreChecked) {
  const DibLayout s = Small24();
  auto wrongMagic = BuildBmpFile(s);
  wrongMagic[1] = 'A';
  EXPECT_THROW(Decode(wrongMagic), BitmapFormatError);
  EXPECT_THROW(Decode(BuildBmpFile(s, std::nullopt, 100000)), BitmapFormatError);  // bfSize past the end
  EXPECT_NO_THROW(Decode(BuildBmpFile(s, std::nullopt, 26)));                     // smaller bfSize is not used
  EXPECT_THROW(Decode(BuildBmpFile(s, 14 + 39)), BitmapFormatError);               // pixels inside the header
  EXPECT_THROW(Decode(BuildBmpFile(s, 10)), BitmapFormatError);
  EXPECT_THROW(Decode(BuildBmpFile(s, 1u << 31)), BitmapFormatError);
}

// -------------------------------------------------------------- packed DIB

TEST(PackedDib, PixelsFollowTheTableOrTheMasks) {
  DibLayout s;
  s.width = 2;
  s.height = 2;
  s.bitCount = 8;
  s.clrUsed = 3;
  s.palette = Palette(3);
  s.pixels = PackRows(2, 2, 8, {0, 1, 2, 1});
  Bitmap b;
  DecodePackedDib(BuildPackedDib(s), b);
  EXPECT_EQ(b.row(1)[0], 2);
  EXPECT_EQ(b.paletteSize(), 3);

  DibLayout core = s;  // OS/2 core header: 3-byte entries, 2^bits of them
  core.headerSize = 12;
  core.bitCount = 1;
  core.palette = Palette(2);
  core.pixels = PackRows(2, 2, 1, {0, 1, 1, 1});
  DecodePackedDib(BuildPackedDib(core), b);
  EXPECT_EQ(b.row(0)[1], 1);
  EXPECT_EQ(b.pixel(0, 0), MakeColour(core.palette[0].r, core.palette[0].g, core.palette[0].b));
}

// ------------------------------------------------------- storage and files

TEST(Reuse, LoadingTheSameSizeAgainKeepsTheStorage) {
  DibLayout s;
  s.width = 64;
  s.height = 32;
  s.pixels.assign(64 * 3 * 32, 0x40);
  const auto big = BuildBmpFile(s);
  s.width = 10;
  s.height = 10;
  s.pixels.assign(32 * 10, 0x80);
  const auto small = BuildBmpFile(s);
  Bitmap b;
  DecodeBmp(big, b);
  const std::uint8_t* storage = b.data();
  DecodeBmp(small, b);
  EXPECT_EQ(b.data(), storage);
  DecodeBmp(big, b);
  EXPECT_EQ(b.data(), storage);
  EXPECT_EQ(b.pixel(63, 31), MakeColour(0x40, 0x40, 0x40));
}

TEST(Reuse, ARefusedFileLeavesTheBitmapEmpty) {
  Bitmap b(5, 5);
  DibLayout s = Small24();
  s.pixels.pop_back();
  EXPECT_THROW(DecodeBmp(BuildBmpFile(s), b), BitmapFormatError);
  EXPECT_TRUE(b.empty());
}

TEST(LoadBmpFile, NamesTheFileAndTheReason) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto missing = dir / "morvex-no-such-file.bmp";
  try {
    LoadBmpFile(missing);
    FAIL() << "no error";
  } catch (const FileReadError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing.string() + "\". No such file or directory");
  }
  try {
    LoadBmpFile(dir);
    FAIL() << "no error";
  } catch (const FileReadError& e) {
    EXPECT_NE(std::string(e.what()).find("Is a directory"), std::string::npos) << e.what();
  }
  EXPECT_THROW(LoadBmpFile("/dev/null"), FileReadError);  // a device, not a file
}

TEST(LoadBmpFile, ReadsWhatDecodeBmpReads) {
  const auto path = std::filesystem::temp_directory_path() / ("morvex-" + std::to_string(::getpid()) + "-" + "reader-test.bmp");
  const auto file = BuildBmpFile(Small24());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  const Bitmap b = LoadBmpFile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(b.pixel(2, 0), Decode(file).pixel(2, 0));
  EXPECT_EQ(b.pixel(0, 1), MakeColour(0, 0, 4));
}

}  // namespace
}  // namespace morvex
