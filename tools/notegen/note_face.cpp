#include "note_face.h"

#include <cmath>
#include <numbers>

#include "decoration.h"
#include "note_ink.h"
#include "random.h"

namespace morvex::notegen {

void DrawNoteFace(NoteCanvas& canvas, const Typeface& face, const NotePlan& plan) {
  Random rng(plan.detailSeed);
  constexpr double tau = 2 * std::numbers::pi;
  // Cream paper, a little different from note to note, with a slow unevenness.
  const double warm = rng.uniform(-3, 3);
  const Rgbf paper{239 + warm, 232 + warm * 0.5, 211 - warm};
  const double p1 = rng.uniform(0, tau), p2 = rng.uniform(0, tau), p3 = rng.uniform(0, tau);
  canvas.fillPaper(
      paper, [=](double d) { return 2.0 * std::sin(tau * d / 97 + p1) + 1.0 * std::sin(tau * d / 31 + p2); },
      [=](double e) { return 1.5 * std::sin(tau * e / 53 + p3); });

  const std::uint64_t art = rng.next();
  if (!plan.numberSide) {
    DrawBackDecoration(canvas, face, plan.denomination, art);
    return;
  }
  DrawFrontDecoration(canvas, face, plan.denomination, art);
  DrawSerial(canvas, face, plan.series, plan.number, kZone1, kZone1Ink);
  DrawSerial(canvas, face, plan.series, plan.number, kZone2, kZone2Ink);
  DrawMarks(canvas, plan.denomination, kMarkInk);
}

}  // namespace morvex::notegen
