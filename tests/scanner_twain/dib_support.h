// DIB handles for tests, built byte by byte with the imaging tests' builder.
#pragma once

#include <cstdint>
#include <vector>

#include "dib_builder.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::testing {

// A global memory block holding these bytes; freed by the owner.
HGLOBAL BlockOf(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> BytesOf(HGLOBAL block);

// A palette of distinct colours: entry i is (i, 255 - i, 7i).
std::vector<Rgb> Ramp(int count);

// A DIB of the given header size, bit count and size (a negative height is
// top-down) whose pixels run through the colour table, or through every value
// of the bit count when there is no table.
DibLayout Plan(std::uint32_t headerSize, int bits, int width, int height, std::uint32_t clrUsed = 0,
               int paletteEntries = 0);

// Frees its block when it goes.
class OwnedBlock {
 public:
  explicit OwnedBlock(HGLOBAL block) : block_(block) {}
  explicit OwnedBlock(const std::vector<std::uint8_t>& bytes) : block_(BlockOf(bytes)) {}
  ~OwnedBlock() {
    if (block_ != nullptr) GlobalFree(block_);
  }
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;
  HGLOBAL get() const { return block_; }

 private:
  HGLOBAL block_;
};

}  // namespace morvex::testing
