#include "capabilities.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "containers.h"
#include "morvex/sane/error.h"

namespace morvex::dsm {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

Answer Failure(TW_UINT16 condition) { return {TWRC_FAILURE, condition}; }

// The modes of the device's "mode" option, or none.
std::vector<std::string> Modes(const sane::Device& device) {
  const sane::OptionDescriptor* mode = device.find("mode");
  if (mode == nullptr || !mode->active || mode->constraint != sane::ConstraintKind::StringList) return {};
  return mode->strings;
}

int BitDepthOf(TW_UINT16 pixelType) {
  switch (pixelType) {
    case TWPT_BW: return 1;
    case TWPT_GRAY: return 8;
    default: return 24;
  }
}

// Puts a one-value or enumeration answer into the capability record.
Answer Give(TW_CAPABILITY& capability, HGLOBAL container, TW_UINT16 conType) {
  if (container == nullptr) return Failure(TWCC_LOWMEMORY);
  capability.ConType = conType;
  capability.hContainer = container;
  return {};
}

}  // namespace

std::optional<TW_UINT16> PixelTypeOfMode(std::string_view mode) {
  const std::string lower = Lower(mode);
  if (Contains(lower, "lineart") || Contains(lower, "binary") || Contains(lower, "halftone") ||
      Contains(lower, "black")) {
    return static_cast<TW_UINT16>(TWPT_BW);
  }
  if (Contains(lower, "gray") || Contains(lower, "grey")) return static_cast<TW_UINT16>(TWPT_GRAY);
  if (Contains(lower, "color") || Contains(lower, "colour")) return static_cast<TW_UINT16>(TWPT_RGB);
  return std::nullopt;
}

TW_UINT16 Capabilities::CurrentPixelType() const {
  // What the next scan delivers: a 1-bit grey frame is line art whatever the
  // mode is called.
  try {
    const sane::FrameParameters frame = device_.estimatedParameters();
    if (frame.format != sane::FrameFormat::Gray) return TWPT_RGB;
    return frame.depth == 1 ? TWPT_BW : TWPT_GRAY;
  } catch (const sane::SaneError&) {
    return TWPT_GRAY;
  }
}

std::vector<TW_UINT16> Capabilities::PixelTypes() const {
  std::uint32_t offered = 0;
  for (const std::string& mode : Modes(device_)) {
    if (auto type = PixelTypeOfMode(mode)) offered |= 1u << *type;
  }
  offered |= 1u << CurrentPixelType();
  offered &= allowed_;
  std::vector<TW_UINT16> types;
  for (TW_UINT16 type = 0; type < 32; ++type) {
    if (offered & (1u << type)) types.push_back(type);
  }
  return types;
}

bool Capabilities::AllowsMode(const std::string& mode) const {
  if (allowed_ == kEveryType) return true;
  const std::optional<TW_UINT16> type = PixelTypeOfMode(mode);
  return type && *type < 32 && (allowed_ & (1u << *type)) != 0;
}

bool Capabilities::SelectPixelType(TW_UINT16 type) {
  if (CurrentPixelType() == type) return true;
  for (const std::string& mode : Modes(device_)) {
    if (PixelTypeOfMode(mode) != type) continue;
    try {
      device_.set("mode", mode);
    } catch (const std::exception&) {
      continue;
    }
    if (CurrentPixelType() == type) return true;
  }
  return false;
}

Answer Capabilities::Handle(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable) {
  if (msg == MSG_SET && !settable) return Failure(TWCC_SEQERROR);
  switch (capability.Cap) {
    case ICAP_PIXELTYPE:
      return PixelType(msg, capability, settable);
    case ICAP_UNITS:
      // Only the scan area uses units, and the source's dialog sets it.
      return FixedValue(msg, capability, settable, TWTY_UINT16, TWUN_INCHES, {TWUN_INCHES});
    case ICAP_BITDEPTH: {
      const auto depth = static_cast<TW_UINT16>(BitDepthOf(CurrentPixelType()));
      return FixedValue(msg, capability, settable, TWTY_UINT16, depth, {depth});
    }
    case CAP_XFERCOUNT:
      // One image a scan; a program may also say it takes any number (-1).
      return FixedValue(msg, capability, settable, TWTY_INT16, 1, {1, 0xFFFF});
    default:
      return Failure(TWCC_BADCAP);
  }
}

Answer Capabilities::PixelType(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable) {
  const TW_UINT16 current = CurrentPixelType();
  switch (msg) {
    case MSG_GET: {
      const std::vector<TW_UINT16> types = PixelTypes();
      const auto at = std::find(types.begin(), types.end(), current);
      const auto index = at == types.end() ? 0u : static_cast<TW_UINT32>(at - types.begin());
      return Give(capability, MakeEnumeration(TWTY_UINT16, types, index, index), TWON_ENUMERATION);
    }
    case MSG_GETCURRENT:
      return Give(capability, MakeOneValue(TWTY_UINT16, current), TWON_ONEVALUE);
    case MSG_SET:
      if (!settable) return Failure(TWCC_SEQERROR);
      return SetPixelType(capability);
    default:
      return Failure(TWCC_BADPROTOCOL);
  }
}

Answer Capabilities::SetPixelType(const TW_CAPABILITY& capability) {
  const std::optional<SentValues> sent = ReadSent16(capability.ConType, capability.hContainer);
  if (!sent || sent->items.empty()) return Failure(TWCC_BADVALUE);
  std::uint32_t wanted = 0;
  for (TW_UINT16 type : sent->items) {
    if (type < 32) wanted |= 1u << type;
  }
  if (sent->conType == TWON_ONEVALUE) {
    // One value chooses the pixel type; the others stay allowed.
    const TW_UINT16 type = sent->items.front();
    const std::vector<TW_UINT16> offered = PixelTypes();
    if (std::find(offered.begin(), offered.end(), type) == offered.end()) return Failure(TWCC_BADVALUE);
    return SelectPixelType(type) ? Answer{} : Failure(TWCC_BADVALUE);
  }
  // An array or enumeration limits the pixel types to those listed.
  const std::uint32_t before = allowed_;
  allowed_ = wanted;
  const std::vector<TW_UINT16> offered = PixelTypes();
  if (offered.empty()) {
    allowed_ = before;
    return Failure(TWCC_BADVALUE);
  }
  TW_UINT16 choice = CurrentPixelType();
  if (sent->current && std::find(offered.begin(), offered.end(), sent->items[*sent->current]) != offered.end()) {
    choice = sent->items[*sent->current];
  } else if (std::find(offered.begin(), offered.end(), choice) == offered.end()) {
    choice = offered.front();
  }
  if (!SelectPixelType(choice)) {
    allowed_ = before;
    return Failure(TWCC_BADVALUE);
  }
  return {};
}

Answer Capabilities::FixedValue(TW_UINT16 msg, TW_CAPABILITY& capability, bool settable, TW_UINT16 itemType,
                                TW_UINT16 value, const std::vector<TW_UINT16>& accepted) {
  switch (msg) {
    case MSG_GET:
      return Give(capability, MakeEnumeration(itemType, {value}, 0, 0), TWON_ENUMERATION);
    case MSG_GETCURRENT:
      return Give(capability, MakeOneValue(itemType, value), TWON_ONEVALUE);
    case MSG_SET: {
      if (!settable) return Failure(TWCC_SEQERROR);
      const std::optional<SentValues> sent = ReadSent16(capability.ConType, capability.hContainer);
      if (!sent || sent->conType != TWON_ONEVALUE) return Failure(TWCC_BADVALUE);
      const bool fits = std::find(accepted.begin(), accepted.end(), sent->items.front()) != accepted.end();
      return fits ? Answer{} : Failure(TWCC_BADVALUE);
    }
    default:
      return Failure(TWCC_BADPROTOCOL);
  }
}

}  // namespace morvex::dsm
