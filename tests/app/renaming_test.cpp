#include "morvex/app/renaming.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "temp_folder.h"
#include "case_name.h"

namespace morvex::app {
namespace {

using morvex::testing::TempFolder;

const AnalisysResult kNote{"1234567", "1234567", 100, false, 300};
const std::string kNoteName = "Note-300-1-1-0100-ХХ1234567.bmp";

TEST(Renaming, RenamesAfterTheResult) {
  TempFolder dir;
  dir.write("scan.bmp", "picture");
  EXPECT_EQ(RenameAfterResult(dir.path(), "scan.bmp", kNote), kNoteName);
  EXPECT_EQ(dir.names(), std::vector<std::string>{kNoteName});
  EXPECT_EQ(dir.read(kNoteName), "picture");
}

TEST(Renaming, AppendsSuffixWhileTheNameIsTaken) {
  TempFolder dir;
  dir.write("scan.bmp", "new");
  dir.write(kNoteName, "first");
  dir.write("Note-300-1-1-0100-ХХ1234567_0.bmp", "second");
  EXPECT_EQ(RenameAfterResult(dir.path(), "scan.bmp", kNote), "Note-300-1-1-0100-ХХ1234567_0_0.bmp");
  EXPECT_EQ(dir.read(kNoteName), "first");
  EXPECT_EQ(dir.read("Note-300-1-1-0100-ХХ1234567_0.bmp"), "second");
  EXPECT_EQ(dir.read("Note-300-1-1-0100-ХХ1234567_0_0.bmp"), "new");
  EXPECT_FALSE(dir.exists("scan.bmp"));
}

TEST(Renaming, FileWithItsOwnTemplateNameCollidesWithItself) {
  TempFolder dir;
  dir.write(kNoteName, "self");
  EXPECT_EQ(RenameAfterResult(dir.path(), kNoteName, kNote), "Note-300-1-1-0100-ХХ1234567_0.bmp");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"Note-300-1-1-0100-ХХ1234567_0.bmp"});
}

TEST(Renaming, NeverReplacesAFileThatAppearsAfterTheTest) {
  TempFolder dir;
  dir.write("scan.bmp", "mine");
  std::vector<std::string> tried;
  const auto intruder = [&](const std::string& name) {
    tried.push_back(name);
    if (tried.size() == 1) dir.write(name, "theirs");  // appears between the test and the rename
  };
  EXPECT_EQ(RenameToFreeName(dir.path(), "scan.bmp", "Note-300-1-1-0100-ХХ1234567", intruder),
            "Note-300-1-1-0100-ХХ1234567_0.bmp");
  EXPECT_EQ(tried, (std::vector<std::string>{kNoteName, "Note-300-1-1-0100-ХХ1234567_0.bmp"}));
  EXPECT_EQ(dir.read(kNoteName), "theirs");
  EXPECT_EQ(dir.read("Note-300-1-1-0100-ХХ1234567_0.bmp"), "mine");
}

class ForbiddenCharacter : public ::testing::TestWithParam<char> {};

TEST_P(ForbiddenCharacter, BaseNameIsNotRenamedTo) {
  TempFolder dir;
  dir.write("scan.bmp", "picture");
  const std::string base = std::string("Note-300-1-1-0100-ХХ123") + GetParam() + "567";
  EXPECT_EQ(RenameToFreeName(dir.path(), "scan.bmp", base), std::nullopt);
  EXPECT_EQ(dir.names(), std::vector<std::string>{"scan.bmp"});
}

INSTANTIATE_TEST_SUITE_P(Table, ForbiddenCharacter, ::testing::Values('\\', '/', ':', '*', '?', '"', '<', '>', '|'),
                         [](const auto& info) { return ::morvex::testing::CaseName("code", static_cast<int>(info.param)); });

TEST(Renaming, UnreadGlyphKeepsTheOldName) {
  TempFolder dir;
  dir.write("scan.bmp", "picture");
  EXPECT_EQ(RenameAfterResult(dir.path(), "scan.bmp", {"12*4567", "1234567", 100, false, 300}), std::nullopt);
  EXPECT_EQ(dir.names(), std::vector<std::string>{"scan.bmp"});
}

TEST(Renaming, HashesAndMinusOneAreAFileName) {
  TempFolder dir;
  dir.write("blank.bmp", "back side");
  EXPECT_EQ(RenameAfterResult(dir.path(), "blank.bmp", {"#######", "#######", -1, false, 200}),
            "Note-200-1-1--0001-ХХ#######.bmp");
}

TEST(Renaming, FolderOfThatNameIsNotAFileAndBlocksTheRename) {
  TempFolder dir;
  dir.write("scan.bmp", "picture");
  std::filesystem::create_directory(dir / kNoteName);
  EXPECT_EQ(RenameAfterResult(dir.path(), "scan.bmp", kNote), std::nullopt);
  EXPECT_TRUE(dir.exists("scan.bmp"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / kNoteName));
}

TEST(Renaming, MissingFileFailsQuietly) {
  TempFolder dir;
  EXPECT_EQ(RenameAfterResult(dir.path(), "gone.bmp", kNote), std::nullopt);
  EXPECT_TRUE(dir.names().empty());
}

}  // namespace
}  // namespace morvex::app
