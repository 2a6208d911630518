// The session's steps from State 1 to State 4 and back, loading the Source
// Manager library, and choosing a source.
#include <dlfcn.h>

#include <cstring>

#include "morvex/twain/multitwain.h"
#include "session_state.h"

namespace morvex::twain {

namespace {

// The library's full path: the Windows directory, a separator unless the
// folder is empty or already ends in one, and the library's name.
std::string ManagerPath() {
  std::string path = ActivePlatform().WindowsDirectory();
  if (!path.empty() && path.back() != '/') path += '/';
  return path + "TWAIN_32.DLL";
}

void ReleaseLibrary() {
  SessionState& s = Session();
  if (s.library != nullptr) dlclose(s.library);
  s.library = nullptr;
  s.entry = nullptr;
}

}  // namespace

bool TWAIN_ManagerLoad() {
  SessionState& s = Session();
  if (s.state >= 2) return true;
  const std::string path = ManagerPath();
  // Only a path that names a folder is handed to the loader: a bare name
  // would make it search the library path, and the manager is looked for in
  // the library folder only.
  if (path.find('/') != std::string::npos && ActivePlatform().FileExists(path)) {
    // RTLD_NODELETE: the manager may use Qt, which must not keep pointers
    // into code that is unmapped when the library is released.
    s.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  }
  if (s.library != nullptr) {
    s.entry = reinterpret_cast<DSMENTRYPROC>(dlsym(s.library, "DSM_Entry"));
    if (s.entry != nullptr) {
      s.presence = 1;
      s.state = 2;
    } else {
      ReleaseLibrary();
    }
  } else {
    s.entry = nullptr;
  }
  return s.state >= 2;
}

bool TWAIN_ManagerOpen(HWND window) {
  SessionState& s = Session();
  s.parent = window;
  if (TWAIN_ManagerLoad() && s.state == 2) {
    if (TWAIN_CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &s.parent)) s.state = 3;
  }
  return s.state >= 3;
}

bool TWAIN_SourceOpenDefault() {
  SessionState& s = Session();
  if (s.state == 3) {
    s.source.Id = 0;
    s.source.ProductName[0] = '\0';
    if (TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &s.source)) {
      s.state = 4;
    } else {
      TWAIN_NoteError(4);
    }
  }
  return s.state == 4;
}

bool TWAIN_SourceEnable(HWND window) {
  SessionState& s = Session();
  if (s.state == 4) {
    s.userInterface.ShowUI = s.hideUI ? 0 : 1;
    s.userInterface.ModalUI = 0;
    s.userInterface.hParent = static_cast<TW_HANDLE>(window);
    TWAIN_CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &s.userInterface);
    if (s.lastReturnCode == TWRC_FAILURE) {
      TWAIN_NoteError(5);
    } else {
      s.state = 5;
    }
  }
  return s.state == 5;
}

bool TWAIN_SourceDisable() {
  SessionState& s = Session();
  if (s.state == 5 && TWAIN_CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &s.userInterface)) {
    s.state = 4;
  }
  return s.state <= 4;
}

bool TWAIN_SourceClose() {
  SessionState& s = Session();
  s.lastReturnCode = TWRC_SUCCESS;
  if (s.state == 5) TWAIN_SourceDisable();
  if (s.state == 4 && TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &s.source)) s.state = 3;
  return s.state <= 3;
}

bool TWAIN_ManagerClose(HWND window) {
  SessionState& s = Session();
  s.lastReturnCode = TWRC_SUCCESS;
  HWND parent = window;
  if (TWAIN_SourceClose() && TWAIN_CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent)) s.state = 2;
  return s.state <= 2;
}

bool TWAIN_ManagerUnload() {
  SessionState& s = Session();
  if (s.state == 2) {
    ReleaseLibrary();
    s.state = 1;
  }
  return s.state == 1;
}

void TWAIN_AbandonSession(HWND window) {
  SessionState& s = Session();
  if (s.state == 7 && TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &s.pending)) {
    s.state = s.pending.Count != 0 ? 6 : 5;
  }
  if (s.state == 6 && TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &s.pending)) s.state = 5;
  TWAIN_SourceDisable();
  TWAIN_SourceClose();
  TWAIN_ManagerClose(window);
  TWAIN_ManagerUnload();
  if (s.state != 1 || s.library != nullptr) {
    ReleaseLibrary();
    s.state = 1;
  }
}

int TWAIN_SelectImageSource(HWND window) {
  Platform& platform = ActivePlatform();
  HWND proxy = nullptr;
  if (!platform.IsWindow(window)) {
    if (window != nullptr) {
      TWAIN_WarningBox("TWAIN_SelectImageSource: window handle is invalid");
      return 0;
    }
    proxy = TWAIN_MakeProxyWindow();
    window = proxy;
    if (!platform.IsWindow(window)) {
      TWAIN_WarningBox("TWAIN_SelectImageSource: Unable to create proxy window");
      if (proxy != nullptr) platform.DestroyWindow(proxy);
      return 0;
    }
  }
  int result = 0;
  if (!TWAIN_ManagerLoad()) {
    TWAIN_WarningBox("Unable to load Source Manager (TWAIN_32.DLL)");
  } else {
    if (!TWAIN_ManagerOpen(window)) {
      TWAIN_WarningBox("Unable to open Source Manager (TWAIN_32.DLL)");
    } else {
      TW_IDENTITY chosen{};
      result = TWAIN_CallManager(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen) ? 1 : 0;
      TWAIN_ManagerClose(window);
    }
    TWAIN_ManagerUnload();
  }
  if (Session().state != 1) TWAIN_AbandonSession(window);
  if (proxy != nullptr) platform.DestroyWindow(proxy);
  return result;
}

int TWAIN_State() { return Session().state; }
int TWAIN_Version() { return 106; }
int TWAIN_GetHideUI() { return Session().hideUI ? 1 : 0; }
void TWAIN_SetHideUI(int hide) { Session().hideUI = hide != 0; }
TW_UINT16 TWAIN_LastReturnCode() { return Session().lastReturnCode; }
const TW_IDENTITY& TWAIN_ApplicationIdentity() { return Session().application; }

bool TWAIN_ManagerPresent() {
  SessionState& s = Session();
  if (s.entry != nullptr) return true;
  if (s.presence == 0) {
    if (TWAIN_ManagerLoad()) {
      s.presence = 1;
      TWAIN_ManagerUnload();
    } else {
      s.presence = -1;
    }
  }
  return s.presence > 0;
}

void TWAIN_DescribeApplication(TW_UINT16 majorNum, TW_UINT16 minorNum, TW_UINT16 language, TW_UINT16 country,
                               const std::string& versionInfo, const std::string& manufacturer,
                               const std::string& productFamily, const std::string& productName) {
  TW_IDENTITY& id = Session().application;
  id.Id = 0;
  id.Version.MajorNum = majorNum;
  id.Version.MinorNum = minorNum;
  id.Version.Language = language;
  id.Version.Country = country;
  CopyStr32(id.Version.Info, versionInfo);
  CopyStr32(id.Manufacturer, manufacturer);
  CopyStr32(id.ProductFamily, productFamily);
  CopyStr32(id.ProductName, productName);
  id.ProtocolMajor = 1;
  id.ProtocolMinor = 6;
  id.SupportedGroups = DG_CONTROL | DG_IMAGE;
}

}  // namespace morvex::twain
