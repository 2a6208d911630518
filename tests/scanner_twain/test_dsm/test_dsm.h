// A TWAIN Source Manager for tests: a shared library named TWAIN_32.DLL that
// exports DSM_Entry, records every triplet with its origin, destination and
// data, and answers from a script. A test opens the same library by its path
// and reaches the script and the record through TestDsm_Control().
//
// The source behind it: when enabled it posts one private message per
// scripted user action to the window it was given (through morvex_winshim's
// MorvexPostMessage); handed back with MSG_PROCESSEVENT, a Scan answers
// MSG_XFERREADY and starts the next batch of transfers, a CloseDialog answers
// MSG_CLOSEDSREQ, and an Other message is not the source's.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <tuple>
#include <vector>

#include "morvex/twain/twain_types.h"
#include "morvex/winshim/post_message.h"

namespace morvex::testing {

inline constexpr std::uint32_t kDsmPrivateMessage = MORVEX_WM_USER + 0x77;
inline constexpr std::uint32_t kForeignMessage = MORVEX_WM_USER + 1;

enum class UserAction { Scan, CloseDialog, Other };
enum class Outcome { Done, Cancel, Fail };

struct DsmCall {
  TW_IDENTITY origin{};
  bool toSource = false;
  TW_IDENTITY destination{};
  TW_UINT32 dg = 0;
  TW_UINT16 dat = 0;
  TW_UINT16 msg = 0;
  TW_UINT16 rc = 0;
  // What the data held (after the call), for the triplets that carry it.
  HWND parent = nullptr;            // DAT_PARENT
  TW_IDENTITY identity{};           // DAT_IDENTITY: the record as handed over
  TW_USERINTERFACE ui{};            // DAT_USERINTERFACE
  std::uint32_t eventMessage = 0;   // DAT_EVENT: the message handed over
  TW_UINT16 pendingCount = 0;       // DAT_PENDINGXFERS
  TW_UINT16 cap = 0, conType = 0;   // DAT_CAPABILITY
  std::vector<std::uint8_t> container;  // DAT_CAPABILITY MSG_SET: the container's bytes
};

struct DsmScript {
  // Forced return codes: the triplet does nothing else.
  std::map<std::tuple<TW_UINT32, TW_UINT16, TW_UINT16>, TW_UINT16> forced;
  TW_UINT16 userSelect = TWRC_SUCCESS;
  TW_UINT16 enableReturn = TWRC_SUCCESS;
  TW_UINT16 condition = TWCC_SUCCESS;
  TW_UINT32 applicationId = 7;
  std::vector<UserAction> actions;             // posted when the source is enabled
  std::vector<std::vector<Outcome>> batches;   // transfers of each Scan, in order; default one Done
  int width = 5, height = 3;                   // of every delivered 24-bit DIB
  // Capability answers of MSG_GET and MSG_GETCURRENT: the container type and
  // bytes, or no container.
  TW_UINT16 capConType = TWON_ONEVALUE;
  std::vector<std::uint8_t> capContainer;
  bool capNoContainer = false;
};

struct DsmControl {
  DsmScript script;
  std::vector<DsmCall> calls;
  // The source's running state.
  bool managerOpen = false;
  bool sourceOpen = false;
  std::size_t scans = 0;
  std::deque<Outcome> batch;
  std::uint8_t delivered = 0;  // DIBs delivered so far; each is filled with this number

  void Reset() { *this = DsmControl{}; }
  void Force(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc) { script.forced[{dg, dat, msg}] = rc; }
};

}  // namespace morvex::testing

extern "C" __attribute__((visibility("default"))) morvex::testing::DsmControl* TestDsm_Control();
