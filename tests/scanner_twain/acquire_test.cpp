// Acquiring one image: the triplets, the modal loop, cancelled and failed
// transfers, several pending transfers, the image list and the failures.
#include <cstring>
#include <ostream>
#include <functional>

#include "morvex/twain/dib.h"
#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;

// The byte every pixel of a delivered DIB holds: its delivery number.
int FillOf(HGLOBAL dib) {
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
  const int fill = bytes == nullptr ? -1 : bytes[40];
  GlobalUnlock(dib);
  return fill;
}

const std::vector<std::string> kOpening = {"manager MSG_OPENDSM", "manager MSG_OPENDS", "source MSG_ENABLEDS"};
const std::vector<std::string> kClosing = {"source MSG_DISABLEDS", "manager MSG_CLOSEDS", "manager MSG_CLOSEDSM"};
// One scan notice and its transfer, ended or reset.
const std::vector<std::string> kScan = {"source MSG_PROCESSEVENT", "source DAT_IMAGENATIVEXFER MSG_GET",
                                        "source DAT_PENDINGXFERS MSG_ENDXFER"};
const std::vector<std::string> kFailedScan = {"source MSG_PROCESSEVENT", "source DAT_IMAGENATIVEXFER MSG_GET",
                                              "source DAT_PENDINGXFERS MSG_RESET"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

using Acquire = TwainTest;

TEST_F(Acquire, OneImageWithTheExactTriplets) {
  dsm.script.actions = {UserAction::Scan};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(FillOf(dib), 1);
  EXPECT_EQ(TWAIN_DibWidth(dib), 5);
  EXPECT_EQ(TWAIN_ImageCount(), 1);
  EXPECT_EQ(TWAIN_ImageHandle(0), dib);
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(platform.enabled[window]);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(TripletNames(dsm.calls),
            Join({kOpening, kScan, kClosing}));
  EXPECT_EQ(+dsm.calls[2].ui.hParent, window);
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, ClosingTheDialogWithoutScanningReturnsNothingSilently) {
  dsm.script.actions = {UserAction::CloseDialog};
  EXPECT_EQ(TWAIN_AcquireDib(window, 0), nullptr);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_EQ(TripletNames(dsm.calls),
            Join({kOpening, {"source MSG_PROCESSEVENT"}, kClosing}));
}

TEST_F(Acquire, CancelThenScanReturnsTheSecondImage) {
  dsm.script.actions = {UserAction::Scan, UserAction::Scan};
  dsm.script.batches = {{Outcome::Cancel}, {Outcome::Done}};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(FillOf(dib), 1);
  EXPECT_EQ(TWAIN_ImageCount(), 1);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(TripletNames(dsm.calls),
            Join({kOpening, kScan, kScan, kClosing}));
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, FailedTransferIsResetSilentlyAndTheNextScanSucceeds) {
  dsm.script.actions = {UserAction::Scan, UserAction::Scan};
  dsm.script.batches = {{Outcome::Fail, Outcome::Done}, {Outcome::Done}};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(TripletNames(dsm.calls),
            Join({kOpening, kFailedScan, kScan, kClosing}));
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, SeveralPendingTransfersAllComeInAndTheLastIsReturned) {
  dsm.script.actions = {UserAction::Scan};
  dsm.script.batches = {{Outcome::Done, Outcome::Done, Outcome::Done}};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(FillOf(dib), 3);
  ASSERT_EQ(TWAIN_ImageCount(), 3);
  EXPECT_EQ(FillOf(TWAIN_ImageHandle(0)), 1);
  EXPECT_EQ(FillOf(TWAIN_ImageHandle(1)), 2);
  EXPECT_EQ(TWAIN_ImageHandle(2), dib);
  int ends = 0;
  for (const DsmCall& call : dsm.calls) {
    if (call.msg == MSG_ENDXFER) {
      EXPECT_EQ(call.pendingCount, 2 - ends);
      ++ends;
    }
  }
  EXPECT_EQ(ends, 3);
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, TheNextAcquisitionFreesTheListButNotTheReturnedHandle) {
  dsm.script.actions = {UserAction::Scan};
  dsm.script.batches = {{Outcome::Done, Outcome::Done}};
  HGLOBAL kept = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(kept, nullptr);
  HGLOBAL other = TWAIN_ImageHandle(0);
  EXPECT_NE(GlobalSize(other), 0u);
  dsm.Reset();
  dsm.script.actions = {UserAction::CloseDialog};
  EXPECT_EQ(TWAIN_AcquireDib(window, 0), nullptr);
  EXPECT_EQ(GlobalFlags(other), static_cast<unsigned>(GMEM_INVALID_HANDLE)) << "the layer's own handle is freed";
  EXPECT_EQ(FillOf(kept), 2) << "the caller's handle is untouched";
  EXPECT_EQ(TWAIN_ImageCount(), 0);
  TWAIN_FreeDib(kept);
}

TEST_F(Acquire, LastTransferCancelledReturnsNothingEvenAfterAnImage) {
  dsm.script.actions = {UserAction::Scan};
  dsm.script.batches = {{Outcome::Done, Outcome::Cancel}};
  EXPECT_EQ(TWAIN_AcquireDib(window, 0), nullptr);
  EXPECT_EQ(TWAIN_ImageCount(), 1);
  EXPECT_TRUE(platform.ranDry) << "the loop waited on for another scan";
  EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(Acquire, QuitRequestEndsTheModalLoopAndIsConsumed) {
  platform.queue.push_back({nullptr, WM_QUIT, 0, 0});
  dsm.script.actions = {UserAction::Scan};
  EXPECT_EQ(TWAIN_AcquireDib(window, 0), nullptr);
  EXPECT_FALSE(platform.ranDry);
  ASSERT_EQ(platform.queue.size(), 1u) << "the scan notice is still waiting, the quit request is gone";
  EXPECT_EQ(platform.queue.front().message, kDsmPrivateMessage);
  EXPECT_EQ(TripletNames(dsm.calls), Join({kOpening, kClosing}));
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(platform.enabled[window]);
  platform.queue.clear();
}

TEST_F(Acquire, MessagesThatAreNotTheSourcesAreTranslatedAndDispatched) {
  dsm.script.actions = {UserAction::Other, UserAction::Scan};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  ASSERT_EQ(platform.dispatched.size(), 1u);
  EXPECT_EQ(platform.dispatched[0].message, kForeignMessage);
  EXPECT_EQ(platform.translated, 1);
  EXPECT_EQ(dsm.calls[3].eventMessage, kForeignMessage);
  EXPECT_EQ(dsm.calls[3].rc, TWRC_NOTDSEVENT);
  TWAIN_FreeDib(dib);
}

ScriptedPlatform* g_platform = nullptr;
HWND g_window = nullptr;
std::vector<std::pair<HGLOBAL, int>> g_hooked;
std::vector<bool> g_enabledDuringLoop;

TEST_F(Acquire, WindowIsDisabledDuringTheLoopAndEnabledAfterwardsEvenIfItWasDisabledBefore) {
  g_platform = &platform;
  g_window = window;
  g_enabledDuringLoop.clear();
  TWAIN_SetImageHook([](HGLOBAL, int) { g_enabledDuringLoop.push_back(g_platform->enabled[g_window]); });
  platform.EnableWindow(window, false);
  dsm.script.actions = {UserAction::Scan};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  TWAIN_RemoveImageHook();
  EXPECT_EQ(g_enabledDuringLoop, std::vector<bool>{false});
  EXPECT_TRUE(platform.enabled[window]);
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, HookSeesEveryImageWithItsSlot) {
  g_hooked.clear();
  TWAIN_SetImageHook([](HGLOBAL dib, int slot) { g_hooked.emplace_back(dib, slot); });
  dsm.script.actions = {UserAction::Scan};
  dsm.script.batches = {{Outcome::Done, Outcome::Done}};
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  TWAIN_RemoveImageHook();
  ASSERT_EQ(g_hooked.size(), 2u);
  EXPECT_EQ(g_hooked[0].second, 0);
  EXPECT_EQ(g_hooked[1], std::make_pair(dib, 1));
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, MoreImagesThanSlotsNeverWritePastTheListAndLeakNothing) {
  dsm.script.actions = {UserAction::Scan};
  dsm.script.batches = {std::vector<Outcome>(kImageSlots + 6, Outcome::Done)};
  g_hooked.clear();
  TWAIN_SetImageHook([](HGLOBAL dib, int slot) { g_hooked.emplace_back(dib, slot); });
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  TWAIN_RemoveImageHook();
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(TWAIN_ImageCount(), kImageSlots);
  EXPECT_EQ(g_hooked.size(), static_cast<std::size_t>(kImageSlots));
  EXPECT_EQ(TWAIN_ImageHandle(kImageSlots), nullptr);
  EXPECT_EQ(TWAIN_ImageHandle(-1), nullptr);
  EXPECT_EQ(FillOf(dib), (kImageSlots + 6) % 256) << "the last image is the result";
  TWAIN_FreeDib(dib);
}

TEST_F(Acquire, InvalidWindowSilentlyUsesTheProxy) {
  dsm.script.actions = {UserAction::Scan};
  HGLOBAL dib = TWAIN_AcquireDib(reinterpret_cast<HWND>(0xBAD0), 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_TRUE(platform.boxes.empty());
  ASSERT_EQ(platform.proxyTitles, std::vector<std::string>{"Acquire Proxy"});
  ASSERT_EQ(platform.destroyed.size(), 1u);
  EXPECT_EQ(+dsm.calls[2].ui.hParent, platform.destroyed[0]);
  TWAIN_FreeDib(dib);
}

// A closing step that the source refuses: the session still ends at state 1
// and the next scan starts from a clean library.
struct RefusedStep {
  const char* name;
  TW_UINT16 dat;
  TW_UINT16 msg;
};

class RefusedSteps : public TwainTest, public ::testing::WithParamInterface<RefusedStep> {};

TEST_P(RefusedSteps, StillEndAtState1AndTheNextScanStartsClean) {
  dsm.script.actions = {UserAction::Scan};
  dsm.Force(DG_CONTROL, GetParam().dat, GetParam().msg, TWRC_FAILURE);
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(TWAIN_State(), 1);
  TWAIN_FreeDib(dib);
  dsm.Reset();
  dsm.script.actions = {UserAction::Scan};
  dib = TWAIN_AcquireDib(window, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(TripletNames(dsm.calls).front(), "manager MSG_OPENDSM");
  TWAIN_FreeDib(dib);
}

INSTANTIATE_TEST_SUITE_P(Closing, RefusedSteps,
                         ::testing::Values(RefusedStep{"EndOfTransfer", DAT_PENDINGXFERS, MSG_ENDXFER},
                                           RefusedStep{"CloseSource", DAT_IDENTITY, MSG_CLOSEDS}),
                         [](const ::testing::TestParamInfo<RefusedStep>& info) { return std::string(info.param.name); });

struct AcquireFailure {
  std::string name;
  std::function<void(ScriptedPlatform&, DsmControl&, HWND&, std::uint32_t&)> arrange;
  std::string message;
  std::vector<std::string> details;  // lines the details must hold, in order
};
// Cases print as their names in test output.
void PrintTo(const AcquireFailure& c, std::ostream* os) { *os << c.name; }

class AcquireFailures : public TwainTest, public ::testing::WithParamInterface<AcquireFailure> {};

TEST_P(AcquireFailures, ShowOneBoxReturnNothingAndEndAtState1) {
  std::uint32_t mask = 0;
  GetParam().arrange(platform, dsm, window, mask);
  dsm.script.actions = {UserAction::Scan};
  EXPECT_EQ(TWAIN_AcquireDib(window, mask), nullptr);
  ASSERT_EQ(platform.boxes.size(), 1u);
  const auto& box = platform.boxes[0];
  EXPECT_EQ(box.text, GetParam().message);
  EXPECT_EQ(box.caption, "TWAIN Error");
  EXPECT_EQ(box.icon, BoxIcon::Exclamation);
  std::string expected;
  for (const std::string& line : GetParam().details) expected += (expected.empty() ? "" : "\n") + line;
  EXPECT_EQ(box.details, expected);
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_EQ(TWAIN_ImageCount(), 0);
  for (const DsmCall& call : dsm.calls) EXPECT_NE(call.dat, DAT_IMAGENATIVEXFER);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, AcquireFailures,
    ::testing::Values(
        AcquireFailure{"NoProxyWindow",
                       [](ScriptedPlatform& p, DsmControl&, HWND& w, std::uint32_t&) {
                         w = nullptr;
                         p.proxyFails = true;
                       },
                       "Unable to create proxy window",
                       {}},
        AcquireFailure{"NoLibrary",
                       [](ScriptedPlatform& p, DsmControl&, HWND&, std::uint32_t&) {
                         p.windowsDirectory = NoEntryFolder();
                       },
                       "Unable to load Source Manager (TWAIN_32.DLL)",
                       {}},
        AcquireFailure{"OpenManagerRefused",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t&) {
                         d.Force(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE);
                       },
                       "Unable to open Source Manager (TWAIN_32.DLL)",
                       {}},
        AcquireFailure{"OpenSourceRefused",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t&) {
                         d.Force(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_FAILURE);
                         d.script.condition = TWCC_NODS;
                       },
                       "TWAIN_ReportLastError: an error occurred",
                       {"Unable to open default Data Source.", "Source Manager operation failed",
                        "Return code: TWRC_FAILURE", "Condition code: TWCC_NODS (No Data Source)"}},
        AcquireFailure{"SourceBusy",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t&) {
                         d.Force(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_FAILURE);
                         d.script.condition = TWCC_MAXCONNECTIONS;
                       },
                       "TWAIN_ReportLastError: an error occurred",
                       {"Unable to open default Data Source.", "Source Manager operation failed",
                        "Return code: TWRC_FAILURE",
                        "Condition code: TWCC_MAXCONNECTIONS (DS is connected to max possible apps)"}},
        AcquireFailure{"PixelTypesRefused",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t& mask) {
                         mask = 0x4;
                         d.Force(DG_CONTROL, DAT_CAPABILITY, MSG_GET, TWRC_FAILURE);
                         d.script.condition = TWCC_BADCAP;
                       },
                       "TWAIN_ReportLastError: an error occurred",
                       {"Failed to negotiate Pixel Type.", "DAT_CAPABILITY/MSG_GET failed",
                        "Return code: TWRC_FAILURE", "Condition code: TWCC_BADCAP (Unknown capability)"}},
        AcquireFailure{"NoPixelTypeInCommon",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t& mask) {
                         mask = 0x4;
                         d.script.capConType = TWON_ONEVALUE;
                         d.script.capContainer = {TWTY_UINT16, 0, 1, 0, 0, 0};
                       },
                       "TWAIN_ReportLastError: an error occurred",
                       {"Failed to negotiate Pixel Type.", "App and source found NO values in common"}},
        AcquireFailure{"EnableRefused",
                       [](ScriptedPlatform&, DsmControl& d, HWND&, std::uint32_t&) {
                         d.script.enableReturn = TWRC_FAILURE;
                         d.script.condition = TWCC_LOWMEMORY;
                       },
                       "TWAIN_ReportLastError: an error occurred",
                       {"Failed to enable Data Source.", "DataSource operation failed", "Return code: TWRC_FAILURE",
                        "Condition code: TWCC_LOWMEMORY"}}),
    [](const ::testing::TestParamInfo<AcquireFailure>& info) { return info.param.name; });

TEST_F(Acquire, ErrorRecordKeepsTheFirstFailureAndIsClearedByTheNextAcquisition) {
  dsm.script.enableReturn = TWRC_FAILURE;
  dsm.script.condition = TWCC_BADVALUE;
  TWAIN_AcquireDib(window, 0);
  EXPECT_EQ(TWAIN_LastErrorCode(), 5);
  EXPECT_EQ(TWAIN_LastErrorReturnCode(), TWRC_FAILURE);
  EXPECT_EQ(TWAIN_LastErrorCondition(), TWCC_BADVALUE);
  TWAIN_NoteError(4);
  EXPECT_EQ(TWAIN_LastErrorCode(), 5) << "only the first failure is kept";
  dsm.Reset();
  dsm.script.actions = {UserAction::CloseDialog};
  TWAIN_AcquireDib(window, 0);
  EXPECT_EQ(TWAIN_LastErrorCode(), 0);
}

TEST_F(Acquire, ConditionQueryGoesWhereTheStateSays) {
  dsm.script.condition = TWCC_BADDEST;
  EXPECT_EQ(TWAIN_QueryCondition(), TWCC_SEQERROR) << "below State 3 nothing is asked";
  EXPECT_TRUE(dsm.calls.empty());
  ASSERT_TRUE(TWAIN_ManagerOpen(window));
  EXPECT_EQ(TWAIN_QueryCondition(), TWCC_BADDEST);
  EXPECT_EQ(TripletName(dsm.calls.back()), "manager DAT_STATUS MSG_GET");
  ASSERT_TRUE(TWAIN_SourceOpenDefault());
  EXPECT_EQ(TWAIN_QueryCondition(), TWCC_BADDEST);
  EXPECT_EQ(TripletName(dsm.calls.back()), "source DAT_STATUS MSG_GET");
  dsm.Force(DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_FAILURE);
  EXPECT_EQ(TWAIN_QueryCondition(), TWCC_BUMMER);
}

TEST_F(Acquire, SingleTransferDiscardsFurtherPendingTransfers) {
  ASSERT_TRUE(TWAIN_ManagerOpen(window));
  ASSERT_TRUE(TWAIN_SourceOpenDefault());
  ASSERT_TRUE(TWAIN_SourceEnable(window));
  dsm.batch = {Outcome::Done, Outcome::Done};
  dsm.calls.clear();
  TWAIN_TransferSingleImage();  // entered at State 5: the check shows its box, the transfer goes on
  EXPECT_EQ(BoxTexts(platform), std::vector<std::string>{"Assertion failed"});
  EXPECT_EQ(TripletNames(dsm.calls),
            (std::vector<std::string>{"source DAT_IMAGENATIVEXFER MSG_GET", "source DAT_PENDINGXFERS MSG_ENDXFER",
                                      "source DAT_PENDINGXFERS MSG_RESET"}));
  EXPECT_EQ(TWAIN_State(), 5);
  EXPECT_EQ(TWAIN_ImageCount(), 1);
}

TEST(ReturnAndConditionTexts, CoverEveryCodeInOrder) {
  EXPECT_EQ(TWAIN_ReturnCodeText(0), "TWRC_SUCCESS");
  EXPECT_EQ(TWAIN_ReturnCodeText(2), "TWRC_CHECKSTATUS ('tried hard')");
  EXPECT_EQ(TWAIN_ReturnCodeText(7), "TWRC_ENDOFLIST");
  EXPECT_EQ(TWAIN_ConditionCodeText(7), "7 (undefined)");
  EXPECT_EQ(TWAIN_ConditionCodeText(12), "TWCC_BADDEST (Unknown dest. App/Src in DSM_Entry)");
  EXPECT_EQ(TWAIN_ConditionCodeText(13), "13 (undefined)");
  EXPECT_EQ(TWAIN_ErrorText(0), "[no details available]");
  EXPECT_EQ(TWAIN_ErrorText(1), "");
  EXPECT_EQ(TWAIN_ErrorText(7), "TWAIN session not in State 4 (Source Open)");
  EXPECT_EQ(TWAIN_ErrorText(13), "App and source found NO values in common");
}

}  // namespace
}  // namespace morvex::testing
