// The scanner a user chose last, remembered across runs, and the device a scan
// uses when none is named.
//
// The name is kept in $XDG_CONFIG_HOME/morvex/scanner (XDG_CONFIG_HOME when
// it is an absolute path, else ~/.config), one line. The window's scanner
// selection writes it; `morvex scan` and the window's scan read it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvex/sane/device_info.h"

namespace morvex::sane {

// The file that holds the remembered name; nothing when neither
// XDG_CONFIG_HOME nor HOME gives a folder.
std::optional<std::filesystem::path> RememberedDeviceFile();

// The remembered name; nothing when there is none or it cannot be read.
std::optional<std::string> ReadRememberedDevice();

// Remembers a name (replacing the file as a whole, so a reader never sees half
// of it). Throws std::runtime_error naming the file when it cannot.
void WriteRememberedDevice(std::string_view name);

// The device to use without a choice: the remembered one when it is among
// `devices`, else the only device, else nothing.
std::optional<std::string> ChooseDevice(const std::vector<DeviceInfo>& devices,
                                        const std::optional<std::string>& remembered);

}  // namespace morvex::sane
