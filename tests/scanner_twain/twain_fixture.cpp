#include "twain_fixture.h"

#include <dlfcn.h>

#include "morvex/twain/layer_state.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::testing {

std::string TestDsmFolder() { return MORVEX_TEST_DSM_FOLDER; }
std::string NoEntryFolder() { return MORVEX_NO_ENTRY_FOLDER; }

DsmControl& TestDsm() {
  static DsmControl* control = [] {
    const std::string path = TestDsmFolder() + "/TWAIN_32.DLL";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) throw std::runtime_error(dlerror());
    auto get = reinterpret_cast<DsmControl* (*)()>(dlsym(library, "TestDsm_Control"));
    if (get == nullptr) throw std::runtime_error("TestDsm_Control is missing");
    return get();
  }();
  return *control;
}

std::string TripletName(const DsmCall& call) {
  auto datName = [](TW_UINT16 dat) -> std::string {
    switch (dat) {
      case DAT_CAPABILITY: return "DAT_CAPABILITY ";
      case DAT_IMAGENATIVEXFER: return "DAT_IMAGENATIVEXFER ";
      case DAT_PENDINGXFERS: return "DAT_PENDINGXFERS ";
      case DAT_STATUS: return "DAT_STATUS ";
      default: return "";
    }
  };
  auto msgName = [](TW_UINT16 msg) -> std::string {
    switch (msg) {
      case MSG_GET: return "MSG_GET";
      case MSG_GETCURRENT: return "MSG_GETCURRENT";
      case MSG_SET: return "MSG_SET";
      case MSG_RESET: return "MSG_RESET";
      case MSG_OPENDSM: return "MSG_OPENDSM";
      case MSG_CLOSEDSM: return "MSG_CLOSEDSM";
      case MSG_OPENDS: return "MSG_OPENDS";
      case MSG_CLOSEDS: return "MSG_CLOSEDS";
      case MSG_USERSELECT: return "MSG_USERSELECT";
      case MSG_ENABLEDS: return "MSG_ENABLEDS";
      case MSG_DISABLEDS: return "MSG_DISABLEDS";
      case MSG_PROCESSEVENT: return "MSG_PROCESSEVENT";
      case MSG_ENDXFER: return "MSG_ENDXFER";
      default: return "MSG_" + std::to_string(msg);
    }
  };
  return std::string(call.toSource ? "source " : "manager ") + datName(call.dat) + msgName(call.msg);
}

std::vector<std::string> TripletNames(const std::vector<DsmCall>& calls) {
  std::vector<std::string> names;
  for (const DsmCall& call : calls) names.push_back(TripletName(call));
  return names;
}

std::vector<std::string> BoxTexts(const ScriptedPlatform& platform) {
  std::vector<std::string> texts;
  for (const auto& box : platform.boxes) texts.push_back(box.text);
  return texts;
}

void TwainTest::SetUp() {
  twain::InstallPlatform(&platform);
  twain::ResetLayerState();
  dsm.Reset();
  platform.windowsDirectory = TestDsmFolder();
  window = platform.MakeWindow();
  liveBlocks_ = GlobalLiveBlocks();
}

void TwainTest::TearDown() {
  twain::ResetLayerState();
  twain::InstallPlatform(nullptr);
  dsm.Reset();
  if (platform.clipboardDib != nullptr) {
    GlobalFree(platform.clipboardDib);
    platform.clipboardDib = nullptr;
  }
  EXPECT_EQ(GlobalLiveBlocks(), liveBlocks_) << "global memory blocks were left behind";
}

}  // namespace morvex::testing
