// The process's use of SANE.
//
// sane_init and sane_exit act on the whole process, so every Session (and
// every Device, which keeps its Session) shares one initialisation: the first
// Session alive calls sane_init, the last one to go calls sane_exit. Sessions
// may be made and dropped on any thread.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "morvex/sane/device_info.h"

namespace morvex::sane {

class Device;

class Session {
 public:
  // Initialises SANE unless another Session already did; throws SaneError
  // when sane_init fails.
  Session();

  // The devices SANE finds (sane_get_devices). This can take seconds with USB
  // and network backends. localOnly leaves out devices reached over the
  // network.
  std::vector<DeviceInfo> devices(bool localOnly = false) const;

  // Opens a device by name; throws SaneError when it cannot be opened.
  Device open(std::string_view name) const;

  class Library;  // the shared initialisation

 private:
  std::shared_ptr<Library> library_;
};

}  // namespace morvex::sane
