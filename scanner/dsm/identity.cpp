#include "identity.h"

#include <cstring>

namespace morvex::dsm {

namespace {

constexpr std::size_t kStr32Bytes = sizeof(TW_STR32) - 1;

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::string_view Cut(std::string_view text) {
  if (text.size() <= kStr32Bytes) return text;
  std::size_t end = kStr32Bytes;
  // The byte after the cut continues a character: drop that character's start.
  while (end > 0 && IsContinuationByte(static_cast<unsigned char>(text[end]))) --end;
  return text.substr(0, end);
}

}  // namespace

void CopyStr32(TW_STR32& field, std::string_view text) {
  std::memset(field, 0, sizeof field);
  const std::string_view cut = Cut(text);
  std::memcpy(field, cut.data(), cut.size());
}

void FillSourceIdentity(TW_IDENTITY& identity, const sane::DeviceInfo& device, TW_UINT32 id) {
  std::memset(&identity, 0, sizeof identity);
  identity.Id = id;
  identity.Version.MajorNum = 1;
  identity.Version.MinorNum = 0;
  identity.Version.Language = TWLG_USA;
  identity.Version.Country = TWCY_USA;
  CopyStr32(identity.Version.Info, device.name);
  identity.ProtocolMajor = 1;
  identity.ProtocolMinor = 9;
  identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyStr32(identity.Manufacturer, device.vendor);
  CopyStr32(identity.ProductFamily, device.type);
  CopyStr32(identity.ProductName, device.model);
}

bool IdentityNames(const TW_IDENTITY& identity, const sane::DeviceInfo& device) {
  TW_IDENTITY expected;
  FillSourceIdentity(expected, device, 0);
  if (std::strncmp(identity.ProductName, expected.ProductName, sizeof(TW_STR32)) != 0) return false;
  return identity.Manufacturer[0] == '\0' ||
         std::strncmp(identity.Manufacturer, expected.Manufacturer, sizeof(TW_STR32)) == 0;
}

}  // namespace morvex::dsm
