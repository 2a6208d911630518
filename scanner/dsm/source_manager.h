// The Source Manager: the manager triplets (no destination), and the routing
// of source triplets to the one open source.
//
// The program unloads the library between choosing a scanner and acquiring,
// so the default source lives in the user's configuration folder
// (morvex/sane/default_device.h), never only here.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontend.h"
#include "morvex/sane/device_info.h"
#include "morvex/sane/session.h"
#include "source.h"

namespace morvex::dsm {

class SourceManager {
 public:
  explicit SourceManager(Frontend& frontend) : frontend_(frontend) {}

  // Every triplet, as DSM_Entry receives it.
  TW_UINT16 Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                  TW_MEMREF data);

  bool open() const { return open_; }
  const Source* source() const { return source_.get(); }

 private:
  TW_UINT16 Fail(TW_UINT16 condition);
  TW_UINT16 OpenManager(pTW_IDENTITY origin, HWND* parent);
  TW_UINT16 CloseManager();
  TW_UINT16 Identity(TW_UINT16 msg, TW_IDENTITY* identity);
  TW_UINT16 UserSelect(TW_IDENTITY* identity);
  TW_UINT16 OpenSource(TW_IDENTITY* identity);
  TW_UINT16 CloseSource(TW_IDENTITY* identity);
  TW_UINT16 Default(TW_IDENTITY* identity);
  TW_UINT16 Next(TW_IDENTITY* identity);

  // The scanners SANE finds now; remembered for MSG_GETNEXT.
  const std::vector<sane::DeviceInfo>& ListDevices();
  // The scanner the program gets without a choice: the remembered one, or
  // the only one.
  std::optional<sane::DeviceInfo> DefaultDevice();
  // The same identity Id for a device name as long as the library lives.
  TW_UINT32 IdOf(const std::string& deviceName);
  // SANE, initialised on first use and kept as long as this manager lives
  // (in the library: the whole run). A backend may leave a reader thread
  // behind a cancelled scan; ending SANE would unload the backend's code
  // under that thread.
  sane::Session& Sane();

  Frontend& frontend_;
  std::optional<sane::Session> sane_;
  bool open_ = false;
  HWND parent_ = nullptr;
  TW_UINT16 condition_ = TWCC_SUCCESS;
  TW_UINT32 nextApplicationId_ = 1;
  std::map<std::string, TW_UINT32> sourceIds_;
  std::vector<sane::DeviceInfo> devices_;
  std::optional<std::size_t> nextDevice_;  // MSG_GETNEXT's place in devices_
  std::uint32_t enablings_ = 0;
  std::unique_ptr<Source> source_;
};

}  // namespace morvex::dsm
