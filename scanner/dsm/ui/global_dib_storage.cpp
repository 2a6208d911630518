#include "global_dib_storage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace morvex::dsm {

GlobalDibStorage::~GlobalDibStorage() {
  if (block_) GlobalFree(block_);
}

std::span<std::uint8_t> GlobalDibStorage::resize(std::size_t bytes) {
  if (block_ && bytes == size_) return {data_, size_};
  HGLOBAL fresh = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!fresh) throw std::bad_alloc();
  auto* freshData = static_cast<std::uint8_t*>(GlobalLock(fresh));
  if (!freshData && bytes > 0) {
    GlobalFree(fresh);
    throw std::bad_alloc();
  }
  if (block_) {
    const std::size_t kept = std::min(size_, bytes);
    if (kept > 0) std::memcpy(freshData, data_, kept);
    GlobalFree(block_);
  }
  block_ = fresh;
  data_ = freshData;
  size_ = bytes;
  return {data_, size_};
}

HGLOBAL GlobalDibStorage::release(std::size_t bytes) {
  if (!block_ || bytes != size_) resize(bytes);
  GlobalUnlock(block_);
  HGLOBAL out = block_;
  block_ = nullptr;
  data_ = nullptr;
  size_ = 0;
  return out;
}

}  // namespace morvex::dsm
