// morvex scan: one image from a SANE scanner, read like `morvex analyse`.
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <pthread.h>
#include <stop_token>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "analysis_output.h"
#include "commands.h"
#include "dib_file.h"
#include "json.h"
#include "morvex/engine.h"
#include "morvex/grey_image.h"
#include "morvex/sane/default_device.h"
#include "morvex/sane/device.h"
#include "morvex/sane/error.h"
#include "morvex/sane/option_text.h"
#include "progress_bar.h"

namespace morvex::cli {

extern const std::string_view kScanUsage =
    "  morvex scan [--device NAME] [--option NAME=VALUE]... [--save OUT.bmp] [--json] [--robust]\n"
    "  morvex scan --list [--json]\n"
    "      Scan one image with a SANE scanner and analyse it like 'analyse'.\n"
    "      --list lists the scanners; 'morvex scan --help' tells the rest.\n";

namespace {

constexpr const char* kScanHelp =
    "Usage:\n"
    "  morvex scan --list [--json]\n"
    "  morvex scan [--device NAME] [--option NAME=VALUE]... [--save OUT.bmp] [--json] [--robust]\n"
    "\n"
    "Scans one image with a SANE scanner, turns it into the 8-bit grey image the\n"
    "engine reads and prints the same answer as 'morvex analyse': the zone 1 and\n"
    "zone 2 numbers, face value, orientation, resolution and the detail lines.\n"
    "The note must lie on a dark background: scan with the lid open, or with a\n"
    "black sheet behind the note.\n"
    "\n"
    "  --list              list the scanners SANE finds, one per line: name,\n"
    "                      vendor, model and type separated by tabs; with --json\n"
    "                      one JSON object per line\n"
    "  --device NAME       the scanner, by the name --list shows (test:0,\n"
    "                      epson2:libusb:001:004). Without it: the scanner last\n"
    "                      chosen in the window's scanner selection when it is\n"
    "                      still there, else the only scanner, else an error\n"
    "                      that lists them\n"
    "  --option NAME=VALUE set a scanner option before the scan, by the names\n"
    "                      'scanimage --help -d NAME' shows (mode, resolution,\n"
    "                      source, depth, tl-x, tl-y, br-x, br-y, ...); VALUE is\n"
    "                      read by the option's type: yes/no, an integer, a\n"
    "                      decimal number, a text, or a word of its list. Options\n"
    "                      are set in the order given; repeat for several\n"
    "  --save OUT.bmp      also write the image as scanned, before the grey\n"
    "                      conversion. An existing file is never overwritten; a\n"
    "                      failed or cancelled scan leaves no file\n"
    "  --json              print the answer as one JSON object\n"
    "  --robust            read in the robust mode, which reads damaged scans more\n"
    "                      surely, and add each zone's confidence (0 to 1)\n"
    "  -h, --help          show this help\n"
    "\n"
    "A progress bar is drawn on standard error when it is a terminal; Ctrl-C\n"
    "cancels the scan. No display is needed.\n"
    "\n"
    "Exit status: 0 success, 1 the scan or the analysis failed, 2 a wrong\n"
    "command line (also an unknown option name or a value the option does not\n"
    "accept).\n";

struct ScanOptions {
  bool list = false;
  bool json = false;
  bool robust = false;
  std::string device;
  std::vector<std::pair<std::string, std::string>> settings;  // --option NAME=VALUE, in order
  std::string save;
};

void PrintDevices(const std::vector<sane::DeviceInfo>& devices, bool json) {
  for (const sane::DeviceInfo& d : devices) {
    if (json) {
      std::printf("{\"name\":%s,\"vendor\":%s,\"model\":%s,\"type\":%s}\n", JsonString(d.name).c_str(),
                  JsonString(d.vendor).c_str(), JsonString(d.model).c_str(), JsonString(d.type).c_str());
    } else {
      std::printf("%s\t%s\t%s\t%s\n", d.name.c_str(), d.vendor.c_str(), d.model.c_str(), d.type.c_str());
    }
  }
}

std::string DeviceNames(const std::vector<sane::DeviceInfo>& devices) {
  std::string names;
  for (const sane::DeviceInfo& d : devices) names += (names.empty() ? "" : ", ") + d.name;
  return names;
}

// Turns Ctrl-C (and SIGTERM) into a stop request while a scan runs. The
// signals are blocked in every thread (the scanner backends' threads inherit
// the mask) and taken by a watcher thread, which may call anything; a second
// signal ends the program at once.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::stop_source stop) : stop_(std::move(stop)) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
    watcher_ = std::thread([this] { watch(); });
  }
  ~InterruptWatch() {
    done_ = true;
    watcher_.join();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  void watch() {
    const timespec tick{0, 100'000'000};
    while (!done_) {
      if (sigtimedwait(&signals_, nullptr, &tick) < 0) continue;
      if (stop_.stop_requested()) {
        constexpr char kText[] = "\nmorvex: interrupted\n";
        [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kText, sizeof kText - 1);
        _exit(kExitFailed);
      }
      stop_.request_stop();
    }
  }

  std::stop_source stop_;
  sigset_t signals_{};
  sigset_t previous_{};
  std::atomic<bool> done_{false};
  std::thread watcher_;
};

// Sets the --option settings in order. Returns kExitOk, or the exit status
// after printing why.
int ApplySettings(sane::Device& device, const ScanOptions& o) {
  for (const auto& [name, text] : o.settings) {
    const sane::OptionDescriptor* option = device.find(name);
    if (!option) return UsageError("scanner " + device.name() + " has no option '" + name + "'");
    if (!option->settable()) {
      return UsageError("option '" + name + "' of scanner " + device.name() +
                        (option->active ? " cannot be set" : " is inactive with the options set before it"));
    }
    try {
      const sane::OptionValue value = sane::ParseOptionValue(*option, text);
      const sane::SetResult r = device.set(name, value);
      if (r.inexact) {
        std::fprintf(stderr, "morvex: scanner %s set option '%s' to %s\n", device.name().c_str(), name.c_str(),
                     sane::FormatValue(r.value).c_str());
      }
    } catch (const sane::OptionError& e) {
      return UsageError(e.what());
    } catch (const sane::SaneError& e) {
      if (e.status() != sane::Status::Invalid) throw;
      const sane::OptionDescriptor* now = device.find(name);
      return UsageError("option '" + name + "' does not accept '" + text + "': it takes " +
                        sane::AcceptedValues(now ? *now : sane::OptionDescriptor{}));
    }
  }
  return kExitOk;
}

int ParseArguments(std::span<const std::string_view> args, ScanOptions& o, bool& help) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    auto value = [&](std::string& into) {
      if (++i == args.size()) return false;
      into = args[i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      help = true;
    } else if (a == "--list") {
      o.list = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--robust") {
      o.robust = true;
    } else if (a == "--device") {
      if (!value(o.device) || o.device.empty()) return UsageError("--device needs a scanner name");
    } else if (a == "--save") {
      if (!value(o.save) || o.save.empty()) return UsageError("--save needs a file name");
    } else if (a == "--option") {
      std::string setting;
      if (!value(setting)) return UsageError("--option needs NAME=VALUE");
      const std::size_t eq = setting.find('=');
      if (eq == std::string::npos || eq == 0) return UsageError("--option needs NAME=VALUE, not '" + setting + "'");
      o.settings.emplace_back(setting.substr(0, eq), setting.substr(eq + 1));
    } else {
      return UsageError("unknown option '" + std::string(a) + "' for scan");
    }
  }
  if (o.list && (!o.device.empty() || !o.settings.empty() || !o.save.empty())) {
    return UsageError("--list takes no other option than --json");
  }
  return kExitOk;
}

}  // namespace

int ScanCommand(std::span<const std::string_view> args) {
  ScanOptions o;
  bool help = false;
  if (const int status = ParseArguments(args, o, help); status != kExitOk) return status;
  if (help) {
    std::fputs(kScanHelp, stdout);
    return kExitOk;
  }
  if (!o.save.empty()) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(o.save, ec))) {
      std::fprintf(stderr, "morvex: %s: the file exists and is not overwritten\n", o.save.c_str());
      return kExitFailed;
    }
  }

  std::stop_source stop;
  std::string context = "morvex";
  try {
    // Blocked before SANE starts, so that no backend thread takes Ctrl-C.
    std::optional<InterruptWatch> interrupts;
    if (!o.list) interrupts.emplace(stop);
    sane::Session session;
    if (o.list) {
      PrintDevices(session.devices(), o.json);
      return kExitOk;
    }
    std::string name = o.device;
    if (name.empty()) {
      const std::vector<sane::DeviceInfo> devices = session.devices();
      const auto chosen = sane::ChooseDevice(devices, sane::ReadRememberedDevice());
      if (!chosen) {
        if (devices.empty()) {
          std::fputs("morvex: no scanner found\n", stderr);
          return kExitFailed;
        }
        return UsageError("several scanners found, choose one with --device: " + DeviceNames(devices));
      }
      name = *chosen;
    }
    sane::Device device = session.open(name);
    context = name;
    if (const int status = ApplySettings(device, o); status != kExitOk) return status;

    sane::HeapDibStorage dib;
    sane::ScannedImage image;
    {
      ProgressBar bar;
      int shown = -1;
      image = device.scan(
          dib,
          [&](const sane::ScanProgress& p) {
            const double f = p.fraction();
            const int percent = f < 0 ? -1 : static_cast<int>(std::floor(f * 100));
            if (percent >= 0 && percent != shown) bar.show(shown = percent, 100);
          },
          stop.get_token());
    }
    interrupts.reset();
    const std::span<const std::uint8_t> bytes = dib.bytes().first(image.dibSize);
    if (!o.save.empty()) SaveDibAsNewBmp(o.save, bytes);

    Bitmap grey;
    DecodePackedDibGrey(bytes, grey);
    dib.resize(0);  // the scan is no longer needed once it is grey
    const ReferenceDigits references = LoadReferenceDigits();
    std::vector<std::string> details;
    AnalisysResult result;
    AnalyzeNote(grey, true, &details, result, references, AnalyzeOptions().setRobust(o.robust));
    PrintAnalysis(name, result, details, o.json);
    return kExitOk;
  } catch (const sane::SaneError& e) {
    // SANE's errors name the scanner themselves.
    std::fflush(stdout);
    std::fprintf(stderr, "morvex: %s\n", e.what());
    return kExitFailed;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", context.c_str(), e.what());
    return kExitFailed;
  }
}

}  // namespace morvex::cli
