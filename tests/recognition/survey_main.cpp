// recognition-survey: renders a sample set in memory, reads every note through
// the engine and prints the counts of correct answers and every miss.
//
//   recognition-survey [--set clean|typical|hard|stress] [--count N] [--seed S] [--first I] [--robust | --compare]
//
// --robust reads in the robust mode; --compare reads every note both ways.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

#include "recognition_survey.h"

namespace {

constexpr const char* kUsage =
    "usage: recognition-survey [--set clean|typical|hard|stress] [--count N] [--seed S] [--first I] "
    "[--robust | --compare]\n";

}  // namespace

int main(int argc, char** argv) {
  namespace ng = morvex::notegen;
  std::string set = "clean";
  long long count = 200, seed = 1, first = 0;
  std::vector<morvex::AnalyzeOptions> modes = {morvex::AnalyzeOptions()};
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--robust") {
      modes = {morvex::AnalyzeOptions().setRobust(true)};
      continue;
    }
    if (flag == "--compare") {
      modes = {morvex::AnalyzeOptions(), morvex::AnalyzeOptions().setRobust(true)};
      continue;
    }
    long long* target = flag == "--count" ? &count : flag == "--seed" ? &seed : flag == "--first" ? &first : nullptr;
    if (i + 1 >= argc || (target == nullptr && flag != "--set")) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    const std::string value = argv[++i];
    if (flag == "--set") {
      set = value;
    } else if (std::from_chars(value.data(), value.data() + value.size(), *target).ec != std::errc()) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  const auto parsed = ng::ParseSampleSet(set);
  if (!parsed) {
    std::fprintf(stderr, "recognition-survey: unknown set %s\n", set.c_str());
    return 2;
  }
  const morvex::ReferenceDigits refs = morvex::LoadReferenceDigits();
  std::vector<std::vector<morvex::recognition::SurveyMiss>> misses;
  const auto counts = morvex::recognition::SurveyModes(ng::PresetOptions(*parsed), static_cast<std::uint64_t>(seed),
                                                       static_cast<int>(count), refs, modes, &misses,
                                                       static_cast<int>(first));
  for (std::size_t m = 0; m < modes.size(); ++m) {
    const std::string mode = modes[m].Robust ? " robust" : " exact";
    morvex::recognition::PrintCounts(std::cout, set + " seed " + std::to_string(seed) + mode, counts[m]);
    for (const auto& miss : misses[m]) morvex::recognition::PrintMiss(std::cout, miss);
  }
  return 0;
}
