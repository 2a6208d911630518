// One open SANE device: its options and one scan at a time.
//
//   morvex::sane::Session session;
//   morvex::sane::Device device = session.open("test:0");
//   device.set("mode", std::string("Color"));
//   morvex::sane::HeapDibStorage dib;
//   morvex::sane::ScannedImage image = device.scan(dib, nullptr, stop.get_token());
//   // dib.bytes().first(image.dibSize) is the packed DIB
//
// A Device is used by one thread at a time. The one call another thread (or
// the scan's own progress callback) may make during a scan is request_stop()
// on the std::stop_source whose token the scan was given: it calls
// sane_cancel, and the scan ends with SaneError(Status::Cancelled).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "morvex/sane/dib.h"
#include "morvex/sane/frame_assembler.h"
#include "morvex/sane/options.h"
#include "morvex/sane/session.h"

namespace morvex::sane {

// How far a scan has come. Frames count from 1; a three-pass scan announces
// three, anything else one (a frame's parameters name its kind only once it
// starts). rowsTotal is -1 while the height is unknown.
struct ScanProgress {
  int frame = 1;
  int frames = 1;
  int rowsDone = 0;
  int rowsTotal = -1;
  // done of the whole scan in 0..1, or -1 when unknown.
  double fraction() const;
};
using ProgressCallback = std::function<void(const ScanProgress&)>;

class Device {
 public:
  // Opens through a Session; see Session::open.
  Device(Session session, std::string_view name);
  ~Device();  // sane_close
  Device(Device&&) noexcept;
  Device& operator=(Device&&) noexcept;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  const std::string& name() const;

  // Every option descriptor, groups included, in SANE's order (index 1 on).
  // Read again whenever a set() reports SANE_INFO_RELOAD_OPTIONS.
  const std::vector<OptionDescriptor>& options() const;
  // The option of that name, or nullptr.
  const OptionDescriptor* find(std::string_view name) const;
  // Reads the descriptors again from the device.
  void reloadOptions();

  // The value of a readable option. Throws OptionError for an unknown or
  // unreadable option, SaneError when the device fails.
  OptionValue get(std::string_view name) const;
  // Sets a settable option. The value's kind must fit the option (bool for
  // Bool, Int values for Int, decimals for Fixed, a string for String,
  // std::monostate for Button) with the option's count of values; the value
  // is not checked against the constraint here (CheckValue in option_text.h
  // does that). Throws OptionError for an unknown, inactive or read-only
  // option or a value of the wrong kind, SaneError when the device refuses
  // (Status::Invalid for a value it does not accept).
  SetResult set(std::string_view name, const OptionValue& value);
  // Lets the device choose the value (SANE_ACTION_SET_AUTO).
  SetResult setAuto(std::string_view name);

  // The parameters the next scan will probably have (sane_get_parameters
  // before sane_start, an estimate), for a preview's size.
  FrameParameters estimatedParameters() const;

  // Scans one image into `storage` (see frame_assembler.h for the frames it
  // accepts and dib.h for the DIB). progress, when given, is called on this
  // thread as rows come. Every end of the scan calls sane_cancel, so the
  // device is ready for the next scan. A three-pass device that resumes a
  // cancelled scan with a later colour is started again for the colours
  // still missing. Throws SaneError naming the status on
  // any fault (Status::Cancelled when `stop` was requested), and whatever the
  // storage or the callback throws; the storage's content is then unspecified.
  ScannedImage scan(DibStorage& storage, const ProgressCallback& progress, std::stop_token stop = {});

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace morvex::sane
