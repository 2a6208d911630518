#include "dib_builder.h"

namespace morvex::testing {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> BuildPackedDib(const DibLayout& s) {
  std::vector<std::uint8_t> out;
  Put32(out, s.headerSize);
  if (s.headerSize == 12) {
    Put16(out, static_cast<std::uint32_t>(s.width));
    Put16(out, static_cast<std::uint32_t>(s.height));
    Put16(out, s.planes);
    Put16(out, s.bitCount);
  } else {
    Put32(out, static_cast<std::uint32_t>(s.width));
    Put32(out, static_cast<std::uint32_t>(s.height));
    Put16(out, s.planes);
    Put16(out, s.bitCount);
    Put32(out, s.compression);
    Put32(out, s.sizeImage != 0 ? s.sizeImage : static_cast<std::uint32_t>(s.pixels.size()));
    Put32(out, static_cast<std::uint32_t>(s.xDensity));
    Put32(out, static_cast<std::uint32_t>(s.yDensity));
    Put32(out, s.clrUsed);
    Put32(out, 0);
    if (s.headerSize > 40 && s.masks) {
      for (const std::uint32_t m : *s.masks) Put32(out, m);
    }
    out.resize(s.headerSize, 0);  // the rest of a longer header is zero
    if (s.headerSize == 40 && s.masks) {
      for (const std::uint32_t m : *s.masks) Put32(out, m);
    }
  }
  for (const Rgb& c : s.palette) {
    out.insert(out.end(), {c.b, c.g, c.r});
    if (s.headerSize != 12) out.push_back(0);
  }
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

std::vector<std::uint8_t> BuildBmpFile(const DibLayout& plan, std::optional<std::uint32_t> offBits,
                                       std::optional<std::uint32_t> fileSize) {
  const std::vector<std::uint8_t> dib = BuildPackedDib(plan);
  std::vector<std::uint8_t> out{'B', 'M'};
  const auto total = static_cast<std::uint32_t>(14 + dib.size());
  Put32(out, fileSize.value_or(total));
  Put32(out, 0);
  Put32(out, offBits.value_or(total - static_cast<std::uint32_t>(plan.pixels.size())));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

std::vector<std::uint8_t> PackRows(int width, int height, int bits, const std::vector<std::uint32_t>& values,
                                   bool topDown) {
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
  std::vector<std::uint8_t> out(rowBytes * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = out.data() + static_cast<std::size_t>(topDown ? y : height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = values[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      if (bits < 8) {
        const int perByte = 8 / bits;
        const int shift = bits * (perByte - 1 - x % perByte);
        row[x / perByte] = static_cast<std::uint8_t>(row[x / perByte] | (v << shift));
      } else {
        for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = static_cast<std::uint8_t>(v >> (8 * i));
      }
    }
  }
  return out;
}

}  // namespace morvex::testing
