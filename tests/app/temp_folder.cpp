#include "temp_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

namespace morvex::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "morvex-app-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << content;
}

std::string TempFolder::read(const std::string& name) const { return ReadBytes(path_ / name); }

bool TempFolder::exists(const std::string& name) const {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path_ / name, ec));
}

std::vector<std::string> TempFolder::names() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

Bitmap SolidBitmap(int width, int height, Colour colour) {
  Bitmap b(width, height, PixelFormat::Rgb24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.setPixel(x, y, colour);
  }
  return b;
}

std::string ProcSelfExe() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return std::string(buf, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace morvex::testing
