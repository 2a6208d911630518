// A platform for tests: windows are numbered handles, the message queue is a
// list the test and the Source Manager fill, message boxes, dialogs and the
// clipboard are recorded and answered from fields. Files go to the real file
// system unless a test makes writes fail.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "morvex/twain/platform.h"

namespace morvex::testing {

class ScriptedPlatform : public twain::Platform {
 public:
  struct Box {
    std::string text, caption;
    twain::BoxIcon icon;
    std::string details;
  };
  struct Dialog {
    twain::FileDialogKind kind;
    std::string filterName, pattern;
  };

  ~ScriptedPlatform() override;

  // A new live, enabled window.
  HWND MakeWindow();

  bool IsWindow(HWND window) override;
  bool EnableWindow(HWND window, bool enable) override;
  HWND CreateProxyWindow(const std::string& title) override;
  void DestroyWindow(HWND window) override;
  // Takes the queue's front; an empty queue ends the loop like WM_QUIT and
  // is noted in ranDry.
  bool GetMessage(twain::Message& message) override;
  void TranslateMessage(const twain::Message& message) override;
  void DispatchMessage(const twain::Message& message) override;
  bool PostMessage(const twain::Message& message) override;
  void MessageBox(const std::string& text, const std::string& caption, twain::BoxIcon icon,
                  const std::string& details) override;
  bool OpenClipboard(HWND window) override;
  bool EmptyClipboard() override;
  bool SetClipboardData(std::uint32_t format, HGLOBAL block) override;
  void CloseClipboard() override;
  std::optional<std::string> FileDialog(twain::FileDialogKind kind, const std::string& filterName,
                                        const std::string& pattern) override;
  long long WriteFile(int file, const void* buffer, std::size_t bytes) override;
  std::string WindowsDirectory() override { return windowsDirectory; }

  // Windows.
  std::set<HWND> live;
  std::map<HWND, bool> enabled;
  std::vector<std::string> proxyTitles;
  std::vector<HWND> destroyed;
  bool proxyFails = false;
  // The queue.
  std::deque<twain::Message> queue;
  std::vector<twain::Message> dispatched;
  int translated = 0;
  bool ranDry = false;
  // Boxes, dialogs, clipboard, files.
  std::vector<Box> boxes;
  std::vector<Dialog> dialogs;
  std::optional<std::string> dialogAnswer;
  bool clipboardOpen = false;
  bool clipboardRefuses = false;
  HGLOBAL clipboardDib = nullptr;  // freed by the destructor
  long long writeLimit = -1;       // bytes that writes may still write; -1 no limit
  std::string windowsDirectory;

 private:
  std::uintptr_t nextWindow_ = 0x1000;
};

}  // namespace morvex::testing
