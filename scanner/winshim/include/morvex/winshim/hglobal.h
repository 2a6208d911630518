// Global memory handles, the Windows way: a block is allocated moveable or
// fixed, optionally zero-filled, and reached only through its handle, which
// is locked for the time of each access.
//
// The program and the TWAIN Source Manager library both link this one shared
// library, so a block that one side allocates (a scanned DIB, a capability
// container) is freed by the other with the same allocator.
//
// Every handle is checked against a registry of live blocks: locking,
// unlocking, sizing or freeing a handle that was never allocated, or that
// was freed already, fails and touches no memory. Lock counts are kept per
// block. All functions may be called from any thread.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define MORVEX_WINSHIM_API __attribute__((visibility("default")))
#else
#define MORVEX_WINSHIM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// An opaque handle of a global memory block; 0 is no block.
typedef struct MorvexGlobalBlock* HGLOBAL;

enum {
  GMEM_FIXED = 0x0000,
  GMEM_MOVEABLE = 0x0002,
  GMEM_ZEROINIT = 0x0040,
  GHND = GMEM_MOVEABLE | GMEM_ZEROINIT,
  GPTR = GMEM_FIXED | GMEM_ZEROINIT,
  // GlobalFlags: the low byte holds the lock count; this bit marks a handle
  // that is no live block.
  GMEM_LOCKCOUNT = 0x00FF,
  GMEM_INVALID_HANDLE = 0x8000
};

// A new block of `bytes` bytes (0 is allowed), or 0 when memory runs out or
// the flags hold bits other than GMEM_MOVEABLE and GMEM_ZEROINIT.
MORVEX_WINSHIM_API HGLOBAL GlobalAlloc(unsigned flags, size_t bytes);
// The block's address, counting one more lock; 0 for a handle that is no
// live block. Fixed blocks are locked the same way.
MORVEX_WINSHIM_API void* GlobalLock(HGLOBAL block);
// Counts one lock less. Non-zero while the block stays locked; 0 when it is
// unlocked now, was not locked, or the handle is no live block.
MORVEX_WINSHIM_API int GlobalUnlock(HGLOBAL block);
// The block's size in bytes; 0 for a handle that is no live block.
MORVEX_WINSHIM_API size_t GlobalSize(HGLOBAL block);
// The lock count in the low byte (GMEM_LOCKCOUNT), or GMEM_INVALID_HANDLE.
MORVEX_WINSHIM_API unsigned GlobalFlags(HGLOBAL block);
// Releases the block, locked or not. Returns 0 on success and the handle
// itself when it is no live block (nothing is freed then).
MORVEX_WINSHIM_API HGLOBAL GlobalFree(HGLOBAL block);
// The number of live blocks: for tests that check nothing is left behind.
MORVEX_WINSHIM_API size_t GlobalLiveBlocks(void);

#ifdef __cplusplus
}
#endif
