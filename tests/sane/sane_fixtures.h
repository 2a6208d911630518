// Helpers for tests against SANE's virtual devices: setting options by text,
// running scanimage for a reference picture, and comparing pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/sane/device.h"

namespace morvex::testing {

// Option settings as `morvex scan --option` takes them: name and value text.
using Settings = std::vector<std::pair<std::string, std::string>>;

// Sets each option, in order, from its text.
void Apply(sane::Device& device, const Settings& settings);

// A PNM picture (P4, P5 or P6) with every sample brought to 8 bits: P4 bits
// as 0 (set, black) or 255, 16-bit samples by the scan layer's rule,
// round(v / 257).
struct PnmPicture {
  int width = 0;
  int height = 0;
  int channels = 0;  // 1 or 3
  bool bilevel = false;
  std::vector<std::uint8_t> samples;  // rows top-down, channels interleaved
};
PnmPicture ReadPnm(const std::filesystem::path& path);

// Writes a bitmap as a binary PPM (P6), the form the pnm device reads.
void WritePpm(const std::filesystem::path& path, const Bitmap& bitmap);

// Runs SANE's front end, scanimage, on a device with the settings and reads
// the picture it writes. Fails the test (and returns an empty picture) when
// scanimage fails.
PnmPicture ScanimagePicture(const std::string& device, const Settings& settings, const std::filesystem::path& folder);

// Expects the decoded DIB to show the PNM picture pixel for pixel.
void ExpectSamePicture(std::span<const std::uint8_t> dib, const PnmPicture& reference);

}  // namespace morvex::testing
