// Telling a backend's threads apart and waiting for them to end.
#include "backend_threads.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace morvex::sane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Far longer than any of these waits needs; reaching it means the wait did
// not see the thread end.
constexpr auto kLimit = 20s;

bool Alive(pid_t tid) { return std::filesystem::exists("/proc/self/task/" + std::to_string(tid)); }

std::string OwnName() {
  std::array<char, 16> name{};
  pthread_getname_np(pthread_self(), name.data(), name.size());
  return name.data();
}

TEST(BackendThreads, TheWaitLastsUntilAThreadStartedWithTheDeviceHasEnded) {
  BackendThreads threads;
  std::atomic<pid_t> tid{0};
  std::thread reader;
  threads.whileStarting([&] {
    reader = std::thread([&] {
      tid = gettid();
      std::this_thread::sleep_for(300ms);
    });
    return 0;
  });
  while (tid == 0) std::this_thread::yield();
  threads.waitForEnd({}, kLimit);
  EXPECT_FALSE(Alive(tid)) << "the wait returned while the thread still ran";
  reader.join();
}

TEST(BackendThreads, ThreadsStartedOtherwiseAreNotWaitedFor) {
  BackendThreads threads;
  std::atomic<bool> release{false};
  std::thread other([&] {
    while (!release) std::this_thread::sleep_for(1ms);
  });
  threads.whileStarting([] { return 0; });
  const auto start = Clock::now();
  threads.waitForEnd({}, kLimit);
  EXPECT_LT(Clock::now() - start, kLimit / 2);
  release = true;
  other.join();
}

TEST(BackendThreads, AStopRequestOrTheLimitEndsTheWait) {
  BackendThreads threads;
  std::atomic<bool> release{false};
  std::thread reader;
  threads.whileStarting([&] {
    reader = std::thread([&] {
      while (!release) std::this_thread::sleep_for(1ms);
    });
    return 0;
  });
  std::stop_source stop;
  stop.request_stop();
  auto start = Clock::now();
  threads.waitForEnd(stop.get_token(), kLimit);
  EXPECT_LT(Clock::now() - start, kLimit / 2) << "a stop request";
  start = Clock::now();
  threads.waitForEnd({}, 50ms);
  EXPECT_LT(Clock::now() - start, kLimit / 2) << "the limit";
  release = true;
  reader.join();
}

TEST(BackendThreads, TheStartingThreadKeepsItsNameAndTheStartsResult) {
  const std::string before = OwnName();
  BackendThreads threads;
  std::string during;
  EXPECT_EQ(threads.whileStarting([&] {
    during = OwnName();
    return 42;
  }),
            42);
  EXPECT_NE(during, before);
  EXPECT_EQ(OwnName(), before);
}

}  // namespace
}  // namespace morvex::sane
