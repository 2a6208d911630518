// Writing a packed device-independent bitmap as a .bmp file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace morvex::cli {

// Writes `dib` (info header, colour table, rows) behind a BITMAPFILEHEADER to
// a new file. An existing file is never replaced: that, like any failure,
// throws morvex::FileWriteError naming the file, and a file this call began
// is removed again.
void SaveDibAsNewBmp(const std::filesystem::path& path, std::span<const std::uint8_t> dib);

}  // namespace morvex::cli
