#include "dib_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "morvex/bmp.h"

namespace morvex::cli {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Bytes before the pixel rows: the info header and the colour table.
std::uint64_t RowsOffset(std::span<const std::uint8_t> dib) {
  if (dib.size() < 40) throw BitmapFormatError();
  const std::uint32_t headerSize = Le32(dib.data());
  const unsigned bits = static_cast<unsigned>(dib[14]) | static_cast<unsigned>(dib[15]) << 8;
  std::uint64_t colours = Le32(dib.data() + 32);
  if (colours == 0 && bits <= 8) colours = 1ull << bits;
  return headerSize + 4 * colours;
}

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

void SaveDibAsNewBmp(const std::filesystem::path& path, std::span<const std::uint8_t> dib) {
  const std::uint64_t offset = 14 + RowsOffset(dib);
  const std::uint64_t size = 14 + dib.size();
  if (size > 0xFFFFFFFFu || offset > size) throw FileWriteError(path.string() + ": the image is too large for a .bmp file");
  std::array<std::uint8_t, 14> header{'B', 'M'};
  for (int i = 0; i < 4; ++i) {
    header[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    header[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }
  // O_EXCL: the file must not exist, checked by the system at the moment of creation.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    if (error == EEXIST) throw FileWriteError(path.string() + ": the file exists and is not overwritten");
    throw FileWriteError(path.string() + ": " + std::strerror(error));
  }
  const bool written = WriteAll(fd, header.data(), header.size()) && WriteAll(fd, dib.data(), dib.size());
  const int error = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(path.c_str());
    throw FileWriteError(path.string() + ": " + std::strerror(written ? errno : error));
  }
}

}  // namespace morvex::cli
