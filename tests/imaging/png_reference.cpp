#include "png_reference.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace morvex::testing {

namespace {

// libpng reports errors by longjmp back into this frame; everything with a
// destructor is constructed before setjmp.
bool ReadRows(std::FILE* f, RgbaImage& out) {
  std::vector<png_bytep> rows;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  // Raw sample values, no gamma: palette and low bit depths expanded, 16-bit
  // samples scaled to 8 bits, grey made RGB, an opaque alpha added if absent.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  if (png_get_rowbytes(png, info) != 4 * static_cast<std::size_t>(out.width)) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  out.rgba.resize(4 * static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  // png_read_image reads every pass of an interlaced file.
  rows.resize(static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) rows[static_cast<std::size_t>(y)] = &out.rgba[4 * static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width)];
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

std::optional<RgbaImage> ReadPng(const std::filesystem::path& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  RgbaImage out;
  const bool ok = ReadRows(f, out);
  std::fclose(f);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace morvex::testing
