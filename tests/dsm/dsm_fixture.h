// Drives our Source Manager's triplets with scripted dialogs, against SANE's
// test and pnm devices, with the user's configuration folder in a scratch
// folder of the test's own.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frontend.h"
#include "sane_fixtures.h"
#include "source_manager.h"
#include "temp_folder.h"

namespace morvex::testing {

// The program's message queue as the library posts to it.
class MessageQueue {
 public:
  MessageQueue();   // installs itself as the poster
  ~MessageQueue();  // removes itself
  // The next posted message, waiting up to `timeout`.
  std::optional<MorvexMessage> Next(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  std::size_t size();

 private:
  static int Post(const MorvexMessage* message, void* context);
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<MorvexMessage> messages_;
};

// The dialogs as the test plays them; scans without dialog are real (ScanJob).
class ScriptedFrontend : public dsm::QtFrontend {
 public:
  struct Dialog {
    std::string scannerName;
    HWND parent = nullptr;
    dsm::ModeFilter modeAllowed;
    dsm::ImageHandler image;
    dsm::CloseHandler close;
    bool open = true;
  };

  std::optional<std::string> ChooseScanner(HWND parent, const std::string& remembered) override;
  std::unique_ptr<dsm::Running> ShowSource(sane::Device& device, const std::string& scannerName, HWND parent,
                                           dsm::ModeFilter modeAllowed, dsm::ImageHandler image,
                                           dsm::CloseHandler close) override;
  // Applies `settings` (when the test gave any) instead of remembered ones.
  void ApplySettings(sane::Device& device) override;

  // What the selection dialog answers, and what it was shown.
  std::optional<std::string> choice;
  std::vector<std::string> rememberedShown;
  Settings settings;
  // The source dialog last shown (valid while `dialog.open`).
  Dialog dialog;
};

// A scratch XDG_CONFIG_HOME, a manager over scripted dialogs, the
// application identity and the posted messages.
class DsmTest : public ::testing::Test {
 protected:
  DsmTest();
  ~DsmTest() override;

  TW_UINT16 Manager(TW_UINT16 dat, TW_UINT16 msg, void* data, TW_UINT32 dg = DG_CONTROL);
  TW_UINT16 Source(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);
  // DAT_STATUS of the manager or the open source.
  TW_UINT16 ManagerCondition();
  TW_UINT16 SourceCondition();

  // Steps that must succeed.
  void OpenManager();
  void OpenSource(const std::string& deviceName);  // remembers it, opens the default source
  void Enable(bool showUi);
  // Hands the next posted message back with MSG_PROCESSEVENT; the TWMessage.
  TW_UINT16 NextEvent();
  // MSG_GET of DAT_IMAGENATIVEXFER then MSG_ENDXFER; the DIB (the test frees it).
  HGLOBAL Transfer();
  void CloseAll();  // disables, closes the source and the manager as far as open

  TempFolder config;
  ScriptedFrontend frontend;
  dsm::SourceManager manager{frontend};
  TW_IDENTITY application{};
  TW_IDENTITY source{};
  HWND window = reinterpret_cast<HWND>(0x1234);
  TW_USERINTERFACE ui{};
  MessageQueue queue;
  std::size_t blocksBefore = 0;
};

// Keeps SANE initialised until the test process ends. A test that stops a
// scan part-way calls it first: the test backend's reader thread can outlive
// the cancel for a moment, and sane_exit under it would unload its code.
void KeepSaneUntilTheProcessEnds();

// Width and height of a packed DIB.
std::pair<int, int> DibSize(HGLOBAL dib);

}  // namespace morvex::testing
