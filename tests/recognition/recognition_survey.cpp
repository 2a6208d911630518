#include "recognition_survey.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace morvex::recognition {

namespace {

// Compares one answer with the note's truth and counts it.
void Count(const notegen::NotePlan& plan, const AnalisysResult& r, SurveyCounts& c, std::vector<SurveyMiss>* misses) {
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

}  // namespace

std::vector<SurveyCounts> SurveyModes(const notegen::GenerationOptions& options, std::uint64_t seed, int count,
                                      const ReferenceDigits& references, const std::vector<AnalyzeOptions>& modes,
                                      std::vector<std::vector<SurveyMiss>>* misses, int first) {
  const notegen::NoteRenderer renderer;
  std::vector<SurveyCounts> counts(modes.size());
  if (misses != nullptr) misses->assign(modes.size(), {});
  for (int i = first; i < first + count; ++i) {
    const notegen::NotePlan plan = notegen::DrawNotePlan(options, seed, i);
    const Bitmap scan = renderer.render(plan);
    for (std::size_t m = 0; m < modes.size(); ++m) {
      Bitmap image = scan;
      AnalisysResult r;
      const std::clock_t start = std::clock();
      AnalyzeNote(image, false, nullptr, r, references, modes[m]);
      counts[m].analysisSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
      Count(plan, r, counts[m], misses != nullptr ? &(*misses)[m] : nullptr);
    }
  }
  return counts;
}

SurveyCounts SurveySet(const notegen::GenerationOptions& options, std::uint64_t seed, int count,
                       const ReferenceDigits& references, std::vector<SurveyMiss>* misses, int first,
                       const AnalyzeOptions& analyse) {
  std::vector<std::vector<SurveyMiss>> found;
  const SurveyCounts c = SurveyModes(options, seed, count, references, {analyse}, &found, first)[0];
  if (misses != nullptr) misses->insert(misses->end(), found[0].begin(), found[0].end());
  return c;
}

void PrintCounts(std::ostream& out, const std::string& label, const SurveyCounts& c) {
  out << label << ": " << c.total << " notes, zone 1 " << c.zone1 << ", zone 2 " << c.zone2 << ", at least one zone "
      << c.either << ", face value " << c.denomination << ", orientation " << c.orientation << ", dpi " << c.dpi;
  if (c.total > 0) {
    char time[48];
    std::snprintf(time, sizeof time, ", %.2f ms per note", 1000 * c.analysisSeconds / c.total);
    out << time;
  }
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
