// Global memory blocks over malloc, with a registry of live handles.
//
// The registry keeps each handle in complemented form, so that it holds no
// pointer to the block: LeakSanitizer then still reports a block that nobody
// frees instead of finding it reachable through the registry.
#include "morvex/winshim/hglobal.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

struct MorvexGlobalBlock {
  std::size_t size = 0;
  unsigned lockCount = 0;
  bool moveable = false;
  alignas(std::max_align_t) unsigned char bytes[1];
};

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_set<std::uintptr_t> live;  // ~address of every live block
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: used until exit
  return *registry;
}

std::uintptr_t Key(HGLOBAL block) { return ~reinterpret_cast<std::uintptr_t>(block); }

// The block when `block` is live; the caller holds the registry's lock.
MorvexGlobalBlock* Live(Registry& registry, HGLOBAL block) {
  if (block == nullptr || registry.live.count(Key(block)) == 0) return nullptr;
  return block;
}

}  // namespace

extern "C" {

HGLOBAL GlobalAlloc(unsigned flags, size_t bytes) {
  if ((flags & ~static_cast<unsigned>(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) return nullptr;
  if (bytes > SIZE_MAX - sizeof(MorvexGlobalBlock)) return nullptr;
  const std::size_t total = offsetof(MorvexGlobalBlock, bytes) + (bytes == 0 ? 1 : bytes);
  void* memory = (flags & GMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
  if (memory == nullptr) return nullptr;
  auto* block = new (memory) MorvexGlobalBlock;
  block->size = bytes;
  block->moveable = (flags & GMEM_MOVEABLE) != 0;
  Registry& registry = TheRegistry();
  try {
    std::lock_guard lock(registry.mutex);
    registry.live.insert(Key(block));
  } catch (const std::bad_alloc&) {
    std::free(memory);
    return nullptr;
  }
  return block;
}

void* GlobalLock(HGLOBAL handle) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  MorvexGlobalBlock* block = Live(registry, handle);
  if (block == nullptr) return nullptr;
  if (block->lockCount < GMEM_LOCKCOUNT) ++block->lockCount;
  return block->bytes;
}

int GlobalUnlock(HGLOBAL handle) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  MorvexGlobalBlock* block = Live(registry, handle);
  if (block == nullptr || block->lockCount == 0) return 0;
  --block->lockCount;
  return block->lockCount != 0;
}

size_t GlobalSize(HGLOBAL handle) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  MorvexGlobalBlock* block = Live(registry, handle);
  return block == nullptr ? 0 : block->size;
}

unsigned GlobalFlags(HGLOBAL handle) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  MorvexGlobalBlock* block = Live(registry, handle);
  return block == nullptr ? static_cast<unsigned>(GMEM_INVALID_HANDLE) : block->lockCount;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  Registry& registry = TheRegistry();
  {
    std::lock_guard lock(registry.mutex);
    if (Live(registry, handle) == nullptr) return handle;
    registry.live.erase(Key(handle));
  }
  handle->~MorvexGlobalBlock();
  std::free(handle);
  return nullptr;
}

size_t GlobalLiveBlocks(void) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  return registry.live.size();
}

}  // extern "C"
