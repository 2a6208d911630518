// The scan job: a scan on a worker thread into a global block, its progress,
// its errors and its cancelling at any moment.
#include "scan_job.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "case_name.h"
#include "morvex/sane/session.h"
#include "sane_fixtures.h"

namespace morvex::dsm {
namespace {

using morvex::testing::Settings;
using namespace std::chrono_literals;

// What a job reported, waited for from the test's thread.
struct Outcome {
  std::mutex mutex;
  std::condition_variable changed;
  int doneCalls = 0;
  HGLOBAL dib = nullptr;
  std::string error;
  std::vector<double> fractions;
  std::thread::id doneThread;

  ScanJob::Progress progress() {
    return [this](double f) {
      std::lock_guard lock(mutex);
      fractions.push_back(f);
      changed.notify_all();
    };
  }
  ScanJob::Done done() {
    return [this](HGLOBAL d, const std::string& e) {
      std::lock_guard lock(mutex);
      ++doneCalls;
      dib = d;
      error = e;
      doneThread = std::this_thread::get_id();
      changed.notify_all();
    };
  }
  bool waitDone(std::chrono::seconds limit = 60s) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [this] { return doneCalls > 0; });
  }
  bool waitProgress(std::chrono::seconds limit = 60s) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [this] { return !fractions.empty(); });
  }
};

struct DibHeader {
  std::int32_t width = 0, height = 0;
  std::uint16_t bits = 0;
};

DibHeader HeaderOf(HGLOBAL dib) {
  DibHeader h;
  const auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!p) return h;
  std::memcpy(&h.width, p + 4, 4);
  std::memcpy(&h.height, p + 8, 4);
  std::memcpy(&h.bits, p + 14, 2);
  GlobalUnlock(dib);
  return h;
}

std::size_t DibBytes(const DibHeader& h) {
  const std::size_t row = ((static_cast<std::size_t>(h.width) * h.bits + 31) / 32) * 4;
  const std::size_t palette = h.bits == 24 ? 0 : (std::size_t{1} << h.bits) * 4;
  return 40 + palette + row * static_cast<std::size_t>(std::abs(h.height));
}

class ScanJobTest : public ::testing::Test {
 protected:
  void SetUp() override { blocksBefore_ = GlobalLiveBlocks(); }
  void TearDown() override { EXPECT_EQ(GlobalLiveBlocks(), blocksBefore_) << "a global block was left behind"; }

  sane::Session session_;
  sane::Device device_ = session_.open("test:0");
  std::size_t blocksBefore_ = 0;
};

// A slow scan: every buffer waits, and a large picture needs many of them.
const Settings kSlowScan = {{"resolution", "300"}, {"read-limit", "yes"}, {"read-limit-size", "4096"},
                            {"read-delay", "yes"}, {"read-delay-duration", "100000"}};

struct ModeCase {
  std::string name;
  Settings settings;
  int bits;
  bool heightKnown;
};

class ScanJobModes : public ScanJobTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ScanJobModes, TheWholeImageLandsInOneGlobalBlockOfItsExactSize) {
  testing::Apply(device_, GetParam().settings);
  const sane::FrameParameters estimate = device_.estimatedParameters();
  Outcome outcome;
  {
    ScanJob job(device_, outcome.progress(), outcome.done());
    ASSERT_TRUE(outcome.waitDone());
  }
  ASSERT_EQ(outcome.doneCalls, 1);
  ASSERT_NE(outcome.dib, nullptr) << outcome.error;
  EXPECT_EQ(outcome.error, "");
  EXPECT_NE(outcome.doneThread, std::this_thread::get_id());
  EXPECT_EQ(GlobalFlags(outcome.dib) & GMEM_LOCKCOUNT, 0u) << "handed over locked";
  const DibHeader h = HeaderOf(outcome.dib);
  EXPECT_EQ(h.bits, GetParam().bits);
  EXPECT_EQ(h.width, estimate.pixelsPerLine);
  EXPECT_GT(h.height, 0);
  EXPECT_EQ(GlobalSize(outcome.dib), DibBytes(h));
  // Progress: the unknown height shows as -1; a known one climbs to the end.
  ASSERT_FALSE(outcome.fractions.empty());
  if (GetParam().heightKnown) {
    for (std::size_t i = 1; i < outcome.fractions.size(); ++i) EXPECT_GE(outcome.fractions[i], outcome.fractions[i - 1]);
    EXPECT_DOUBLE_EQ(outcome.fractions.back(), 1.0);
  } else {
    EXPECT_EQ(outcome.fractions.front(), -1);
  }
  GlobalFree(outcome.dib);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ScanJobModes,
    ::testing::Values(ModeCase{"gray8", {{"mode", "Gray"}}, 8, true},
                      ModeCase{"color", {{"mode", "Color"}}, 24, true},
                      ModeCase{"lineart", {{"mode", "Gray"}, {"depth", "1"}}, 1, true},
                      ModeCase{"gray16", {{"mode", "Gray"}, {"depth", "16"}}, 8, true},
                      ModeCase{"three_pass", {{"mode", "Color"}, {"three-pass", "yes"}}, 24, true},
                      ModeCase{"hand_scanner", {{"hand-scanner", "yes"}}, 8, false}),
    [](const auto& info) { return morvex::testing::CaseName(info.param.name); });

TEST_F(ScanJobTest, CancelDuringASlowScanGivesNoImageAndNoErrorAndTheDeviceScansAgain) {
  testing::Apply(device_, kSlowScan);
  Outcome outcome;
  ScanJob job(device_, outcome.progress(), outcome.done());
  ASSERT_TRUE(outcome.waitProgress());
  const auto asked = std::chrono::steady_clock::now();
  job.Cancel();
  ASSERT_TRUE(outcome.waitDone(30s));
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 10s) << "cancel took as long as the scan";
  EXPECT_EQ(outcome.dib, nullptr);
  EXPECT_EQ(outcome.error, "");

  testing::Apply(device_, {{"read-delay", "no"}, {"resolution", "50"}});
  Outcome again;
  {
    ScanJob second(device_, nullptr, again.done());
    ASSERT_TRUE(again.waitDone());
  }
  ASSERT_NE(again.dib, nullptr) << again.error;
  GlobalFree(again.dib);
}

TEST_F(ScanJobTest, CancelBeforeTheFirstRowAndCancelTwiceAreHarmless) {
  testing::Apply(device_, kSlowScan);
  Outcome outcome;
  {
    ScanJob job(device_, outcome.progress(), outcome.done());
    job.Cancel();
    job.Cancel();
    ASSERT_TRUE(outcome.waitDone(30s));
  }
  EXPECT_EQ(outcome.doneCalls, 1);
  EXPECT_EQ(outcome.dib, nullptr);
  EXPECT_EQ(outcome.error, "");
}

TEST_F(ScanJobTest, DestroyingARunningJobCancelsAndWaitsForTheWorker) {
  testing::Apply(device_, kSlowScan);
  Outcome outcome;
  const auto start = std::chrono::steady_clock::now();
  {
    ScanJob job(device_, outcome.progress(), outcome.done());
    ASSERT_TRUE(outcome.waitProgress());
  }
  // The worker has finished: the callback ran, once, before the destructor returned.
  std::lock_guard lock(outcome.mutex);
  EXPECT_EQ(outcome.doneCalls, 1);
  EXPECT_EQ(outcome.dib, nullptr);
  EXPECT_EQ(outcome.error, "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

struct StatusCase {
  std::string value;  // read-return-value
  std::string expected;  // part of the message
};

class ScanJobErrors : public ScanJobTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ScanJobErrors, ADeviceFaultIsReportedWithTheDevicesMessageAndNoBlock) {
  testing::Apply(device_, {{"read-return-value", GetParam().value}});
  Outcome outcome;
  {
    ScanJob job(device_, nullptr, outcome.done());
    ASSERT_TRUE(outcome.waitDone());
  }
  EXPECT_EQ(outcome.dib, nullptr);
  EXPECT_NE(outcome.error.find(GetParam().expected), std::string::npos) << outcome.error;
  EXPECT_NE(outcome.error.find("test:0"), std::string::npos) << outcome.error;
}

// A scan the device itself reports cancelled, with nobody asking, is a fault
// to report, not a user's cancel to pass over in silence.
INSTANTIATE_TEST_SUITE_P(Statuses, ScanJobErrors,
                         ::testing::Values(StatusCase{"SANE_STATUS_JAMMED", "(jammed)"},
                                           StatusCase{"SANE_STATUS_NO_DOCS", "(no documents)"},
                                           StatusCase{"SANE_STATUS_COVER_OPEN", "(cover open)"},
                                           StatusCase{"SANE_STATUS_IO_ERROR", "(I/O error)"},
                                           StatusCase{"SANE_STATUS_NO_MEM", "(out of memory)"},
                                           StatusCase{"SANE_STATUS_ACCESS_DENIED", "(access denied)"},
                                           StatusCase{"SANE_STATUS_CANCELLED", "(cancelled)"}),
                         [](const auto& info) { return morvex::testing::CaseName(info.param.value); });

TEST_F(ScanJobTest, AFailedScanLeavesTheDeviceReadyForTheNext) {
  testing::Apply(device_, {{"read-return-value", "SANE_STATUS_IO_ERROR"}});
  Outcome failed;
  {
    ScanJob job(device_, nullptr, failed.done());
    ASSERT_TRUE(failed.waitDone());
  }
  ASSERT_EQ(failed.dib, nullptr);
  testing::Apply(device_, {{"read-return-value", "Default"}});
  Outcome outcome;
  {
    ScanJob job(device_, nullptr, outcome.done());
    ASSERT_TRUE(outcome.waitDone());
  }
  ASSERT_NE(outcome.dib, nullptr) << outcome.error;
  GlobalFree(outcome.dib);
}

}  // namespace
}  // namespace morvex::dsm
