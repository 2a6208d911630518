// The one instance of the layer's state, and its reset.
#include "session_state.h"

#include <cstring>

#include "morvex/twain/layer_state.h"

namespace morvex::twain {

namespace {
SessionState& Instance() {
  static SessionState state{.application = DefaultApplicationIdentity()};
  return state;
}
}  // namespace

SessionState& Session() { return Instance(); }

void CopyStr32(char (&field)[34], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

TW_IDENTITY DefaultApplicationIdentity() {
  TW_IDENTITY id{};
  id.Id = 0;
  id.Version.MajorNum = 1;
  id.Version.MinorNum = 0;
  id.Version.Language = TWLG_USA;
  id.Version.Country = TWCY_USA;
  CopyStr32(id.Version.Info, "<?>");
  id.ProtocolMajor = 1;
  id.ProtocolMinor = 6;
  id.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyStr32(id.Manufacturer, "<?>");
  CopyStr32(id.ProductFamily, "<?>");
  CopyStr32(id.ProductName, "<?>");
  return id;
}

void ResetLayerState() {
  SessionState& s = Session();
  if (s.state > 1 || s.library != nullptr) TWAIN_AbandonSession(nullptr);
  TWAIN_FreeImageList();
  s = SessionState{.application = DefaultApplicationIdentity()};
}

}  // namespace morvex::twain
