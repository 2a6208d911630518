// The platform seam's defaults: the Windows-style modal loop, files through
// the operating system, the headless platform and the installation.
#include "morvex/twain/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "morvex/twain/library_folder.h"

namespace morvex::twain {

bool Platform::GetMessage(Message&) { return false; }
void Platform::TranslateMessage(const Message&) {}
void Platform::DispatchMessage(const Message&) {}

void Platform::RunModalLoop(ModalClient& client) {
  Message message{};
  while (client.KeepWaiting() && GetMessage(message)) {
    if (!client.Offer(message)) {
      TranslateMessage(message);
      DispatchMessage(message);
    }
  }
}

bool Platform::FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int Platform::CreateFile(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

int Platform::OpenFileForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }

long long Platform::FileSize(int file) {
  struct stat info {};
  if (::fstat(file, &info) != 0) return -1;
  return static_cast<long long>(info.st_size);
}

long long Platform::ReadFile(int file, void* buffer, std::size_t bytes) {
  auto* at = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < bytes) {
    const ssize_t n = ::read(file, at + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long long>(done);
}

long long Platform::WriteFile(int file, const void* buffer, std::size_t bytes) {
  const auto* at = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < bytes) {
    const ssize_t n = ::write(file, at + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long long>(done);
}

void Platform::CloseFile(int file) {
  if (file >= 0) ::close(file);
}

std::string Platform::WindowsDirectory() { return ProgramLibraryFolder(); }

namespace {

// No windows, no dialogs, no clipboard; boxes go to standard error.
class HeadlessPlatform final : public Platform {
 public:
  bool IsWindow(HWND) override { return false; }
  bool EnableWindow(HWND, bool) override { return false; }
  HWND CreateProxyWindow(const std::string&) override { return nullptr; }
  void DestroyWindow(HWND) override {}
  bool PostMessage(const Message&) override { return false; }
  void MessageBox(const std::string& text, const std::string& caption, BoxIcon, const std::string& details) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (!details.empty()) std::fprintf(stderr, "%s\n", details.c_str());
  }
  bool OpenClipboard(HWND) override { return false; }
  bool EmptyClipboard() override { return false; }
  bool SetClipboardData(std::uint32_t, HGLOBAL) override { return false; }
  void CloseClipboard() override {}
  std::optional<std::string> FileDialog(FileDialogKind, const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

Platform*& Installed() {
  static Platform* installed = nullptr;
  return installed;
}

int PostThroughPlatform(const MorvexMessage* message, void*) {
  return ActivePlatform().PostMessage(*message) ? 1 : 0;
}

}  // namespace

void InstallPlatform(Platform* platform) {
  // The poster may run on a Source Manager's thread: take it away first (this
  // waits for a post in progress), then switch platforms.
  MorvexSetMessagePoster(nullptr, nullptr);
  Installed() = platform;
  if (platform != nullptr) MorvexSetMessagePoster(&PostThroughPlatform, nullptr);
}

Platform& ActivePlatform() {
  static HeadlessPlatform headless;
  Platform* installed = Installed();
  return installed == nullptr ? headless : *installed;
}

}  // namespace morvex::twain
