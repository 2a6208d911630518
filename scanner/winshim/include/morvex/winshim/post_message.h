// The program's message queue as the TWAIN Source Manager reaches it.
//
// On Windows a source tells the application about a ready image or a closed
// dialog by posting a private message to the window it was given
// (TW_USERINTERFACE.hParent); the application's message loop hands every
// message back with DG_CONTROL / DAT_EVENT / MSG_PROCESSEVENT, and the
// source answers TWRC_DSEVENT with TWMessage MSG_XFERREADY or MSG_CLOSEDSREQ.
//
// Here the Source Manager library does the same through this hook:
//   - it links morvex_winshim (the program links the same shared library);
//   - it fills a MorvexMessage with the window it was given, a message number
//     of its own choosing at or above MORVEX_WM_USER, and any wParam/lParam,
//     and calls MorvexPostMessage, from any thread;
//   - when the program's loop hands that message back with MSG_PROCESSEVENT
//     (TW_EVENT.pEvent points at a MorvexMessage), it answers TWRC_DSEVENT
//     and sets TWMessage; for any other message it answers TWRC_NOTDSEVENT.
// The program installs the poster that puts the message into its own queue
// (the scanner layer does this when its platform is installed).
#pragma once

#include <stdint.h>

#include "morvex/winshim/hglobal.h"

#ifdef __cplusplus
extern "C" {
#endif

// A window handle: opaque, compared only.
typedef void* HWND;

// One message of the program's queue.
typedef struct MorvexMessage {
  HWND window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
} MorvexMessage;

enum {
  MORVEX_WM_QUIT = 0x0012,
  MORVEX_WM_USER = 0x0400
};

// Puts a message into the queue; returns non-zero when it was queued.
typedef int (*MorvexMessagePoster)(const MorvexMessage* message, void* context);

// Posts `message` through the installed poster; 0 when none is installed.
MORVEX_WINSHIM_API int MorvexPostMessage(const MorvexMessage* message);
// Installs the poster (0 removes it). Called by the program only.
MORVEX_WINSHIM_API void MorvexSetMessagePoster(MorvexMessagePoster poster, void* context);

#ifdef __cplusplus
}
#endif
