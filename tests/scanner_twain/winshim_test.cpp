// Global memory handles and the message-posting hook shared with the Source
// Manager.
#include <gtest/gtest.h>

#include <cstring>

#include "morvex/winshim/hglobal.h"
#include "morvex/winshim/post_message.h"

namespace {

TEST(GlobalMemory, ZeroInitFillsWithZerosAndSizeIsWhatWasAsked) {
  HGLOBAL block = GlobalAlloc(GHND, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(bytes[i], 0) << i;
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, LockCountsAreKeptPerBlock) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  void* first = GlobalLock(block);
  void* second = GlobalLock(block);
  EXPECT_EQ(first, second);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  EXPECT_NE(GlobalUnlock(block), 0) << "still locked once";
  EXPECT_EQ(GlobalUnlock(block), 0) << "unlocked now";
  EXPECT_EQ(GlobalUnlock(block), 0) << "was not locked";
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
  GlobalFree(block);
}

TEST(GlobalMemory, FixedBlocksLockToo) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 4);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  std::memcpy(bytes, "abcd", 4);
  GlobalUnlock(block);
  EXPECT_EQ(std::memcmp(GlobalLock(block), "abcd", 4), 0);
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(GlobalMemory, HandlesThatAreNoLiveBlockAreRefusedWithoutTouchingMemory) {
  HGLOBAL freed = GlobalAlloc(GHND, 16);
  ASSERT_EQ(GlobalFree(freed), nullptr);
  int local = 0;
  const HGLOBAL bogus[] = {freed, reinterpret_cast<HGLOBAL>(&local), reinterpret_cast<HGLOBAL>(0x10)};
  for (HGLOBAL handle : bogus) {
    EXPECT_EQ(GlobalLock(handle), nullptr);
    EXPECT_EQ(GlobalUnlock(handle), 0);
    EXPECT_EQ(GlobalSize(handle), 0u);
    EXPECT_EQ(GlobalFlags(handle), static_cast<unsigned>(GMEM_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(handle), handle) << "a second free is refused";
  }
  EXPECT_EQ(GlobalLock(nullptr), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, UnknownFlagsAreRefused) { EXPECT_EQ(GlobalAlloc(0x0100, 4), nullptr); }

TEST(GlobalMemory, LiveBlocksCountFollowsAllocationsAndFrees) {
  const std::size_t before = GlobalLiveBlocks();
  HGLOBAL a = GlobalAlloc(GHND, 1);
  HGLOBAL b = GlobalAlloc(GHND, 0);
  EXPECT_EQ(GlobalLiveBlocks(), before + 2);
  GlobalFree(a);
  GlobalFree(b);
  EXPECT_EQ(GlobalLiveBlocks(), before);
}

TEST(PostMessageHook, ReachesTheInstalledPosterAndFailsWithoutOne) {
  struct Seen {
    int calls = 0;
    MorvexMessage last{};
  } seen;
  MorvexSetMessagePoster(
      [](const MorvexMessage* message, void* context) {
        auto* s = static_cast<Seen*>(context);
        ++s->calls;
        s->last = *message;
        return 1;
      },
      &seen);
  const MorvexMessage message{reinterpret_cast<HWND>(0x20), MORVEX_WM_USER + 5, 7, -3};
  EXPECT_EQ(MorvexPostMessage(&message), 1);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.last.window, message.window);
  EXPECT_EQ(seen.last.message, message.message);
  EXPECT_EQ(seen.last.wParam, 7u);
  EXPECT_EQ(seen.last.lParam, -3);
  MorvexSetMessagePoster(nullptr, nullptr);
  EXPECT_EQ(MorvexPostMessage(&message), 0);
  EXPECT_EQ(seen.calls, 1);
}

}  // namespace
