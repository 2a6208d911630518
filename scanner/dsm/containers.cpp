#include "containers.h"

#include <cstring>

namespace morvex::dsm {

namespace {

// The block's bytes for the time of one access.
class Locked {
 public:
  explicit Locked(HGLOBAL block) : block_(block), bytes_(static_cast<std::uint8_t*>(GlobalLock(block))) {}
  ~Locked() {
    if (bytes_ != nullptr) GlobalUnlock(block_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  std::uint8_t* bytes() const { return bytes_; }

 private:
  HGLOBAL block_;
  std::uint8_t* bytes_;
};

template <typename T>
T Read(const std::uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <typename T>
void Write(std::uint8_t* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

bool Is16BitInteger(TW_UINT16 itemType) { return itemType == TWTY_UINT16 || itemType == TWTY_INT16; }

}  // namespace

HGLOBAL MakeOneValue(TW_UINT16 itemType, TW_UINT32 value) {
  HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
  if (block == nullptr) return nullptr;
  Locked locked(block);
  Write(locked.bytes() + offsetof(TW_ONEVALUE, ItemType), itemType);
  Write(locked.bytes() + offsetof(TW_ONEVALUE, Item), value);
  return block;
}

HGLOBAL MakeEnumeration(TW_UINT16 itemType, const std::vector<TW_UINT16>& items, TW_UINT32 currentIndex,
                        TW_UINT32 defaultIndex) {
  HGLOBAL block = GlobalAlloc(GHND, TW_ENUMERATION_ITEMLIST_OFFSET + 2 * items.size());
  if (block == nullptr) return nullptr;
  Locked locked(block);
  std::uint8_t* bytes = locked.bytes();
  Write(bytes + offsetof(TW_ENUMERATION, ItemType), itemType);
  Write(bytes + offsetof(TW_ENUMERATION, NumItems), static_cast<TW_UINT32>(items.size()));
  Write(bytes + offsetof(TW_ENUMERATION, CurrentIndex), currentIndex);
  Write(bytes + offsetof(TW_ENUMERATION, DefaultIndex), defaultIndex);
  for (std::size_t i = 0; i < items.size(); ++i) Write(bytes + TW_ENUMERATION_ITEMLIST_OFFSET + 2 * i, items[i]);
  return block;
}

std::optional<SentValues> ReadSent16(TW_UINT16 conType, HGLOBAL container) {
  const std::size_t size = GlobalSize(container);
  Locked locked(container);
  const std::uint8_t* bytes = locked.bytes();
  if (bytes == nullptr) return std::nullopt;
  SentValues sent;
  sent.conType = conType;
  if (size < 2) return std::nullopt;
  sent.itemType = Read<TW_UINT16>(bytes);
  if (!Is16BitInteger(sent.itemType)) return std::nullopt;

  std::size_t listOffset = 0;
  switch (conType) {
    case TWON_ONEVALUE:
      if (size < sizeof(TW_ONEVALUE)) return std::nullopt;
      sent.items.push_back(static_cast<TW_UINT16>(Read<TW_UINT32>(bytes + offsetof(TW_ONEVALUE, Item))));
      sent.current = 0;
      return sent;
    case TWON_ARRAY:
      listOffset = TW_ARRAY_ITEMLIST_OFFSET;
      break;
    case TWON_ENUMERATION:
      listOffset = TW_ENUMERATION_ITEMLIST_OFFSET;
      break;
    default:
      return std::nullopt;
  }
  if (size < listOffset) return std::nullopt;
  const TW_UINT32 count = Read<TW_UINT32>(bytes + 2);
  // The announced items must lie inside the block.
  if (count > (size - listOffset) / 2) return std::nullopt;
  for (TW_UINT32 i = 0; i < count; ++i) sent.items.push_back(Read<TW_UINT16>(bytes + listOffset + 2 * i));
  if (conType == TWON_ENUMERATION) {
    const TW_UINT32 current = Read<TW_UINT32>(bytes + offsetof(TW_ENUMERATION, CurrentIndex));
    if (current < count) sent.current = current;
  }
  return sent;
}

}  // namespace morvex::dsm
