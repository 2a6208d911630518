#include "recognition_survey.h"

#include <cstdio>
#include <utility>

namespace morvex::recognition {

SurveyCounts SurveySet(const notegen::GenerationOptions& options, std::uint64_t seed, int count,
                       const ReferenceDigits& references, std::vector<SurveyMiss>* misses, int first, const AnalyzeOptions& analyse) {
  const notegen::NoteRenderer renderer;
  SurveyCounts c;
  for (int i = first; i < first + count; ++i) {
    const notegen::NotePlan plan = notegen::DrawNotePlan(options, seed, i);
    Bitmap scan = renderer.render(plan);
    AnalisysResult r;
    AnalyzeNote(scan, false, nullptr, r, references, analyse);
    const std::string number = plan.numberSide ? plan.number : "#######";
    const int value = plan.numberSide ? plan.denomination : -1;
    const bool upsideDown = plan.numberSide && plan.upsideDown;
    const bool z1 = r.Zone1Number == number, z2 = r.Zone2Number == number;
    const bool ok[] = {z1, z2, r.Denomination == value, r.UpsideDown == upsideDown, r.Dpi == plan.dpi};
    ++c.total;
    c.zone1 += ok[0];
    c.zone2 += ok[1];
    c.either += z1 || z2;
    c.denomination += ok[2];
    c.orientation += ok[3];
    c.dpi += ok[4];
    if (r.Zone1Confidence && r.Zone2Confidence && plan.numberSide) {
      c.confidences = true;
      for (const auto& [right, sure] : {std::pair{z1, *r.Zone1Confidence}, std::pair{z2, *r.Zone2Confidence}}) {
        c.sureButWrong += !right && sure >= 0.5;
        c.unsureButRight += right && sure < 0.5;
      }
    }
    if (misses != nullptr && !(ok[0] && ok[1] && ok[2] && ok[3] && ok[4]))
      misses->push_back({notegen::NoteFileName(plan), plan, r});
  }
  return c;
}

void PrintCounts(std::ostream& out, const std::string& label, const SurveyCounts& c) {
  out << label << ": " << c.total << " notes, zone 1 " << c.zone1 << ", zone 2 " << c.zone2 << ", at least one zone "
      << c.either << ", face value " << c.denomination << ", orientation " << c.orientation << ", dpi " << c.dpi;
  if (c.confidences)
    out << "; zone readings wrong though sure " << c.sureButWrong << ", right though unsure " << c.unsureButRight;
  out << "\n";
}

void PrintMiss(std::ostream& out, const SurveyMiss& m) {
  char geometry[96];
  std::snprintf(geometry, sizeof geometry, "tilt %.2f, blur %.2f, noise %.2f, background %.1f", m.plan.tiltDegrees,
                m.plan.blurSigma, m.plan.noiseSigma, m.plan.backgroundLevel);
  out << "  " << m.name << " (" << geometry << "): zone 1 " << m.result.Zone1Number << ", zone 2 "
      << m.result.Zone2Number << ", face value " << m.result.Denomination << ", upside down "
      << (m.result.UpsideDown ? "yes" : "no") << ", dpi " << m.result.Dpi;
  if (m.result.Zone1Confidence && m.result.Zone2Confidence) {
    char confidence[64];
    std::snprintf(confidence, sizeof confidence, ", confidence %.2f / %.2f", *m.result.Zone1Confidence,
                  *m.result.Zone2Confidence);
    out << confidence;
  }
  out << "\n";
}

}  // namespace morvex::recognition
