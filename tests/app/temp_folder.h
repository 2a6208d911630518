// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "morvex/bitmap.h"

namespace morvex::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes a text file (also used for files that are not bitmaps).
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // The names in the folder, sorted by bytes.
  std::vector<std::string> names() const;

 private:
  std::filesystem::path path_;
};

// A small 24-bit bitmap filled with one colour.
Bitmap SolidBitmap(int width, int height, Colour colour);

// The running test's executable, read from /proc/self/exe for the expected
// background URL.
std::string ProcSelfExe();

// The whole content of a file as bytes.
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace morvex::testing
