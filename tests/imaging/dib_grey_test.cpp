// A packed DIB decoded straight to grey gives what decoding it and then
// making it grey gives.
#include <gtest/gtest.h>

#include "dib_builder.h"
#include "morvex/bmp.h"
#include "morvex/grey_image.h"

namespace morvex::testing {
namespace {

struct GreyCase {
  const char* name;
  int bits;
  bool topDown;
  std::optional<std::array<std::uint32_t, 3>> masks;
};

std::vector<std::uint32_t> Values(int count, int bits, std::uint32_t seed) {
  std::vector<std::uint32_t> v;
  const std::uint64_t limit = bits >= 32 ? 0x100000000ull : (1ull << bits);
  for (int i = 0; i < count; ++i) {
    seed = seed * 1664525u + 1013904223u;
    v.push_back(static_cast<std::uint32_t>(seed % limit));
  }
  return v;
}

std::vector<std::uint8_t> Dib(const GreyCase& c) {
  constexpr int kWidth = 13, kHeight = 7;  // odd width: rows carry padding
  DibLayout plan;
  plan.width = kWidth;
  plan.height = c.topDown ? -kHeight : kHeight;
  plan.bitCount = static_cast<std::uint16_t>(c.bits);
  if (c.masks) {
    plan.compression = 3;
    plan.masks = c.masks;
  }
  if (c.bits <= 8) {
    for (int i = 0; i < (1 << c.bits); ++i) {
      plan.palette.push_back({static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i * 11),
                              static_cast<std::uint8_t>(i * 5 + 3)});
    }
  }
  plan.pixels = PackRows(kWidth, kHeight, c.bits, Values(kWidth * kHeight, c.bits, 7u + c.bits), c.topDown);
  return BuildPackedDib(plan);
}

class DibGrey : public ::testing::TestWithParam<GreyCase> {};

TEST_P(DibGrey, EqualsDecodingThenMakingGrey) {
  const std::vector<std::uint8_t> dib = Dib(GetParam());
  Bitmap expected;
  DecodePackedDib(dib, expected);
  MakeGreyImage(expected);

  Bitmap grey(3, 3, PixelFormat::Rgb24);  // storage of another kind is reused
  DecodePackedDibGrey(dib, grey);
  ASSERT_EQ(grey.width(), expected.width());
  ASSERT_EQ(grey.height(), expected.height());
  ASSERT_EQ(grey.format(), PixelFormat::Indexed8);
  EXPECT_TRUE(grey.hasGreyPalette());
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) ASSERT_EQ(grey.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, DibGrey,
                         ::testing::Values(GreyCase{"Bits1", 1, false, std::nullopt},
                                           GreyCase{"Bits4", 4, false, std::nullopt},
                                           GreyCase{"Bits8", 8, false, std::nullopt},
                                           GreyCase{"Bits8TopDown", 8, true, std::nullopt},
                                           GreyCase{"Bits24", 24, false, std::nullopt},
                                           GreyCase{"Bits24TopDown", 24, true, std::nullopt},
                                           GreyCase{"Bits16Masks565", 16, false, std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F}},
                                           GreyCase{"Bits32", 32, false, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DibGrey, ARefusedDibLeavesTheImageEmpty) {
  std::vector<std::uint8_t> dib = Dib({"Bits24", 24, false, std::nullopt});
  dib.resize(dib.size() - 1);  // the last row is one byte short
  Bitmap grey(4, 4, PixelFormat::Indexed8);
  EXPECT_THROW(DecodePackedDibGrey(dib, grey), BitmapFormatError);
  EXPECT_TRUE(grey.empty());
}

}  // namespace
}  // namespace morvex::testing
