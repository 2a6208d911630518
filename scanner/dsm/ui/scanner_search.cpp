#include "scanner_search.h"

#include <exception>
#include <utility>

#include "morvex/sane/session.h"

namespace morvex::dsm {

ScannerSearch::ScannerSearch(Found found)
    : worker_([found = std::move(found)] {
        std::vector<morvex::sane::DeviceInfo> devices;
        std::string error;
        try {
          devices = morvex::sane::Session().devices();
        } catch (const std::exception& e) {
          error = e.what();
        }
        found(std::move(devices), std::move(error));
      }) {}

ScannerSearch::~ScannerSearch() = default;

}  // namespace morvex::dsm
