// The scanner layer's module-level state: one record, one instance. The
// layer runs on the GUI thread only and is not re-entered, so the record is
// not guarded.
#pragma once

#include <array>

#include "morvex/twain/multitwain.h"
#include "morvex/twain/twain_types.h"

namespace morvex::twain {

struct SessionState {
  // Session.
  int state = 1;
  TW_IDENTITY application{};
  TW_IDENTITY source{};
  void* library = nullptr;
  DSMENTRYPROC entry = nullptr;
  HWND parent = nullptr;
  TW_UINT16 lastReturnCode = TWRC_SUCCESS;
  TW_USERINTERFACE userInterface{};
  bool hideUI = false;
  int presence = 0;  // 0 not probed, 1 present, -1 absent

  // Acquisition.
  HGLOBAL result = nullptr;
  bool resultInList = false;  // else the layer frees it when it is replaced
  HGLOBAL returned = nullptr;  // what the last acquisition handed its caller
  std::array<HGLOBAL, kImageSlots> images{};
  int imageCount = 0;
  ImageHook hook = nullptr;
  TW_EVENT event{};
  TW_UINTPTR nativeHandle = 0;
  TW_PENDINGXFERS pending{};

  // Last-error record.
  int errorCode = 0;
  TW_UINT16 errorReturnCode = 0;
  TW_UINT16 errorCondition = 0;
};

SessionState& Session();
TW_IDENTITY DefaultApplicationIdentity();
// Copies `text` into a TW_STR32, cut to 33 bytes and terminated.
void CopyStr32(char (&field)[34], const std::string& text);

}  // namespace morvex::twain
