#include "morvex/sane/dib.h"

#include <cmath>
#include <cstdlib>
#include <new>

namespace morvex::sane {

HeapDibStorage::~HeapDibStorage() { std::free(data_); }

std::span<std::uint8_t> HeapDibStorage::resize(std::size_t bytes) {
  if (bytes == 0) {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    return {};
  }
  void* grown = std::realloc(data_, bytes);
  if (grown == nullptr) throw std::bad_alloc();
  data_ = static_cast<std::uint8_t*>(grown);
  size_ = bytes;
  return {data_, size_};
}

std::int32_t PixelsPerMetre(double dpi) {
  if (!(dpi > 0) || dpi > 1e6) return 0;
  return static_cast<std::int32_t>(std::lround(dpi / 0.0254));
}

}  // namespace morvex::sane
