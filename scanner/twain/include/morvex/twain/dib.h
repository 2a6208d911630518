// Device-independent bitmaps in global memory blocks, as a scanner's native
// transfer delivers them: a header (BITMAPINFOHEADER or a longer one, or the
// 12-byte BITMAPCOREHEADER), the bit-field masks or colour table, then the
// pixel rows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::twain {

struct BITMAPINFOHEADER {
  std::uint32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::uint32_t biCompression;
  std::uint32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::uint32_t biClrUsed;
  std::uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct BITMAPCOREHEADER {
  std::uint32_t bcSize;
  std::uint16_t bcWidth;
  std::uint16_t bcHeight;
  std::uint16_t bcPlanes;
  std::uint16_t bcBitCount;
};
static_assert(sizeof(BITMAPCOREHEADER) == 12);

struct RGBQUAD {
  std::uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

// A logical palette, as CreatePalette takes it.
inline constexpr std::uint8_t PC_NOCOLLAPSE = 0x04;
struct PALETTEENTRY {
  std::uint8_t peRed, peGreen, peBlue, peFlags;
  friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};
struct LogicalPalette {
  std::uint16_t palVersion = 0x300;
  std::vector<PALETTEENTRY> entries;  // palNumEntries is entries.size()
};
using HPALETTE = std::unique_ptr<LogicalPalette>;

// The 256 entries used for a DIB without colour table.
const std::array<PALETTEENTRY, 256>& TWAIN_DefaultPalette();

// Colour-table entries of the locked DIB `header` (0 to 256): 2^bits for a
// core header, else biClrUsed, or 2^biBitCount when that is 0; above 256 is 0.
int TWAIN_DibColorCount(const void* header);
// The first pixel row: after the header, the bit-field masks of a 40-byte
// BI_BITFIELDS header, and the colour table the header declares (3-byte
// entries after a core header; biClrUsed entries even above 256).
const std::uint8_t* TWAIN_DibPixels(const void* header);
// Bytes from the header's start to the first pixel row, as TWAIN_DibPixels.
std::size_t TWAIN_DibPixelOffset(const void* header);

// A new palette from the DIB's colour table (the default palette when it
// has none), or 0 when the DIB cannot be locked or its table is cut short.
HPALETTE TWAIN_DibPalette(HGLOBAL dib);
// Copies the DIB's rectangle (sourceLeft, sourceTop, width, height) onto
// `target` at (left, top), unscaled. As StretchDIBits does, the source
// rectangle of a bottom-up DIB is measured from its bottom-left corner.
void TWAIN_DrawDib(Bitmap& target, int left, int top, int width, int height, HGLOBAL dib, int sourceLeft,
                   int sourceTop);

int TWAIN_DibBitCount(HGLOBAL dib);
int TWAIN_DibWidth(HGLOBAL dib);
int TWAIN_DibHeight(HGLOBAL dib);
int TWAIN_DibNumColors(HGLOBAL dib);

// Writes the DIB as a .bmp file; an empty name asks with the save dialog
// ("Windows Bitmap (*.bmp)"). 0 saved; -1 dialog cancelled; -2 file not
// created; -3 DIB not locked; -4 write failed or no image size.
int TWAIN_SaveDibFile(HGLOBAL dib, const std::string& fileName);
// Reads a .bmp file into a new DIB handle, or 0; an empty name asks with the
// open dialog ("Windows Bitmaps (*.bmp)").
HGLOBAL TWAIN_LoadDibFile(const std::string& fileName);

}  // namespace morvex::twain
