// The answer of one analysis as text or as a JSON object.
#include "analysis_output.h"

#include <cstdio>

#include "json.h"

namespace morvex::cli {

namespace {

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

void PrintAnalysis(const std::string& source, const AnalisysResult& result, const std::vector<std::string>& details,
                   bool json) {
  if (json) {
    PrintJson(source, result, details);
  } else {
    PrintText(source, result, details);
  }
}

}  // namespace morvex::cli
