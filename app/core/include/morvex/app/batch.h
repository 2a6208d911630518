// The folder run: every listed note file of a folder analysed in list order,
// compared with the truth in its name (or renamed after its result), counted
// and reported.
//
// The run is driven step by step so that a window can repaint and move its
// progress display between files:
//
//   FolderBatch run(folder, refs, options);        // lists the folder
//   progress(0, run.total());
//   while (!run.finished()) { run.step(); progress(run.done(), run.total()); }
//   BatchReport report = run.finish();
//
// With Jobs > 1 worker threads load and analyse files ahead of the steps, one
// working bitmap each, a bounded number of files ahead. step() still takes the
// results in list order, so the report, the counts, the renaming order and the
// first error are exactly those of a run on one thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "morvex/app/batch_report.h"
#include "morvex/bitmap.h"
#include "morvex/engine.h"
#include "morvex/reference_digits.h"

namespace morvex::app {

// Analyses one loaded image into a result. Called from worker threads when
// Jobs > 1, so it must be safe to call concurrently on different bitmaps.
using NoteAnalyser = std::function<void(Bitmap& image, AnalisysResult& result)>;

struct BatchOptions {
  bool Rename = false;  // rename every file after its result instead of comparing
  unsigned Jobs = 1;    // files analysed at once; 0 counts as 1
  // Empty: AnalyzeNote without details with the run's reference digits.
  NoteAnalyser Analyser;
};

// What one step found for one file.
struct BatchFileResult {
  std::string ListedName;              // the name the file had when listed
  AnalisysResult Result;
  int Mask = 0;                        // CompareWithTemplate's mask; 0 when renaming
  std::optional<std::string> NewName;  // set when the file was renamed
};

struct BatchReport {
  std::int32_t Total = 0;
  BatchCounts Counts;
  std::string ReportPage;   // the "Отчёт" page, Windows-1251
  std::string SummaryPage;  // the "Результаты" page, Windows-1251
  std::uint32_t StartTick = 0, EndTick = 0;
  std::string TimeText;     // the status line after the run, UTF-8
};

class FolderBatch {
 public:
  // Reads the start time and lists the folder afresh. Throws std::system_error
  // when the folder cannot be read. `references` must outlive the run.
  FolderBatch(std::filesystem::path folder, const ReferenceDigits& references, BatchOptions options = {});
  // The same run over the files of a list (ReadNoteList) in list order: each
  // is listed, reported and compared as its path stands in the list (the
  // comparison reads the file name without folder); renaming renames a file
  // inside its own folder. folder() is empty. Throws std::system_error when a
  // listed path is not a regular file (CheckListedFiles), before any analysis.
  FolderBatch(std::vector<std::string> files, const ReferenceDigits& references, BatchOptions options = {});
  ~FolderBatch();
  FolderBatch(const FolderBatch&) = delete;
  FolderBatch& operator=(const FolderBatch&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  const std::vector<std::string>& files() const { return files_; }
  std::int32_t total() const { return static_cast<std::int32_t>(files_.size()); }
  std::int32_t done() const { return done_; }
  bool finished() const { return done_ == total(); }
  const BatchCounts& counts() const { return counts_; }

  // Processes the next file: its analysis, comparison, report rows and, when
  // renaming, the rename. A file that cannot be loaded, a name whose value
  // field is not an integer, or an engine error is thrown from here, and the
  // run is over: later calls throw std::logic_error.
  const BatchFileResult& step();

  // After the last step: the summary and both pages, and the end time.
  BatchReport finish();

 private:
  class Workers;

  void start(const ReferenceDigits& references);
  void analyse(std::size_t index, Bitmap& image, std::vector<std::uint8_t>& fileBytes, AnalisysResult& result) const;

  std::filesystem::path folder_;
  BatchOptions options_;
  NoteAnalyser analyser_;
  std::uint32_t startTick_;
  std::vector<std::string> files_;
  std::int32_t done_ = 0;
  bool failed_ = false;
  BatchCounts counts_;
  std::string fileTable_;
  Bitmap image_;  // the working bitmap of a run on one thread
  std::vector<std::uint8_t> fileBytes_;  // and its file read buffer
  BatchFileResult current_;
  std::unique_ptr<Workers> workers_;
};

}  // namespace morvex::app
