// The platform seam of the scanner layer: the Windows pieces it needs, behind
// one small interface. The program installs its implementation over Qt
// (morvex/twain_qt/qt_platform.h); the tests install a scripted one; with
// none installed the layer runs on a headless one that has no windows, no
// dialogs and no clipboard, and shows its boxes on standard error.
//
// Messages. The program's queue carries MorvexMessage records (window,
// number, wParam, lParam; morvex/winshim/post_message.h). Installing a
// platform also installs its PostMessage as the poster of morvex_winshim, so
// a TWAIN Source Manager library, which links the same morvex_winshim, posts
// its private messages (MSG_XFERREADY and MSG_CLOSEDSREQ notices) into this
// queue with MorvexPostMessage; the layer's modal loop hands each one back to
// the source with MSG_PROCESSEVENT.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "morvex/winshim/hglobal.h"
#include "morvex/winshim/post_message.h"

namespace morvex::twain {

using Message = MorvexMessage;

inline constexpr std::uint32_t WM_QUIT = MORVEX_WM_QUIT;
inline constexpr std::uint32_t WM_USER = MORVEX_WM_USER;
// The clipboard format of a packed DIB in a global memory block.
inline constexpr std::uint32_t CF_DIB = 8;

enum class BoxIcon { None, Exclamation };
enum class FileDialogKind { Open, Save };

// What a modal loop serves: it runs while KeepWaiting() is true and offers
// every message to Offer() first; a message that Offer() does not claim is
// translated and dispatched as usual. A quit request (WM_QUIT) ends the loop
// and is consumed.
class ModalClient {
 public:
  virtual ~ModalClient() = default;
  virtual bool KeepWaiting() = 0;
  virtual bool Offer(const Message& message) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Windows.
  virtual bool IsWindow(HWND window) = 0;
  // Enables or disables the window; returns whether it was disabled before.
  virtual bool EnableWindow(HWND window, bool enable) = 0;
  // A visible top-level window with this title and no owner, or 0.
  virtual HWND CreateProxyWindow(const std::string& title) = 0;
  virtual void DestroyWindow(HWND window) = 0;

  // The message queue. The default modal loop below is the Windows one:
  // GetMessage, offer, TranslateMessage and DispatchMessage.
  // Takes the next message, waiting for one; false for WM_QUIT (consumed).
  virtual bool GetMessage(Message& message);
  virtual void TranslateMessage(const Message& message);
  virtual void DispatchMessage(const Message& message);
  // Queues a message for the window; false when it cannot be queued.
  virtual bool PostMessage(const Message& message) = 0;
  virtual void RunModalLoop(ModalClient& client);

  // A message box without owner window and with one OK button. A non-empty
  // `details` is offered as collapsed further details.
  virtual void MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                          const std::string& details) = 0;

  // The clipboard. SetClipboardData takes the block over when it returns true.
  virtual bool OpenClipboard(HWND window) = 0;
  virtual bool EmptyClipboard() = 0;
  virtual bool SetClipboardData(std::uint32_t format, HGLOBAL block) = 0;
  virtual void CloseClipboard() = 0;

  // The open or save dialog without owner window, with one filter (its
  // name and pattern); the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> FileDialog(FileDialogKind kind, const std::string& filterName,
                                                const std::string& pattern) = 0;

  // Files, by descriptor; the defaults use the operating system directly.
  virtual bool FileExists(const std::string& path);
  // Creates or truncates the file for writing; -1 on failure.
  virtual int CreateFile(const std::string& path);
  virtual int OpenFileForReading(const std::string& path);
  // The file's size in bytes, or -1.
  virtual long long FileSize(int file);
  // Bytes read or written, -1 on failure; both retry short transfers.
  virtual long long ReadFile(int file, void* buffer, std::size_t bytes);
  virtual long long WriteFile(int file, const void* buffer, std::size_t bytes);
  virtual void CloseFile(int file);

  // "The Windows directory": the folder that holds TWAIN_32.DLL. The
  // default is the program's library folder (morvex/twain/library_folder.h).
  virtual std::string WindowsDirectory();
};

// Installs the platform the layer uses from now on (0: the headless one) and
// makes its PostMessage the poster of morvex_winshim. The platform must
// outlive its installation.
void InstallPlatform(Platform* platform);
Platform& ActivePlatform();

}  // namespace morvex::twain
