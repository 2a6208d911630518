#include "typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <cmath>
#include <stdexcept>
#include <vector>

namespace morvex::notegen {

struct Typeface::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
  // Loads the unscaled, unhinted outline of c into the glyph slot.
  FT_Outline& load(char32_t c) const {
    if (FT_Load_Char(face, c, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
      throw std::runtime_error("the typeface has no outline for character U+" + std::to_string(static_cast<unsigned>(c)));
    return face->glyph->outline;
  }
};

Typeface::Typeface(const std::string& path) : face_(std::make_unique<Face>()) {
  if (FT_Init_FreeType(&face_->library) != 0) throw std::runtime_error("cannot start FreeType");
  if (FT_New_Face(face_->library, path.c_str(), 0, &face_->face) != 0)
    throw std::runtime_error("cannot open the typeface " + path);
}

Typeface::~Typeface() = default;

Typeface::InkBox Typeface::inkBox(char32_t c) const {
  FT_Outline& outline = face_->load(c);
  FT_BBox box;
  FT_Outline_Get_BBox(&outline, &box);
  return {static_cast<double>(box.xMin), static_cast<double>(box.yMin), static_cast<double>(box.xMax),
          static_cast<double>(box.yMax)};
}

double Typeface::advance(char32_t c) const {
  face_->load(c);
  return static_cast<double>(face_->face->glyph->metrics.horiAdvance);
}

void Typeface::drawInkBox(char32_t c, double x0, double y0, double x1, double y1, const Put& put) const {
  FT_Outline& outline = face_->load(c);
  FT_BBox box;
  FT_Outline_Get_BBox(&outline, &box);
  if (box.xMax <= box.xMin || box.yMax <= box.yMin || x1 <= x0 || y1 <= y0) return;
  const int bx0 = static_cast<int>(std::floor(x0)) - 1, by0 = static_cast<int>(std::floor(y0)) - 1;
  const int bw = static_cast<int>(std::ceil(x1)) + 1 - bx0, bh = static_cast<int>(std::ceil(y1)) + 1 - by0;
  // Font units to 26.6 pixels of the buffer, whose origin is its lower left
  // corner: the ink box lands exactly on the requested rectangle.
  const double sx = (x1 - x0) / static_cast<double>(box.xMax - box.xMin);
  const double sy = (y1 - y0) / static_cast<double>(box.yMax - box.yMin);
  const double left = x0 - bx0, bottom = bh - (y1 - by0);
  for (int i = 0; i < outline.n_points; ++i) {
    FT_Vector& p = outline.points[i];
    p.x = static_cast<FT_Pos>(std::lround(((p.x - box.xMin) * sx + left) * 64));
    p.y = static_cast<FT_Pos>(std::lround(((p.y - box.yMin) * sy + bottom) * 64));
  }
  std::vector<unsigned char> cover(static_cast<std::size_t>(bw) * bh, 0);
  FT_Bitmap target{};
  target.rows = static_cast<unsigned>(bh);
  target.width = static_cast<unsigned>(bw);
  target.pitch = bw;
  target.buffer = cover.data();
  target.num_grays = 256;
  target.pixel_mode = FT_PIXEL_MODE_GRAY;
  if (FT_Outline_Get_Bitmap(face_->library, &outline, &target) != 0)
    throw std::runtime_error("cannot render character U+" + std::to_string(static_cast<unsigned>(c)));
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) {
      const int v = cover[static_cast<std::size_t>(y) * bw + x];
      if (v != 0) put(bx0 + x, by0 + y, v);
    }
}

}  // namespace morvex::notegen
