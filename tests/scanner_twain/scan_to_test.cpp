// Acquiring straight to the clipboard and to a .bmp file.
#include "morvex/bmp.h"
#include "morvex/twain/dib.h"
#include "temp_folder.h"
#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;

using ScanTo = TwainTest;

TEST_F(ScanTo, ClipboardTakesTheImage) {
  dsm.script.actions = {UserAction::Scan};
  EXPECT_EQ(TWAIN_ScanToClipboard(window, 0), 1);
  ASSERT_NE(platform.clipboardDib, nullptr);
  EXPECT_EQ(TWAIN_DibWidth(platform.clipboardDib), 5);
  EXPECT_FALSE(platform.clipboardOpen) << "closed again";
}

TEST_F(ScanTo, ClipboardThatRefusesLeavesNothingBehind) {
  dsm.script.actions = {UserAction::Scan};
  platform.clipboardRefuses = true;
  EXPECT_EQ(TWAIN_ScanToClipboard(window, 0), 0);
  EXPECT_EQ(platform.clipboardDib, nullptr);
  // The fixture checks that the refused handle was freed.
}

TEST_F(ScanTo, ClipboardWithoutImage) {
  dsm.script.actions = {UserAction::CloseDialog};
  EXPECT_EQ(TWAIN_ScanToClipboard(window, 0), 0);
  EXPECT_FALSE(platform.clipboardOpen);
}

TEST_F(ScanTo, BmpFileHoldsTheScan) {
  TempFolder folder;
  dsm.script.actions = {UserAction::Scan};
  EXPECT_EQ(TWAIN_ScanToBmpFile(window, (folder / "scan.bmp").string()), 0);
  const Bitmap image = LoadBmpFile(folder / "scan.bmp");
  EXPECT_EQ(image.width(), 5);
  EXPECT_EQ(image.height(), 3);
}

TEST_F(ScanTo, BmpFileWithoutImageIsMinus1) {
  dsm.script.actions = {UserAction::CloseDialog};
  EXPECT_EQ(TWAIN_ScanToBmpFile(window, "/nonexistent-folder/x.bmp"), -1);
}

TEST_F(ScanTo, BmpFilePassesTheSavesCode) {
  dsm.script.actions = {UserAction::Scan};
  EXPECT_EQ(TWAIN_ScanToBmpFile(window, "/nonexistent-folder/x.bmp"), -2);
}

}  // namespace
}  // namespace morvex::testing
