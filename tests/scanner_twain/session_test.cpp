// The session's steps and states, loading the Source Manager, and choosing
// a source.
#include <unistd.h>
#include <ostream>

#include <cstring>
#include <filesystem>
#include <functional>

#include "morvex/twain/layer_state.h"
#include "morvex/twain/library_folder.h"
#include "temp_folder.h"
#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;

// Takes the session from State 1 up to `state` with the steps.
void Reach(int state, HWND window) {
  if (state >= 2) {
    ASSERT_TRUE(TWAIN_ManagerLoad());
  }
  if (state >= 3) {
    ASSERT_TRUE(TWAIN_ManagerOpen(window));
  }
  if (state >= 4) {
    ASSERT_TRUE(TWAIN_SourceOpenDefault());
  }
  if (state >= 5) {
    ASSERT_TRUE(TWAIN_SourceEnable(window));
  }
  ASSERT_EQ(TWAIN_State(), state);
}

// One row of the state table: the step, the state it acts at, the triplet
// it sends, and the state after success and after the triplet's refusal.
struct StepRow {
  std::string name;
  int from;
  std::function<bool(HWND)> step;
  TW_UINT32 dg;
  TW_UINT16 dat, msg;
  std::string triplet;
  int afterSuccess;
  int afterRefusal;
};
// Cases print as their names in test output.
void PrintTo(const StepRow& c, std::ostream* os) { *os << c.name; }

class StateTable : public TwainTest, public ::testing::WithParamInterface<StepRow> {};

TEST_P(StateTable, StepSendsItsTripletAndMovesOnlyOnSuccess) {
  const StepRow& row = GetParam();
  Reach(row.from, window);
  dsm.calls.clear();
  EXPECT_TRUE(row.step(window));
  ASSERT_EQ(dsm.calls.size(), 1u);
  EXPECT_EQ(TripletName(dsm.calls[0]), row.triplet);
  EXPECT_EQ(TWAIN_State(), row.afterSuccess);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_P(StateTable, RefusedTripletLeavesTheState) {
  const StepRow& row = GetParam();
  Reach(row.from, window);
  dsm.Force(row.dg, row.dat, row.msg, TWRC_FAILURE);
  EXPECT_FALSE(row.step(window));
  EXPECT_EQ(TWAIN_State(), row.afterRefusal);
  EXPECT_EQ(TWAIN_LastReturnCode(), TWRC_FAILURE);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StateTable,
    ::testing::Values(
        StepRow{"ManagerOpen", 2, [](HWND w) { return TWAIN_ManagerOpen(w); }, DG_CONTROL, DAT_PARENT, MSG_OPENDSM,
                "manager MSG_OPENDSM", 3, 2},
        StepRow{"SourceOpenDefault", 3, [](HWND) { return TWAIN_SourceOpenDefault(); }, DG_CONTROL, DAT_IDENTITY,
                MSG_OPENDS, "manager MSG_OPENDS", 4, 3},
        StepRow{"SourceEnable", 4, [](HWND w) { return TWAIN_SourceEnable(w); }, DG_CONTROL, DAT_USERINTERFACE,
                MSG_ENABLEDS, "source MSG_ENABLEDS", 5, 4},
        StepRow{"SourceDisable", 5, [](HWND) { return TWAIN_SourceDisable(); }, DG_CONTROL, DAT_USERINTERFACE,
                MSG_DISABLEDS, "source MSG_DISABLEDS", 4, 5},
        StepRow{"SourceClose", 4, [](HWND) { return TWAIN_SourceClose(); }, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS,
                "manager MSG_CLOSEDS", 3, 4},
        StepRow{"ManagerClose", 3, [](HWND w) { return TWAIN_ManagerClose(w); }, DG_CONTROL, DAT_PARENT,
                MSG_CLOSEDSM, "manager MSG_CLOSEDSM", 2, 3}),
    [](const ::testing::TestParamInfo<StepRow>& info) { return info.param.name; });

// Each step's guard: at the wrong state it sends nothing and only reports.
struct GuardRow {
  std::string name;
  int at;
  std::function<bool(HWND)> step;
  bool reports;
};
// Cases print as their names in test output.
void PrintTo(const GuardRow& c, std::ostream* os) { *os << c.name; }

class StepGuards : public TwainTest, public ::testing::WithParamInterface<GuardRow> {};

TEST_P(StepGuards, SendNothingOutsideTheirState) {
  const GuardRow& row = GetParam();
  Reach(row.at, window);
  dsm.calls.clear();
  EXPECT_EQ(row.step(window), row.reports);
  EXPECT_TRUE(dsm.calls.empty()) << TripletName(dsm.calls.front());
  EXPECT_EQ(TWAIN_State(), row.at);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepGuards,
    ::testing::Values(GuardRow{"LoadAtState3", 3, [](HWND) { return TWAIN_ManagerLoad(); }, true},
                      GuardRow{"OpenDefaultAtState2", 2, [](HWND) { return TWAIN_SourceOpenDefault(); }, false},
                      GuardRow{"OpenDefaultAtState4", 4, [](HWND) { return TWAIN_SourceOpenDefault(); }, true},
                      GuardRow{"EnableAtState3", 3, [](HWND w) { return TWAIN_SourceEnable(w); }, false},
                      GuardRow{"DisableAtState4", 4, [](HWND) { return TWAIN_SourceDisable(); }, true},
                      GuardRow{"DisableAtState3", 3, [](HWND) { return TWAIN_SourceDisable(); }, true},
                      GuardRow{"CloseAtState3", 3, [](HWND) { return TWAIN_SourceClose(); }, true},
                      GuardRow{"UnloadAtState3", 3, [](HWND) { return TWAIN_ManagerUnload(); }, false},
                      GuardRow{"ManagerCloseAtState1", 1, [](HWND w) { return TWAIN_ManagerClose(w); }, true}),
    [](const ::testing::TestParamInfo<GuardRow>& info) { return info.param.name; });

using SessionSteps = TwainTest;

TEST_F(SessionSteps, SourceCloseAtState5DisablesFirst) {
  Reach(5, window);
  dsm.calls.clear();
  EXPECT_TRUE(TWAIN_SourceClose());
  EXPECT_EQ(TripletNames(dsm.calls), (std::vector<std::string>{"source MSG_DISABLEDS", "manager MSG_CLOSEDS"}));
  EXPECT_EQ(TWAIN_State(), 3);
}

TEST_F(SessionSteps, ManagerCloseAtState2SendsCloseDsmWhichIsRefused) {
  Reach(2, window);
  EXPECT_TRUE(TWAIN_ManagerClose(window)) << "the state is 2 or lower";
  EXPECT_EQ(TripletNames(dsm.calls), (std::vector<std::string>{"manager MSG_CLOSEDSM"}));
  EXPECT_EQ(TWAIN_State(), 2);
  EXPECT_TRUE(TWAIN_ManagerUnload());
  EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(SessionSteps, OpenPassesTheParentWindowAndCloseItsOwnCopy) {
  Reach(3, window);
  HWND other = platform.MakeWindow();
  TWAIN_ManagerClose(other);
  ASSERT_EQ(dsm.calls.size(), 2u);
  EXPECT_EQ(dsm.calls[0].parent, window);
  EXPECT_EQ(dsm.calls[1].parent, other);
}

TEST_F(SessionSteps, OpenDefaultAsksForTheDefaultSource) {
  Reach(3, window);
  TWAIN_SourceOpenDefault();
  const DsmCall& open = dsm.calls.back();
  EXPECT_EQ(+open.identity.Id, 0u);
  EXPECT_STREQ(open.identity.ProductName, "");
  // Later triplets to the source carry the identity the manager filled in.
  TWAIN_SourceEnable(window);
  EXPECT_TRUE(dsm.calls.back().toSource);
  EXPECT_EQ(+dsm.calls.back().destination.Id, 1u);
  EXPECT_STREQ(dsm.calls.back().destination.ProductName, "Test Source");
}

TEST_F(SessionSteps, EnableSendsTheUserInterfaceRecordAndDisableTheSameOne) {
  Reach(4, window);
  TWAIN_SourceEnable(window);
  TWAIN_SourceDisable();
  ASSERT_EQ(dsm.calls.size(), 4u);
  for (const DsmCall* call : {&dsm.calls[2], &dsm.calls[3]}) {
    EXPECT_EQ(+call->ui.ShowUI, 1);
    EXPECT_EQ(+call->ui.ModalUI, 0);
    EXPECT_EQ(+call->ui.hParent, window);
  }
}

TEST_F(SessionSteps, HideUiFlagClearsShowUi) {
  EXPECT_EQ(TWAIN_GetHideUI(), 0);
  TWAIN_SetHideUI(5);
  EXPECT_EQ(TWAIN_GetHideUI(), 1);
  Reach(5, window);
  EXPECT_EQ(+dsm.calls.back().ui.ShowUI, 0);
  TWAIN_SetHideUI(0);
  EXPECT_EQ(TWAIN_GetHideUI(), 0);
}

TEST_F(SessionSteps, EnableThatReturnsCheckStatusStillEnables) {
  Reach(4, window);
  dsm.script.enableReturn = TWRC_CHECKSTATUS;
  EXPECT_TRUE(TWAIN_SourceEnable(window));
  EXPECT_EQ(TWAIN_State(), 5);
}

TEST_F(SessionSteps, CallsToTheSourceBelowState4ShowTheAssertionBoxAndAreMadeAnyway) {
  Reach(3, window);
  TW_STATUS status{};
  TWAIN_CallSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "Assertion failed");
  EXPECT_EQ(platform.boxes[0].caption, "MultiTWAIN");
  EXPECT_EQ(platform.boxes[0].icon, BoxIcon::None);
  EXPECT_EQ(dsm.calls.size(), 2u);
}

TEST_F(SessionSteps, WithoutEntryPointNothingIsCalledAndTheCodeIsFailure) {
  TW_STATUS status{};
  EXPECT_FALSE(TWAIN_CallManager(DG_CONTROL, DAT_STATUS, MSG_GET, &status));
  EXPECT_EQ(TWAIN_LastReturnCode(), TWRC_FAILURE);
  EXPECT_TRUE(dsm.calls.empty());
}

TEST_F(SessionSteps, QueriesAnswerVersionAndState) {
  EXPECT_EQ(TWAIN_Version(), 106);
  EXPECT_EQ(TWAIN_State(), 1);
}

// ---- Loading ----------------------------------------------------------------

using Loading = TwainTest;

TEST_F(Loading, MissingLibraryLeavesState1) {
  TempFolder empty;
  platform.windowsDirectory = empty.path().string();
  EXPECT_FALSE(TWAIN_ManagerLoad());
  EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(Loading, LibraryWithoutEntryPointIsReleasedAgain) {
  platform.windowsDirectory = NoEntryFolder();
  EXPECT_FALSE(TWAIN_ManagerLoad());
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_FALSE(TWAIN_ManagerPresent());
}

TEST_F(Loading, FileThatIsNoLibraryIsNotLoaded) {
  TempFolder folder;
  folder.write("TWAIN_32.DLL", "not a shared library");
  platform.windowsDirectory = folder.path().string();
  EXPECT_FALSE(TWAIN_ManagerLoad());
  EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(Loading, FolderEndingInASeparatorGetsNoSecondOne) {
  platform.windowsDirectory = TestDsmFolder() + "/";
  EXPECT_TRUE(TWAIN_ManagerLoad());
  EXPECT_EQ(TWAIN_State(), 2);
}

TEST_F(Loading, EmptyFolderNeverMeansTheSearchPathOrTheCurrentFolder) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(TestDsmFolder());
  platform.windowsDirectory = "";
  const bool loaded = TWAIN_ManagerLoad();
  std::filesystem::current_path(before);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(TWAIN_State(), 1);
}

TEST_F(Loading, FolderPathsLongerThan128CharactersWork) {
  TempFolder folder;
  const std::filesystem::path deep = folder.path() / std::string(150, 'd');
  std::filesystem::create_directories(deep);
  std::filesystem::copy_file(TestDsmFolder() + "/TWAIN_32.DLL", deep / "TWAIN_32.DLL");
  platform.windowsDirectory = deep.string();
  ASSERT_GT(platform.windowsDirectory.size(), 128u);
  EXPECT_TRUE(TWAIN_ManagerLoad());
  EXPECT_TRUE(TWAIN_ManagerUnload());
}

TEST_F(Loading, ManagerPresentProbesOnceAndUnloadsAgain) {
  EXPECT_TRUE(TWAIN_ManagerPresent());
  EXPECT_EQ(TWAIN_State(), 1);
  platform.windowsDirectory = NoEntryFolder();
  EXPECT_TRUE(TWAIN_ManagerPresent()) << "answered from the memo";
}

TEST_F(Loading, ManagerPresentRemembersAbsence) {
  platform.windowsDirectory = NoEntryFolder();
  EXPECT_FALSE(TWAIN_ManagerPresent());
  platform.windowsDirectory = TestDsmFolder();
  EXPECT_FALSE(TWAIN_ManagerPresent());
}

TEST_F(Loading, ManagerPresentIsTrueWhileLoaded) {
  platform.windowsDirectory = TestDsmFolder();
  ASSERT_TRUE(TWAIN_ManagerLoad());
  EXPECT_TRUE(TWAIN_ManagerPresent());
  EXPECT_EQ(TWAIN_State(), 2);
}

TEST(LibraryFolder, InstalledFolderBesideTheProgramComesFirst) {
  TempFolder prefix;
  std::filesystem::create_directories(prefix.path() / "bin");
  std::filesystem::create_directories(prefix.path() / "lib" / "morvex");
  TempFolder build;
  const std::string program = (prefix.path() / "bin" / "morvex-demo").string();
  EXPECT_EQ(LibraryFolderFor(program, build.path().string()), (prefix.path() / "lib" / "morvex").string());
}

TEST(LibraryFolder, BuildTreeFolderWhenNotInstalled) {
  TempFolder prefix;
  TempFolder build;
  const std::string program = (prefix.path() / "app" / "gui" / "morvex-demo").string();
  EXPECT_EQ(LibraryFolderFor(program, build.path().string()), build.path().string());
}

// ---- Choosing a source --------------------------------------------------------

using SelectSource = TwainTest;

TEST_F(SelectSource, ChoosingReturns1AndTakesTheSessionDown) {
  EXPECT_EQ(TWAIN_SelectImageSource(window), 1);
  EXPECT_EQ(TripletNames(dsm.calls), (std::vector<std::string>{"manager MSG_OPENDSM", "manager MSG_USERSELECT",
                                                               "manager MSG_CLOSEDSM"}));
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(platform.boxes.empty());
  const TW_IDENTITY& asked = dsm.calls[1].identity;
  EXPECT_EQ(+asked.Id, 0u);
  EXPECT_STREQ(asked.ProductName, "");
  EXPECT_STREQ(asked.Manufacturer, "");
}

TEST_F(SelectSource, CancelReturns0WithoutMessage) {
  dsm.script.userSelect = TWRC_CANCEL;
  EXPECT_EQ(TWAIN_SelectImageSource(window), 0);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_EQ(dsm.calls.back().msg, MSG_CLOSEDSM);
}

struct SelectFailure {
  std::string name;
  std::function<void(ScriptedPlatform&, DsmControl&, HWND&)> arrange;
  std::string message;
  std::vector<std::string> triplets;
};
// Cases print as their names in test output.
void PrintTo(const SelectFailure& c, std::ostream* os) { *os << c.name; }

class SelectSourceFailures : public TwainTest, public ::testing::WithParamInterface<SelectFailure> {};

TEST_P(SelectSourceFailures, ShowTheirMessageReturn0AndLeaveState1) {
  GetParam().arrange(platform, dsm, window);
  EXPECT_EQ(TWAIN_SelectImageSource(window), 0);
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, GetParam().message);
  EXPECT_EQ(platform.boxes[0].caption, "TWAIN Error");
  EXPECT_EQ(platform.boxes[0].icon, BoxIcon::Exclamation);
  EXPECT_EQ(TripletNames(dsm.calls), GetParam().triplets);
  EXPECT_EQ(TWAIN_State(), 1);
  for (HWND proxy : platform.destroyed) EXPECT_FALSE(platform.IsWindow(proxy));
  EXPECT_EQ(platform.destroyed.size(), platform.proxyTitles.size() - (platform.proxyFails ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SelectSourceFailures,
    ::testing::Values(
        SelectFailure{"InvalidWindow",
                      [](ScriptedPlatform&, DsmControl&, HWND& w) { w = reinterpret_cast<HWND>(0xBAD0); },
                      "TWAIN_SelectImageSource: window handle is invalid",
                      {}},
        SelectFailure{"NoProxyWindow",
                      [](ScriptedPlatform& p, DsmControl&, HWND& w) {
                        w = nullptr;
                        p.proxyFails = true;
                      },
                      "TWAIN_SelectImageSource: Unable to create proxy window",
                      {}},
        SelectFailure{"NoLibrary",
                      [](ScriptedPlatform& p, DsmControl&, HWND&) { p.windowsDirectory = "/nonexistent"; },
                      "Unable to load Source Manager (TWAIN_32.DLL)",
                      {}},
        SelectFailure{"NoEntryPoint",
                      [](ScriptedPlatform& p, DsmControl&, HWND&) { p.windowsDirectory = NoEntryFolder(); },
                      "Unable to load Source Manager (TWAIN_32.DLL)",
                      {}},
        SelectFailure{"OpenRefused",
                      [](ScriptedPlatform&, DsmControl& d, HWND&) {
                        d.Force(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE);
                      },
                      "Unable to open Source Manager (TWAIN_32.DLL)",
                      {"manager MSG_OPENDSM"}}),
    [](const ::testing::TestParamInfo<SelectFailure>& info) { return info.param.name; });

TEST_F(SelectSource, InvalidWindowLoadsNothingAndMakesNoProxy) {
  EXPECT_EQ(TWAIN_SelectImageSource(reinterpret_cast<HWND>(0xBAD0)), 0);
  EXPECT_TRUE(platform.proxyTitles.empty());
  EXPECT_TRUE(dsm.calls.empty());
}

TEST_F(SelectSource, NullWindowUsesTheProxyAsParentAndDestroysIt) {
  EXPECT_EQ(TWAIN_SelectImageSource(nullptr), 1);
  ASSERT_EQ(platform.proxyTitles, std::vector<std::string>{"Acquire Proxy"});
  ASSERT_EQ(platform.destroyed.size(), 1u);
  HWND proxy = platform.destroyed[0];
  EXPECT_FALSE(platform.IsWindow(proxy));
  EXPECT_EQ(dsm.calls.front().parent, proxy);
  EXPECT_EQ(dsm.calls.back().parent, proxy);
}

TEST_F(SelectSource, TheManagerSeesTheApplicationIdentity) {
  TWAIN_SelectImageSource(window);
  const TW_IDENTITY& app = dsm.calls.front().origin;
  EXPECT_EQ(+app.Id, 0u);
  EXPECT_EQ(+app.Version.MajorNum, 1);
  EXPECT_EQ(+app.Version.MinorNum, 0);
  EXPECT_EQ(+app.Version.Language, TWLG_USA);
  EXPECT_EQ(+app.Version.Country, TWCY_USA);
  EXPECT_STREQ(app.Version.Info, "<?>");
  EXPECT_EQ(+app.ProtocolMajor, 1);
  EXPECT_EQ(+app.ProtocolMinor, 6);
  EXPECT_EQ(+app.SupportedGroups, static_cast<TW_UINT32>(DG_CONTROL | DG_IMAGE));
  EXPECT_STREQ(app.Manufacturer, "<?>");
  EXPECT_STREQ(app.ProductFamily, "<?>");
  EXPECT_STREQ(app.ProductName, "<?>");
}

TEST_F(SelectSource, ALaterSessionPresentsTheIdTheManagerAssignedBefore) {
  dsm.script.applicationId = 42;
  TWAIN_SelectImageSource(window);
  dsm.calls.clear();
  TWAIN_SelectImageSource(window);
  EXPECT_EQ(+dsm.calls.front().origin.Id, 42u);
}

TEST_F(SelectSource, RefusedCloseStillEndsAtState1AndTheNextChoiceWorks) {
  dsm.Force(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWRC_FAILURE);
  EXPECT_EQ(TWAIN_SelectImageSource(window), 1);
  EXPECT_EQ(TWAIN_State(), 1);
  dsm.Reset();
  EXPECT_EQ(TWAIN_SelectImageSource(window), 1);
  EXPECT_EQ(TripletNames(dsm.calls), (std::vector<std::string>{"manager MSG_OPENDSM", "manager MSG_USERSELECT",
                                                               "manager MSG_CLOSEDSM"}));
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST(DescribeApplication, WritesTheIdentityAndCutsLongTexts) {
  ScriptedPlatform platform;
  InstallPlatform(&platform);
  TWAIN_DescribeApplication(2, 3, 4, 5, "v", "Maker", "Family", std::string(50, 'x'));
  const TW_IDENTITY& id = TWAIN_ApplicationIdentity();
  EXPECT_EQ(+id.Version.MajorNum, 2);
  EXPECT_EQ(+id.Version.MinorNum, 3);
  EXPECT_EQ(+id.Version.Language, 4);
  EXPECT_EQ(+id.Version.Country, 5);
  EXPECT_STREQ(id.Version.Info, "v");
  EXPECT_STREQ(id.Manufacturer, "Maker");
  EXPECT_STREQ(id.ProductFamily, "Family");
  EXPECT_EQ(std::string(id.ProductName), std::string(33, 'x'));
  EXPECT_EQ(+id.ProtocolMinor, 6);
  ResetLayerState();
  EXPECT_STREQ(TWAIN_ApplicationIdentity().ProductName, "<?>");
  InstallPlatform(nullptr);
}

}  // namespace
}  // namespace morvex::testing
