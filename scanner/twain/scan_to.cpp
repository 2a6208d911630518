// Acquiring straight to the clipboard or to a .bmp file.
#include "morvex/twain/dib.h"
#include "morvex/twain/multitwain.h"

namespace morvex::twain {

int TWAIN_ScanToClipboard(HWND window, std::uint32_t pixelTypes) {
  HGLOBAL dib = TWAIN_AcquireDib(window, pixelTypes);
  if (dib == nullptr) return 0;
  Platform& platform = ActivePlatform();
  int result = 0;
  if (platform.OpenClipboard(window)) {
    if (platform.EmptyClipboard() && platform.SetClipboardData(CF_DIB, dib)) {
      dib = nullptr;  // the clipboard owns it now
      result = 1;
    }
    platform.CloseClipboard();
  }
  TWAIN_FreeDib(dib);
  return result;
}

int TWAIN_ScanToBmpFile(HWND window, const std::string& fileName) {
  HGLOBAL dib = TWAIN_AcquireDib(window, 0);
  if (dib == nullptr) return -1;
  const int result = TWAIN_SaveDibFile(dib, fileName);
  TWAIN_FreeDib(dib);
  return result;
}

}  // namespace morvex::twain
