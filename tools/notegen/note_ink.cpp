#include "note_ink.h"

#include <stdexcept>

namespace morvex::notegen {

namespace {

// The cap height in font units, taken from a flat-topped capital.
double CapHeight(const Typeface& face) {
  const Typeface::InkBox h = face.inkBox(U'Н');
  return h.yMax - h.yMin;
}

void DrawGlyph(NoteCanvas& canvas, const Typeface& face, char32_t c, const MmRect& r, Rgbf ink,
               const InkOpacityAt& opacity) {
  const double a = opacity ? opacity((r.d0 + r.d1) / 2) : 1.0;
  face.drawInkBox(c, canvas.tx(r.d0), canvas.ty(r.e0), canvas.tx(r.d1), canvas.ty(r.e1),
                  [&](int x, int y, int cover) { canvas.blend(x, y, ink, cover / 255.0 * a); });
}

}  // namespace

SerialLayout LayoutSerial(const Typeface& face, const std::u32string& series, const MmRect& zone) {
  if (series.size() != 2) throw std::invalid_argument("a series has two letters");
  const double unit = kTextHeight / CapHeight(face);  // millimetres per font unit
  const double baseline = (zone.e0 + zone.e1) / 2 + kTextHeight / 2;
  std::array<Typeface::InkBox, 2> ink = {face.inkBox(series[0]), face.inkBox(series[1])};
  const double w0 = (ink[0].xMax - ink[0].xMin) * unit * kLetterCondense;
  const double w1 = (ink[1].xMax - ink[1].xMin) * unit * kLetterCondense;
  const double total = w0 + kLetterSpacing + kSeriesToDigits + 6 * kDigitPitch + kDigitInkWidth;
  const double start = (zone.d0 + zone.d1) / 2 - total / 2;

  SerialLayout out;
  const double left[2] = {start, start + w0 + kLetterSpacing};
  const double width[2] = {w0, w1};
  for (int i = 0; i < 2; ++i)
    out.letters[static_cast<std::size_t>(i)] = {left[i], baseline - ink[static_cast<std::size_t>(i)].yMax * unit,
                                                left[i] + width[i], baseline - ink[static_cast<std::size_t>(i)].yMin * unit};
  const double first = left[1] + kSeriesToDigits;
  for (int k = 0; k < 7; ++k) {
    const double d0 = first + k * kDigitPitch;
    out.digits[static_cast<std::size_t>(k)] = {d0, baseline - kTextHeight, d0 + kDigitInkWidth, baseline};
  }
  return out;
}

void DrawSerial(NoteCanvas& canvas, const Typeface& face, const std::u32string& series, const std::string& number,
                const MmRect& zone, Rgbf ink, const InkOpacityAt& opacity) {
  if (number.size() != 7) throw std::invalid_argument("a serial number has seven digits");
  const SerialLayout layout = LayoutSerial(face, series, zone);
  for (int i = 0; i < 2; ++i) DrawGlyph(canvas, face, series[static_cast<std::size_t>(i)], layout.letters[static_cast<std::size_t>(i)], ink, opacity);
  for (int k = 0; k < 7; ++k) {
    const char c = number[static_cast<std::size_t>(k)];
    if (c < '0' || c > '9') throw std::invalid_argument("a serial number has digits only");
    DrawGlyph(canvas, face, static_cast<char32_t>(c), layout.digits[static_cast<std::size_t>(k)], ink, opacity);
  }
}

void DrawMarks(NoteCanvas& canvas, int denomination, Rgbf ink, double opacity) {
  std::array<MmRect, 4> marks;
  const int n = MarkRects(denomination, marks);
  for (int i = 0; i < n; ++i) canvas.fillRoundedRect(marks[static_cast<std::size_t>(i)], kMarkCorner, ink, opacity);
}

}  // namespace morvex::notegen
