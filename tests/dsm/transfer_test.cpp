// Enabling a source, its notices through the program's queue, the native
// transfer, and a scanner that fails.
#include <cstring>

#include "dsm_fixture.h"
#include "morvex/twain/multitwain.h"
#include "source.h"

namespace morvex::testing {
namespace {

using TransferTest = DsmTest;

// A small DIB as the dialog would hand one over.
HGLOBAL SmallDib() {
  HGLOBAL dib = GlobalAlloc(GHND, 40 + 4);
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(dib));
  const std::uint32_t header[10] = {40, 1, 1, 1u | (24u << 16), 0, 4, 0, 0, 0, 0};
  std::memcpy(bytes, header, sizeof header);
  GlobalUnlock(dib);
  return dib;
}

TEST_F(TransferTest, WithoutDialogScansAtOnceAndTheProgramFreesTheImage) {
  frontend.settings = {{"mode", "Color"}, {"resolution", "25"}, {"test-picture", "Grid"}};
  OpenManager();
  OpenSource("test:0");
  Enable(false);
  ASSERT_EQ(NextEvent(), MSG_XFERREADY);
  EXPECT_EQ(manager.source()->state(), 6);
  HGLOBAL dib = Transfer();
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(manager.source()->state(), 5);
  // test:0's default area, 80 x 100 mm at 25 dpi, as scanimage gives it.
  EXPECT_EQ(DibSize(dib), std::make_pair(78, 98));
  const auto* header = static_cast<const std::uint8_t*>(GlobalLock(dib));
  EXPECT_EQ(header[14], 24);  // biBitCount
  GlobalUnlock(dib);
  // The program's own TWAIN_FreeDib releases it: one allocator on both sides.
  twain::TWAIN_FreeDib(dib);
  CloseAll();
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(TransferTest, FailingScanWithoutDialogAsksToCloseAndTheNextScanWorks) {
  frontend.settings = {{"read-return-value", "SANE_STATUS_JAMMED"}};
  OpenManager();
  OpenSource("test:0");
  Enable(false);
  ASSERT_EQ(NextEvent(), MSG_CLOSEDSREQ);
  EXPECT_EQ(manager.source()->state(), 5);
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);

  frontend.settings = {{"read-return-value", "Default"}};
  OpenSource("test:0");
  Enable(false);
  ASSERT_EQ(NextEvent(), MSG_XFERREADY);
  HGLOBAL dib = Transfer();
  EXPECT_NE(dib, nullptr);
  GlobalFree(dib);
}

// Disabling stops a slow scan at once; what the stopped scan posted is stale
// and the next scan works.
TEST_F(TransferTest, DisablingCancelsASlowScanAndTheNextOneWorks) {
  KeepSaneUntilTheProcessEnds();
  frontend.settings = {{"read-delay", "yes"}, {"read-delay-duration", "200000"}, {"read-limit", "yes"},
                       {"read-limit-size", "1"}, {"resolution", "300"}};
  OpenManager();
  OpenSource("test:0");
  Enable(false);
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  std::vector<MorvexMessage> stale;
  while (auto message = queue.Next(std::chrono::milliseconds(0))) stale.push_back(*message);
  ASSERT_FALSE(stale.empty());  // the stopped scan's request to close
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);

  frontend.settings = {{"resolution", "25"}};
  OpenSource("test:0");
  Enable(false);
  for (MorvexMessage& message : stale) {
    TW_EVENT event{&message, 0xFFFF};
    EXPECT_EQ(Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);
  }
  ASSERT_EQ(NextEvent(), MSG_XFERREADY);
  HGLOBAL dib = Transfer();
  EXPECT_EQ(DibSize(dib), std::make_pair(78, 98));
  GlobalFree(dib);
}

TEST_F(TransferTest, DialogImagesAreAnnouncedAndTheDialogStaysForAnother) {
  OpenManager();
  OpenSource("test:0");
  Enable(true);
  ASSERT_TRUE(frontend.dialog.open);
  EXPECT_EQ(frontend.dialog.parent, window);
  EXPECT_EQ(frontend.dialog.scannerName, "frontend-tester");
  EXPECT_EQ(queue.size(), 0u);

  for (int scan = 0; scan < 2; ++scan) {
    HGLOBAL given = SmallDib();
    frontend.dialog.image(given);
    ASSERT_EQ(NextEvent(), MSG_XFERREADY);
    HGLOBAL dib = Transfer();
    EXPECT_EQ(dib, given);
    GlobalFree(dib);
    EXPECT_TRUE(frontend.dialog.open);
  }
  frontend.dialog.close("");
  EXPECT_EQ(NextEvent(), MSG_CLOSEDSREQ);
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  EXPECT_FALSE(frontend.dialog.open);
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(TransferTest, ResetDropsTheImageAndTheSourceWaitsOn) {
  OpenManager();
  OpenSource("test:0");
  Enable(true);
  frontend.dialog.image(SmallDib());
  ASSERT_EQ(NextEvent(), MSG_XFERREADY);
  TW_PENDINGXFERS pending{5, {0}};
  ASSERT_EQ(Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
  EXPECT_EQ(TW_UINT16{pending.Count}, 0);
  EXPECT_EQ(manager.source()->state(), 5);
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(TransferTest, DisablingFreesAnImageNotTaken) {
  OpenManager();
  OpenSource("test:0");
  Enable(true);
  frontend.dialog.image(SmallDib());
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

TEST_F(TransferTest, OtherMessagesAreNotTheSources) {
  OpenManager();
  OpenSource("test:0");
  Enable(true);
  MorvexMessage paint{window, 0x000F, 0, 0};
  TW_EVENT event{&paint, 0xFFFF};
  EXPECT_EQ(Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
}

// A notice left in the queue from an earlier enabling announces nothing.
TEST_F(TransferTest, StaleNoticeAnnouncesNothing) {
  OpenManager();
  OpenSource("test:0");
  Enable(true);
  frontend.dialog.close("");
  std::optional<MorvexMessage> stale = queue.Next();
  ASSERT_TRUE(stale);
  ASSERT_EQ(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  Enable(true);
  TW_EVENT event{&*stale, 0xFFFF};
  EXPECT_EQ(Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
  EXPECT_EQ(manager.source()->state(), 5);
}

}  // namespace
}  // namespace morvex::testing
