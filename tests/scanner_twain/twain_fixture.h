// The fixture of the scanner layer's tests: a scripted platform installed,
// the layer reset, the test Source Manager's script and record cleared, and
// afterwards a check that no global memory block was left behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "morvex/twain/multitwain.h"
#include "scripted_platform.h"
#include "test_dsm/test_dsm.h"

// TWAIN's structures are packed, so the tests compare their fields as copies
// (EXPECT_EQ(+identity.Id, ...)): gtest would bind references to misaligned
// fields otherwise.
namespace morvex::testing {

// The test Source Manager, opened by its path (the same instance the layer
// loads from that path).
DsmControl& TestDsm();
std::string TestDsmFolder();
std::string NoEntryFolder();

// "manager MSG_OPENDSM", "source DAT_IMAGENATIVEXFER MSG_GET", ...
std::string TripletName(const DsmCall& call);
std::vector<std::string> TripletNames(const std::vector<DsmCall>& calls);
std::vector<std::string> BoxTexts(const ScriptedPlatform& platform);

class TwainTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScriptedPlatform platform;
  DsmControl& dsm = TestDsm();
  HWND window = nullptr;

 private:
  std::size_t liveBlocks_ = 0;
};

}  // namespace morvex::testing
