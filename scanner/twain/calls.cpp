// The two call wrappers, the layer's message boxes and the proxy window.
#include "morvex/twain/multitwain.h"
#include "session_state.h"

namespace morvex::twain {

namespace {
bool Call(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
  SessionState& s = Session();
  s.lastReturnCode = TWRC_FAILURE;
  if (s.entry != nullptr) s.lastReturnCode = s.entry(&s.application, destination, dg, dat, msg, data);
  return s.lastReturnCode == TWRC_SUCCESS;
}
}  // namespace

bool TWAIN_CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
  return Call(nullptr, dg, dat, msg, data);
}

bool TWAIN_CallSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
  TWAIN_AssertBox(Session().state >= 4);
  return Call(&Session().source, dg, dat, msg, data);
}

void TWAIN_WarningBox(const std::string& text, const std::string& details) {
  ActivePlatform().MessageBox(text, "TWAIN Error", BoxIcon::Exclamation, details);
}

void TWAIN_AssertBox(bool condition) {
  if (!condition) ActivePlatform().MessageBox("Assertion failed", "MultiTWAIN", BoxIcon::None, {});
}

HWND TWAIN_MakeProxyWindow() { return ActivePlatform().CreateProxyWindow("Acquire Proxy"); }

}  // namespace morvex::twain
