// Loading a .bmp file from disk: one read of the whole file, then the decoder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "morvex/bmp.h"

namespace morvex {

namespace {

// Larger than any bitmap the decoder accepts (2^27 pixels of 4 bytes, plus
// headers): such a file is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 30;

[[noreturn]] void Fail(const char* what, const std::filesystem::path& path, const char* reason) {
  throw FileReadError(std::string(what) + " \"" + path.string() + "\". " + reason);
}
[[noreturn]] void Fail(const char* what, const std::filesystem::path& path, int error) {
  Fail(what, path, std::strerror(error));
}

class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

void LoadBmpFile(const std::filesystem::path& path, Bitmap& into) {
  std::vector<std::uint8_t> fileBytes;
  LoadBmpFile(path, into, fileBytes);
}

void LoadBmpFile(const std::filesystem::path& path, Bitmap& into, std::vector<std::uint8_t>& fileBytes) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) Fail("Cannot open file", path, errno);
  struct stat st {};
  if (::fstat(file.get(), &st) != 0) Fail("Cannot read file", path, errno);
  if (S_ISDIR(st.st_mode)) Fail("Cannot read file", path, EISDIR);
  if (!S_ISREG(st.st_mode)) Fail("Cannot read file", path, "Not a regular file");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size > kMaxFileBytes) {
    into.resetForOverwrite(0, 0, into.format());
    throw BitmapFormatError();
  }

  fileBytes.resize(static_cast<std::size_t>(size));
  std::uint8_t* const bytes = fileBytes.data();
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(file.get(), bytes + got, static_cast<std::size_t>(size) - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read file", path, errno);
    }
    if (n == 0) break;  // the file shrank while it was read: decode what came
    got += static_cast<std::size_t>(n);
  }
  DecodeBmp(std::span<const std::uint8_t>(bytes, got), into);
}

Bitmap LoadBmpFile(const std::filesystem::path& path) {
  Bitmap bitmap;
  LoadBmpFile(path, bitmap);
  return bitmap;
}

}  // namespace morvex
