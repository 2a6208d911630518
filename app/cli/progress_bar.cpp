#include "progress_bar.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace morvex::cli {

ProgressBar::ProgressBar() : enabled_(isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() { clear(); }

void ProgressBar::show(std::int32_t done, std::int32_t total) {
  if (!enabled_) return;
  constexpr int kWidth = 40;
  const int filled = total > 0 ? static_cast<int>(static_cast<long long>(done) * kWidth / total) : kWidth;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(kWidth - filled), '.');
  std::fprintf(stderr, "\r[%s] %d/%d", bar.c_str(), static_cast<int>(done), static_cast<int>(total));
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::clear() {
  if (!drawn_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace morvex::cli
