// Native image acquisition: the acquisition, its modal loop, handing
// messages to the source, the transfers and the image list.
#include "morvex/twain/multitwain.h"
#include "session_state.h"

namespace morvex::twain {

namespace {

// Replaces the result handle. A handle that found no slot in the image list
// (a source that delivers more images than the list holds) is freed when a
// later transfer replaces it, so that nothing is left behind.
void SetResult(HGLOBAL dib, bool inList) {
  SessionState& s = Session();
  if (s.result != nullptr && !s.resultInList && s.result != dib) GlobalFree(s.result);
  s.result = dib;
  s.resultInList = inList;
}

// One MSG_GET and its MSG_ENDXFER or MSG_RESET. Returns true when MSG_ENDXFER
// was sent and left the state at 6, that is when more transfers are pending.
bool TransferOne() {
  SessionState& s = Session();
  s.nativeHandle = 0;
  TWAIN_CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &s.nativeHandle);
  const TW_UINT16 rc = s.lastReturnCode;
  if (rc != TWRC_XFERDONE) SetResult(nullptr, false);
  if (rc == TWRC_XFERDONE) {
    const auto dib = reinterpret_cast<HGLOBAL>(s.nativeHandle);
    s.state = 7;
    const bool slotFree = s.imageCount < kImageSlots;
    SetResult(dib, slotFree);
    if (slotFree) {
      const int slot = s.imageCount;
      s.images[static_cast<std::size_t>(slot)] = dib;
      if (s.hook != nullptr) s.hook(dib, slot);
      ++s.imageCount;
    }
  } else if (rc == TWRC_CANCEL) {
    s.state = 7;
  }
  TWAIN_AssertBox(s.state >= 6);
  s.pending.Count = 0;
  if (s.state == 7) {
    if (TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &s.pending)) {
      s.state = s.pending.Count != 0 ? 6 : 5;
      return s.state == 6;
    }
  } else if (s.state == 6) {
    if (TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &s.pending)) s.state = 5;
  }
  return false;
}

class AcquisitionLoop final : public ModalClient {
 public:
  bool KeepWaiting() override { return Session().state >= 5 && Session().result == nullptr; }
  bool Offer(const Message& message) override { return TWAIN_FilterMessage(&message); }
};

}  // namespace

HGLOBAL TWAIN_AcquireDib(HWND window, std::uint32_t pixelTypes) {
  SessionState& s = Session();
  Platform& platform = ActivePlatform();
  TWAIN_FreeImageList();
  s.result = nullptr;
  s.resultInList = false;
  TWAIN_ClearError();

  HWND proxy = nullptr;
  if (!platform.IsWindow(window)) {
    proxy = TWAIN_MakeProxyWindow();
    window = proxy;
  }
  if (!platform.IsWindow(window)) {
    TWAIN_WarningBox("Unable to create proxy window");
  } else if (!TWAIN_ManagerLoad()) {
    TWAIN_WarningBox("Unable to load Source Manager (TWAIN_32.DLL)");
  } else if (!TWAIN_ManagerOpen(window)) {
    TWAIN_WarningBox("Unable to open Source Manager (TWAIN_32.DLL)");
  } else if (!TWAIN_SourceOpenDefault()) {
    TWAIN_ReportLastError("Unable to open default Data Source.");
  } else if (!TWAIN_RestrictPixelTypes(pixelTypes)) {
    TWAIN_ReportLastError("Failed to negotiate Pixel Type.");
  } else if (!TWAIN_SourceEnable(window)) {
    TWAIN_ReportLastError("Failed to enable Data Source.");
  } else {
    platform.EnableWindow(window, false);
    TWAIN_ModalWait();
    platform.EnableWindow(window, true);
  }

  TWAIN_SourceDisable();
  TWAIN_SourceClose();
  TWAIN_ManagerClose(window);
  TWAIN_ManagerUnload();
  if (s.state != 1) TWAIN_AbandonSession(window);
  if (proxy != nullptr) platform.DestroyWindow(proxy);
  s.returned = s.result;
  return s.result;
}

void TWAIN_FreeDib(HGLOBAL dib) {
  if (dib != nullptr) GlobalFree(dib);
}

void TWAIN_ModalWait() {
  AcquisitionLoop loop;
  ActivePlatform().RunModalLoop(loop);
}

bool TWAIN_FilterMessage(const Message* message) {
  SessionState& s = Session();
  if (s.state < 5) return false;
  s.event.pEvent = const_cast<Message*>(message);
  s.event.TWMessage = MSG_NULL;
  TWAIN_CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &s.event);
  const bool belonged = s.lastReturnCode == TWRC_DSEVENT;
  switch (s.event.TWMessage) {
    case MSG_XFERREADY:
      s.state = 6;
      TWAIN_TransferImages();
      break;
    case MSG_CLOSEDSREQ:
      TWAIN_SourceDisable();
      break;
    default:
      break;
  }
  return belonged;
}

void TWAIN_TransferImages() {
  TWAIN_AssertBox(Session().state == 6);
  while (TransferOne()) {
  }
}

void TWAIN_TransferSingleImage() {
  SessionState& s = Session();
  TWAIN_AssertBox(s.state == 6);
  const bool morePending = TransferOne();
  if (morePending && TWAIN_CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &s.pending)) s.state = 5;
}

int TWAIN_ImageCount() { return Session().imageCount; }

HGLOBAL TWAIN_ImageHandle(int slot) {
  const SessionState& s = Session();
  if (slot < 0 || slot >= s.imageCount) return nullptr;
  return s.images[static_cast<std::size_t>(slot)];
}

void TWAIN_FreeImageList() {
  SessionState& s = Session();
  for (int i = 0; i < s.imageCount; ++i) {
    HGLOBAL& slot = s.images[static_cast<std::size_t>(i)];
    if (slot != s.returned) GlobalFree(slot);
    slot = nullptr;
  }
  // A result beyond the list that was never handed to a caller is the layer's too.
  if (s.result != nullptr && !s.resultInList && s.result != s.returned) GlobalFree(s.result);
  s.result = nullptr;
  s.resultInList = false;
  s.imageCount = 0;
  s.returned = nullptr;
}

void TWAIN_SetImageHook(ImageHook hook) { Session().hook = hook; }
void TWAIN_RemoveImageHook() { Session().hook = nullptr; }

}  // namespace morvex::twain
