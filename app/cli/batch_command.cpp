// morvex batch: the folder run, with the report and per-file rows as files.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "commands.h"
#include "json.h"
#include "morvex/app/batch.h"
#include "morvex/app/batch_report.h"
#include "morvex/app/listing.h"
#include "morvex/app/note_template.h"
#include "progress_bar.h"

namespace morvex::cli {

extern const std::string_view kBatchUsage =
    "  morvex batch DIR [--rename] [--report FILE] [--results FILE] [--jobs N] [--robust]\n"
    "  morvex batch --files-from LIST [the same options]\n"
    "      Analyse every .bmp file of DIR, compare each result with the truth in a\n"
    "      file name of the form Note-dpi-s-o-vvvv-SSnnnnnnn.bmp and print the\n"
    "      success counts. --report writes the HTML report (Windows-1251) to FILE.\n"
    "      --results writes one row per file to FILE: JSON lines when FILE ends in\n"
    "      .json or .jsonl, CSV otherwise. --rename renames each file after its own\n"
    "      result instead of comparing. --jobs analyses N files at once (default:\n"
    "      all cores); the output is the same for any N.\n"
    "      --files-from analyses the files LIST names instead of a folder, one path\n"
    "      a line ('-': standard input), in list order, each reported under its\n"
    "      path as listed. Empty lines are skipped; a listed path that is not a\n"
    "      file stops the run before any analysis. --rename renames a listed file\n"
    "      inside its own folder. --robust reads in the robust mode and adds\n"
    "      zone1_confidence and zone2_confidence to each row.\n";

namespace {

struct BatchCommandOptions {
  std::string folder;
  std::string list;  // --files-from
  bool rename = false;
  std::string report;
  std::string results;
  unsigned jobs = 0;
  bool robust = false;
};

// One machine-readable row per file, as CSV or as JSON lines. A robust run
// adds each zone's confidence at the end of the row.
class ResultRows {
 public:
  ResultRows(bool json, bool confidences) : json_(json), confidences_(confidences) {
    if (!json_) {
      text_ = "name,zone1,zone2,denomination,upside_down,dpi,zone1_match,zone2_match,denomination_match,new_name";
      text_ += confidences_ ? ",zone1_confidence,zone2_confidence\n" : "\n";
    }
  }

  void add(const app::BatchFileResult& f) {
    const auto& r = f.Result;
    const bool m1 = f.Mask & app::Zone1Match, m2 = f.Mask & app::Zone2Match, m3 = f.Mask & app::DenominationMatch;
    const std::string newName = f.NewName.value_or("");
    if (json_) {
      auto b = [](bool v) { return v ? "true" : "false"; };
      text_ += "{\"name\":" + JsonString(f.ListedName) + ",\"zone1\":" + JsonString(r.Zone1Number) +
               ",\"zone2\":" + JsonString(r.Zone2Number) + ",\"denomination\":" + std::to_string(r.Denomination) +
               ",\"upside_down\":" + b(r.UpsideDown) + ",\"dpi\":" + std::to_string(r.Dpi) + ",\"zone1_match\":" +
               b(m1) + ",\"zone2_match\":" + b(m2) + ",\"denomination_match\":" + b(m3) + ",\"new_name\":" +
               (f.NewName ? JsonString(*f.NewName) : "null") + confidenceFields(r, true) + "}\n";
    } else {
      auto b = [](bool v) { return v ? "1" : "0"; };
      text_ += CsvField(f.ListedName) + ',' + CsvField(r.Zone1Number) + ',' + CsvField(r.Zone2Number) + ',' +
               std::to_string(r.Denomination) + ',' + b(r.UpsideDown) + ',' + std::to_string(r.Dpi) + ',' + b(m1) +
               ',' + b(m2) + ',' + b(m3) + ',' + CsvField(newName) + confidenceFields(r, false) + '\n';
    }
  }

  const std::string& text() const { return text_; }

 private:
  std::string confidenceFields(const AnalisysResult& r, bool json) const {
    if (!confidences_) return "";
    const std::string c1 = ConfidenceText(r.Zone1Confidence.value_or(0));
    const std::string c2 = ConfidenceText(r.Zone2Confidence.value_or(0));
    return json ? ",\"zone1_confidence\":" + c1 + ",\"zone2_confidence\":" + c2 : "," + c1 + "," + c2;
  }

  bool json_;
  bool confidences_;
  std::string text_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool IsJsonName(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  return ext == ".json" || ext == ".jsonl";
}

// The folder as an absolute path without trailing slashes (the root stays "/").
std::string AbsoluteFolder(const std::string& folder) {
  std::string path = std::filesystem::absolute(folder).lexically_normal().string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The paths of a --files-from list; "-" reads standard input.
std::vector<std::string> ReadList(const std::string& list) {
  if (list == "-") return app::ReadNoteList(std::cin);
  std::ifstream in(list);
  if (!in) throw std::runtime_error("cannot read " + list);
  return app::ReadNoteList(in);
}

void PrintSummary(const app::BatchReport& report) {
  auto line = [](std::string_view label, std::int32_t value) {
    std::printf("%.*s: %d\n", static_cast<int>(label.size()), label.data(), static_cast<int>(value));
  };
  line(app::kTotalLabel, report.Total);
  line(app::kEitherLabel, report.Counts.EitherCorrect);
  line(app::kZone1Label, report.Counts.Zone1Correct);
  line(app::kZone2Label, report.Counts.Zone2Correct);
  line(app::kDenominationLabel, report.Counts.DenominationCorrect);
  std::printf("%s\n", report.TimeText.c_str());
}

}  // namespace

int BatchCommand(std::span<const std::string_view> args) {
  if (WantsHelp(args)) return PrintUsage(kBatchUsage);
  BatchCommandOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    auto value = [&](std::string& into) {
      if (++i == args.size()) return false;
      into = args[i];
      return true;
    };
    if (a == "--rename") {
      o.rename = true;
    } else if (a == "--robust") {
      o.robust = true;
    } else if (a == "--report") {
      if (!value(o.report)) return UsageError("--report needs a file name");
    } else if (a == "--results") {
      if (!value(o.results)) return UsageError("--results needs a file name");
    } else if (a == "--files-from") {
      if (!value(o.list)) return UsageError("--files-from needs a file name");
    } else if (a == "--jobs") {
      std::string n;
      if (!value(n)) return UsageError("--jobs needs a number");
      const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), o.jobs);
      if (ec != std::errc() || end != n.data() + n.size() || o.jobs == 0) {
        return UsageError("--jobs needs a positive number, not '" + n + "'");
      }
    } else if (a.starts_with("--")) {
      return UsageError("unknown option '" + std::string(a) + "'");
    } else if (o.folder.empty()) {
      o.folder = a;
    } else {
      return UsageError("batch takes one folder");
    }
  }
  if (o.folder.empty() && o.list.empty()) return UsageError("batch needs a folder or --files-from");
  if (!o.folder.empty() && !o.list.empty()) return UsageError("batch takes a folder or --files-from, not both");
  if (o.jobs == 0) o.jobs = std::max(1u, std::thread::hardware_concurrency());

  std::string folder;
  if (!o.folder.empty()) {
    folder = AbsoluteFolder(o.folder);
    if (!app::BatchFolderText(folder)) return UsageError("not a local folder: " + o.folder);
  }

  const ReferenceDigits references = LoadReferenceDigits();
  ResultRows rows(IsJsonName(o.results), o.robust);
  std::string current;
  try {
    app::BatchOptions options;
    options.Rename = o.rename;
    options.Jobs = o.jobs;
    if (o.robust) {
      options.Analyser = [&references](Bitmap& image, AnalisysResult& result) {
        AnalyzeNote(image, false, nullptr, result, references, AnalyzeOptions().setRobust(true));
      };
    }
    const auto run = o.list.empty()
                         ? std::make_unique<app::FolderBatch>(std::filesystem::path(folder), references, options)
                         : std::make_unique<app::FolderBatch>(ReadList(o.list), references, options);
    ProgressBar progress;
    progress.show(0, run->total());
    while (!run->finished()) {
      current = run->files()[static_cast<std::size_t>(run->done())];
      rows.add(run->step());
      progress.show(run->done(), run->total());
    }
    current.clear();
    const app::BatchReport report = run->finish();
    progress.clear();
    PrintSummary(report);
    if (!o.report.empty()) WriteFile(o.report, report.ReportPage);
    if (!o.results.empty()) WriteFile(o.results, rows.text());
  } catch (const std::exception& e) {
    std::fflush(stdout);
    if (current.empty()) {
      std::fprintf(stderr, "morvex: %s\n", e.what());
    } else {
      std::fprintf(stderr, "%s: %s\n", current.c_str(), e.what());
    }
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace morvex::cli
