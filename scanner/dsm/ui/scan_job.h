// One scan of an open device on a worker thread, written straight into a
// global memory block.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "morvex/sane/device.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::dsm {

// One scan of an open device, on a worker thread, into a global memory block
// (GlobalAlloc; the block then belongs to whoever receives it).
//
// The device must not be touched by anyone else until the job is destroyed.
class ScanJob {
 public:
  // fraction 0..1, or -1 while the height is unknown. Called on the worker thread.
  using Progress = std::function<void(double fraction)>;
  // Called once on the worker thread when the scan ends: dib is the block on success,
  // else 0 with `error` the device's message (empty when the scan was cancelled).
  using Done = std::function<void(HGLOBAL dib, const std::string& error)>;
  ScanJob(morvex::sane::Device& device, Progress progress, Done done);  // starts at once
  void Cancel();   // from any thread, at any moment
  ~ScanJob();      // cancels if still running and waits for the worker
  ScanJob(const ScanJob&) = delete;
  ScanJob& operator=(const ScanJob&) = delete;

 private:
  std::jthread worker_;
};

}  // namespace morvex::dsm
