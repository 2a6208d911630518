// The serial-number typeface through FreeType: ink boxes of characters and
// anti-aliased coverage of a character stretched onto a box.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace morvex::notegen {

class Typeface {
 public:
  // Ink bounding box of a character in font units, y upwards.
  struct InkBox {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  };
  // Receives the coverage (1..255) of one texel.
  using Put = std::function<void(int x, int y, int coverage)>;

  // Throws std::runtime_error when the font cannot be opened.
  explicit Typeface(const std::string& path);
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  InkBox inkBox(char32_t c) const;
  // Advance width of a character in font units.
  double advance(char32_t c) const;
  // Draws c with its ink box stretched onto the texel rectangle from (x0, y0)
  // to (x1, y1), rows growing downwards.
  void drawInkBox(char32_t c, double x0, double y0, double x1, double y1, const Put& put) const;

 private:
  struct Face;
  std::unique_ptr<Face> face_;
};

}  // namespace morvex::notegen
