#include "morvex/app/note_template.h"

#include <gtest/gtest.h>
#include "case_name.h"

namespace morvex::app {
namespace {

struct CompareCase {
  const char* name;
  const char* zone1;
  const char* zone2;
  int denomination;
  int mask;
};

class Compare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Compare, MatchesTheTruthInTheName) {
  const CompareCase& c = GetParam();
  EXPECT_EQ(CompareWithTemplate(c.name, c.zone1, c.zone2, c.denomination), c.mask) << c.name;
}

constexpr int All = Zone1Match | Zone2Match | DenominationMatch;

INSTANTIATE_TEST_SUITE_P(
    Table, Compare,
    ::testing::Values(
        // Zone 2 has an unread glyph: yes, no, yes.
        CompareCase{"Note-200-1-1-0100-АА1234567.bmp", "1234567", "1234*67", 100, Zone1Match | DenominationMatch},
        // The side without a number: the failure answer is the truth.
        CompareCase{"Note-200-0-1-0100-АА1234567.bmp", "#######", "#######", -1, All},
        CompareCase{"Note-200-0-1-0100-АА1234567.bmp", "1234567", "1234567", 100, 0},
        // Series letters are two bytes each in UTF-8 but one character each.
        CompareCase{"Note-150-1-0-0050-ЯЁ0000001.bmp", "0000001", "0000002", 50, Zone1Match | DenominationMatch},
        CompareCase{"Note-300-1-0-1000-AB7654321.bmp", "7654321", "7654321", 1000, All},
        CompareCase{"Note-300-1-1-0010-ХХ7654321.bmp", "7654321", "7654321", 10, All},
        // Orientation, resolution, separators and extension are not read.
        CompareCase{"Xxxx_999_1_?_0500_zz5555555.png", "5555555", "5555555", 500, All},
        // An unread glyph never matches a digit; the comparison is exact.
        CompareCase{"Note-200-1-1-0100-АА1234567.bmp", "123456*", "*******", 500, 0},
        CompareCase{"Note-200-1-1-0100-АА1234567.bmp", "1234567 ", "01234567", 100, DenominationMatch},
        // A name shorter than the number field: fewer characters are expected.
        CompareCase{"Note-200-1-1-0100-АА123", "123", "1234567", 100, Zone1Match | DenominationMatch},
        CompareCase{"Note-200-1-1-0100", "", "1", 100, Zone1Match | DenominationMatch},
        // The failure answer written back by the renaming does not read as -1:
        // characters 14 to 17 are "-000".
        CompareCase{"Note-300-1-1--0001-ХХ#######.bmp", "#######", "#######", -1, 0},
        CompareCase{"Note-300-1-1--0001-ХХ#######.bmp", "#######", "#######", 0, DenominationMatch}),
    [](const auto& info) {
      const CompareCase& c = info.param;
      return ::morvex::testing::CaseName(std::string(c.name) + " read " + c.zone1 + " " + c.zone2) + "_" + ::morvex::testing::CaseName("value", c.denomination);
    });

struct BadNameCase {
  const char* name;
  const char* message;
};

class NotAnInteger : public ::testing::TestWithParam<BadNameCase> {};

TEST_P(NotAnInteger, RaisesTheConversionMessage) {
  try {
    CompareWithTemplate(GetParam().name, "#######", "#######", -1);
    FAIL() << "no error for " << GetParam().name;
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, NotAnInteger,
                         ::testing::Values(BadNameCase{"short.bmp", "'' is not a valid integer value"},
                                           BadNameCase{"Note-200-1-1-", "'' is not a valid integer value"},
                                           BadNameCase{"Note-200-1-1-01a0-АА1234567.bmp", "'01a0' is not a valid integer value"},
                                           // Checked first, also on the side without a number.
                                           BadNameCase{"Note-200-0-1-XXXX-АА1234567.bmp", "'XXXX' is not a valid integer value"},
                                           BadNameCase{"Note-200-1-1-АБВГ-АА1234567.bmp", "'АБВГ' is not a valid integer value"},
                                           BadNameCase{"Note-200-1-1- 100-АА1234567.bmp", "' 100' is not a valid integer value"},
                                           BadNameCase{"Note-200-1-1-+-00-АА1234567.bmp", "'+-00' is not a valid integer value"}),
                         [](const auto& info) { return ::morvex::testing::CaseName(info.param.name); });

TEST(StrToInt, SignedDecimalWithLeadingZeros) {
  EXPECT_EQ(StrToInt("0100"), 100);
  EXPECT_EQ(StrToInt("1000"), 1000);
  EXPECT_EQ(StrToInt("-001"), -1);
  EXPECT_EQ(StrToInt("+050"), 50);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_THROW(StrToInt("2147483648"), ConversionError);
  EXPECT_THROW(StrToInt("-"), ConversionError);
}

struct NameCase {
  AnalisysResult result;
  const char* base;
};

class Template : public ::testing::TestWithParam<NameCase> {};

TEST_P(Template, WritesTheResultIntoTheTemplate) { EXPECT_EQ(TemplateName(GetParam().result), GetParam().base); }

INSTANTIATE_TEST_SUITE_P(
    Table, Template,
    ::testing::Values(NameCase{{"1234567", "7654321", 100, false, 300}, "Note-300-1-1-0100-ХХ1234567"},
                      NameCase{{"1234567", "1234567", 100, true, 300}, "Note-300-1-0-0100-ХХ1234567"},
                      NameCase{{"#######", "#######", -1, false, 200}, "Note-200-1-1--0001-ХХ#######"},
                      NameCase{{"0000001", "0000001", 1000, false, 90}, "Note-090-1-1-1000-ХХ0000001"},
                      NameCase{{"12*4567", "1234567", 10, true, 150}, "Note-150-1-0-0010-ХХ12*4567"}),
    [](const auto& info) { return ::morvex::testing::CaseName(info.param.base); });

TEST(TemplateName, SeriesLettersAreCyrillicHa) {
  const std::string base = TemplateName({"1234567", "1234567", 50, false, 200});
  EXPECT_EQ(base.substr(18, 4), "\xD0\xA5\xD0\xA5");
}

}  // namespace
}  // namespace morvex::app
