// A scanner's settings remembered across runs, one file per device.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "morvex/sane/device.h"

namespace morvex::dsm {

// Settings remembered per device, under $XDG_CONFIG_HOME/morvex/ (default ~/.config).
void ApplyRememberedSettings(morvex::sane::Device& device);  // best effort, ignores what no longer fits
void RememberSettings(morvex::sane::Device& device);

// The file that holds a device's settings:
// <config>/morvex/device-<name with every byte other than letters, digits,
// '-' and '.' written %XX>.conf; nothing when there is no config folder.
std::optional<std::filesystem::path> SettingsFile(std::string_view deviceName);

}  // namespace morvex::dsm
