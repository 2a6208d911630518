// Writing a DIB handle as a .bmp file and reading one back.
#include <cstring>
#include <optional>

#include "dib_header.h"
#include "morvex/twain/dib.h"
#include "morvex/twain/platform.h"

namespace morvex::twain {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;

// The name to use: the given one, or the dialog's choice with ".bmp" added
// when the chosen file name has no extension.
std::optional<std::string> ChooseName(const std::string& given, FileDialogKind kind, const char* filterName) {
  if (!given.empty()) return given;
  std::optional<std::string> chosen = ActivePlatform().FileDialog(kind, filterName, "*.bmp");
  if (!chosen || chosen->empty()) return std::nullopt;
  const std::size_t slash = chosen->rfind('/');
  const std::size_t dot = chosen->rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) *chosen += ".bmp";
  return chosen;
}

std::uint64_t FileColours(const DibFields& f) {
  if (f.clrUsed != 0) return f.clrUsed;
  return f.bitCount <= 8 ? std::uint64_t{1} << f.bitCount : 0;
}

// The pixel bytes to write, or nothing when they cannot be known. Rows
// without compression are measured again, and the result is written back
// into biSizeImage; a top-down DIB has as many rows as its height's size.
std::optional<std::uint64_t> ImageSize(std::uint8_t* dib, const DibFields& f) {
  if (f.core || f.compression == BI_RGB) {
    if (f.width < 0 || f.bitCount == 0) return std::nullopt;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(f.width) * f.bitCount + 31) / 32 * 4;
    const std::uint64_t rows = f.height < 0 ? -static_cast<std::int64_t>(f.height) : f.height;
    const std::uint64_t size = rows * rowBytes;
    if (!f.core) StoreAt<std::uint32_t>(dib, 20, static_cast<std::uint32_t>(size));
    return size;
  }
  if (f.sizeImage == 0) return std::nullopt;
  return f.sizeImage;
}

class File {
 public:
  explicit File(int fd) : fd_(fd) {}
  ~File() { ActivePlatform().CloseFile(fd_); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

int TWAIN_SaveDibFile(HGLOBAL dib, const std::string& fileName) {
  const std::optional<std::string> name = ChooseName(fileName, FileDialogKind::Save, "Windows Bitmap (*.bmp)");
  if (!name) return -1;
  Platform& platform = ActivePlatform();
  // The DIB is checked before the file is created, so that a DIB that
  // cannot be written never empties an existing file.
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(dib));
  if (bytes == nullptr) return -3;
  const std::size_t blockSize = GlobalSize(dib);
  const DibFields f = ReadDibFields(bytes, blockSize);
  std::optional<std::uint64_t> imageSize;
  std::uint64_t offBits = 0;
  if (f.headerSize != 0 && f.headerSize <= blockSize) {
    imageSize = ImageSize(bytes, f);
    // The pixels lie after the header as long as it really is, the masks of
    // a 40-byte BI_BITFIELDS header and the colour table.
    offBits = kFileHeaderBytes + f.headerSize + MaskBytes(f) + FileColours(f) * TableEntryBytes(f);
  }
  // The file can only hold what the block holds, and its sizes are 32 bits.
  const bool writable = imageSize && offBits + *imageSize <= 0xFFFFFFFFull &&
                        offBits + *imageSize - kFileHeaderBytes <= blockSize;
  int result = -4;
  const int fd = platform.CreateFile(*name);
  if (fd < 0) {
    result = -2;
  } else if (writable) {
    File file(fd);
    const auto bfSize = static_cast<std::uint32_t>(offBits + *imageSize);
    std::uint8_t header[kFileHeaderBytes] = {'B', 'M'};
    StoreAt<std::uint32_t>(header, 2, bfSize);
    StoreAt<std::uint32_t>(header, 10, static_cast<std::uint32_t>(offBits));
    const std::size_t body = bfSize - kFileHeaderBytes;
    if (platform.WriteFile(fd, header, sizeof header) == static_cast<long long>(sizeof header) &&
        platform.WriteFile(fd, bytes, body) == static_cast<long long>(body)) {
      result = 0;
    }
  } else {
    platform.CloseFile(fd);
  }
  GlobalUnlock(dib);
  return result;
}

HGLOBAL TWAIN_LoadDibFile(const std::string& fileName) {
  const std::optional<std::string> name = ChooseName(fileName, FileDialogKind::Open, "Windows Bitmaps (*.bmp)");
  if (!name) return nullptr;
  Platform& platform = ActivePlatform();
  const int fd = platform.OpenFileForReading(*name);
  if (fd < 0) return nullptr;
  File file(fd);
  std::uint8_t header[kFileHeaderBytes];
  if (platform.ReadFile(fd, header, sizeof header) != static_cast<long long>(sizeof header) || header[0] != 'B' ||
      header[1] != 'M') {
    return nullptr;
  }
  const auto bfSize = LoadAt<std::uint32_t>(header, 2);
  const long long fileSize = platform.FileSize(fd);
  // A size that the file cannot fill, or too small for a header, is refused
  // before anything is allocated.
  if (bfSize < kFileHeaderBytes + 12 || fileSize < 0 || bfSize > static_cast<unsigned long long>(fileSize)) {
    return nullptr;
  }
  const std::size_t bytes = bfSize - kFileHeaderBytes;
  HGLOBAL dib = GlobalAlloc(GMEM_FIXED, bytes);
  if (dib == nullptr) return nullptr;
  void* at = GlobalLock(dib);
  const long long read = platform.ReadFile(fd, at, bytes);
  GlobalUnlock(dib);
  if (read != static_cast<long long>(bytes)) {
    GlobalFree(dib);
    return nullptr;
  }
  return dib;
}

}  // namespace morvex::twain
