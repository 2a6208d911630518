// The note plans a set is drawn from, and the file names that carry them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "note_layout.h"
#include "notegen.h"
#include "case_name.h"

namespace ng = morvex::notegen;

namespace {

// The file name decoded from UTF-8, so that positions count characters.
std::u32string Characters(const std::string& s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t v = n == 1 ? c : c & (0x3F >> (n - 1));
    for (int k = 1; k < n; ++k) v = (v << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += v;
    i += static_cast<std::size_t>(n);
  }
  return out;
}

std::u32string Ascii(const char* s) {
  std::u32string out;
  while (*s != '\0') out += static_cast<char32_t>(*s++);
  return out;
}

struct NameCase {
  int dpi;
  bool numberSide;
  bool upsideDown;
  int denomination;
  const char32_t* series;
  const char* number;
  const char* expected;  // UTF-8
};

class FileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTest, FollowsTheTemplate) {
  const NameCase& c = GetParam();
  ng::NotePlan s;
  s.dpi = c.dpi;
  s.numberSide = c.numberSide;
  s.upsideDown = c.upsideDown;
  s.denomination = c.denomination;
  s.series = c.series;
  s.number = c.number;
  const std::string name = ng::NoteFileName(s);
  EXPECT_EQ(name, c.expected);
  // Read the way the folder command reads it: characters 10, 14 to 17 and 21
  // to 27 of 31, a Cyrillic letter counting as one character.
  const std::u32string chars = Characters(name);
  ASSERT_EQ(chars.size(), 31u);
  EXPECT_EQ(chars[9], c.numberSide ? U'1' : U'0');
  EXPECT_EQ(chars.substr(13, 4), Ascii(std::string(c.expected + 13, 4).c_str()));
  EXPECT_EQ(std::stoi(std::string(c.expected + 13, 4)), c.denomination);
  EXPECT_EQ(chars.substr(18, 2), std::u32string(c.series));
  EXPECT_EQ(chars.substr(20, 7), Ascii(c.number));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(NameCase{150, true, false, 100, U"АЯ", "0123456", "Note-150-1-1-0100-АЯ0123456.bmp"},
                      NameCase{300, true, true, 1000, U"ХХ", "9999999", "Note-300-1-0-1000-ХХ9999999.bmp"},
                      NameCase{200, false, false, 10, U"БВ", "0000001", "Note-200-0-1-0010-БВ0000001.bmp"},
                      NameCase{90, false, true, 50, U"ЭЧ", "7654321", "Note-090-0-0-0050-ЭЧ7654321.bmp"}),
    [](const auto& info) { return ::morvex::testing::CaseName("dpi", info.param.dpi) + "_" + info.param.number; });

TEST(NotePlanTest, NoteDependsOnlyOnOptionsSeedAndIndex) {
  const ng::GenerationOptions o = ng::PresetOptions(ng::SampleSet::Typical);
  for (int i : {0, 1, 57}) {
    const ng::NotePlan a = ng::DrawNotePlan(o, 42, i), b = ng::DrawNotePlan(o, 42, i);
    EXPECT_EQ(ng::NoteFileName(a), ng::NoteFileName(b));
    EXPECT_EQ(a.tiltDegrees, b.tiltDegrees);
    EXPECT_EQ(a.noiseSigma, b.noiseSigma);
    EXPECT_EQ(a.detailSeed, b.detailSeed);
  }
  EXPECT_NE(ng::DrawNotePlan(o, 42, 0).detailSeed, ng::DrawNotePlan(o, 43, 0).detailSeed);
  EXPECT_NE(ng::DrawNotePlan(o, 42, 0).detailSeed, ng::DrawNotePlan(o, 42, 1).detailSeed);
}

TEST(NotePlanTest, DrawsInsideTheOptions) {
  ng::GenerationOptions o = ng::PresetOptions(ng::SampleSet::Hard);
  o.dpiMin = 160;
  o.dpiMax = 250;
  o.backSideShare = 0.2;
  o.upsideDownShare = 0.7;
  std::map<int, int> values;
  int back = 0, upside = 0;
  const int n = 2000;
  for (int i = 0; i < n; ++i) {
    const ng::NotePlan s = ng::DrawNotePlan(o, 5, i);
    EXPECT_EQ(s.dpi % 10, 0);
    EXPECT_GE(s.dpi, 160);
    EXPECT_LE(s.dpi, 250);
    EXPECT_LE(std::abs(s.tiltDegrees), 30.0);
    EXPECT_LE(std::abs(s.offsetXMm), 3.0);
    EXPECT_GE(s.blurSigma, 0.8);
    EXPECT_LE(s.blurSigma, 1.6);
    EXPECT_GE(s.noiseSigma, 5.0);
    EXPECT_LE(s.noiseSigma, 10.0);
    ASSERT_EQ(s.series.size(), 2u);
    for (char32_t c : s.series) EXPECT_NE(std::u32string(ng::kSeriesLetters).find(c), std::u32string::npos);
    ASSERT_EQ(s.number.size(), 7u);
    EXPECT_TRUE(std::all_of(s.number.begin(), s.number.end(), [](char c) { return c >= '0' && c <= '9'; }));
    ++values[s.denomination];
    back += !s.numberSide;
    upside += s.upsideDown;
  }
  EXPECT_EQ(values.size(), 5u);
  for (const auto& [value, count] : values) EXPECT_GT(count, n / 8) << value;
  EXPECT_NEAR(back / double(n), 0.2, 0.03);
  EXPECT_NEAR(upside / double(n), 0.7, 0.03);
}

TEST(NotePlanTest, PresetsGrowHarder) {
  const ng::GenerationOptions clean = ng::PresetOptions(ng::SampleSet::Clean);
  EXPECT_EQ(clean.maxTiltDegrees, 0);
  EXPECT_EQ(clean.blurSigma.hi, 0);
  EXPECT_EQ(clean.noiseSigma.hi, 0);
  EXPECT_EQ(clean.dpiMin, 150);
  EXPECT_EQ(clean.dpiMax, 300);
  const ng::GenerationOptions typical = ng::PresetOptions(ng::SampleSet::Typical);
  const ng::GenerationOptions hard = ng::PresetOptions(ng::SampleSet::Hard);
  EXPECT_EQ(typical.maxTiltDegrees, 10);
  EXPECT_GT(hard.maxTiltDegrees, typical.maxTiltDegrees);
  EXPECT_GT(hard.noiseSigma.hi, typical.noiseSigma.hi);
  EXPECT_GT(hard.blurSigma.hi, typical.blurSigma.hi);
  // The noise reaches at most 2 sqrt(3) sigma: the background stays dark.
  for (const auto* o : {&clean, &typical, &hard}) EXPECT_LT(o->backgroundLevel.hi + 3.47 * o->noiseSigma.hi, 70);
  EXPECT_EQ(ng::ParseSampleSet("typical"), ng::SampleSet::Typical);
  EXPECT_FALSE(ng::ParseSampleSet("Typical"));
}

}  // namespace
