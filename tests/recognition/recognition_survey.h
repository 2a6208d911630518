// Reads a generated sample set through the engine and counts the correct
// answers, as the folder command compares results with the truth in the file
// names: the side without number is read right when the engine gives its
// failure answer ("#######" in both zones, face value -1, not upside down).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "morvex/engine.h"
#include "notegen.h"

namespace morvex::recognition {

struct SurveyCounts {
  int total = 0;
  int zone1 = 0;
  int zone2 = 0;
  int either = 0;        // zone 1, zone 2 or both
  int denomination = 0;
  int orientation = 0;
  int dpi = 0;
  // Robust reading only: zone readings (two per note with a number) that were
  // wrong though their confidence was at least one half, and right ones below.
  double analysisSeconds = 0;  // processor time spent in AnalyzeNote
  bool confidences = false;
  int sureButWrong = 0;
  int unsureButRight = 0;
};

// One note whose answer differed from its truth in any counted field.
struct SurveyMiss {
  std::string name;
  notegen::NotePlan plan;
  AnalisysResult result;
};

// Renders notes first .. first + count - 1 of the set and analyses each in
// memory. Every miss is appended to misses when given.
// With a robust reading in analyse, the notes are read with those options.
SurveyCounts SurveySet(const notegen::GenerationOptions& options, std::uint64_t seed, int count,
                       const ReferenceDigits& references, std::vector<SurveyMiss>* misses = nullptr, int first = 0,
                       const AnalyzeOptions& analyse = {});

// The same notes read in each of several modes, each note rendered once: one
// count (and one list of misses) per mode.
std::vector<SurveyCounts> SurveyModes(const notegen::GenerationOptions& options, std::uint64_t seed, int count,
                                      const ReferenceDigits& references, const std::vector<AnalyzeOptions>& modes,
                                      std::vector<std::vector<SurveyMiss>>* misses = nullptr, int first = 0);

void PrintCounts(std::ostream& out, const std::string& label, const SurveyCounts& c);
void PrintMiss(std::ostream& out, const SurveyMiss& m);

}  // namespace morvex::recognition
