// The scripted Source Manager and its source (see test_dsm.h).
#include "test_dsm.h"

#include <cstring>

#include "morvex/winshim/post_message.h"

using morvex::testing::DsmCall;
using morvex::testing::DsmControl;
using morvex::testing::Outcome;
using morvex::testing::UserAction;

namespace {

DsmControl& Control() {
  static DsmControl control;
  return control;
}

void SetName(char (&field)[34], const char* text) {
  std::memset(field, 0, sizeof field);
  std::strncpy(field, text, sizeof field - 1);
}

// A bottom-up 24-bit DIB whose pixel bytes all hold `fill`.
HGLOBAL MakeDib(int width, int height, std::uint8_t fill) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 24 + 31) / 32 * 4;
  const std::size_t size = 40 + std::size_t{rowBytes} * static_cast<std::uint32_t>(height);
  HGLOBAL block = GlobalAlloc(GHND, size);
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
  const std::uint32_t header[10] = {40, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                    1u | (24u << 16), 0, rowBytes * static_cast<std::uint32_t>(height), 2835, 2835, 0, 0};
  std::memcpy(bytes, header, sizeof header);
  std::memset(bytes + 40, fill, size - 40);
  GlobalUnlock(block);
  return block;
}

HGLOBAL MakeContainer(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GHND, bytes.size());
  if (!bytes.empty()) std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

TW_UINT16 Answer(DsmControl& c, DsmCall& call, pTW_IDENTITY origin, TW_MEMREF data) {
  const auto key = std::make_tuple(call.dg, call.dat, call.msg);
  if (auto forced = c.script.forced.find(key); forced != c.script.forced.end()) return forced->second;
  if (call.dg == DG_CONTROL && call.dat == DAT_PARENT) {
    if (call.msg == MSG_OPENDSM) {
      c.managerOpen = true;
      origin->Id = c.script.applicationId;
      return TWRC_SUCCESS;
    }
    if (call.msg == MSG_CLOSEDSM) {
      if (!c.managerOpen) return TWRC_FAILURE;
      c.managerOpen = false;
      return TWRC_SUCCESS;
    }
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_IDENTITY) {
    auto* identity = static_cast<pTW_IDENTITY>(data);
    if (!c.managerOpen) return TWRC_FAILURE;
    if (call.msg == MSG_USERSELECT) {
      if (c.script.userSelect == TWRC_SUCCESS) SetName(identity->ProductName, "Test Source");
      return c.script.userSelect;
    }
    if (call.msg == MSG_OPENDS) {
      identity->Id = 1;
      SetName(identity->ProductName, "Test Source");
      c.sourceOpen = true;
      return TWRC_SUCCESS;
    }
    if (call.msg == MSG_CLOSEDS) {
      c.sourceOpen = false;
      return TWRC_SUCCESS;
    }
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_STATUS) {
    static_cast<TW_STATUS*>(data)->ConditionCode = c.script.condition;
    return TWRC_SUCCESS;
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_USERINTERFACE) {
    call.ui = *static_cast<TW_USERINTERFACE*>(data);
    if (call.msg == MSG_ENABLEDS) {
      if (c.script.enableReturn == TWRC_FAILURE) return TWRC_FAILURE;
      for (std::size_t i = 0; i < c.script.actions.size(); ++i) {
        const UserAction action = c.script.actions[i];
        MorvexMessage message{call.ui.hParent,
                              action == UserAction::Other ? morvex::testing::kForeignMessage
                                                          : morvex::testing::kDsmPrivateMessage,
                              i, static_cast<intptr_t>(action)};
        MorvexPostMessage(&message);
      }
      return c.script.enableReturn;
    }
    return TWRC_SUCCESS;
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_EVENT && call.msg == MSG_PROCESSEVENT) {
    auto* event = static_cast<TW_EVENT*>(data);
    const auto* message = static_cast<const MorvexMessage*>(event->pEvent);
    call.eventMessage = message->message;
    if (message->message != morvex::testing::kDsmPrivateMessage) {
      event->TWMessage = MSG_NULL;
      return TWRC_NOTDSEVENT;
    }
    if (static_cast<UserAction>(message->lParam) == UserAction::Scan) {
      const std::size_t scan = c.scans++;
      c.batch.clear();
      if (scan < c.script.batches.size()) {
        c.batch.assign(c.script.batches[scan].begin(), c.script.batches[scan].end());
      } else {
        c.batch.push_back(Outcome::Done);
      }
      event->TWMessage = MSG_XFERREADY;
    } else {
      event->TWMessage = MSG_CLOSEDSREQ;
    }
    return TWRC_DSEVENT;
  }
  if (call.dg == DG_IMAGE && call.dat == DAT_IMAGENATIVEXFER && call.msg == MSG_GET) {
    if (c.batch.empty()) return TWRC_FAILURE;
    const Outcome outcome = c.batch.front();
    c.batch.pop_front();
    if (outcome == Outcome::Cancel) return TWRC_CANCEL;
    if (outcome == Outcome::Fail) return TWRC_FAILURE;
    *static_cast<TW_UINTPTR*>(data) =
        reinterpret_cast<TW_UINTPTR>(MakeDib(c.script.width, c.script.height, ++c.delivered));
    return TWRC_XFERDONE;
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_PENDINGXFERS) {
    auto* pending = static_cast<TW_PENDINGXFERS*>(data);
    if (call.msg == MSG_RESET) c.batch.clear();
    pending->Count = static_cast<TW_UINT16>(c.batch.size());
    call.pendingCount = pending->Count;
    return TWRC_SUCCESS;
  }
  if (call.dg == DG_CONTROL && call.dat == DAT_CAPABILITY) {
    auto* cap = static_cast<TW_CAPABILITY*>(data);
    call.cap = cap->Cap;
    call.conType = cap->ConType;
    if (call.msg == MSG_SET) {
      auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(cap->hContainer));
      if (bytes != nullptr) call.container.assign(bytes, bytes + GlobalSize(cap->hContainer));
      GlobalUnlock(cap->hContainer);
      return TWRC_SUCCESS;
    }
    cap->ConType = c.script.capConType;
    cap->hContainer = c.script.capNoContainer ? nullptr : MakeContainer(c.script.capContainer);
    return TWRC_SUCCESS;
  }
  return TWRC_FAILURE;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) DsmControl* TestDsm_Control() { return &Control(); }

extern "C" TW_UINT16 DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                               TW_UINT16 msg, TW_MEMREF data) {
  DsmControl& c = Control();
  DsmCall call;
  if (origin != nullptr) call.origin = *origin;
  call.toSource = destination != nullptr;
  if (destination != nullptr) call.destination = *destination;
  call.dg = dg;
  call.dat = dat;
  call.msg = msg;
  if (dat == DAT_PARENT && data != nullptr) call.parent = *static_cast<HWND*>(data);
  if (dat == DAT_IDENTITY && data != nullptr) call.identity = *static_cast<pTW_IDENTITY>(data);
  const TW_UINT16 rc = Answer(c, call, origin, data);
  call.rc = rc;
  c.calls.push_back(std::move(call));
  return rc;
}
