// The .bmp writer: standard bottom-up files that read back unchanged.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "morvex/bmp.h"
#include "case_name.h"

namespace morvex {
namespace {

std::uint32_t Field32(const std::vector<std::uint8_t>& f, std::size_t at) {
  return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<std::uint32_t>(f[at + 3]) << 24);
}
std::uint16_t Field16(const std::vector<std::uint8_t>& f, std::size_t at) {
  return static_cast<std::uint16_t>(f[at] | (f[at + 1] << 8));
}

Bitmap Pattern(int w, int h, PixelFormat format) {
  Bitmap b(w, h, format);
  if (format == PixelFormat::Indexed8) {
    std::vector<Rgb> palette;
    for (int i = 0; i < 5; ++i) palette.push_back({static_cast<std::uint8_t>(50 * i), 7, static_cast<std::uint8_t>(255 - 9 * i)});
    b.setPaletteEntries(palette);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.row(y)[x] = static_cast<std::uint8_t>((x + 2 * y) % 5);
  } else {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.setPixel(x, y, MakeColour(static_cast<std::uint8_t>(x * 31), static_cast<std::uint8_t>(y * 17), static_cast<std::uint8_t>(x ^ y)));
  }
  return b;
}

void ExpectSamePixels(const Bitmap& a, const Bitmap& b) {
  ASSERT_EQ(a.width(), b.width());
  ASSERT_EQ(a.height(), b.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
}

struct WriteCase {
  int width;
  int height;
  PixelFormat format;
};

class WriteAndRead : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteAndRead, StandardHeaderAndSamePicture) {
  const WriteCase c = GetParam();
  const Bitmap original = Pattern(c.width, c.height, c.format);
  const auto file = EncodeBmp(original);
  const bool indexed = c.format == PixelFormat::Indexed8;
  const std::size_t rowBytes = (static_cast<std::size_t>(c.width) * (indexed ? 8 : 24) + 31) / 32 * 4;
  const std::size_t colours = indexed ? 5 : 0;
  ASSERT_EQ(file.size(), 54 + 4 * colours + rowBytes * static_cast<std::size_t>(c.height));
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Field32(file, 2), file.size());
  EXPECT_EQ(Field32(file, 10), 54 + 4 * colours);
  EXPECT_EQ(Field32(file, 14), 40u);
  EXPECT_EQ(Field32(file, 18), static_cast<std::uint32_t>(c.width));
  EXPECT_EQ(Field32(file, 22), static_cast<std::uint32_t>(c.height));  // positive: bottom-up
  EXPECT_EQ(Field16(file, 26), 1);
  EXPECT_EQ(Field16(file, 28), indexed ? 8 : 24);
  EXPECT_EQ(Field32(file, 30), 0u);  // BI_RGB
  EXPECT_EQ(Field32(file, 34), rowBytes * static_cast<std::size_t>(c.height));
  EXPECT_EQ(Field32(file, 46), colours);

  // The first stored row is the bottom one.
  const std::size_t first = 54 + 4 * colours;
  if (indexed) {
    EXPECT_EQ(file[first], original.row(c.height - 1)[0]);
  } else {
    const Colour bottomLeft = original.pixel(0, c.height - 1);
    EXPECT_EQ(file[first], BlueOf(bottomLeft));
    EXPECT_EQ(file[first + 2], RedOf(bottomLeft));
  }

  Bitmap back;
  DecodeBmp(file, back);
  EXPECT_EQ(back.format(), c.format);
  EXPECT_EQ(back.sourceBitDepth(), indexed ? 8 : 24);
  ExpectSamePixels(back, original);
  if (indexed) {
    ASSERT_EQ(back.paletteSize(), 5);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) ASSERT_EQ(back.row(y)[x], original.row(y)[x]);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, WriteAndRead,
                         ::testing::Values(WriteCase{1, 1, PixelFormat::Rgb24}, WriteCase{2, 3, PixelFormat::Rgb24},
                                           WriteCase{3, 2, PixelFormat::Rgb24}, WriteCase{5, 4, PixelFormat::Rgb24},
                                           WriteCase{1, 2, PixelFormat::Indexed8}, WriteCase{6, 3, PixelFormat::Indexed8},
                                           WriteCase{7, 1, PixelFormat::Indexed8}),
                         [](const auto& info) {
                           const WriteCase& c = info.param;
                           return ::morvex::testing::CaseName("width", c.width) + "_" + ::morvex::testing::CaseName("height", c.height) +
                                  (c.format == PixelFormat::Rgb24 ? "_Rgb24" : "_Indexed8");
                         });

TEST(EncodeBmp, IndicesPastAShortPaletteGetBlackEntries) {
  Bitmap b(3, 1, PixelFormat::Indexed8);
  const std::vector<Rgb> two = {{255, 0, 0}, {0, 255, 0}};
  b.setPaletteEntries(two);
  b.row(0)[0] = 0;
  b.row(0)[1] = 1;
  b.row(0)[2] = 3;  // past the palette: reads black
  const auto file = EncodeBmp(b);
  EXPECT_EQ(Field32(file, 46), 4u);
  Bitmap back;
  DecodeBmp(file, back);
  ExpectSamePixels(back, b);
}

TEST(EncodeBmp, GreyWorkingImageKeepsItsPalette) {
  Bitmap b(4, 2, PixelFormat::Indexed8);
  b.setPixel(1, 1, MakeColour(69, 70, 70));
  Bitmap back;
  DecodeBmp(EncodeBmp(b), back);
  EXPECT_TRUE(back.hasGreyPalette());
  EXPECT_EQ(back.row(1)[1], 70);
}

TEST(EncodeBmp, EmptyBitmapIsAnError) { EXPECT_THROW(EncodeBmp(Bitmap()), std::runtime_error); }

TEST(SaveBmpFile, WritesTheFileAndNamesItOnFailure) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto path = dir / ("morvex-" + std::to_string(::getpid()) + "-" + "writer-test.bmp");
  const Bitmap original = Pattern(9, 4, PixelFormat::Rgb24);
  SaveBmpFile(path, original);
  const Bitmap back = LoadBmpFile(path);
  std::filesystem::remove(path);
  ExpectSamePixels(back, original);

  const auto bad = dir / "morvex-no-such-folder" / "x.bmp";
  try {
    SaveBmpFile(bad, original);
    FAIL() << "no error";
  } catch (const FileWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + bad.string() + "\". No such file or directory");
  }
}

}  // namespace
}  // namespace morvex
