// The public BMP suite: good files decode to their reference pictures, bad
// files are refused with BitmapFormatError, questionable files decode or are
// refused as the table below records. The suite lives in tests/data/bmpsuite
// (MORVEX_BMPSUITE); a checkout without it fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "morvex/bmp.h"
#include "case_name.h"
#include "png_reference.h"

namespace morvex {
namespace {

namespace fs = std::filesystem;
using testing::CaseName;
using testing::ReadPng;
using testing::RgbaImage;

const fs::path kSuite{MORVEX_BMPSUITE};
constexpr const char* kAbsent = "suite_absent";

std::vector<std::string> SuiteFiles(const char* folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(kSuite / folder, ec))
    if (e.path().extension() == ".bmp") names.push_back(std::string(folder) + "/" + e.path().filename().string());
  std::sort(names.begin(), names.end());
  if (names.empty()) names.push_back(kAbsent);
  return names;
}

// An empty folder stands for one case that fails: the checkout lacks its test data.
#define ASSERT_SUITE_PRESENT() ASSERT_NE(GetParam(), kAbsent) << "BMP suite not found at " << kSuite

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// references.tsv: a BMP file, a tab, its reference pictures separated by spaces.
std::map<std::string, std::vector<std::string>> References() {
  std::map<std::string, std::vector<std::string>> table;
  std::ifstream in(kSuite / "references.tsv");
  std::string line;
  std::getline(in, line);  // column titles
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::istringstream refs(line.substr(tab + 1));
    auto& list = table[line.substr(0, tab)];
    for (std::string r; refs >> r;) list.push_back(r);
  }
  return table;
}

// Empty when every pixel the reference shows opaque has the reference's
// colour (the reader ignores alpha; the good files' references are opaque).
std::string Mismatch(const Bitmap& b, const RgbaImage& ref) {
  if (b.width() != ref.width || b.height() != ref.height) {
    return "size " + std::to_string(b.width()) + "x" + std::to_string(b.height()) + " vs " +
           std::to_string(ref.width) + "x" + std::to_string(ref.height);
  }
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      const std::uint8_t* p = &ref.rgba[4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(ref.width) + static_cast<std::size_t>(x))];
      if (p[3] != 255) continue;  // a transparent pixel's colour is not compared
      const Colour c = b.pixel(x, y);
      if (c != MakeColour(p[0], p[1], p[2])) {
        std::ostringstream s;
        s << "pixel (" << x << "," << y << ") is " << int{RedOf(c)} << "," << int{GreenOf(c)} << "," << int{BlueOf(c)}
          << ", reference " << int{p[0]} << "," << int{p[1]} << "," << int{p[2]};
        return s.str();
      }
    }
  }
  return {};
}

// Largest channel difference to the reference over its opaque pixels, -1
// when the sizes differ.
int MaxDifference(const Bitmap& b, const RgbaImage& ref) {
  if (b.width() != ref.width || b.height() != ref.height) return -1;
  int worst = 0;
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      const std::uint8_t* p = &ref.rgba[4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(ref.width) + static_cast<std::size_t>(x))];
      if (p[3] != 255) continue;  // a transparent pixel's colour is not compared
      const Colour c = b.pixel(x, y);
      worst = std::max({worst, std::abs(RedOf(c) - p[0]), std::abs(GreenOf(c) - p[1]), std::abs(BlueOf(c) - p[2])});
    }
  }
  return worst;
}

std::vector<std::pair<std::string, RgbaImage>> ReferencesOf(const std::string& name) {
  static const auto table = References();
  std::vector<std::pair<std::string, RgbaImage>> refs;
  const auto it = table.find(name);
  if (it == table.end()) return refs;
  for (const std::string& r : it->second)
    if (auto png = ReadPng(kSuite / "reference" / r)) refs.emplace_back(r, std::move(*png));
  return refs;
}

// Empty when the bitmap matches one of the file's reference pictures.
std::string MatchReferences(const std::string& name, const Bitmap& b) {
  const auto refs = ReferencesOf(name);
  if (refs.empty()) return "no readable reference listed";
  std::string why;
  for (const auto& [r, ref] : refs) {
    const std::string m = Mismatch(b, ref);
    if (m.empty()) return {};
    why += r + ": " + m + "; ";
  }
  return why;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) { return CaseName(info.param); }

class GoodFile : public ::testing::TestWithParam<std::string> {};

TEST_P(GoodFile, DecodesToItsReference) {
  ASSERT_SUITE_PRESENT();
  Bitmap b;
  ASSERT_NO_THROW(LoadBmpFile(kSuite / GetParam(), b));
  EXPECT_EQ(MatchReferences(GetParam(), b), "");
  EXPECT_EQ(b.format(), b.sourceBitDepth() <= 8 ? PixelFormat::Indexed8 : PixelFormat::Rgb24);
}

// Without the file header the same bytes are a packed DIB; where the pixels
// directly follow the colour table it decodes to the same picture.
TEST_P(GoodFile, PackedDibDecodesAlike) {
  ASSERT_SUITE_PRESENT();
  const auto file = ReadAll(kSuite / GetParam());
  Bitmap fromFile, packed;
  DecodeBmp(file, fromFile);
  try {
    DecodePackedDib(std::span(file).subspan(14), packed);
  } catch (const BitmapFormatError&) {
    GTEST_SKIP() << "pixels do not follow the colour table in this file";
  }
  ASSERT_EQ(packed.width(), fromFile.width());
  ASSERT_EQ(packed.height(), fromFile.height());
  for (int y = 0; y < packed.height(); ++y)
    for (int x = 0; x < packed.width(); ++x) ASSERT_EQ(packed.pixel(x, y), fromFile.pixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(BmpSuite, GoodFile, ::testing::ValuesIn(SuiteFiles("g")), TestName);

class BadFile : public ::testing::TestWithParam<std::string> {};

TEST_P(BadFile, IsRefused) {
  ASSERT_SUITE_PRESENT();
  Bitmap b(3, 3);
  EXPECT_THROW(LoadBmpFile(kSuite / GetParam(), b), BitmapFormatError);
  EXPECT_TRUE(b.empty());
  // Without its file header the rest may be a valid packed DIB (a bad file
  // size, say) or not; either way it is decoded or refused cleanly.
  const auto file = ReadAll(kSuite / GetParam());
  try {
    DecodePackedDib(std::span(file).subspan(std::min<std::size_t>(14, file.size())), b);
  } catch (const BitmapFormatError&) {
    EXPECT_TRUE(b.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(BmpSuite, BadFile, ::testing::ValuesIn(SuiteFiles("b")), TestName);
INSTANTIATE_TEST_SUITE_P(BmpSuiteOther, BadFile, ::testing::ValuesIn(SuiteFiles("x")), TestName);

// What the reader does with each questionable file, and why.
enum class Outcome { Reference, Decoded, Refused };
struct Questionable {
  Outcome outcome;
  const char* why;
};
const std::map<std::string, Questionable>& QuestionableTable() {
  static const std::map<std::string, Questionable> table = {
      {"q/pal1huffmsb.bmp", {Outcome::Refused, "OS/2 Huffman 1D compression is not read"}},
      {"q/pal1p1.bmp", {Outcome::Reference, "1-entry palette, every pixel index 0"}},
      {"q/pal2.bmp", {Outcome::Refused, "2 bits per pixel is not a Windows bit depth"}},
      {"q/pal2color.bmp", {Outcome::Refused, "2 bits per pixel is not a Windows bit depth"}},
      {"q/pal4rlecut.bmp", {Outcome::Reference, "early end of bitmap: the rest stays index 0"}},
      {"q/pal4rletrns.bmp", {Outcome::Reference, "skipped pixels stay index 0"}},
      {"q/pal8offs.bmp", {Outcome::Reference, "pixels at bfOffBits past the colour table"}},
      {"q/pal8os2-hs.bmp", {Outcome::Reference, "bfSize holds the header size, not used"}},
      {"q/pal8os2-sz.bmp", {Outcome::Reference, "bfSize holds the header size, not used"}},
      {"q/pal8os2sp.bmp", {Outcome::Reference, "252-entry table ends at bfOffBits"}},
      {"q/pal8os2v2-16.bmp", {Outcome::Reference, "16-byte OS/2 2.x header"}},
      {"q/pal8os2v2-40sz.bmp", {Outcome::Reference, "40-byte OS/2 2.x header, bfSize not used"}},
      {"q/pal8os2v2-sz.bmp", {Outcome::Reference, "64-byte OS/2 2.x header, bfSize not used"}},
      {"q/pal8os2v2.bmp", {Outcome::Reference, "64-byte OS/2 2.x header"}},
      {"q/pal8oversizepal.bmp", {Outcome::Reference, "300-entry table present in full, first 256 used"}},
      {"q/pal8rlecut.bmp", {Outcome::Reference, "early end of bitmap: the rest stays index 0"}},
      {"q/pal8rletrns.bmp", {Outcome::Reference, "skipped pixels stay index 0"}},
      {"q/rgb16-231.bmp", {Outcome::Reference, "2-3-1 bit fields scaled to 8 bits"}},
      {"q/rgb16-3103.bmp", {Outcome::Reference, "3-10-3 bit fields scaled to 8 bits"}},
      {"q/rgb16faketrns.bmp", {Outcome::Reference, "unused top bit ignored"}},
      {"q/rgb24jpeg.bmp", {Outcome::Refused, "embedded JPEG is not read"}},
      {"q/rgb24largepal.bmp", {Outcome::Reference, "300-entry table of a 24-bit image skipped"}},
      {"q/rgb24lprof.bmp", {Outcome::Reference, "colour profile ignored"}},
      {"q/rgb24png.bmp", {Outcome::Refused, "embedded PNG is not read"}},
      {"q/rgb24prof.bmp", {Outcome::Reference, "colour profile ignored"}},
      {"q/rgb24prof2.bmp", {Outcome::Decoded, "colour profile not applied (its colours need it)"}},
      {"q/rgb24rle24.bmp", {Outcome::Refused, "OS/2 RLE24 compression is not read"}},
      {"q/rgb32-111110.bmp", {Outcome::Decoded, "11-11-10 bit fields rounded to 8 bits; reference is 1 lower in places"}},
      {"q/rgb32-7187.bmp", {Outcome::Reference, "7-18-7 bit fields scaled to 8 bits"}},
      {"q/rgb32-xbgr.bmp", {Outcome::Reference, "V5 masks honoured"}},
      {"q/rgb32fakealpha.bmp", {Outcome::Reference, "unused byte ignored"}},
      {"q/rgb32h52.bmp", {Outcome::Reference, "52-byte header with masks"}},
      {"q/rgba16-1924.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba16-4444.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba16-5551.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32-1.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32-1010102.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32-2.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32-61754.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32-81284.bmp", {Outcome::Reference, "alpha mask ignored"}},
      {"q/rgba32abf.bmp", {Outcome::Reference, "BI_ALPHABITFIELDS masks honoured, alpha ignored"}},
      {"q/rgba32h56.bmp", {Outcome::Reference, "56-byte header with masks, alpha ignored"}},
      {"q/rgba64.bmp", {Outcome::Refused, "64 bits per pixel is not read"}},
  };
  return table;
}

class QuestionableFile : public ::testing::TestWithParam<std::string> {};

TEST_P(QuestionableFile, DecodesOrIsRefusedAsRecorded) {
  ASSERT_SUITE_PRESENT();
  const auto it = QuestionableTable().find(GetParam());
  ASSERT_NE(it, QuestionableTable().end()) << "no recorded outcome for " << GetParam();
  const Questionable& q = it->second;
  Bitmap b;
  bool refused = false;
  try {
    LoadBmpFile(kSuite / GetParam(), b);
  } catch (const BitmapFormatError&) {
    refused = true;
  }
  ASSERT_EQ(refused, q.outcome == Outcome::Refused) << q.why;
  if (refused) {
    EXPECT_TRUE(b.empty());
    return;
  }
  if (q.outcome == Outcome::Reference) {
    EXPECT_EQ(MatchReferences(GetParam(), b), "") << q.why;
  } else {
    int best = -1;
    for (const auto& ref : ReferencesOf(GetParam())) {
      const int d = MaxDifference(b, ref.second);
      if (d >= 0 && (best < 0 || d < best)) best = d;
    }
    RecordProperty("max_channel_difference", best);
    EXPECT_NE(best, 0) << "matches its reference exactly: record it as such";
  }
}

INSTANTIATE_TEST_SUITE_P(BmpSuite, QuestionableFile, ::testing::ValuesIn(SuiteFiles("q")), TestName);

}  // namespace
}  // namespace morvex
