#include "device_settings.h"

#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "morvex/sane/default_device.h"
#include "morvex/sane/option_text.h"

namespace morvex::dsm {

namespace {

// One "name=value" line each; a value's backslashes and line breaks are
// written \\ and \n so that any text fits on its line.
std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

// Options a user sets and that describe how to scan: settable, readable,
// with a value (no buttons or groups).
bool Remembered(const morvex::sane::OptionDescriptor& o) {
  return !o.name.empty() && o.settable() && o.readable();
}

}  // namespace

std::optional<std::filesystem::path> SettingsFile(std::string_view deviceName) {
  const auto remembered = morvex::sane::RememberedDeviceFile();
  if (!remembered) return std::nullopt;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name = "device-";
  for (const char c : deviceName) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (plain) {
      name += c;
    } else {
      name += '%';
      name += kHex[byte >> 4];
      name += kHex[byte & 15];
    }
  }
  return remembered->parent_path() / (name + ".conf");
}

void ApplyRememberedSettings(morvex::sane::Device& device) {
  const auto file = SettingsFile(device.name());
  if (!file) return;
  std::ifstream in(*file);
  std::vector<std::pair<std::string, std::string>> settings;
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    settings.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
  }
  // In the order they were written, which is the device's own: a mode comes
  // before the options it switches on. Whatever the device no longer has,
  // no longer accepts or has made inactive is left as it is.
  for (const auto& [name, text] : settings) {
    const morvex::sane::OptionDescriptor* option = device.find(name);
    if (!option || !Remembered(*option)) continue;
    try {
      device.set(name, morvex::sane::ParseOptionValue(*option, text));
    } catch (const std::exception&) {
    }
  }
}

void RememberSettings(morvex::sane::Device& device) {
  const auto file = SettingsFile(device.name());
  if (!file) return;
  std::string content;
  for (const morvex::sane::OptionDescriptor& o : device.options()) {
    if (!Remembered(o)) continue;
    try {
      content += o.name + "=" + Escape(morvex::sane::FormatValue(device.get(o.name))) + "\n";
    } catch (const std::exception&) {
    }
  }
  // Written beside the file and renamed over it, so that a reader never sees
  // part of it. Settings are a convenience: a folder that cannot be written
  // leaves them unremembered.
  std::error_code ec;
  std::filesystem::create_directories(file->parent_path(), ec);
  const std::filesystem::path temp = file->string() + "." + std::to_string(getpid()) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
      std::filesystem::remove(temp, ec);
      return;
    }
  }
  std::filesystem::rename(temp, *file, ec);
  if (ec) std::filesystem::remove(temp, ec);
}

}  // namespace morvex::dsm
