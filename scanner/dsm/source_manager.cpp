#include "source_manager.h"

#include <algorithm>
#include <cstring>

#include "identity.h"
#include "morvex/sane/default_device.h"
#include "morvex/sane/error.h"

namespace morvex::dsm {

namespace {

// Source Ids lie apart from the applications' Ids.
constexpr TW_UINT32 kFirstSourceId = 0x10000;

}  // namespace

TW_UINT16 SourceManager::Fail(TW_UINT16 condition) {
  condition_ = condition;
  return TWRC_FAILURE;
}

TW_UINT16 SourceManager::Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                               TW_UINT16 msg, TW_MEMREF data) {
  if (origin == nullptr) return Fail(TWCC_BADVALUE);
  if (destination != nullptr) {
    if (!open_ || source_ == nullptr || destination->Id != source_->identity().Id) return Fail(TWCC_BADDEST);
    return source_->Entry(dg, dat, msg, data);
  }
  if (dg != DG_CONTROL) return Fail(TWCC_BADPROTOCOL);
  switch (dat) {
    case DAT_PARENT:
      if (msg == MSG_OPENDSM) return OpenManager(origin, static_cast<HWND*>(data));
      if (msg == MSG_CLOSEDSM) return CloseManager();
      break;
    case DAT_IDENTITY:
      if (msg == MSG_USERSELECT || msg == MSG_OPENDS || msg == MSG_CLOSEDS || msg == MSG_GETDEFAULT ||
          msg == MSG_GETFIRST || msg == MSG_GETNEXT) {
        if (!open_) return Fail(TWCC_SEQERROR);
        if (data == nullptr) return Fail(TWCC_BADVALUE);
        return Identity(msg, static_cast<TW_IDENTITY*>(data));
      }
      break;
    case DAT_STATUS:
      if (msg == MSG_GET) {
        if (data == nullptr) return Fail(TWCC_BADVALUE);
        auto* status = static_cast<TW_STATUS*>(data);
        status->ConditionCode = condition_;
        status->Reserved = 0;
        condition_ = TWCC_SUCCESS;
        return TWRC_SUCCESS;
      }
      break;
    default:
      break;
  }
  return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 SourceManager::OpenManager(pTW_IDENTITY origin, HWND* parent) {
  if (parent == nullptr) return Fail(TWCC_BADVALUE);
  // A program that went away without closing (the library stays mapped
  // between loads) must not find the manager stuck open: a new opening
  // starts afresh.
  source_.reset();
  devices_.clear();
  nextDevice_.reset();
  open_ = true;
  parent_ = *parent;
  condition_ = TWCC_SUCCESS;
  origin->Id = nextApplicationId_++;
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::CloseManager() {
  if (!open_ || source_ != nullptr) return Fail(TWCC_SEQERROR);
  open_ = false;
  parent_ = nullptr;
  devices_.clear();
  nextDevice_.reset();
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::Identity(TW_UINT16 msg, TW_IDENTITY* identity) {
  switch (msg) {
    case MSG_USERSELECT: return UserSelect(identity);
    case MSG_OPENDS: return OpenSource(identity);
    case MSG_CLOSEDS: return CloseSource(identity);
    case MSG_GETDEFAULT: return Default(identity);
    case MSG_GETFIRST:
      ListDevices();
      nextDevice_ = 0;
      return Next(identity);
    default: return Next(identity);
  }
}

sane::Session& SourceManager::Sane() {
  if (!sane_) sane_.emplace();
  return *sane_;
}

const std::vector<sane::DeviceInfo>& SourceManager::ListDevices() {
  try {
    devices_ = Sane().devices();
  } catch (const sane::SaneError&) {
    devices_.clear();
  }
  return devices_;
}

std::optional<sane::DeviceInfo> SourceManager::DefaultDevice() {
  const std::vector<sane::DeviceInfo>& devices = ListDevices();
  const std::optional<std::string> name = sane::ChooseDevice(devices, sane::ReadRememberedDevice());
  if (!name) return std::nullopt;
  return *std::find_if(devices.begin(), devices.end(), [&](const sane::DeviceInfo& d) { return d.name == *name; });
}

TW_UINT32 SourceManager::IdOf(const std::string& deviceName) {
  auto [at, added] = sourceIds_.try_emplace(deviceName, kFirstSourceId + static_cast<TW_UINT32>(sourceIds_.size()));
  return at->second;
}

TW_UINT16 SourceManager::Next(TW_IDENTITY* identity) {
  if (!nextDevice_) return Fail(TWCC_SEQERROR);
  if (*nextDevice_ >= devices_.size()) return TWRC_ENDOFLIST;
  const sane::DeviceInfo& device = devices_[(*nextDevice_)++];
  FillSourceIdentity(*identity, device, IdOf(device.name));
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::Default(TW_IDENTITY* identity) {
  const std::optional<sane::DeviceInfo> device = DefaultDevice();
  if (!device) return Fail(TWCC_NODS);
  FillSourceIdentity(*identity, *device, IdOf(device->name));
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::UserSelect(TW_IDENTITY* identity) {
  if (source_ != nullptr) return Fail(TWCC_SEQERROR);
  const std::optional<std::string> chosen =
      frontend_.ChooseScanner(parent_, sane::ReadRememberedDevice().value_or(std::string()));
  if (!chosen) return TWRC_CANCEL;
  try {
    sane::WriteRememberedDevice(*chosen);
  } catch (const std::exception&) {
    // Not remembered, the choice would be lost before the scan.
    return Fail(TWCC_BUMMER);
  }
  sane::DeviceInfo device{*chosen, {}, *chosen, {}};
  const auto listed = std::find_if(devices_.begin(), devices_.end(),
                                   [&](const sane::DeviceInfo& d) { return d.name == *chosen; });
  if (listed != devices_.end()) device = *listed;
  FillSourceIdentity(*identity, device, IdOf(device.name));
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::OpenSource(TW_IDENTITY* identity) {
  if (source_ != nullptr) return Fail(TWCC_MAXCONNECTIONS);
  std::optional<sane::DeviceInfo> device;
  if (identity->Id == 0 && identity->ProductName[0] == '\0') {
    device = DefaultDevice();
  } else {
    for (const sane::DeviceInfo& listed : ListDevices()) {
      const auto id = sourceIds_.find(listed.name);
      const bool sameId = identity->Id != 0 && id != sourceIds_.end() && id->second == identity->Id;
      if (sameId || (identity->Id == 0 && IdentityNames(*identity, listed))) {
        device = listed;
        break;
      }
    }
  }
  if (!device) return Fail(TWCC_NODS);
  try {
    sane::Device opened = Sane().open(device->name);
    frontend_.ApplySettings(opened);
    TW_IDENTITY filled;
    FillSourceIdentity(filled, *device, IdOf(device->name));
    source_ = std::make_unique<Source>(frontend_, std::move(opened), filled, enablings_);
    *identity = filled;
  } catch (const sane::SaneError&) {
    return Fail(TWCC_OPERATIONERROR);
  }
  return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::CloseSource(TW_IDENTITY* identity) {
  if (source_ == nullptr) return Fail(TWCC_NODS);
  if (identity->Id != source_->identity().Id) return Fail(TWCC_BADVALUE);
  if (source_->state() != 4) return Fail(TWCC_SEQERROR);
  source_.reset();
  return TWRC_SUCCESS;
}

}  // namespace morvex::dsm
