#include "morvex/sane/error.h"

#include <sane/sane.h>

namespace morvex::sane {

std::string StatusName(Status status) {
  switch (status) {
    case Status::Good: return "good";
    case Status::Unsupported: return "unsupported";
    case Status::Cancelled: return "cancelled";
    case Status::DeviceBusy: return "busy";
    case Status::Invalid: return "invalid argument";
    case Status::Eof: return "end of data";
    case Status::Jammed: return "jammed";
    case Status::NoDocuments: return "no documents";
    case Status::CoverOpen: return "cover open";
    case Status::IoError: return "I/O error";
    case Status::NoMemory: return "out of memory";
    case Status::AccessDenied: return "access denied";
  }
  return "status " + std::to_string(static_cast<int>(status));
}

std::string StatusText(Status status) {
  const char* text = sane_strstatus(static_cast<SANE_Status>(status));
  return text ? text : "Unknown SANE status";
}

SaneError::SaneError(std::string_view context, Status status)
    : std::runtime_error(std::string(context) + ": " + StatusText(status) + " (" + StatusName(status) + ")"),
      status_(status) {}

SaneError::SaneError(std::string_view context, Status status, std::string_view detail)
    : std::runtime_error(std::string(context) + ": " + std::string(detail)), status_(status) {}

}  // namespace morvex::sane
