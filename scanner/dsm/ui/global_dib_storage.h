// A DibStorage in a global memory block, so that a scan lands in the block
// handed to the application without another copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "morvex/sane/dib.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::dsm {

class GlobalDibStorage final : public morvex::sane::DibStorage {
 public:
  GlobalDibStorage() = default;
  ~GlobalDibStorage() override;  // frees a block not released
  GlobalDibStorage(const GlobalDibStorage&) = delete;
  GlobalDibStorage& operator=(const GlobalDibStorage&) = delete;

  // There is no GlobalReAlloc: a new block is allocated and the kept bytes
  // copied. The scan sizes its block once when it knows the height, so this
  // copies only for scanners that do not.
  std::span<std::uint8_t> resize(std::size_t bytes) override;

  // Hands over the block, unlocked and exactly `bytes` long (cut when it is
  // longer). Throws std::bad_alloc when it cannot be cut.
  HGLOBAL release(std::size_t bytes);

 private:
  HGLOBAL block_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace morvex::dsm
