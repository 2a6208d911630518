#include "decoration.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "random.h"

namespace morvex::notegen {

namespace {

constexpr double kTau = 2 * std::numbers::pi;
// Opacity of the light print over the paper: strokes, and the fainter fields.
constexpr double kStrokeOpacity = 0.45;
constexpr double kFieldOpacity = 0.28;

// Three interlaced waves along the border, a band inset mm from each edge,
// between straight rules on either side.
void Border(NoteCanvas& canvas, Random& rng, double inset, double amplitude) {
  const double phase = rng.uniform(0, kTau);
  for (int k = 0; k < 3; ++k) {
    const double shift = phase + k * kTau / 3;
    std::vector<MmPoint> top, bottom, left, right;
    for (double d = inset; d <= kNoteLength - inset; d += 0.2) {
      const double w = amplitude * std::sin(kTau * d / 5.5 + shift);
      top.push_back({d, inset + w});
      bottom.push_back({d, kNoteWidth - inset - w});
    }
    for (double e = inset; e <= kNoteWidth - inset; e += 0.2) {
      const double w = amplitude * std::sin(kTau * e / 5.5 + shift);
      left.push_back({inset + w, e});
      right.push_back({kNoteLength - inset - w, e});
    }
    for (const auto* line : {&top, &bottom, &left, &right}) canvas.strokeOnLayer(*line, 0.12);
  }
  for (double at : {inset - amplitude - 0.4, inset + amplitude + 0.4}) {
    const std::vector<MmPoint> frame = {{at, at}, {kNoteLength - at, at}, {kNoteLength - at, kNoteWidth - at}, {at, kNoteWidth - at}};
    canvas.strokeOnLayer(frame, 0.15, true);
  }
}

// Curves r(t) = R (0.7 + 0.3 cos(petals t + phase)), turned against each other.
void Rosette(NoteCanvas& canvas, Random& rng, MmPoint centre, double radius, int petals, int curves) {
  const double phase = rng.uniform(0, kTau);
  for (int k = 0; k < curves; ++k) {
    std::vector<MmPoint> line;
    const double turn = phase + k * kTau / (curves * petals);
    for (int i = 0; i < 1440; ++i) {
      const double t = kTau * i / 1440;
      const double r = radius * (0.7 + 0.3 * std::cos(petals * t + turn * petals));
      line.push_back({centre.d + r * std::cos(t), centre.e + r * std::sin(t)});
    }
    canvas.strokeOnLayer(line, 0.1, true);
  }
  std::vector<MmPoint> ring;
  for (int i = 0; i < 720; ++i) {
    const double t = kTau * i / 720;
    ring.push_back({centre.d + (radius + 0.6) * std::cos(t), centre.e + (radius + 0.6) * std::sin(t)});
  }
  canvas.strokeOnLayer(ring, 0.18, true);
}

// Gently waving horizontal lines filling a rectangle.
void WaveField(NoteCanvas& canvas, Random& rng, const MmRect& r, double spacing) {
  const double phase = rng.uniform(0, kTau);
  for (double e0 = r.e0; e0 <= r.e1; e0 += spacing) {
    std::vector<MmPoint> line;
    for (double d = r.d0; d <= r.d1; d += 0.25) line.push_back({d, e0 + 0.7 * std::sin(kTau * d / 11 + e0 * 0.9 + phase)});
    canvas.strokeOnLayer(line, 0.1);
  }
}

// Concentric ellipses: the watermark window.
void Window(NoteCanvas& canvas, MmPoint centre, double rd, double re) {
  for (double f = 0.25; f <= 1.0; f += 0.125) {
    std::vector<MmPoint> ring;
    for (int i = 0; i < 720; ++i) {
      const double t = kTau * i / 720;
      ring.push_back({centre.d + f * rd * std::cos(t), centre.e + f * re * std::sin(t)});
    }
    canvas.strokeOnLayer(ring, 0.12, true);
  }
}

// Vertical hatching over a rectangle, with a rule around it.
void Hatch(NoteCanvas& canvas, const MmRect& r) {
  for (double d = r.d0 + 0.3; d < r.d1 - 0.2; d += 1.1) canvas.strokeOnLayer({{d, r.e0}, {d, r.e1}}, 0.5);
  canvas.strokeOnLayer({{r.d0, r.e0}, {r.d1, r.e0}, {r.d1, r.e1}, {r.d0, r.e1}}, 0.15, true);
}

// A thin rule just outside a clear area, so the plain paper reads as a panel.
void PanelRule(NoteCanvas& canvas, const MmRect& area) {
  const MmRect r = area.grown(0.4);
  canvas.strokeOnLayer({{r.d0, r.e0}, {r.d1, r.e0}, {r.d1, r.e1}, {r.d0, r.e1}}, 0.12, true);
}

// Lettering on the layer in the typeface's own proportions, narrowed a little,
// centred on d with its baseline at e.
void Lettering(NoteCanvas& canvas, const Typeface& face, const std::u32string& text, double d, double baseline,
               double capHeight) {
  const Typeface::InkBox cap = face.inkBox(U'Н');
  const double unit = capHeight / (cap.yMax - cap.yMin) * kLetterCondense;
  const double unitY = capHeight / (cap.yMax - cap.yMin);
  double width = 0;
  for (char32_t c : text) width += face.advance(c) * unit;
  double pen = d - width / 2;
  for (char32_t c : text) {
    if (c != U' ') {
      const Typeface::InkBox b = face.inkBox(c);
      face.drawInkBox(c, canvas.tx(pen + b.xMin * unit), canvas.ty(baseline - b.yMax * unitY),
                      canvas.tx(pen + b.xMax * unit), canvas.ty(baseline - b.yMin * unitY),
                      [&](int x, int y, int cover) { canvas.coverLayer(x, y, static_cast<std::uint8_t>(cover)); });
    }
    pen += face.advance(c) * unit;
  }
}

const char32_t* ValueInWords(int denomination) {
  switch (denomination) {
    case 10: return U"ДЕСЯТЬ РУБЛЕЙ";
    case 50: return U"ПЯТЬДЕСЯТ РУБЛЕЙ";
    case 100: return U"СТО РУБЛЕЙ";
    case 500: return U"ПЯТЬСОТ РУБЛЕЙ";
    default: return U"ОДНА ТЫСЯЧА РУБЛЕЙ";
  }
}

std::u32string Digits(int denomination) {
  std::u32string s;
  for (char c : std::to_string(denomination)) s += static_cast<char32_t>(c);
  return s;
}

void ClearAll(NoteCanvas& canvas) {
  for (const MmRect& r : ClearAreas()) canvas.clearLayer(r);
}

}  // namespace

Rgbf DecorationTint(int denomination) {
  switch (denomination) {
    case 10: return {96, 128, 84};
    case 50: return {80, 112, 160};
    case 100: return {150, 110, 76};
    case 500: return {128, 96, 150};
    default: return {70, 128, 136};
  }
}

void DrawFrontDecoration(NoteCanvas& canvas, const Typeface& face, int denomination, std::uint64_t seed) {
  Random rng(seed);
  const Rgbf tint = DecorationTint(denomination);
  WaveField(canvas, rng, {38, 17, 112, 48}, 1.4);
  Window(canvas, {137, 40}, 7, 12);
  ClearAll(canvas);
  canvas.compositeLayer(tint, kFieldOpacity);

  Border(canvas, rng, 3.5, 1.1);
  Rosette(canvas, rng, {72, 33}, 13, 9, 6);
  Lettering(canvas, face, U"БИЛЕТ БАНКА РОССИИ", 72, 12.5, 3.0);
  Lettering(canvas, face, ValueInWords(denomination), 75, 60, 3.0);
  Lettering(canvas, face, Digits(denomination), 106, 53, 11);
  ClearAll(canvas);
  for (std::size_t i = 0; i < 2; ++i) PanelRule(canvas, ClearAreas()[i]);
  canvas.compositeLayer(tint, kStrokeOpacity);
}

void DrawBackDecoration(NoteCanvas& canvas, const Typeface& face, int denomination, std::uint64_t seed) {
  Random rng(seed);
  const Rgbf tint = DecorationTint(denomination);
  WaveField(canvas, rng, {8, 8, 142, 57}, 1.6);
  ClearAll(canvas);
  canvas.compositeLayer(tint, kFieldOpacity);

  Border(canvas, rng, 3.5, 1.1);
  Rosette(canvas, rng, {75, 32.5}, 19, 12, 8);
  Rosette(canvas, rng, {44, 22}, 8, 7, 4);
  Rosette(canvas, rng, {106, 44}, 8, 7, 4);
  Lettering(canvas, face, Digits(denomination), 112, 33, 12);
  Lettering(canvas, face, U"БАНК РОССИИ", 75, 60, 3.0);
  ClearAll(canvas);
  // The patch places carry an even hatching on this side: across the whole
  // height of a patch it forms one band of print, never a sequence of marks.
  Hatch(canvas, ClearAreas()[2]);
  Hatch(canvas, ClearAreas()[3]);
  canvas.compositeLayer(tint, kStrokeOpacity);
}

}  // namespace morvex::notegen
