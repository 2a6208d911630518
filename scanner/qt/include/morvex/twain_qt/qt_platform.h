// The scanner layer's platform in the desktop program, over Qt 6 Widgets.
//
//  - Window handles are QWidget pointers; a handle is a window while it
//    names a live widget (checked against the application's widgets, so a
//    stale or made-up handle is never dereferenced).
//  - The proxy window is a top-level QLabel titled as asked.
//  - Posted messages (from the layer or, through morvex_winshim, from the
//    Source Manager, on any thread) become events of the GUI thread.
//  - The modal loop is a nested QEventLoop. While it runs, an application-wide
//    event filter offers every event of the GUI thread to the layer first: a
//    posted message as itself, any other event as a message kQtEventMessage
//    whose window is the receiving widget (or 0), wParam the event type and
//    lParam the QEvent's address. Only events that are not claimed are
//    delivered. A quit request (the QEvent::Quit that QCoreApplication::quit()
//    sends while the program's loop runs) ends the loop and is consumed,
//    like WM_QUIT.
//  - Message boxes are QMessageBox, details as its collapsed detailed text.
//  - CF_DIB on the clipboard becomes an image on the system clipboard.
//  - The open and save dialogs are QFileDialog with the given filter.
#pragma once

#include <memory>

#include "morvex/twain/platform.h"

namespace morvex::twain {

inline constexpr std::uint32_t kQtEventMessage = 0x8000;  // WM_APP

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  bool IsWindow(HWND window) override;
  bool EnableWindow(HWND window, bool enable) override;
  HWND CreateProxyWindow(const std::string& title) override;
  void DestroyWindow(HWND window) override;
  bool PostMessage(const Message& message) override;
  void RunModalLoop(ModalClient& client) override;
  void MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                  const std::string& details) override;
  bool OpenClipboard(HWND window) override;
  bool EmptyClipboard() override;
  bool SetClipboardData(std::uint32_t format, HGLOBAL block) override;
  void CloseClipboard() override;
  std::optional<std::string> FileDialog(FileDialogKind kind, const std::string& filterName,
                                        const std::string& pattern) override;

 private:
  class Queue;
  std::unique_ptr<Queue> queue_;
  bool clipboardOpen_ = false;
};

}  // namespace morvex::twain
