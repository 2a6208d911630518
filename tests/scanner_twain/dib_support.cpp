#include "dib_support.h"

#include <cstring>

namespace morvex::testing {

HGLOBAL BlockOf(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!bytes.empty()) std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

std::vector<std::uint8_t> BytesOf(HGLOBAL block) {
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
  std::vector<std::uint8_t> copy(bytes, bytes + GlobalSize(block));
  GlobalUnlock(block);
  return copy;
}

}  // namespace morvex::testing
