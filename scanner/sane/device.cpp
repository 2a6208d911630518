#include "morvex/sane/device.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include <sane/sane.h>

#include "backend_threads.h"
#include "descriptor.h"
#include "morvex/sane/error.h"

namespace morvex::sane {

namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// The longest a scan waits for its backend's threads to end before it resets
// the device (see backend_threads.h).
constexpr std::chrono::milliseconds kBackendThreadsLimit{500};

Status StatusOf(SANE_Status s) { return static_cast<Status>(s); }

FrameFormat FormatOf(SANE_Frame f, const std::string& context) {
  switch (f) {
    case SANE_FRAME_GRAY: return FrameFormat::Gray;
    case SANE_FRAME_RGB: return FrameFormat::Rgb;
    case SANE_FRAME_RED: return FrameFormat::Red;
    case SANE_FRAME_GREEN: return FrameFormat::Green;
    case SANE_FRAME_BLUE: return FrameFormat::Blue;
    default:
      throw SaneError(context, Status::Unsupported,
                      "the scanner sends frames of kind " + std::to_string(static_cast<int>(f)) +
                          ", which cannot be turned into a bitmap");
  }
}

FrameParameters ParametersOf(const SANE_Parameters& p, const std::string& context) {
  FrameParameters f;
  f.format = FormatOf(p.format, context);
  f.lastFrame = p.last_frame != SANE_FALSE;
  f.bytesPerLine = p.bytes_per_line;
  f.pixelsPerLine = p.pixels_per_line;
  f.lines = p.lines < 0 ? -1 : p.lines;
  f.depth = p.depth;
  return f;
}

}  // namespace

double ScanProgress::fraction() const {
  if (rowsTotal <= 0 || frames <= 0) return -1;
  const double inFrame = std::min(1.0, static_cast<double>(rowsDone) / rowsTotal);
  return (frame - 1 + inFrame) / frames;
}

struct Device::State {
  Session session;  // keeps SANE initialised while the device is open
  SANE_Handle handle = nullptr;
  std::string name;
  std::vector<OptionDescriptor> options;

  const OptionDescriptor& option(std::string_view optionName) const {
    for (const OptionDescriptor& o : options) {
      if (o.type != OptionType::Group && o.name == optionName) return o;
    }
    throw OptionError("scanner " + name + " has no option '" + std::string(optionName) + "'");
  }

  SetResult control(const OptionDescriptor& o, SANE_Action action, std::vector<std::uint8_t> bytes);
  void reload();
  double resolution(std::string_view axis) const;
  ScannedImage readFrames(DibStorage& storage, const ProgressCallback& progress, const std::stop_token& stop,
                          const std::string& context, const BackendThreads& backendThreads);
};

Device::Device(Session session, std::string_view name) : state_(std::make_unique<State>()) {
  state_->session = std::move(session);
  state_->name = name;
  SANE_Handle handle = nullptr;
  const SANE_Status status = sane_open(state_->name.c_str(), &handle);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot open scanner " + state_->name, StatusOf(status));
  state_->handle = handle;
  try {
    state_->reload();
  } catch (...) {
    sane_close(handle);
    throw;
  }
}

Device::~Device() {
  if (state_ && state_->handle) sane_close(state_->handle);
}

Device::Device(Device&&) noexcept = default;
Device& Device::operator=(Device&& other) noexcept {
  if (this != &other) {
    if (state_ && state_->handle) sane_close(state_->handle);
    state_ = std::move(other.state_);
  }
  return *this;
}

const std::string& Device::name() const { return state_->name; }
const std::vector<OptionDescriptor>& Device::options() const { return state_->options; }

const OptionDescriptor* Device::find(std::string_view optionName) const {
  for (const OptionDescriptor& o : state_->options) {
    if (o.type != OptionType::Group && o.name == optionName) return &o;
  }
  return nullptr;
}

void Device::reloadOptions() { state_->reload(); }

void Device::State::reload() {
  std::vector<OptionDescriptor> fresh;
  // Option 0 holds the number of options, itself included.
  SANE_Int count = 0;
  const SANE_Status status = sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot read the options of " + name, StatusOf(status));
  for (SANE_Int i = 1; i < count; ++i) {
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
    if (d) fresh.push_back(DescribeOption(i, *d));
  }
  options = std::move(fresh);
}

OptionValue Device::get(std::string_view optionName) const {
  const OptionDescriptor& o = state_->option(optionName);
  if (!o.readable()) throw OptionError("option '" + o.name + "' of " + state_->name + " cannot be read now");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(o.size, static_cast<int>(sizeof(SANE_Word)))), 0);
  const SANE_Status status = sane_control_option(state_->handle, o.index, SANE_ACTION_GET_VALUE, bytes.data(), nullptr);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot read option '" + o.name + "' of " + state_->name, StatusOf(status));
  return DecodeValue(o, bytes);
}

SetResult Device::State::control(const OptionDescriptor& o, SANE_Action action, std::vector<std::uint8_t> bytes) {
  SANE_Int info = 0;
  const SANE_Status status =
      sane_control_option(handle, o.index, action, bytes.empty() ? nullptr : bytes.data(), &info);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot set option '" + o.name + "' of " + name, StatusOf(status));
  SetResult r;
  r.inexact = (info & SANE_INFO_INEXACT) != 0;
  r.reloadOptions = (info & SANE_INFO_RELOAD_OPTIONS) != 0;
  r.reloadParameters = (info & SANE_INFO_RELOAD_PARAMS) != 0;
  // The value the device keeps: what it wrote back, read again when other
  // options changed with it.
  const OptionDescriptor copy = o;  // reload() replaces the descriptors
  if (r.reloadOptions) reload();
  if (copy.type != OptionType::Button && action == SANE_ACTION_SET_VALUE && !r.reloadOptions) {
    r.value = DecodeValue(copy, bytes);
  }
  return r;
}

SetResult Device::set(std::string_view optionName, const OptionValue& value) {
  const OptionDescriptor& o = state_->option(optionName);
  if (!o.active) throw OptionError("option '" + o.name + "' of " + state_->name + " is inactive now");
  if (!o.softSelect) throw OptionError("option '" + o.name + "' of " + state_->name + " cannot be set");
  const std::string mismatch = KindMismatch(o, value);
  if (!mismatch.empty()) throw OptionError("option '" + o.name + "' takes " + mismatch);
  SetResult r = state_->control(o, SANE_ACTION_SET_VALUE,
                                o.type == OptionType::Button ? std::vector<std::uint8_t>{} : EncodeValue(o, value));
  if (r.reloadOptions) {
    const OptionDescriptor* now = find(optionName);
    if (now && now->readable()) r.value = get(optionName);
  }
  return r;
}

SetResult Device::setAuto(std::string_view optionName) {
  const OptionDescriptor& o = state_->option(optionName);
  if (!o.active || !o.automatic) throw OptionError("option '" + o.name + "' of " + state_->name + " has no automatic value");
  SetResult r = state_->control(o, SANE_ACTION_SET_AUTO, {});
  const OptionDescriptor* now = find(optionName);
  if (now && now->readable()) r.value = get(optionName);
  return r;
}

FrameParameters Device::estimatedParameters() const {
  SANE_Parameters p{};
  const SANE_Status status = sane_get_parameters(state_->handle, &p);
  if (status != SANE_STATUS_GOOD) throw SaneError("cannot read the scan parameters of " + state_->name, StatusOf(status));
  return ParametersOf(p, "scan of " + state_->name);
}

// The resolution along an axis ("x" or "y"), from x-resolution or
// y-resolution when the device has them, else resolution; 0 when unknown.
double Device::State::resolution(std::string_view axis) const {
  for (const std::string& candidate : {std::string(axis) + "-resolution", std::string("resolution")}) {
    for (const OptionDescriptor& o : options) {
      if (o.name != candidate || !o.readable() || (o.type != OptionType::Int && o.type != OptionType::Fixed)) continue;
      std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(o.size, static_cast<int>(sizeof(SANE_Word)))), 0);
      if (sane_control_option(handle, o.index, SANE_ACTION_GET_VALUE, bytes.data(), nullptr) != SANE_STATUS_GOOD) continue;
      const OptionValue v = DecodeValue(o, bytes);
      if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&v); ints && !ints->empty()) return (*ints)[0];
      if (const auto* reals = std::get_if<std::vector<double>>(&v); reals && !reals->empty()) return (*reals)[0];
    }
  }
  return 0;
}

ScannedImage Device::scan(DibStorage& storage, const ProgressCallback& progress, std::stop_token stop) {
  State& s = *state_;
  const std::string context = "scan of " + s.name;
  const SANE_Handle handle = s.handle;

  // Every way out of the scan ends it on the device, so the next one can start;
  // the backend's own threads end first, unless a stop already cancelled them.
  BackendThreads backendThreads;
  struct EndScan {
    SANE_Handle handle;
    const BackendThreads& threads;
    const std::stop_token& stop;
    ~EndScan() {
      threads.waitForEnd(stop, kBackendThreadsLimit);
      sane_cancel(handle);
    }
  } endScan{handle, backendThreads, stop};
  // A stop request from any thread cancels the device's work; sane_read then
  // returns SANE_STATUS_CANCELLED. Declared after endScan so that it is
  // unregistered (and any running call finished) before that last sane_cancel.
  std::stop_callback onStop(stop, [handle] { sane_cancel(handle); });
  try {
    return s.readFrames(storage, progress, stop, context, backendThreads);
  } catch (const SaneError&) {
    // After a stop request a device may end a frame early or with any status;
    // whatever then goes wrong, the cause is the stop.
    if (stop.stop_requested()) throw SaneError(context, Status::Cancelled);
    throw;
  }
}

ScannedImage Device::State::readFrames(DibStorage& storage, const ProgressCallback& progress, const std::stop_token& stop,
                                       const std::string& context, const BackendThreads& backendThreads) {
  auto failed = [&](SANE_Status status) { return SaneError(context, StatusOf(status)); };
  auto cancelled = [&] { return SaneError(context, Status::Cancelled); };
  FrameAssembler assembler(storage, resolution("x"), resolution("y"), context);
  std::vector<std::uint8_t> buffer(kReadSize);
  ScanProgress report;
  // A three-pass device whose last scan was cancelled may go on where it
  // stopped: the next scan then begins with a later colour and ends (last
  // frame) before all three came. The picture does not move between passes,
  // so a new start gives the missing colours.
  int restarts = 0;
  for (;;) {
    if (stop.stop_requested()) throw cancelled();
    SANE_Status status = backendThreads.whileStarting([this] { return sane_start(handle); });
    if (status != SANE_STATUS_GOOD) throw failed(status);
    // Parameters before sane_start are estimates; these are the frame's own.
    SANE_Parameters p{};
    status = sane_get_parameters(handle, &p);
    if (status != SANE_STATUS_GOOD) throw failed(status);
    const FrameParameters frame = ParametersOf(p, context);
    assembler.beginFrame(frame);
    if (frame.format != FrameFormat::Gray && frame.format != FrameFormat::Rgb) report.frames = 3;
    report.rowsDone = 0;
    report.rowsTotal = frame.lines;
    if (progress) progress(report);
    for (;;) {
      SANE_Int length = 0;
      status = sane_read(handle, buffer.data(), static_cast<SANE_Int>(buffer.size()), &length);
      if (status == SANE_STATUS_EOF) break;
      if (status != SANE_STATUS_GOOD) throw failed(status);
      if (length < 0 || static_cast<std::size_t>(length) > buffer.size()) {
        throw SaneError(context, Status::IoError, "the scanner reported a read of " + std::to_string(length) + " bytes");
      }
      if (length == 0) {
        // Nothing yet: wait a little rather than spin.
        if (stop.stop_requested()) throw cancelled();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      assembler.add({buffer.data(), static_cast<std::size_t>(length)});
      if (progress && assembler.rowsDone() != report.rowsDone) {
        report.rowsDone = assembler.rowsDone();
        progress(report);
      }
    }
    // Some backends end a cancelled frame with EOF rather than CANCELLED.
    if (stop.stop_requested()) throw cancelled();
    assembler.endFrame();
    if (assembler.complete()) break;
    if (frame.lastFrame) {
      if (++restarts > 2) break;  // finish() says which colours are missing
      backendThreads.waitForEnd(stop, kBackendThreadsLimit);
      sane_cancel(handle);
    }
    report.frame = std::min(report.frame + 1, report.frames);
  }
  if (stop.stop_requested()) throw cancelled();
  return assembler.finish();
}

}  // namespace morvex::sane
