// TWAIN capability containers in global memory blocks, in the standard's
// layouts: building the ones a source answers with, and reading the ones a
// program sends.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "morvex/twain/twain_types.h"

namespace morvex::dsm {

// A new TWON_ONEVALUE block, or 0 when memory runs out.
HGLOBAL MakeOneValue(TW_UINT16 itemType, TW_UINT32 value);
// A new TWON_ENUMERATION block of 16-bit items, or 0 when memory runs out.
HGLOBAL MakeEnumeration(TW_UINT16 itemType, const std::vector<TW_UINT16>& items, TW_UINT32 currentIndex,
                        TW_UINT32 defaultIndex);

// What a program sent with MSG_SET, its items read as 16-bit values.
struct SentValues {
  TW_UINT16 conType = 0;
  TW_UINT16 itemType = 0;
  std::vector<TW_UINT16> items;
  std::optional<std::size_t> current;  // the enumeration's CurrentIndex, or the one value
};

// Reads a TWON_ONEVALUE, TWON_ARRAY or TWON_ENUMERATION of 16-bit integers
// (TWTY_UINT16 or TWTY_INT16). Nothing for another container or item type, a
// handle that is no block, or a block too short for what it announces.
std::optional<SentValues> ReadSent16(TW_UINT16 conType, HGLOBAL container);

}  // namespace morvex::dsm
