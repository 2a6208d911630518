// Writing DIB handles as .bmp files and reading them back.
#include <cstring>
#include <ostream>

#include "dib_support.h"
#include "morvex/bmp.h"
#include "morvex/twain/dib.h"
#include "temp_folder.h"
#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

using DibFiles = TwainTest;

// The saved file shows the same picture as the DIB: its pixel offset is right.
void ExpectSamePicture(const std::vector<std::uint8_t>& dib, const std::filesystem::path& file) {
  Bitmap fromDib, fromFile;
  DecodePackedDib(dib, fromDib);
  const std::string bytes = ReadBytes(file);
  DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), fromFile);
  ASSERT_EQ(fromFile.width(), fromDib.width());
  ASSERT_EQ(fromFile.height(), fromDib.height());
  for (int y = 0; y < fromDib.height(); ++y) {
    for (int x = 0; x < fromDib.width(); ++x) ASSERT_EQ(fromFile.pixel(x, y), fromDib.pixel(x, y)) << x << "," << y;
  }
}

struct SaveCase {
  std::string name;
  DibLayout plan;
  std::uint32_t offBits;
};
// Cases print as their names in test output.
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveKinds : public DibFiles, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveKinds, WriteTheTruePixelOffsetAndLoadBackByteForByte) {
  TempFolder folder;
  const std::vector<std::uint8_t> dib = BuildPackedDib(GetParam().plan);
  OwnedBlock block(dib);
  const std::string name = (folder / "scan.bmp").string();
  ASSERT_EQ(TWAIN_SaveDibFile(block.get(), name), 0);
  const std::string file = ReadBytes(name);
  ASSERT_GE(file.size(), 14u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Le32(file, 2), file.size()) << "bfSize";
  EXPECT_EQ(Le32(file, 6), 0u) << "reserved words";
  EXPECT_EQ(Le32(file, 10), GetParam().offBits) << "bfOffBits";
  ExpectSamePicture(BytesOf(block.get()), name);
  OwnedBlock loaded(TWAIN_LoadDibFile(name));
  ASSERT_NE(loaded.get(), nullptr);
  EXPECT_EQ(BytesOf(loaded.get()), BytesOf(block.get()));
}

DibLayout BitFields(DibLayout plan) {
  plan.compression = BI_BITFIELDS;
  plan.masks = std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F};
  plan.sizeImage = static_cast<std::uint32_t>(plan.pixels.size());
  return plan;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaveKinds,
    ::testing::Values(SaveCase{"Bits8Palette", Plan(40, 8, 5, 3, 0, 256), 54 + 1024},
                      SaveCase{"Bits4ClrUsed12", Plan(40, 4, 5, 3, 12, 12), 54 + 48},
                      SaveCase{"Bits24", Plan(40, 24, 5, 3), 54},
                      SaveCase{"Bits24TopDown", Plan(40, 24, 5, -3), 54},
                      SaveCase{"BitFields16MasksCounted", BitFields(Plan(40, 16, 5, 3)), 54 + 12},
                      SaveCase{"Bits8ClrUsedAbove256", Plan(40, 8, 5, 3, 300, 300), 54 + 1200},
                      SaveCase{"CoreBits8", Plan(12, 8, 5, 3, 0, 256), 14 + 12 + 768},
                      SaveCase{"V5Header", Plan(124, 24, 5, 3), 14 + 124}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

TEST_F(DibFiles, UncompressedSizeIsRecomputedIntoTheDibItself) {
  TempFolder folder;
  DibLayout plan = Plan(40, 24, 5, -3);
  plan.sizeImage = 1;  // wrong on purpose
  OwnedBlock block(BuildPackedDib(plan));
  ASSERT_EQ(TWAIN_SaveDibFile(block.get(), (folder / "a.bmp").string()), 0);
  const std::vector<std::uint8_t> after = BytesOf(block.get());
  std::uint32_t sizeImage;
  std::memcpy(&sizeImage, after.data() + 20, 4);
  EXPECT_EQ(sizeImage, 3u * 16u) << "three rows of 16 bytes, also for a top-down DIB";
  EXPECT_EQ(ReadBytes(folder / "a.bmp").size(), 54u + 48u);
}

TEST_F(DibFiles, CompressedWithoutImageSizeIsRefused) {
  TempFolder folder;
  DibLayout plan = Plan(40, 8, 4, 2, 0, 256);
  plan.compression = BI_RLE8;
  plan.pixels = {0, 1};  // end of bitmap
  plan.sizeImage = 0;
  OwnedBlock block(BuildPackedDib(plan));
  // The builder fills in the stream's length when sizeImage is 0; clear it.
  std::uint8_t* header = static_cast<std::uint8_t*>(GlobalLock(block.get()));
  std::memset(header + 20, 0, 4);
  GlobalUnlock(block.get());
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), (folder / "rle.bmp").string()), -4);
}

TEST_F(DibFiles, DibShorterThanItsHeaderSaysIsRefusedWithoutReadingPastIt) {
  TempFolder folder;
  std::vector<std::uint8_t> dib = BuildPackedDib(Plan(40, 24, 5, 3));
  dib.resize(dib.size() - 10);
  OwnedBlock block(dib);
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), (folder / "short.bmp").string()), -4);
}

TEST_F(DibFiles, FileThatCannotBeCreatedGivesMinus2) {
  OwnedBlock block(BuildPackedDib(Plan(40, 24, 2, 2)));
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), "/nonexistent-folder/x.bmp"), -2);
}

TEST_F(DibFiles, BogusHandleGivesMinus3AndLeavesAnExistingFileAlone) {
  TempFolder folder;
  folder.write("keep.bmp", "precious");
  int local = 0;
  EXPECT_EQ(TWAIN_SaveDibFile(reinterpret_cast<HGLOBAL>(&local), (folder / "keep.bmp").string()), -3);
  EXPECT_EQ(folder.read("keep.bmp"), "precious");
}

TEST_F(DibFiles, FailedWriteGivesMinus4) {
  TempFolder folder;
  OwnedBlock block(BuildPackedDib(Plan(40, 24, 5, 3)));
  platform.writeLimit = 20;
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), (folder / "w.bmp").string()), -4);
}

TEST_F(DibFiles, SaveDialogCancelledGivesMinus1WithItsFilter) {
  OwnedBlock block(BuildPackedDib(Plan(40, 24, 2, 2)));
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), ""), -1);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].kind, FileDialogKind::Save);
  EXPECT_EQ(platform.dialogs[0].filterName, "Windows Bitmap (*.bmp)");
  EXPECT_EQ(platform.dialogs[0].pattern, "*.bmp");
}

TEST_F(DibFiles, ChosenNameWithoutExtensionGetsBmp) {
  TempFolder folder;
  OwnedBlock block(BuildPackedDib(Plan(40, 24, 2, 2)));
  platform.dialogAnswer = (folder / "picked").string();
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), ""), 0);
  EXPECT_TRUE(folder.exists("picked.bmp"));
  platform.dialogAnswer = (folder / "other.dib").string();
  EXPECT_EQ(TWAIN_SaveDibFile(block.get(), ""), 0);
  EXPECT_TRUE(folder.exists("other.dib"));
}

TEST_F(DibFiles, LoadDialogHasItsOwnFilterAndCancelGivesNothing) {
  EXPECT_EQ(TWAIN_LoadDibFile(""), nullptr);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].kind, FileDialogKind::Open);
  EXPECT_EQ(platform.dialogs[0].filterName, "Windows Bitmaps (*.bmp)");
  EXPECT_EQ(platform.dialogs[0].pattern, "*.bmp");
}

struct BadFile {
  std::string name;
  std::string content;
};
// Cases print as their names in test output.
void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }

class LoadRefuses : public DibFiles, public ::testing::WithParamInterface<BadFile> {};

TEST_P(LoadRefuses, FilesThatAreNoWholeBitmap) {
  TempFolder folder;
  folder.write("bad.bmp", GetParam().content);
  EXPECT_EQ(TWAIN_LoadDibFile((folder / "bad.bmp").string()), nullptr);
}

std::string FileWithSize(std::uint32_t bfSize, std::size_t bodyBytes) {
  std::string file = "BM";
  file.append(reinterpret_cast<const char*>(&bfSize), 4);
  file.append(8, '\0');
  file.append(bodyBytes, 'x');
  return file;
}

INSTANTIATE_TEST_SUITE_P(Files, LoadRefuses,
                         ::testing::Values(BadFile{"Empty", ""}, BadFile{"ShortHeader", "BM12"},
                                           BadFile{"NotBM", std::string("XM") + std::string(60, '\0')},
                                           BadFile{"SizeBeyondTheFile", FileWithSize(1000, 100)},
                                           BadFile{"HugeSize", FileWithSize(0xFFFFFFF0u, 100)},
                                           BadFile{"SizeBelowTheFileHeader", FileWithSize(4, 100)}),
                         [](const ::testing::TestParamInfo<BadFile>& info) { return info.param.name; });

TEST_F(DibFiles, MissingFileGivesNothing) { EXPECT_EQ(TWAIN_LoadDibFile("/nonexistent-folder/x.bmp"), nullptr); }

}  // namespace
}  // namespace morvex::testing
