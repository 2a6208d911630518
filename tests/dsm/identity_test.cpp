// Identities cut to TW_STR32 and the modes' pixel types.
#include <cctype>
#include <cstring>

#include <gtest/gtest.h>

#include "capabilities.h"
#include "identity.h"

namespace morvex::dsm {
namespace {

TEST(IdentityTest, LongNamesAreCutToWholeCharacters) {
  TW_IDENTITY identity;
  // 34 bytes: the 33rd and 34th are the last letter, which cannot be halved.
  const std::string model = "AСканер-планшетный";
  ASSERT_EQ(model.size(), 34u);
  FillSourceIdentity(identity, {"x:0", "Фирма", model, "flatbed scanner"}, 7);
  EXPECT_STREQ(identity.ProductName, "AСканер-планшетны");
  EXPECT_EQ(identity.ProductName[sizeof identity.ProductName - 1], '\0');
  EXPECT_STREQ(identity.Manufacturer, "Фирма");
  EXPECT_STREQ(identity.ProductFamily, "flatbed scanner");
  EXPECT_EQ(TW_UINT32{identity.Id}, 7u);
}

TEST(IdentityTest, AsciiNamesKeepThirtyThreeBytes) {
  TW_STR32 field;
  CopyStr32(field, std::string(40, 'x'));
  EXPECT_EQ(std::strlen(field), 33u);
}

struct ModeCase {
  const char* mode;
  int type;  // -1: none
};

class ModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeTest, GivesItsPixelType) {
  const std::optional<TW_UINT16> type = PixelTypeOfMode(GetParam().mode);
  if (GetParam().type < 0) {
    EXPECT_FALSE(type);
  } else {
    EXPECT_EQ(type, GetParam().type);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest,
                         ::testing::Values(ModeCase{"Lineart", TWPT_BW}, ModeCase{"Binary", TWPT_BW},
                                           ModeCase{"Halftone", TWPT_BW}, ModeCase{"Gray", TWPT_GRAY},
                                           ModeCase{"Grayscale", TWPT_GRAY}, ModeCase{"Color", TWPT_RGB},
                                           ModeCase{"24bit Color", TWPT_RGB}, ModeCase{"Infrared", -1}),
                         [](const auto& info) {
                           std::string name;
                           for (char c : std::string(info.param.mode)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace morvex::dsm
