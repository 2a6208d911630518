// Finding the scanners SANE knows of, on a worker thread.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "morvex/sane/device_info.h"

namespace morvex::dsm {

class ScannerSearch {
 public:
  // Called once on the worker thread: the devices, or an error text.
  using Found = std::function<void(std::vector<morvex::sane::DeviceInfo> devices, std::string error)>;
  explicit ScannerSearch(Found found);  // starts at once
  ~ScannerSearch();                     // waits for the worker (SANE's discovery cannot be cut short)
  ScannerSearch(const ScannerSearch&) = delete;
  ScannerSearch& operator=(const ScannerSearch&) = delete;

 private:
  std::jthread worker_;
};

}  // namespace morvex::dsm
