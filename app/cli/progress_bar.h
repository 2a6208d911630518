// A one-line progress bar on standard error, drawn only when it is a terminal.
#pragma once

#include <cstdint>

namespace morvex::cli {

class ProgressBar {
 public:
  ProgressBar();
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void show(std::int32_t done, std::int32_t total);
  // Removes the bar so that later output starts on a clean line.
  void clear();

 private:
  bool enabled_;
  bool drawn_ = false;
};

}  // namespace morvex::cli
