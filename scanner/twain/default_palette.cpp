// The palette for DIBs without colour table: the twenty static colours of
// the Windows system palette at both ends, 236 colours in between.
#include <algorithm>

#include "morvex/twain/dib.h"

namespace morvex::twain {

namespace {

struct Colour3 {
  std::uint8_t r, g, b;
  friend bool operator==(const Colour3&, const Colour3&) = default;
};

constexpr Colour3 kFirstStatic[10] = {{0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
                                      {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
                                      {0xC0, 0xDC, 0xC0}, {0xA6, 0xCA, 0xF0}};
constexpr Colour3 kLastStatic[10] = {{0xFF, 0xFB, 0xF0}, {0xA0, 0xA0, 0xA4}, {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00},
                                     {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF},
                                     {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}};
constexpr std::uint8_t kGreysLow[12] = {0x04, 0x08, 0x0C, 0x11, 0x16, 0x1C, 0x22, 0x29, 0x55, 0x4D, 0x42, 0x39};
constexpr Colour3 kTints[7] = {{0xFF, 0x7C, 0x80}, {0xFF, 0x50, 0x50}, {0xD6, 0x00, 0x93}, {0xCC, 0xEC, 0xFF},
                               {0xEF, 0xD6, 0xC6}, {0xE7, 0xE7, 0xD6}, {0xAD, 0xA9, 0x90}};
constexpr Colour3 kCubeLeftOut[4] = {{0x00, 0x33, 0xFF}, {0x00, 0xFF, 0x33}, {0x33, 0x00, 0xFF}, {0x33, 0xFF, 0x00}};
constexpr Colour3 kAfterCube = {0xA5, 0x00, 0x21};
constexpr std::uint8_t kGreysHigh[12] = {0x5F, 0x77, 0x86, 0x96, 0xCB, 0xB2, 0xD7, 0xDD, 0xE3, 0xEA, 0xF1, 0xF8};

template <std::size_t N>
bool In(const Colour3 (&colours)[N], Colour3 c) {
  return std::find(std::begin(colours), std::end(colours), c) != std::end(colours);
}

std::array<PALETTEENTRY, 256> Build() {
  std::array<PALETTEENTRY, 256> table{};
  int at = 0;
  auto put = [&](Colour3 c, std::uint8_t flags) { table[static_cast<std::size_t>(at++)] = {c.r, c.g, c.b, flags}; };
  for (const Colour3& c : kFirstStatic) put(c, 0);
  for (std::uint8_t g : kGreysLow) put({g, g, g}, PC_NOCOLLAPSE);
  for (const Colour3& c : kTints) put(c, PC_NOCOLLAPSE);
  // The colour cube of six levels per component, red slowest, without the
  // colours that the static entries hold and the four left out.
  constexpr std::uint8_t levels[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
  for (std::uint8_t r : levels) {
    for (std::uint8_t g : levels) {
      for (std::uint8_t b : levels) {
        const Colour3 c{r, g, b};
        if (!In(kFirstStatic, c) && !In(kLastStatic, c) && !In(kCubeLeftOut, c)) put(c, PC_NOCOLLAPSE);
      }
    }
  }
  put(kAfterCube, PC_NOCOLLAPSE);
  for (std::uint8_t g : kGreysHigh) put({g, g, g}, PC_NOCOLLAPSE);
  for (const Colour3& c : kLastStatic) put(c, 0);
  return table;
}

}  // namespace

const std::array<PALETTEENTRY, 256>& TWAIN_DefaultPalette() {
  static const std::array<PALETTEENTRY, 256> table = Build();
  return table;
}

}  // namespace morvex::twain
