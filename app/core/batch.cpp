#include "morvex/app/batch.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "morvex/app/listing.h"
#include "morvex/app/note_template.h"
#include "morvex/app/renaming.h"
#include "morvex/bmp.h"
#include "morvex/ticks.h"

namespace morvex::app {

// Worker threads that load and analyse the listed files in list order, each
// into a bitmap of its own, at most `window` files ahead of the file the run
// takes next. Results wait in a ring of `window` slots.
class FolderBatch::Workers {
 public:
  Workers(const FolderBatch& run, unsigned jobs) : run_(run), count_(run.files_.size()), window_(2 * jobs) {
    slots_.resize(window_);
    threads_.reserve(jobs);
    for (unsigned j = 0; j < jobs; ++j) threads_.emplace_back([this] { work(); });
  }

  ~Workers() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (auto& t : threads_) t.join();
  }

  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // Waits for file `index` (the next one in list order) and hands over its
  // result, or throws the error its analysis raised.
  AnalisysResult take(std::size_t index) {
    std::unique_lock lock(mutex_);
    Slot& slot = slots_[index % window_];
    changed_.wait(lock, [&] { return slot.ready; });
    slot.ready = false;
    consumed_ = index + 1;
    AnalisysResult result = std::move(slot.result);
    const std::exception_ptr error = std::move(slot.error);
    slot.error = nullptr;
    lock.unlock();
    changed_.notify_all();
    if (error) std::rethrow_exception(error);
    return result;
  }

 private:
  struct Slot {
    bool ready = false;
    AnalisysResult result;
    std::exception_ptr error;
  };

  void work() {
    Bitmap image;
    std::vector<std::uint8_t> fileBytes;
    for (;;) {
      std::size_t index;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || next_ >= count_ || next_ < consumed_ + window_; });
        if (stop_ || next_ >= count_) return;
        index = next_++;
      }
      AnalisysResult result;
      std::exception_ptr error;
      try {
        run_.analyse(index, image, fileBytes, result);
      } catch (...) {
        error = std::current_exception();
      }
      {
        std::lock_guard lock(mutex_);
        Slot& slot = slots_[index % window_];
        slot.result = std::move(result);
        slot.error = error;
        slot.ready = true;
      }
      changed_.notify_all();
    }
  }

  const FolderBatch& run_;
  const std::size_t count_;
  const std::size_t window_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;      // the next file a worker claims
  std::size_t consumed_ = 0;  // files the run has taken
  bool stop_ = false;
  std::vector<Slot> slots_;
  std::vector<std::thread> threads_;
};

FolderBatch::FolderBatch(std::filesystem::path folder, const ReferenceDigits& references, BatchOptions options)
    : folder_(std::move(folder)), options_(std::move(options)), startTick_(TickCount()) {
  files_ = ListNoteFiles(folder_);
  start(references);
}

FolderBatch::FolderBatch(std::vector<std::string> files, const ReferenceDigits& references, BatchOptions options)
    : options_(std::move(options)), startTick_(TickCount()), files_(std::move(files)) {
  CheckListedFiles(files_);
  start(references);
}

void FolderBatch::start(const ReferenceDigits& references) {
  analyser_ = options_.Analyser;
  if (!analyser_) {
    analyser_ = [&references](Bitmap& image, AnalisysResult& result) {
      AnalyzeNote(image, false, nullptr, result, references);
    };
  }
  const unsigned jobs = std::min<std::size_t>(std::max(options_.Jobs, 1u), files_.size());
  if (jobs > 1) workers_ = std::make_unique<Workers>(*this, jobs);
}

FolderBatch::~FolderBatch() = default;

void FolderBatch::analyse(std::size_t index, Bitmap& image, std::vector<std::uint8_t>& fileBytes,
                          AnalisysResult& result) const {
  LoadBmpFile(folder_ / files_[index], image, fileBytes);
  analyser_(image, result);
}

const BatchFileResult& FolderBatch::step() {
  if (failed_) throw std::logic_error("the folder run has already ended with an error");
  if (finished()) throw std::logic_error("the folder run has no file left");
  const auto index = static_cast<std::size_t>(done_);
  BatchFileResult r;
  r.ListedName = files_[index];
  // A folder run lists bare names; a list run lists paths.
  const std::filesystem::path file = folder_ / r.ListedName;
  try {
    if (workers_) {
      r.Result = workers_->take(index);
    } else {
      analyse(index, image_, fileBytes_, r.Result);
    }
    if (!options_.Rename) {
      r.Mask = CompareWithTemplate(file.filename().string(), r.Result.Zone1Number, r.Result.Zone2Number,
                                   r.Result.Denomination);
    }
  } catch (...) {
    failed_ = true;
    workers_.reset();
    image_ = Bitmap();
    fileBytes_ = {};
    throw;
  }
  CountMatches(counts_, r.Mask);
  fileTable_ += FileRows(r.ListedName, r.Result, r.Mask);
  ++done_;
  if (options_.Rename) {
    r.NewName = RenameAfterResult(file.has_parent_path() ? file.parent_path() : ".", file.filename().string(), r.Result);
  }
  current_ = std::move(r);
  return current_;
}

BatchReport FolderBatch::finish() {
  if (failed_ || !finished()) throw std::logic_error("the folder run has not processed every file");
  workers_.reset();
  image_ = Bitmap();
  fileBytes_ = {};
  const std::string table = FileTableStart() + fileTable_ + FileTableEnd();
  BatchReport report;
  report.Total = total();
  report.Counts = counts_;
  const std::string summary = BatchSummary(report.Total, counts_);
  report.ReportPage = ReportPage(table, summary);
  report.SummaryPage = SummaryPage(summary);
  report.StartTick = startTick_;
  report.EndTick = TickCount();
  report.TimeText = BatchTimeText(report.StartTick, report.EndTick);
  return report;
}

}  // namespace morvex::app
