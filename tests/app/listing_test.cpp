#include "morvex/app/listing.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <system_error>

#include "temp_folder.h"

namespace morvex::app {
namespace {

using morvex::testing::TempFolder;

TEST(Listing, BmpFilesOnlySortedWithoutRegardToCase) {
  TempFolder dir;
  for (const char* name : {"x.BMP", "x.bmp", "b.bmp", "A.Bmp", "C.bmp", "x.bmp.txt", "x.bmpx", "xbmp", ".hidden.bmp",
                           "Б.bmp", "а.bmp", "в.BMP", "Ё.bmp"}) {
    dir.write(name, "");
  }
  std::filesystem::create_directory(dir / "folder.bmp");
  dir.write("folder.bmp/inner.bmp", "");
  std::filesystem::create_symlink("x.bmp", dir / "link.bmp");
  std::filesystem::create_symlink("nowhere.bmp", dir / "dangling.bmp");
  EXPECT_EQ(ListNoteFiles(dir.path()), (std::vector<std::string>{"A.Bmp", "b.bmp", "C.bmp", "link.bmp", "x.BMP",
                                                                   "x.bmp", "а.bmp", "Б.bmp", "в.BMP", "Ё.bmp"}));
}

TEST(Listing, ReadAfreshEveryTime) {
  TempFolder dir;
  dir.write("one.bmp", "");
  EXPECT_EQ(ListNoteFiles(dir.path()), std::vector<std::string>{"one.bmp"});
  std::filesystem::rename(dir / "one.bmp", dir / "two.bmp");
  dir.write("three.bmp", "");
  EXPECT_EQ(ListNoteFiles(dir.path()), (std::vector<std::string>{"three.bmp", "two.bmp"}));
}

TEST(Listing, EmptyFolder) {
  TempFolder dir;
  EXPECT_TRUE(ListNoteFiles(dir.path()).empty());
}

TEST(Listing, MissingFolderIsAnError) {
  TempFolder dir;
  EXPECT_THROW(ListNoteFiles(dir / "missing"), std::system_error);
}

TEST(NoteList, KeepsOrderAndRepeatsSkipsEmptyLinesAndDropsCarriageReturns) {
  std::istringstream list("b.bmp\n\n/abs/a.bmp\r\nsub dir/c d.BMP\n  \nb.bmp\nlast.bmp");
  EXPECT_EQ(ReadNoteList(list),
            (std::vector<std::string>{"b.bmp", "/abs/a.bmp", "sub dir/c d.BMP", "  ", "b.bmp", "last.bmp"}));
}

TEST(NoteList, EmptyListHasNoFiles) {
  std::istringstream list("\n\r\n");
  EXPECT_TRUE(ReadNoteList(list).empty());
}

TEST(NoteList, CheckNamesTheFirstPathThatIsNoFile) {
  TempFolder dir;
  dir.write("a.bmp", "");
  std::filesystem::create_directory(dir / "folder.bmp");
  EXPECT_NO_THROW(CheckListedFiles({(dir / "a.bmp").string(), (dir / "a.bmp").string()}));
  for (const std::string bad : {"missing.bmp", "folder.bmp"}) {
    try {
      CheckListedFiles({(dir / "a.bmp").string(), (dir / bad).string(), (dir / "other-missing.bmp").string()});
      ADD_FAILURE() << bad << " passed the check";
    } catch (const std::system_error& e) {
      EXPECT_NE(std::string(e.what()).find((dir / bad).string()), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace morvex::app
