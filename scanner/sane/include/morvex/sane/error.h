// Errors of the SANE device layer.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace morvex::sane {

// SANE's status codes (SANE_Status, same values).
enum class Status : int {
  Good = 0,
  Unsupported = 1,
  Cancelled = 2,
  DeviceBusy = 3,
  Invalid = 4,
  Eof = 5,
  Jammed = 6,
  NoDocuments = 7,
  CoverOpen = 8,
  IoError = 9,
  NoMemory = 10,
  AccessDenied = 11,
};

// A short name of a status for messages: "busy", "jammed", "no documents",
// "cover open", "I/O error", "access denied", "out of memory", "cancelled",
// "unsupported", "invalid argument", "end of data"; "status N" for others.
std::string StatusName(Status status);

// SANE's own text for a status (sane_strstatus).
std::string StatusText(Status status);

// A failed SANE call or a scan that could not be completed. what() reads
// "<what failed>: <SANE's text> (<status name>)", for example
// "scan of test:0: Document feeder jammed (jammed)".
class SaneError : public std::runtime_error {
 public:
  SaneError(std::string_view context, Status status);
  // A fault found by this layer rather than reported by SANE (a frame format
  // it cannot turn into a bitmap, frames that do not fit together).
  SaneError(std::string_view context, Status status, std::string_view detail);
  Status status() const { return status_; }

 private:
  Status status_;
};

// An option name the device does not have, or a value an option does not
// accept. The text names the option and says what it accepts.
class OptionError : public std::runtime_error {
 public:
  explicit OptionError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace morvex::sane
