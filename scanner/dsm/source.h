// One open data source: a SANE device behind the source triplets, from State 4
// (open) through 5 (enabled), 6 (transfer ready) and 7 (transferring).
//
// An image that the dialog or a scan without dialog completes is kept until
// the program takes it, and a notice is posted to the program's queue
// (MorvexPostMessage to TW_USERINTERFACE.hParent); MSG_PROCESSEVENT turns the
// notice into MSG_XFERREADY or MSG_CLOSEDSREQ.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "capabilities.h"
#include "frontend.h"
#include "morvex/sane/device.h"
#include "morvex/twain/twain_types.h"

namespace morvex::dsm {

// The message number of the source's notices; wParam carries MSG_XFERREADY or
// MSG_CLOSEDSREQ, lParam the number of the enabling it belongs to.
inline constexpr std::uint32_t kNoticeMessage = MORVEX_WM_USER + 0x5D5;

class Source {
 public:
  // `enabling` numbers each MSG_ENABLEDS of this library uniquely, so that a
  // notice left in the queue from an earlier one is recognised as stale.
  Source(Frontend& frontend, sane::Device device, const TW_IDENTITY& identity, std::uint32_t& enabling);
  ~Source();  // disables: the dialog is closed, a scan cancelled, a kept image freed
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

  const TW_IDENTITY& identity() const { return identity_; }
  int state() const { return state_; }
  // The condition of the last failed triplet, for DAT_STATUS.
  TW_UINT16 condition() const { return condition_; }

  // A triplet addressed to this source.
  TW_UINT16 Entry(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

 private:
  TW_UINT16 Fail(TW_UINT16 condition);
  TW_UINT16 Reply(const Answer& answer);
  TW_UINT16 Enable(TW_USERINTERFACE* ui);
  TW_UINT16 Disable();
  TW_UINT16 ProcessEvent(TW_EVENT* event);
  TW_UINT16 NativeTransfer(TW_UINTPTR* handle);
  TW_UINT16 PendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending);
  TW_UINT16 Status(TW_STATUS* status);
  void StopRunning();

  // Called by the dialog or the scan, on any thread.
  void ImageReady(HGLOBAL dib);
  void Post(TW_UINT16 notice);

  Frontend& frontend_;
  sane::Device device_;
  Capabilities capabilities_;
  TW_IDENTITY identity_;
  std::uint32_t& enablingCounter_;
  int state_ = 4;
  TW_UINT16 condition_ = TWCC_SUCCESS;

  std::mutex mutex_;  // guards what the scan's thread touches below
  HWND parent_ = nullptr;
  std::uint32_t enabling_ = 0;
  HGLOBAL ready_ = nullptr;  // a complete image the program has not taken

  std::unique_ptr<Running> running_;  // the dialog or the scan of the enabled source
};

}  // namespace morvex::dsm
