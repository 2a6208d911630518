// DAT_CAPABILITY of an open source: the pixel type (the device's scan modes),
// the units, the bit depth and the transfer count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvex/sane/device.h"
#include "morvex/twain/twain_types.h"

namespace morvex::dsm {

// ICAP_UNITS values.
enum : TW_UINT16 { TWUN_INCHES = 0, TWUN_CENTIMETERS = 1, TWUN_PIXELS = 5 };

// The pixel type a SANE scan mode gives: "Lineart", "Binary", "Halftone" and
// black-and-white modes TWPT_BW, "Gray"/"Grey" TWPT_GRAY, "Color"/"Colour"
// TWPT_RGB (case does not matter); nothing for others.
std::optional<TW_UINT16> PixelTypeOfMode(std::string_view mode);

// A TWAIN answer: the return code, and the condition code on TWRC_FAILURE.
struct Answer {
  TW_UINT16 returnCode = TWRC_SUCCESS;
  TW_UINT16 condition = TWCC_SUCCESS;
};

class Capabilities {
 public:
  explicit Capabilities(sane::Device& device) : device_(device) {}

  // MSG_GET, MSG_GETCURRENT and MSG_SET for `capability`; `settable` is
  // whether the source is in State 4, where MSG_SET is allowed. A returned
  // container belongs to the program.
  Answer Handle(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable);

  // The pixel types the device's modes offer (within what the program has
  // allowed), in ascending order, and the current one.
  std::vector<TW_UINT16> PixelTypes() const;
  TW_UINT16 CurrentPixelType() const;
  // Whether a scan mode may be offered: every mode until the program limits
  // the pixel types, then only those whose pixel type it allows.
  bool AllowsMode(const std::string& mode) const;

 private:
  Answer PixelType(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable);
  Answer SetPixelType(const TW_CAPABILITY& capability);
  bool SelectPixelType(TW_UINT16 type);
  Answer FixedValue(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable, TW_UINT16 itemType, TW_UINT16 value,
                    const std::vector<TW_UINT16>& accepted);

  sane::Device& device_;
  static constexpr std::uint32_t kEveryType = 0xFFFFFFFFu;
  std::uint32_t allowed_ = kEveryType;  // bit n: TWPT n may be offered
};

}  // namespace morvex::dsm
