#include "backend_threads.h"

#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace morvex::sane {

namespace {

// A thread name holds at most 15 characters.
constexpr std::size_t kNameLength = 15;

std::string NextName() {
  static std::atomic<unsigned> counter{0};
  return "morvex-scan-" + std::to_string(counter++ % 1000);
}

}  // namespace

BackendThreads::BackendThreads() : name_(NextName()) {}

BackendThreads::Naming::Naming(const std::string& name) {
  std::array<char, kNameLength + 1> old{};
  if (pthread_getname_np(pthread_self(), old.data(), old.size()) != 0) return;
  old_ = old.data();
  named_ = pthread_setname_np(pthread_self(), name.c_str()) == 0;
}

BackendThreads::Naming::~Naming() {
  if (named_) pthread_setname_np(pthread_self(), old_.c_str());
}

bool BackendThreads::anyLeft() const {
  const std::string own = std::to_string(gettid());
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
    if (task.path().filename() == own) continue;
    std::ifstream comm(task.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name == name_) return true;
  }
  return false;
}

void BackendThreads::waitForEnd(const std::stop_token& stop, std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!stop.stop_requested() && anyLeft() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace morvex::sane
