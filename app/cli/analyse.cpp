// morvex analyse: one note image after another, with the engine's details.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"
#include "json.h"
#include "morvex/bmp.h"
#include "morvex/engine.h"

namespace morvex::cli {

namespace {

struct AnalyseOptions {
  std::vector<std::string> files;
  bool json = false;
  bool robust = false;
  std::string marked;
};

// The confidences, present after a robust reading only.
bool HasConfidences(const AnalisysResult& r) { return r.Zone1Confidence && r.Zone2Confidence; }

void PrintText(const std::string& file, const AnalisysResult& r, const std::vector<std::string>& details) {
  auto detail = [&](std::size_t i) { return i < details.size() ? details[i].c_str() : ""; };
  std::printf("%s\n", file.c_str());
  std::printf("  Zone1Number   %s\n", r.Zone1Number.c_str());
  std::printf("  Zone2Number   %s\n", r.Zone2Number.c_str());
  if (HasConfidences(r)) {
    std::printf("  Zone1Confidence %s\n", ConfidenceText(*r.Zone1Confidence).c_str());
    std::printf("  Zone2Confidence %s\n", ConfidenceText(*r.Zone2Confidence).c_str());
  }
  std::printf("  Denomination  %d\n", static_cast<int>(r.Denomination));
  std::printf("  UpsideDown    %s\n", r.UpsideDown ? "true" : "false");
  std::printf("  Dpi           %d\n", static_cast<int>(r.Dpi));
  std::printf("  Note size     %s\n", detail(0));
  std::printf("  Time          %s\n", detail(1));
  std::printf("  Tilt          %s\n", detail(2));
}

void PrintJson(const std::string& file, const AnalisysResult& r, const std::vector<std::string>& details) {
  std::string s = "{\"file\":" + JsonString(file);
  s += ",\"Zone1Number\":" + JsonString(r.Zone1Number);
  s += ",\"Zone2Number\":" + JsonString(r.Zone2Number);
  if (HasConfidences(r)) {
    s += ",\"Zone1Confidence\":" + ConfidenceText(*r.Zone1Confidence);
    s += ",\"Zone2Confidence\":" + ConfidenceText(*r.Zone2Confidence);
  }
  s += ",\"Denomination\":" + std::to_string(r.Denomination);
  s += std::string(",\"UpsideDown\":") + (r.UpsideDown ? "true" : "false");
  s += ",\"Dpi\":" + std::to_string(r.Dpi);
  s += ",\"Details\":[";
  for (std::size_t i = 0; i < details.size(); ++i) s += (i ? "," : "") + JsonString(details[i]);
  s += "]}";
  std::printf("%s\n", s.c_str());
}

}  // namespace

int AnalyseCommand(std::span<const std::string_view> args) {
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
      if (o.json) {
        PrintJson(file, result, details);
      } else {
        PrintText(file, result, details);
      }
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
