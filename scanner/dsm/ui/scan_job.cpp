#include "scan_job.h"

#include <exception>
#include <utility>

#include "global_dib_storage.h"

namespace morvex::dsm {

namespace {

void RunScan(std::stop_token stop, morvex::sane::Device& device, const ScanJob::Progress& progress,
             const ScanJob::Done& done) {
  HGLOBAL dib = nullptr;
  std::string error;
  try {
    GlobalDibStorage storage;
    morvex::sane::ProgressCallback report;
    if (progress) report = [&progress](const morvex::sane::ScanProgress& p) { progress(p.fraction()); };
    const morvex::sane::ScannedImage image = device.scan(storage, report, stop);
    dib = storage.release(image.dibSize);
  } catch (const std::bad_alloc&) {
    error = "not enough memory for the scanned image";
  } catch (const std::exception& e) {
    error = e.what();
  }
  // After a stop request whatever came is a cancelled scan: an error the stop
  // caused is no fault, and an image that finished anyway is not wanted.
  if (stop.stop_requested()) {
    if (dib) GlobalFree(dib);
    dib = nullptr;
    error.clear();
  }
  if (done) done(dib, error);
}

}  // namespace

ScanJob::ScanJob(morvex::sane::Device& device, Progress progress, Done done)
    : worker_([&device, progress = std::move(progress), done = std::move(done)](std::stop_token stop) {
        RunScan(stop, device, progress, done);
      }) {}

void ScanJob::Cancel() { worker_.request_stop(); }

// std::jthread requests the stop and joins.
ScanJob::~ScanJob() = default;

}  // namespace morvex::dsm
