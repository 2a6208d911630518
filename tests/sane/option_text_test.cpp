// Option values typed as text, checked against the option's constraint.
#include <gtest/gtest.h>

#include "morvex/sane/error.h"
#include "morvex/sane/option_text.h"

namespace morvex::sane {
namespace {

OptionDescriptor Option(OptionType type, ConstraintKind constraint = ConstraintKind::None) {
  OptionDescriptor o;
  o.name = "opt";
  o.type = type;
  o.size = type == OptionType::String ? 16 : 4;
  o.constraint = constraint;
  o.softSelect = o.softDetect = true;
  return o;
}

OptionDescriptor Mode() {
  OptionDescriptor o = Option(OptionType::String, ConstraintKind::StringList);
  o.name = "mode";
  o.strings = {"Gray", "Color"};
  return o;
}
OptionDescriptor Resolution() {
  OptionDescriptor o = Option(OptionType::Int, ConstraintKind::Range);
  o.name = "resolution";
  o.unit = OptionUnit::Dpi;
  o.range = {50, 1200, 50};
  return o;
}
OptionDescriptor Depth() {
  OptionDescriptor o = Option(OptionType::Int, ConstraintKind::WordList);
  o.name = "depth";
  o.words = {1, 8, 16};
  return o;
}
OptionDescriptor TopLeftX() {
  OptionDescriptor o = Option(OptionType::Fixed, ConstraintKind::Range);
  o.name = "tl-x";
  o.unit = OptionUnit::Mm;
  o.range = {0, 215.9, 0};
  return o;
}
OptionDescriptor Gamma() {
  OptionDescriptor o = Option(OptionType::Int, ConstraintKind::Range);
  o.name = "gamma-table";
  o.size = 12;
  o.count = 3;
  o.range = {0, 255, 0};
  return o;
}

struct Accepted {
  const char* name;
  OptionDescriptor option;
  const char* text;
  OptionValue value;
};
void PrintTo(const Accepted& c, std::ostream* os) { *os << c.name; }

class AcceptedText : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedText, IsReadByTheOptionsType) {
  EXPECT_EQ(ParseOptionValue(GetParam().option, GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedText,
    ::testing::Values(Accepted{"BoolYes", Option(OptionType::Bool), "yes", true},
                      Accepted{"BoolNoUpperCase", Option(OptionType::Bool), "NO", false},
                      Accepted{"BoolOn", Option(OptionType::Bool), "on", true},
                      Accepted{"IntNegative", Option(OptionType::Int), "-42", std::vector<std::int32_t>{-42}},
                      Accepted{"IntOnStep", Resolution(), "300", std::vector<std::int32_t>{300}},
                      Accepted{"IntInList", Depth(), "16", std::vector<std::int32_t>{16}},
                      Accepted{"IntArray", Gamma(), "0, 128,255", std::vector<std::int32_t>{0, 128, 255}},
                      Accepted{"FixedDecimal", TopLeftX(), "12.5", std::vector<double>{12.5}},
                      Accepted{"FixedInteger", TopLeftX(), "200", std::vector<double>{200}},
                      Accepted{"FixedRangeEnd", TopLeftX(), "215.9", std::vector<double>{215.9}},
                      Accepted{"ListWord", Mode(), "Color", std::string("Color")},
                      Accepted{"ListWordAnyCase", Mode(), "gray", std::string("Gray")},
                      Accepted{"FreeText", Option(OptionType::String), "/tmp/a b.ppm", std::string("/tmp/a b.ppm")},
                      Accepted{"Button", Option(OptionType::Button), "", std::monostate{}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
  const char* name;
  OptionDescriptor option;
  const char* text;
  const char* says;  // part of the message: what the option accepts
};
void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class RefusedText : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedText, NamesTheOptionAndWhatItAccepts) {
  try {
    ParseOptionValue(GetParam().option, GetParam().text);
    FAIL() << "accepted";
  } catch (const OptionError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("option '" + GetParam().option.name + "'"), std::string::npos) << what;
    EXPECT_NE(what.find(GetParam().says), std::string::npos) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedText,
    ::testing::Values(Refused{"BoolMaybe", Option(OptionType::Bool), "maybe", "yes or no"},
                      Refused{"IntWithText", Option(OptionType::Int), "12x", "an integer"},
                      Refused{"IntDecimal", Option(OptionType::Int), "1.5", "an integer"},
                      Refused{"IntTooLarge", Option(OptionType::Int), "99999999999", "an integer"},
                      Refused{"OffStep", Resolution(), "325", "from 50 to 1200 dpi in steps of 50"},
                      Refused{"BelowRange", Resolution(), "0", "from 50 to 1200 dpi"},
                      Refused{"NotInWordList", Depth(), "12", "one of 1, 8, 16"},
                      Refused{"FixedAboveRange", TopLeftX(), "216", "a decimal number from 0 to 215.9 mm"},
                      Refused{"FixedWithComma", TopLeftX(), "12,5", "a decimal number"},
                      Refused{"ArrayTooShort", Gamma(), "1,2", "3 values separated by commas"},
                      Refused{"NotInStringList", Mode(), "Lineart", "one of Gray, Color"},
                      Refused{"TextTooLong", Option(OptionType::String), "0123456789abcdef", "at most 15 bytes"},
                      Refused{"ButtonWithValue", Option(OptionType::Button), "yes", "no value"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatValue, WritesEachKind) {
  EXPECT_EQ(FormatValue(true), "yes");
  EXPECT_EQ(FormatValue(std::vector<std::int32_t>{1, -2}), "1,-2");
  EXPECT_EQ(FormatValue(std::vector<double>{12.5, 32767.99998}), "12.5,32768");
  EXPECT_EQ(FormatValue(std::string("Color")), "Color");
}

}  // namespace
}  // namespace morvex::sane
