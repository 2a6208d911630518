// The threads a backend starts for a scan, such as a reader feeding a pipe.
//
// Some backends stop such a thread with an asynchronous cancel from
// sane_cancel. If the cancel lands while the thread is inside the C library's
// own locking (as it ends, say), the process can hang: in sane_cancel itself,
// or later on a lock whose waiter is never woken. A scan therefore waits for
// the backend's threads to end on their own before it resets the device.
//
// A new thread inherits the name of the thread that starts it. While the
// device starts, the scanning thread carries a name of its own, so the
// threads that then carry that name are the backend's.
#pragma once

#include <chrono>
#include <stop_token>
#include <string>

namespace morvex::sane {

class BackendThreads {
 public:
  BackendThreads();

  // Runs `start` (the call that starts the device) with the scanning thread
  // under the name its backend threads will inherit.
  template <class Start>
  auto whileStarting(Start&& start) const {
    const Naming naming(name_);
    return start();
  }

  // Returns once no backend thread of this scan is left, `limit` has passed
  // (a backend may keep its thread until it is cancelled) or a stop is
  // requested.
  void waitForEnd(const std::stop_token& stop, std::chrono::milliseconds limit) const;

 private:
  // Gives the calling thread a name for its lifetime, then puts the old one back.
  class Naming {
   public:
    explicit Naming(const std::string& name);
    ~Naming();
    Naming(const Naming&) = delete;
    Naming& operator=(const Naming&) = delete;

   private:
    std::string old_;
    bool named_ = false;
  };

  bool anyLeft() const;

  std::string name_;
};

}  // namespace morvex::sane
