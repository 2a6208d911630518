// Reads a PNG reference picture as 8-bit RGBA with libpng.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace morvex::testing {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // row-major, top row first
};

// std::nullopt when the file cannot be read as a PNG.
std::optional<RgbaImage> ReadPng(const std::filesystem::path& path);

}  // namespace morvex::testing
