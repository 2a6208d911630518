// The built TWAIN_32.DLL as a program loads it: its one export, and a scan
// without dialog whose image the program frees.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "dsm_fixture.h"
#include "morvex/sane/default_device.h"
#include "morvex/twain/multitwain.h"

namespace morvex::testing {
namespace {

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    library = dlopen(MORVEX_DSM_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << dlerror();
    entry = reinterpret_cast<DSMENTRYPROC>(dlsym(library, "DSM_Entry"));
    ASSERT_NE(entry, nullptr);
  }
  void TearDown() override {
    if (library != nullptr) dlclose(library);
    unsetenv("XDG_CONFIG_HOME");
  }
  TempFolder config;
  void* library = nullptr;
  DSMENTRYPROC entry = nullptr;
};

// The functions the library defines for a program to find: DSM_Entry alone
// (nothing of SANE, Qt or our own code a program could mistake for its own).
TEST_F(LibraryTest, ExportsDsmEntryAlone) {
  const std::string command = "nm -D --defined-only '" MORVEX_DSM_LIBRARY "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> functions;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    char address[64], kind[8], name[4000];
    if (std::sscanf(line, "%63s %7s %3999s", address, kind, name) == 3 && (kind[0] == 'T' || kind[0] == 'W')) {
      functions.push_back(name);
    }
  }
  EXPECT_EQ(functions, std::vector<std::string>{"DSM_Entry"});
}

TEST_F(LibraryTest, ScansWithoutDialogAndTheProgramFreesTheImage) {
  sane::WriteRememberedDevice("test:0");
  MessageQueue queue;
  const std::size_t blocksBefore = GlobalLiveBlocks();
  TW_IDENTITY application{};
  HWND window = reinterpret_cast<HWND>(0x77);
  ASSERT_EQ(entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window), TWRC_SUCCESS);
  TW_IDENTITY source{};
  ASSERT_EQ(entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
  TW_USERINTERFACE ui{0, 0, reinterpret_cast<TW_HANDLE>(window)};
  ASSERT_EQ(entry(&application, &source, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  std::optional<MorvexMessage> notice = queue.Next();
  ASSERT_TRUE(notice);
  TW_EVENT event{&*notice, MSG_NULL};
  ASSERT_EQ(entry(&application, &source, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  ASSERT_EQ(event.TWMessage, MSG_XFERREADY);
  TW_UINTPTR handle = 0;
  ASSERT_EQ(entry(&application, &source, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
  TW_PENDINGXFERS pending{};
  EXPECT_EQ(entry(&application, &source, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(entry(&application, &source, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  EXPECT_EQ(entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);
  EXPECT_EQ(entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window), TWRC_SUCCESS);
  HGLOBAL dib = reinterpret_cast<HGLOBAL>(handle);
  EXPECT_EQ(DibSize(dib), std::make_pair(157, 196));  // 80 x 100 mm at 50 dpi
  twain::TWAIN_FreeDib(dib);
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore);
}

}  // namespace
}  // namespace morvex::testing
