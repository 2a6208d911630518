// Capability negotiation: restricting the pixel types, setting one value,
// reading the current value, and the typed wrappers.
//
// Containers are read and written as bytes in the standard's packed layouts,
// and never beyond the size of their global memory block.
#include <algorithm>
#include <array>
#include <cstring>

#include "morvex/twain/multitwain.h"
#include "session_state.h"

namespace morvex::twain {

namespace {

constexpr std::array<int, 13> kItemSizes = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};

template <typename T>
T ReadAt(const unsigned char* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

template <typename T>
void WriteAt(unsigned char* bytes, std::size_t offset, T value) {
  std::memcpy(bytes + offset, &value, sizeof value);
}

bool IsIntegerType(TW_UINT16 type) { return type <= TWTY_UINT32; }

// Keeps the listed pixel types that the mask admits, written back in
// ascending order as 16-bit values; returns how many remain.
TW_UINT32 IntersectWithMask(unsigned char* list, TW_UINT32 count, std::uint32_t mask) {
  std::uint32_t listed = 0;
  for (TW_UINT32 i = 0; i < count; ++i) {
    const TW_UINT16 value = ReadAt<TW_UINT16>(list, std::size_t{i} * 2);
    if (value < 32) listed |= std::uint32_t{1} << value;
  }
  const std::uint32_t kept = listed & mask;
  TW_UINT32 written = 0;
  for (TW_UINT16 bit = 0; bit < 32; ++bit) {
    if ((kept >> bit) & 1u) WriteAt<TW_UINT16>(list, std::size_t{written++} * 2, bit);
  }
  return written;
}

// Rewrites a locked array or enumeration in place; the error code, or 0.
int RestrictList(unsigned char* container, std::size_t size, bool enumeration, std::uint32_t mask) {
  const std::size_t listOffset = enumeration ? TW_ENUMERATION_ITEMLIST_OFFSET : TW_ARRAY_ITEMLIST_OFFSET;
  if (size < listOffset) return 9;
  const TW_UINT16 itemType = ReadAt<TW_UINT16>(container, 0);
  const TW_UINT32 count = ReadAt<TW_UINT32>(container, 2);
  if (count == 0) return 12;
  if (itemType != TWTY_UINT16 && itemType != TWTY_INT16) return 11;
  if (count > (size - listOffset) / 2) return 9;  // a list longer than its block
  if (enumeration) {
    WriteAt<TW_UINT32>(container, 6, 0xFFFFFFFFu);
    WriteAt<TW_UINT32>(container, 10, 0xFFFFFFFFu);
  }
  const TW_UINT32 remaining = IntersectWithMask(container + listOffset, count, mask);
  WriteAt<TW_UINT32>(container, 2, remaining);
  return remaining == 0 ? 13 : 0;
}

}  // namespace

int TWAIN_ItemSize(TW_UINT16 itemType) {
  return itemType < kItemSizes.size() ? kItemSizes[itemType] : 0;
}

bool TWAIN_ItemTypesMatch(TW_UINT16 a, TW_UINT16 b) {
  if (a == b) return true;
  return IsIntegerType(a) && IsIntegerType(b) && TWAIN_ItemSize(a) == TWAIN_ItemSize(b);
}

bool TWAIN_RestrictPixelTypes(std::uint32_t pixelTypes) {
  if (Session().state != 4) {
    TWAIN_NoteError(7);
    return false;
  }
  if (pixelTypes == 0) return true;
  TW_CAPABILITY cap{};
  cap.Cap = ICAP_PIXELTYPE;
  cap.ConType = TWON_ENUMERATION;
  cap.hContainer = nullptr;
  if (!TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap)) {
    TWAIN_NoteError(2);
    return false;
  }
  HGLOBAL container = cap.hContainer;
  if (container == nullptr) {
    TWAIN_NoteError(8);
    return false;
  }
  auto* bytes = static_cast<unsigned char*>(GlobalLock(container));
  if (bytes == nullptr) {
    TWAIN_NoteError(9);
    GlobalFree(container);
    return false;
  }
  const std::size_t size = GlobalSize(container);
  int error = 0;
  switch (cap.ConType) {
    case TWON_ARRAY:
      error = RestrictList(bytes, size, false, pixelTypes);
      break;
    case TWON_ENUMERATION:
      error = RestrictList(bytes, size, true, pixelTypes);
      break;
    case TWON_ONEVALUE: {
      if (size < sizeof(TW_ONEVALUE)) {
        error = 9;
        break;
      }
      const TW_UINT32 item = ReadAt<TW_UINT32>(bytes, 2);
      error = (item < 32 && ((pixelTypes >> item) & 1u)) ? 0 : 13;
      break;
    }
    default:
      error = 10;
  }
  GlobalUnlock(container);
  bool result = error == 0;
  if (error != 0) TWAIN_NoteError(error);
  if (result && cap.ConType != TWON_ONEVALUE) {
    result = TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
    if (!result) TWAIN_NoteError(3);
  }
  GlobalFree(container);
  return result;
}

bool TWAIN_CapSetSingle(TW_UINT16 capability, TW_UINT16 itemType, TW_UINT32 value) {
  if (Session().state != 4) {
    TWAIN_WarningBox("Attempt to set capability outside State 4.");
    return false;
  }
  HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
  if (block == nullptr) {
    TWAIN_WarningBox("Insufficient Memory");
    return false;
  }
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  WriteAt<TW_UINT16>(bytes, 0, itemType);
  WriteAt<TW_UINT32>(bytes, 2, value);
  GlobalUnlock(block);
  TW_CAPABILITY cap{};
  cap.Cap = capability;
  cap.ConType = TWON_ONEVALUE;
  cap.hContainer = block;
  const bool result = TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
  GlobalFree(block);
  return result;
}

bool TWAIN_CapGetCurrentValue(TW_UINT16 capability, TW_UINT16 itemType, void* destination) {
  TWAIN_AssertBox(destination != nullptr);
  if (Session().state < 4) {
    TWAIN_WarningBox("Attempt to get capability value below State 4.");
    return false;
  }
  TW_CAPABILITY cap{};
  cap.Cap = capability;
  cap.ConType = TWON_ONEVALUE;
  cap.hContainer = nullptr;
  if (!TWAIN_CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &cap)) return false;
  HGLOBAL container = cap.hContainer;
  if (container == nullptr) return false;
  bool result = false;
  const auto itemSize = static_cast<std::size_t>(TWAIN_ItemSize(itemType));
  if (auto* bytes = static_cast<unsigned char*>(GlobalLock(container))) {
    const std::size_t size = GlobalSize(container);
    // Where the requested item lies in the container, when it is there.
    std::size_t at = 0;
    bool found = false;
    if (cap.ConType == TWON_ENUMERATION && size >= TW_ENUMERATION_ITEMLIST_OFFSET) {
      const TW_UINT32 count = ReadAt<TW_UINT32>(bytes, 2);
      const TW_UINT32 current = ReadAt<TW_UINT32>(bytes, 6);
      if (current < count && TWAIN_ItemTypesMatch(ReadAt<TW_UINT16>(bytes, 0), itemType)) {
        at = TW_ENUMERATION_ITEMLIST_OFFSET + std::size_t{current} * itemSize;
        found = true;
      }
    } else if (cap.ConType == TWON_ONEVALUE && size >= 2) {
      if (TWAIN_ItemTypesMatch(ReadAt<TW_UINT16>(bytes, 0), itemType)) {
        at = 2;
        found = true;
      }
    }
    // A destination that is missing, an unknown item type or an item that
    // would lie beyond the block is a failure, not a copy.
    if (found && destination != nullptr && itemSize != 0 && at <= size && itemSize <= size - at) {
      std::memcpy(destination, bytes + at, itemSize);
      result = true;
    }
    GlobalUnlock(container);
  }
  GlobalFree(container);
  return result;
}

bool TWAIN_SetXferCount(int count) {
  return TWAIN_CapSetSingle(CAP_XFERCOUNT, TWTY_INT16, static_cast<TW_UINT32>(count));
}

namespace {
unsigned GetUint16(TW_UINT16 capability) {
  TW_UINT32 value = 0;
  TWAIN_CapGetCurrentValue(capability, TWTY_UINT16, &value);
  return value;
}
bool SetUint16(TW_UINT16 capability, unsigned value) {
  return TWAIN_CapSetSingle(capability, TWTY_UINT16, static_cast<TW_UINT16>(value));
}
}  // namespace

unsigned TWAIN_GetUnits() { return GetUint16(ICAP_UNITS); }
unsigned TWAIN_GetBitDepth() { return GetUint16(ICAP_BITDEPTH); }
unsigned TWAIN_GetPixelType() { return GetUint16(ICAP_PIXELTYPE); }
bool TWAIN_SetUnits(unsigned units) { return SetUint16(ICAP_UNITS, units); }
bool TWAIN_SetBitDepth(unsigned bits) { return SetUint16(ICAP_BITDEPTH, bits); }
bool TWAIN_SetPixelType(unsigned pixelType) { return SetUint16(ICAP_PIXELTYPE, pixelType); }

}  // namespace morvex::twain
