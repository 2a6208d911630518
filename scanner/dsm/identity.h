// A scanner's TWAIN identity as the Source Manager hands it to a program.
#pragma once

#include <string_view>

#include "morvex/sane/device_info.h"
#include "morvex/twain/twain_types.h"

namespace morvex::dsm {

// Copies `text` into a TW_STR32, cut to the 33 bytes it holds before its
// terminating zero; a UTF-8 character that would not fit whole is left out,
// so the field never ends in half a character.
void CopyStr32(TW_STR32& field, std::string_view text);

// The identity of a source: `id`, version 1.0, protocol 1.9, groups
// DG_CONTROL and DG_IMAGE, Manufacturer the vendor, ProductFamily the type,
// ProductName the model.
void FillSourceIdentity(TW_IDENTITY& identity, const sane::DeviceInfo& device, TW_UINT32 id);

// Whether an identity names this device: its ProductName is the model and,
// when the identity gives one, its Manufacturer the vendor (both as cut).
bool IdentityNames(const TW_IDENTITY& identity, const sane::DeviceInfo& device);

}  // namespace morvex::dsm
