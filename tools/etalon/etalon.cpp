// Renders the reference digit strip: each digit of the serial-number typeface
// with its ink box scaled onto the 21 x 34 interior of its cell, anti-aliased.
//
//   etalon FONT.ttf OUT.bmp
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <cstdio>
#include <stdexcept>
#include <string>

#include "morvex/bmp.h"
#include "strip_artwork.h"

namespace {

// Coverage of one digit whose ink box is stretched onto the cell interior.
etalon::Coverage RenderDigit(FT_Library library, FT_Face face, char digit) {
  if (FT_Load_Char(face, static_cast<FT_ULong>(digit), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
    throw std::runtime_error(std::string("cannot load digit ") + digit);
  FT_Outline& outline = face->glyph->outline;
  FT_BBox box;
  FT_Outline_Get_BBox(&outline, &box);
  FT_Outline_Translate(&outline, -box.xMin, -box.yMin);
  // 16.16 scale factors from the ink box onto the interior (26.6 units).
  FT_Matrix m;
  m.xx = static_cast<FT_Fixed>((static_cast<long double>(etalon::kInteriorWidth) * 64 / (box.xMax - box.xMin)) * 65536);
  m.yy = static_cast<FT_Fixed>((static_cast<long double>(etalon::kInteriorHeight) * 64 / (box.yMax - box.yMin)) * 65536);
  m.xy = m.yx = 0;
  FT_Outline_Transform(&outline, &m);

  etalon::Coverage cover(static_cast<std::size_t>(etalon::kInteriorWidth * etalon::kInteriorHeight), 0);
  FT_Bitmap target{};
  target.rows = etalon::kInteriorHeight;
  target.width = etalon::kInteriorWidth;
  target.pitch = etalon::kInteriorWidth;
  target.buffer = cover.data();
  target.num_grays = 256;
  target.pixel_mode = FT_PIXEL_MODE_GRAY;
  if (FT_Outline_Get_Bitmap(library, &outline, &target) != 0)
    throw std::runtime_error(std::string("cannot render digit ") + digit);
  return cover;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FONT.ttf OUT.bmp\n", argv[0]);
    return 2;
  }
  try {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("cannot start FreeType");
    FT_Face face;
    if (FT_New_Face(library, argv[1], 0, &face) != 0) throw std::runtime_error(std::string("cannot open ") + argv[1]);
    // A large size keeps the outline's 26.6 coordinates precise before scaling.
    FT_Set_Pixel_Sizes(face, 0, 1024);
    std::array<etalon::Coverage, 10> digits;
    for (int d = 0; d < 10; ++d) digits[static_cast<std::size_t>(d)] = RenderDigit(library, face, static_cast<char>('0' + d));
    morvex::SaveBmpFile(argv[2], etalon::DrawStrip(digits));
    FT_Done_Face(face);
    FT_Done_FreeType(library);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "etalon: %s\n", e.what());
    return 1;
  }
  return 0;
}
