// morvex analyse: one note image after another, with the engine's details.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "analysis_output.h"
#include "commands.h"
#include "morvex/bmp.h"
#include "morvex/engine.h"

namespace morvex::cli {

extern const std::string_view kAnalyseUsage =
    "  morvex analyse FILE... [--json] [--marked OUT.bmp] [--robust]\n"
    "      Analyse each note image and print its zone 1 and zone 2 numbers, face\n"
    "      value, orientation, resolution and the three detail lines (note size,\n"
    "      processing time, tilt). --json prints one JSON object per file instead.\n"
    "      --marked writes the marked picture of the one input file to OUT.bmp.\n"
    "      --robust reads damaged scans more surely and adds each zone's confidence\n"
    "      (0 to 1) to the output.\n";

namespace {

struct AnalyseOptions {
  std::vector<std::string> files;
  bool json = false;
  bool robust = false;
  std::string marked;
};

}  // namespace

int AnalyseCommand(std::span<const std::string_view> args) {
  if (WantsHelp(args)) return PrintUsage(kAnalyseUsage);
  AnalyseOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      o.json = true;
    } else if (args[i] == "--robust") {
      o.robust = true;
    } else if (args[i] == "--marked") {
      if (++i == args.size()) return UsageError("--marked needs a file name");
      o.marked = args[i];
    } else if (args[i].starts_with("--")) {
      return UsageError("unknown option '" + std::string(args[i]) + "'");
    } else {
      o.files.emplace_back(args[i]);
    }
  }
  if (o.files.empty()) return UsageError("analyse needs at least one file");
  if (!o.marked.empty() && o.files.size() != 1) return UsageError("--marked takes exactly one input file");

  const ReferenceDigits references = LoadReferenceDigits();
  int status = kExitOk;
  Bitmap image;
  std::vector<std::uint8_t> fileBytes;
  for (const std::string& file : o.files) {
    try {
      LoadBmpFile(file, image, fileBytes);
      std::vector<std::string> details;
      AnalisysResult result;
      AnalyzeNote(image, true, &details, result, references, AnalyzeOptions().setRobust(o.robust));
      PrintAnalysis(file, result, details, o.json);
      std::fflush(stdout);
      if (!o.marked.empty()) SaveBmpFile(o.marked, image);
    } catch (const std::exception& e) {
      std::fflush(stdout);
      std::fprintf(stderr, "%s: %s\n", file.c_str(), e.what());
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace morvex::cli
