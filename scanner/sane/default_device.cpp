#include "morvex/sane/default_device.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace morvex::sane {

std::optional<std::filesystem::path> RememberedDeviceFile() {
  // An XDG_CONFIG_HOME that is not an absolute path is to be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "morvex" / "scanner";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::filesystem::path(home) / ".config" / "morvex" / "scanner";
  return std::nullopt;
}

std::optional<std::string> ReadRememberedDevice() {
  const auto file = RememberedDeviceFile();
  if (!file) return std::nullopt;
  std::ifstream in(*file);
  std::string name;
  if (!in || !std::getline(in, name)) return std::nullopt;
  if (!name.empty() && name.back() == '\r') name.pop_back();
  if (name.empty()) return std::nullopt;
  return name;
}

void WriteRememberedDevice(std::string_view name) {
  if (name.empty() || name.find('\n') != std::string_view::npos) {
    throw std::runtime_error("not a scanner name: '" + std::string(name) + "'");
  }
  const auto file = RememberedDeviceFile();
  if (!file) throw std::runtime_error("no folder for the remembered scanner: neither XDG_CONFIG_HOME nor HOME is set");
  std::error_code ec;
  std::filesystem::create_directories(file->parent_path(), ec);
  // Written beside the file and renamed over it: a reader sees the old name or
  // the new one, never part of either.
  const std::filesystem::path temp = file->string() + "." + std::to_string(getpid()) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << name << '\n';
    out.close();
    if (!out) {
      std::filesystem::remove(temp, ec);
      throw std::runtime_error("cannot write " + file->string());
    }
  }
  std::filesystem::rename(temp, *file, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw std::runtime_error("cannot write " + file->string());
  }
}

std::optional<std::string> ChooseDevice(const std::vector<DeviceInfo>& devices,
                                        const std::optional<std::string>& remembered) {
  if (remembered && std::any_of(devices.begin(), devices.end(), [&](const DeviceInfo& d) { return d.name == *remembered; })) {
    return remembered;
  }
  if (devices.size() == 1) return devices.front().name;
  return std::nullopt;
}

}  // namespace morvex::sane
