#include "note_composer.h"

#include <cmath>
#include <memory>
#include <vector>

namespace morvex::test {

namespace {

struct Box {
  double d0, e0, d1, e1;
  bool contains(double d, double e) const { return d >= d0 && d < d1 && e >= e0 && e < e1; }
};

// Marks from the top of the patch: 'C' a square, 'E' twice as wide.
const char* MarksOf(int denomination) {
  switch (denomination) {
    case 10: return "CE";
    case 50: return "CCE";
    case 100: return "CEE";
    case 500: return "CCEE";
    case 1000: return "CEEE";
    default: return "";
  }
}

// The marks stay 1 mm inside the first patch place on every side, so that on
// a turned note they also lie wholly inside the second place, 1 mm off the
// first place's turned position.
std::vector<Box> Marks(int denomination) {
  constexpr double kSize = 2.2, kGap = 0.9, kLeft = 22.7;
  const std::string marks = MarksOf(denomination);
  std::vector<Box> boxes;
  const double height = marks.size() * kSize + (marks.empty() ? 0 : (marks.size() - 1) * kGap);
  double e = 49 + (15 - height) / 2;
  for (char m : marks) {
    const double w = m == 'C' ? kSize : 2 * kSize;
    boxes.push_back({kLeft, e, kLeft + w, e + kSize});
    e += kSize + kGap;
  }
  return boxes;
}

struct Digit {
  Box box;
  int value;
};

std::vector<Digit> Serial(const std::string& digits, double d0, double eCentre) {
  const double height = kDigitWidthMm * (ReferenceBottom - ReferenceTop) / 21.0;
  std::vector<Digit> out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const double d = d0 + static_cast<double>(i) * kDigitPitchMm;
    out.push_back({{d, eCentre - height / 2, d + kDigitWidthMm, eCentre + height / 2}, digits[i] - '0'});
  }
  return out;
}

}  // namespace

std::function<int(double, double)> ComposeNote(const NoteContent& content, const ReferenceDigits& strip, int paper) {
  auto image = std::make_shared<Bitmap>(strip.strip());
  std::vector<Box> marks = Marks(content.denomination);
  std::vector<Digit> digits = Serial(content.zone1, 124.0, 12.5);  // zone 1: 115..147 x 8.5..16.5
  for (const Digit& d : Serial(content.zone2, 6.0, 32.5)) digits.push_back(d);  // zone 2: 4..35 x 28..37
  return [image, marks, digits, paper](double d, double e) -> int {
    for (const Box& b : marks)
      if (b.contains(d, e)) return 30;
    for (const Digit& g : digits) {
      if (!g.box.contains(d, e)) continue;
      const ReferenceBox ref = ReferenceBoxes[static_cast<std::size_t>(g.value)];
      const double u = (d - g.box.d0) / (g.box.d1 - g.box.d0), v = (e - g.box.e0) / (g.box.e1 - g.box.e0);
      const int x = ref.Left + static_cast<int>(u * (ref.Right - ref.Left));
      const int y = ReferenceTop + static_cast<int>(v * (ReferenceBottom - ReferenceTop));
      const int level = Brightness(image->pixel(x, y));
      return level * paper / 255;
    }
    return -1;
  };
}

}  // namespace morvex::test
