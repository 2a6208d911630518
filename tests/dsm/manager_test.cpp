// The manager triplets: opening, listing, the remembered default source, the
// selection, and the answers to triplets out of order.
#include <algorithm>
#include <cstring>

#include "dsm_fixture.h"
#include "identity.h"
#include "morvex/sane/default_device.h"
#include "case_name.h"

namespace morvex::testing {
namespace {

std::string Text(const TW_STR32& field) { return std::string(field, strnlen(field, sizeof field)); }

using ManagerTest = DsmTest;

TEST_F(ManagerTest, OpeningGivesEachApplicationItsOwnId) {
  OpenManager();
  const TW_UINT32 first = application.Id;
  EXPECT_NE(first, 0u);
  HWND parent = window;
  ASSERT_EQ(Manager(DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_SUCCESS);
  OpenManager();
  EXPECT_NE(TW_UINT32{application.Id}, first);
}

// The program unloads the library between choosing and acquiring; one that
// went away without closing must still be able to open the manager again.
TEST_F(ManagerTest, OpeningAgainWithoutClosingStartsAfresh) {
  KeepSaneUntilTheProcessEnds();
  OpenManager();
  OpenSource("test:0");
  Enable(false);
  OpenManager();
  EXPECT_EQ(manager.source(), nullptr);
  std::memset(&source, 0, sizeof source);
  EXPECT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
}

TEST_F(ManagerTest, ListsEveryScannerThenEndOfList) {
  OpenManager();
  std::vector<std::string> names;
  TW_IDENTITY identity{};
  for (TW_UINT16 msg = MSG_GETFIRST; Manager(DAT_IDENTITY, msg, &identity) == TWRC_SUCCESS; msg = MSG_GETNEXT) {
    names.push_back(Text(identity.Version.Info));
    if (names.back() == "test:0") {
      EXPECT_EQ(Text(identity.ProductName), "frontend-tester");
      EXPECT_EQ(Text(identity.Manufacturer), "Noname");
      EXPECT_EQ(Text(identity.ProductFamily), "virtual device");
      EXPECT_EQ(TW_UINT32{identity.SupportedGroups}, static_cast<TW_UINT32>(DG_CONTROL | DG_IMAGE));
    }
  }
  // In SANE's order, which depends on the backends' loading.
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"pnm:0", "pnm:1", "test:0", "test:1"}));
  EXPECT_EQ(Manager(DAT_IDENTITY, MSG_GETNEXT, &identity), TWRC_ENDOFLIST);
}

TEST_F(ManagerTest, NextWithoutFirstIsOutOfOrder) {
  OpenManager();
  TW_IDENTITY identity{};
  EXPECT_EQ(Manager(DAT_IDENTITY, MSG_GETNEXT, &identity), TWRC_FAILURE);
  EXPECT_EQ(ManagerCondition(), TWCC_SEQERROR);
}

TEST_F(ManagerTest, SelectionRemembersTheChoiceForTheNextLoad) {
  OpenManager();
  sane::WriteRememberedDevice("test:0");
  frontend.choice = "pnm:1";
  TW_IDENTITY chosen{};
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_SUCCESS);
  EXPECT_EQ(frontend.rememberedShown, std::vector<std::string>{"test:0"});
  EXPECT_EQ(sane::ReadRememberedDevice(), "pnm:1");
  EXPECT_TRUE(std::filesystem::exists(config / "morvex" / "scanner"));

  // A fresh manager (the library was unloaded) opens the chosen one.
  dsm::SourceManager reloaded(frontend);
  HWND parent = window;
  ASSERT_EQ(reloaded.Entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
  TW_IDENTITY opened{};
  ASSERT_EQ(reloaded.Entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened), TWRC_SUCCESS);
  EXPECT_EQ(Text(opened.Version.Info), "pnm:1");
  EXPECT_EQ(reloaded.Entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &opened), TWRC_SUCCESS);
}

TEST_F(ManagerTest, CancelledSelectionKeepsTheRememberedScanner) {
  OpenManager();
  sane::WriteRememberedDevice("test:1");
  TW_IDENTITY chosen{};
  EXPECT_EQ(Manager(DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_CANCEL);
  EXPECT_EQ(sane::ReadRememberedDevice(), "test:1");
}

TEST_F(ManagerTest, DefaultIsTheRememberedScanner) {
  OpenManager();
  OpenSource("test:1");
  EXPECT_EQ(Text(source.Version.Info), "test:1");
  EXPECT_EQ(Text(source.ProductName), "frontend-tester");
  TW_IDENTITY identity{};
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_GETDEFAULT, &identity), TWRC_SUCCESS);
  EXPECT_EQ(TW_UINT32{identity.Id}, TW_UINT32{source.Id});
}

TEST_F(ManagerTest, GoneScannerAmongSeveralIsNoSource) {
  OpenManager();
  sane::WriteRememberedDevice("test:9");
  TW_IDENTITY identity{};
  EXPECT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
  EXPECT_EQ(ManagerCondition(), TWCC_NODS);
  EXPECT_EQ(manager.source(), nullptr);
}

// With one scanner left, a remembered one that is gone gives way to it.
TEST_F(ManagerTest, GoneScannerGivesTheOnlyOne) {
  TempFolder sane;
  sane.write("dll.conf", "test\n");
  sane.write("test.conf", "number_of_devices 1\n");
  const char* before = std::getenv("SANE_CONFIG_DIR");
  const std::string saved = before ? before : "";
  setenv("SANE_CONFIG_DIR", (sane.path().string() + ":").c_str(), 1);
  OpenManager();
  sane::WriteRememberedDevice("pnm:7");
  TW_IDENTITY identity{};
  const TW_UINT16 rc = Manager(DAT_IDENTITY, MSG_OPENDS, &identity);
  if (rc == TWRC_SUCCESS) source = identity;
  CloseAll();
  setenv("SANE_CONFIG_DIR", saved.c_str(), 1);
  ASSERT_EQ(rc, TWRC_SUCCESS);
  EXPECT_EQ(Text(identity.Version.Info), "test:0");
}

TEST_F(ManagerTest, OpensASourceNamedByItsListedIdentity) {
  OpenManager();
  TW_IDENTITY identity{};
  for (TW_UINT16 msg = MSG_GETFIRST; Text(identity.Version.Info) != "test:1"; msg = MSG_GETNEXT) {
    ASSERT_EQ(Manager(DAT_IDENTITY, msg, &identity), TWRC_SUCCESS);
  }
  source = identity;
  ASSERT_EQ(Manager(DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
  EXPECT_EQ(Text(source.Version.Info), "test:1");
  EXPECT_EQ(TW_UINT32{source.Id}, TW_UINT32{identity.Id});
}

TEST_F(ManagerTest, StatusReportsTheLastConditionOnce) {
  HWND parent = window;
  EXPECT_EQ(Manager(DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_FAILURE);
  EXPECT_EQ(ManagerCondition(), TWCC_SEQERROR);
  EXPECT_EQ(ManagerCondition(), TWCC_SUCCESS);
}

// ---- Triplets out of order, unknown triplets and destinations --------------

enum class Stage { Loaded, ManagerOpen, SourceOpen, SourceEnabled };

struct WrongTriplet {
  const char* name;
  Stage stage;
  bool toSource;
  TW_UINT32 dg;
  TW_UINT16 dat;
  TW_UINT16 msg;
  TW_UINT16 condition;
};

class WrongTripletTest : public DsmTest, public ::testing::WithParamInterface<WrongTriplet> {};

TEST_P(WrongTripletTest, FailsWithItsCondition) {
  const WrongTriplet& c = GetParam();
  if (c.stage >= Stage::ManagerOpen) OpenManager();
  if (c.stage >= Stage::SourceOpen) OpenSource("test:0");
  if (c.stage >= Stage::SourceEnabled) {
    frontend.choice.reset();
    Enable(true);
  }
  // Room for any of the structures the triplets take.
  alignas(8) unsigned char data[256] = {};
  std::memcpy(data, &source, sizeof source);
  const TW_UINT16 rc = c.toSource ? Source(c.dg, c.dat, c.msg, data) : Manager(c.dat, c.msg, data, c.dg);
  EXPECT_EQ(rc, TWRC_FAILURE);
  const bool askSource = c.toSource && c.condition != TWCC_BADDEST;
  EXPECT_EQ(askSource ? SourceCondition() : ManagerCondition(), c.condition);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WrongTripletTest,
    ::testing::Values(
        WrongTriplet{"CloseManagerNeverOpened", Stage::Loaded, false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWCC_SEQERROR},
        WrongTriplet{"OpenSourceBeforeManager", Stage::Loaded, false, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWCC_SEQERROR},
        WrongTriplet{"ListBeforeManager", Stage::Loaded, false, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, TWCC_SEQERROR},
        WrongTriplet{"CloseManagerWithSourceOpen", Stage::SourceOpen, false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWCC_SEQERROR},
        WrongTriplet{"SecondSource", Stage::SourceOpen, false, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWCC_MAXCONNECTIONS},
        WrongTriplet{"CloseEnabledSource", Stage::SourceEnabled, false, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, TWCC_SEQERROR},
        WrongTriplet{"UnknownManagerMessage", Stage::ManagerOpen, false, DG_CONTROL, DAT_PARENT, MSG_GET, TWCC_BADPROTOCOL},
        WrongTriplet{"ImageGroupToManager", Stage::ManagerOpen, false, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWCC_BADPROTOCOL},
        WrongTriplet{"SourceNotOpen", Stage::ManagerOpen, true, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWCC_BADDEST},
        WrongTriplet{"TransferBeforeReady", Stage::SourceEnabled, true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWCC_SEQERROR},
        WrongTriplet{"TransferWhileOpen", Stage::SourceOpen, true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWCC_SEQERROR},
        WrongTriplet{"EndTransferNoneReady", Stage::SourceEnabled, true, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWCC_SEQERROR},
        WrongTriplet{"ResetNoneReady", Stage::SourceEnabled, true, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, TWCC_SEQERROR},
        WrongTriplet{"EnableTwice", Stage::SourceEnabled, true, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWCC_SEQERROR},
        WrongTriplet{"DisableNotEnabled", Stage::SourceOpen, true, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWCC_SEQERROR},
        WrongTriplet{"EventNotEnabled", Stage::SourceOpen, true, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWCC_SEQERROR},
        WrongTriplet{"SetCapabilityEnabled", Stage::SourceEnabled, true, DG_CONTROL, DAT_CAPABILITY, MSG_SET, TWCC_SEQERROR},
        WrongTriplet{"UnknownSourceTriplet", Stage::SourceOpen, true, DG_CONTROL, DAT_XFERGROUP, MSG_GET, TWCC_BADPROTOCOL},
        WrongTriplet{"AudioToSource", Stage::SourceOpen, true, DG_AUDIO, DAT_NULL, MSG_GET, TWCC_BADPROTOCOL}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvex::testing
