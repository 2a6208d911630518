#include "source.h"

#include <utility>

namespace morvex::dsm {

Source::Source(Frontend& frontend, sane::Device device, const TW_IDENTITY& identity, std::uint32_t& enabling)
    : frontend_(frontend),
      device_(std::move(device)),
      capabilities_(device_),
      identity_(identity),
      enablingCounter_(enabling) {}

Source::~Source() {
  StopRunning();
  GlobalFree(ready_);
}

TW_UINT16 Source::Fail(TW_UINT16 condition) {
  condition_ = condition;
  return TWRC_FAILURE;
}

TW_UINT16 Source::Reply(const Answer& answer) {
  if (answer.returnCode == TWRC_FAILURE) condition_ = answer.condition;
  return answer.returnCode;
}

TW_UINT16 Source::Entry(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
  if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET) return Status(static_cast<TW_STATUS*>(data));
  if (data == nullptr) return Fail(TWCC_BADVALUE);
  if (dg == DG_CONTROL) {
    switch (dat) {
      case DAT_USERINTERFACE:
        if (msg == MSG_ENABLEDS) return Enable(static_cast<TW_USERINTERFACE*>(data));
        if (msg == MSG_DISABLEDS) return Disable();
        break;
      case DAT_EVENT:
        if (msg == MSG_PROCESSEVENT) return ProcessEvent(static_cast<TW_EVENT*>(data));
        break;
      case DAT_PENDINGXFERS:
        if (msg == MSG_ENDXFER || msg == MSG_RESET || msg == MSG_GET) {
          return PendingTransfers(msg, static_cast<TW_PENDINGXFERS*>(data));
        }
        break;
      case DAT_CAPABILITY:
        if (msg == MSG_GET || msg == MSG_GETCURRENT || msg == MSG_SET) {
          return Reply(capabilities_.Handle(msg, *static_cast<TW_CAPABILITY*>(data), state_ == 4));
        }
        break;
      default:
        break;
    }
  } else if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
    return NativeTransfer(static_cast<TW_UINTPTR*>(data));
  }
  return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 Source::Status(TW_STATUS* status) {
  if (status == nullptr) return Fail(TWCC_BADVALUE);
  status->ConditionCode = condition_;
  status->Reserved = 0;
  condition_ = TWCC_SUCCESS;
  return TWRC_SUCCESS;
}

TW_UINT16 Source::Enable(TW_USERINTERFACE* ui) {
  if (state_ != 4) return Fail(TWCC_SEQERROR);
  {
    std::lock_guard lock(mutex_);
    parent_ = ui->hParent;
    enabling_ = ++enablingCounter_;
  }
  state_ = 5;
  auto image = [this](HGLOBAL dib) { ImageReady(dib); };
  try {
    if (ui->ShowUI) {
      running_ = frontend_.ShowSource(
          device_, reinterpret_cast<const char*>(identity_.ProductName), ui->hParent,
          [this](const std::string& mode) { return capabilities_.AllowsMode(mode); }, image,
          [this](const std::string&) { Post(MSG_CLOSEDSREQ); });
    } else {
      // A scan at once; when it fails the program is asked to close the source
      // (it cannot show a dialog to try again).
      running_ = frontend_.Scan(device_, image, [this](const std::string&) { Post(MSG_CLOSEDSREQ); });
    }
  } catch (const std::exception&) {
    // No dialog could be shown (no desktop, no memory): the source stays open.
    std::lock_guard lock(mutex_);
    enabling_ = 0;
    state_ = 4;
    return Fail(TWCC_BUMMER);
  }
  return TWRC_SUCCESS;
}

void Source::StopRunning() {
  // The dialog or scan goes first: its callbacks touch this source.
  running_.reset();
}

TW_UINT16 Source::Disable() {
  if (state_ != 5) return Fail(TWCC_SEQERROR);
  StopRunning();
  std::lock_guard lock(mutex_);
  GlobalFree(ready_);
  ready_ = nullptr;
  enabling_ = 0;
  state_ = 4;
  return TWRC_SUCCESS;
}

void Source::ImageReady(HGLOBAL dib) {
  {
    std::lock_guard lock(mutex_);
    // A newer image replaces one the program has not taken yet.
    GlobalFree(ready_);
    ready_ = dib;
  }
  Post(MSG_XFERREADY);
}

void Source::Post(TW_UINT16 notice) {
  MorvexMessage message{};
  {
    std::lock_guard lock(mutex_);
    if (enabling_ == 0) return;
    message.window = parent_;
    message.lParam = static_cast<std::intptr_t>(enabling_);
  }
  message.message = kNoticeMessage;
  message.wParam = notice;
  MorvexPostMessage(&message);
}

TW_UINT16 Source::ProcessEvent(TW_EVENT* event) {
  if (state_ < 5) return Fail(TWCC_SEQERROR);
  event->TWMessage = MSG_NULL;
  const auto* message = static_cast<const MorvexMessage*>(event->pEvent);
  if (message == nullptr || message->message != kNoticeMessage) return TWRC_NOTDSEVENT;
  // The notice is ours in any case; a stale one (from an earlier enabling, or
  // for an image already taken) tells the program nothing.
  std::lock_guard lock(mutex_);
  if (message->lParam != static_cast<std::intptr_t>(enabling_)) return TWRC_DSEVENT;
  if (message->wParam == MSG_CLOSEDSREQ) {
    event->TWMessage = MSG_CLOSEDSREQ;
  } else if (message->wParam == MSG_XFERREADY && state_ == 5 && ready_ != nullptr) {
    event->TWMessage = MSG_XFERREADY;
    state_ = 6;
  }
  return TWRC_DSEVENT;
}

TW_UINT16 Source::NativeTransfer(TW_UINTPTR* handle) {
  if (state_ != 6) return Fail(TWCC_SEQERROR);
  HGLOBAL dib = nullptr;
  {
    std::lock_guard lock(mutex_);
    std::swap(dib, ready_);
  }
  if (dib == nullptr) return Fail(TWCC_BUMMER);
  *handle = reinterpret_cast<TW_UINTPTR>(dib);
  state_ = 7;
  return TWRC_XFERDONE;
}

TW_UINT16 Source::PendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending) {
  if (msg == MSG_GET) {
    if (state_ < 4) return Fail(TWCC_SEQERROR);
    pending->Count = state_ == 6 ? 1 : 0;
    return TWRC_SUCCESS;
  }
  const bool allowed = msg == MSG_ENDXFER ? (state_ == 6 || state_ == 7) : state_ == 6;
  if (!allowed) return Fail(TWCC_SEQERROR);
  // One image a scan: nothing stays pending. An image not taken is dropped.
  {
    std::lock_guard lock(mutex_);
    if (state_ == 6) {
      GlobalFree(ready_);
      ready_ = nullptr;
    }
  }
  pending->Count = 0;
  pending->EOJ = 0;
  state_ = 5;
  // An image completed while the last one was being taken is announced again.
  bool another = false;
  {
    std::lock_guard lock(mutex_);
    another = ready_ != nullptr;
  }
  if (another) Post(MSG_XFERREADY);
  return TWRC_SUCCESS;
}

}  // namespace morvex::dsm
