// The bytes of the reference strip's .bmp file, compiled into the engine.
#pragma once

#include <cstdint>
#include <span>

namespace morvex {

std::span<const std::uint8_t> EtalonStripFile();

}  // namespace morvex
