#include "scripted_platform.h"

namespace morvex::testing {

ScriptedPlatform::~ScriptedPlatform() {
  if (clipboardDib != nullptr) GlobalFree(clipboardDib);
}

HWND ScriptedPlatform::MakeWindow() {
  HWND window = reinterpret_cast<HWND>(nextWindow_);
  nextWindow_ += 0x10;
  live.insert(window);
  enabled[window] = true;
  return window;
}

bool ScriptedPlatform::IsWindow(HWND window) { return live.count(window) != 0; }

bool ScriptedPlatform::EnableWindow(HWND window, bool enable) {
  if (!IsWindow(window)) return false;
  const bool wasDisabled = !enabled[window];
  enabled[window] = enable;
  return wasDisabled;
}

HWND ScriptedPlatform::CreateProxyWindow(const std::string& title) {
  proxyTitles.push_back(title);
  return proxyFails ? nullptr : MakeWindow();
}

void ScriptedPlatform::DestroyWindow(HWND window) {
  destroyed.push_back(window);
  live.erase(window);
}

bool ScriptedPlatform::GetMessage(twain::Message& message) {
  if (queue.empty()) {
    ranDry = true;
    return false;
  }
  message = queue.front();
  queue.pop_front();
  return message.message != twain::WM_QUIT;
}

void ScriptedPlatform::TranslateMessage(const twain::Message&) { ++translated; }
void ScriptedPlatform::DispatchMessage(const twain::Message& message) { dispatched.push_back(message); }

bool ScriptedPlatform::PostMessage(const twain::Message& message) {
  queue.push_back(message);
  return true;
}

void ScriptedPlatform::MessageBox(const std::string& text, const std::string& caption, twain::BoxIcon icon,
                                  const std::string& details) {
  boxes.push_back({text, caption, icon, details});
}

bool ScriptedPlatform::OpenClipboard(HWND) {
  clipboardOpen = true;
  return true;
}

bool ScriptedPlatform::EmptyClipboard() { return clipboardOpen; }

bool ScriptedPlatform::SetClipboardData(std::uint32_t format, HGLOBAL block) {
  if (!clipboardOpen || clipboardRefuses || format != twain::CF_DIB) return false;
  if (clipboardDib != nullptr) GlobalFree(clipboardDib);
  clipboardDib = block;
  return true;
}

void ScriptedPlatform::CloseClipboard() { clipboardOpen = false; }

std::optional<std::string> ScriptedPlatform::FileDialog(twain::FileDialogKind kind, const std::string& filterName,
                                                        const std::string& pattern) {
  dialogs.push_back({kind, filterName, pattern});
  return dialogAnswer;
}

long long ScriptedPlatform::WriteFile(int file, const void* buffer, std::size_t bytes) {
  if (writeLimit < 0) return Platform::WriteFile(file, buffer, bytes);
  const std::size_t allowed = std::min<std::size_t>(bytes, static_cast<std::size_t>(writeLimit));
  writeLimit -= static_cast<long long>(allowed);
  const long long written = allowed == 0 ? 0 : Platform::WriteFile(file, buffer, allowed);
  return written;
}

}  // namespace morvex::testing
