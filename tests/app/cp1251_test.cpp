#include "morvex/app/cp1251.h"

#include <gtest/gtest.h>
#include "case_name.h"

namespace morvex::app {
namespace {

struct Case {
  const char* utf8;
  const char* cp1251;
};

class Cp1251Encoding : public ::testing::TestWithParam<Case> {};

TEST_P(Cp1251Encoding, EncodesToTheCodePageBytes) {
  EXPECT_EQ(ToCp1251(GetParam().utf8), GetParam().cp1251);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cp1251Encoding,
    ::testing::Values(Case{"plain ASCII <b>", "plain ASCII <b>"},
                      Case{"АБВ", "\xC0\xC1\xC2"},
                      Case{"эюя", "\xFD\xFE\xFF"},
                      Case{"Ёё", "\xA8\xB8"},
                      Case{"°", "\xB0"},
                      Case{"ХХ", "\xD5\xD5"},          // Cyrillic Ha, not Latin X
                      Case{"№ €", "\xB9 \x88"},
                      Case{"a中b", "a?b"},              // no Windows-1251 form
                      Case{"😀", "?"},                  // four-byte character is one "?"
                      Case{"x\xFFy", "x?y"},            // a byte that starts no character
                      Case{"Ж\xD0", "\xC6?"},           // a sequence cut off at the end
                      Case{"\xC0\xAF", "??"},           // an overlong form is two bad bytes
                      Case{"", ""}),
    [](const auto& info) { return ::morvex::testing::CaseName(info.param.utf8); });

TEST(Cp1251, DecodesEveryAssignedByteAndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x98) all += static_cast<char>(b);
  }
  const std::string utf8 = FromCp1251(all);
  EXPECT_EQ(ToCp1251(utf8), all);
  EXPECT_NE(utf8.find("Я"), std::string::npos);
}

TEST(Cp1251, UnassignedByteDecodesAsQuestionMark) { EXPECT_EQ(FromCp1251("a\x98z"), "a?z"); }

TEST(Cp1251, LongTextKeepsEveryCharacter) {
  std::string utf8, expected;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "Щ中";
    expected += "\xD9?";
  }
  EXPECT_EQ(ToCp1251(utf8), expected);
}

}  // namespace
}  // namespace morvex::app
