#include "morvex/sane/session.h"

#include <mutex>

#include <sane/sane.h>

#if defined(__SANITIZE_ADDRESS__)
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>
#endif

#include "morvex/sane/device.h"
#include "morvex/sane/error.h"

namespace morvex::sane {

namespace {

// sane_init and sane_exit are process-wide: count the users.
std::mutex gInitMutex;
int gUsers = 0;
// sane_get_devices hands out memory that the next call replaces.
std::mutex gListMutex;

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer the backends stay mapped after sane_exit: what a
// backend leaked is then reported with the backend's name rather than as
// "<unknown module>", and the tests' suppressions can name it.
void KeepBackendsMapped() {
  std::vector<std::string> backends;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* out) {
        if (info->dlpi_name && std::strstr(info->dlpi_name, "/sane/libsane-")) {
          static_cast<std::vector<std::string>*>(out)->emplace_back(info->dlpi_name);
        }
        return 0;
      },
      &backends);
  for (const std::string& path : backends) dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}
#else
void KeepBackendsMapped() {}
#endif

}  // namespace

// One Session's share of the initialisation, kept by its copies and devices.
class Session::Library {
 public:
  Library() {
    std::lock_guard lock(gInitMutex);
    if (gUsers == 0) {
      SANE_Int version = 0;
      const SANE_Status status = sane_init(&version, nullptr);
      if (status != SANE_STATUS_GOOD) throw SaneError("cannot start SANE", static_cast<Status>(status));
    }
    ++gUsers;
  }
  ~Library() {
    std::lock_guard lock(gInitMutex);
    if (--gUsers == 0) {
      KeepBackendsMapped();
      sane_exit();
    }
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

Session::Session() : library_(std::make_shared<Library>()) {}

std::vector<DeviceInfo> Session::devices(bool localOnly) const {
  std::lock_guard lock(gListMutex);
  const SANE_Device** list = nullptr;
  const SANE_Status status = sane_get_devices(&list, localOnly ? SANE_TRUE : SANE_FALSE);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot list the scanners", static_cast<Status>(status));
  std::vector<DeviceInfo> out;
  auto text = [](const char* s) { return std::string(s ? s : ""); };
  for (const SANE_Device** d = list; d && *d; ++d) {
    out.push_back({text((*d)->name), text((*d)->vendor), text((*d)->model), text((*d)->type)});
  }
  return out;
}

Device Session::open(std::string_view name) const { return Device(*this, name); }

}  // namespace morvex::sane
