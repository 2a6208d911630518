// morvex-notegen: writes a folder of synthetic note scans named after the note
// file-name template. See --help.
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "morvex/bmp.h"
#include "notegen.h"

namespace {

namespace ng = morvex::notegen;

constexpr const char* kHelp =
    R"(morvex-notegen: renders synthetic scans of rouble notes as .bmp files.

usage: morvex-notegen --out DIR [--count N] [--seed S] [--set clean|typical|hard|stress] [options]

Each file is named Note-dpi-s-o-vvvv-SSnnnnnnn.bmp (UTF-8): dpi three digits,
s 1 for the side with the number and 0 for the other side, o 1 upright and 0
upside down, vvvv the face value in four digits, SS the two Cyrillic series
letters, nnnnnnn the serial number. Note i of a set depends only on the seed,
the options and i, so the same command always writes the same files.

  --out DIR               folder to write into (created when missing)
  --count N               number of notes (default 10)
  --seed S                seed of the set (default 1)
  --first I               index of the first note (default 0), to extend a set
  --set NAME              starting point for the options below (default clean):
                            clean    no tilt, no blur, no noise, background 14
                            typical  tilt up to 10 degrees, blur 0.4-0.9 px,
                                     noise 2-5 levels, background 8-30, offset 2 mm
                            hard     tilt up to 30 degrees, blur 0.8-1.6 px,
                                     noise 5-10 levels, background 15-35, offset 3 mm
                            stress   tilt up to 30 degrees, blur 1.0-1.9 px,
                                     noise 6-11 levels, background 8-18, offset 3 mm,
                                     and on every note several kinds of damage:
                                     coloured print under the numbers and marks,
                                     faint and graded ink, wear, creases, dust
                                     and scratches, streaks, rounded or dog-eared
                                     corners, an uneven background, JPEG damage
  --dpi-min D, --dpi-max D  resolutions, multiples of 10 in this range (150, 300)
  --dpi D                 one resolution for every note
  --tilt MAXDEG           tilt drawn from -MAXDEG to +MAXDEG (at most 45)
  --offset MM             shift of the note's centre, up to MM along each axis
  --blur R                Gaussian blur, sigma drawn from R/2 to R pixels
  --noise SIGMA           per-channel noise, sigma drawn from SIGMA/2 to SIGMA levels
  --background LEVEL      grey level of the background (keep it well below 70)
  --back-side-share F     share of notes showing the side without number (0.1)
  --upside-down-share F   share of notes lying upside down (0.5)
  --grey8                 write 8-bit grey files instead of 24-bit colour
  --supersample N         samples per pixel along each axis, 1 to 8 (3)
  --font PATH             the serial-number typeface (DejaVu Sans Condensed Bold)
  --jobs N                render with N threads (1); the files are the same
  --list                  print each file name as it is written
  --help                  this text
)";

struct Args {
  std::filesystem::path out;
  int count = 10;
  int first = 0;
  std::uint64_t seed = 1;
  int jobs = 1;
  bool list = false;
  std::string font = ng::NoteRenderer::kDefaultFont;
  ng::GenerationOptions options = ng::PresetOptions(ng::SampleSet::Clean);
};

[[noreturn]] void Usage(const std::string& message) {
  std::fprintf(stderr, "morvex-notegen: %s (see --help)\n", message.c_str());
  std::exit(2);
}

long long ParseInt(const std::string& flag, const std::string& text) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) Usage(flag + " needs a whole number, not '" + text + "'");
  return v;
}

double ParseReal(const std::string& flag, const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(v >= 0) || v > 1e6)
    Usage(flag + " needs a number of at least 0, not '" + text + "'");
  return v;
}

double ParseShare(const std::string& flag, const std::string& text) {
  const double v = ParseReal(flag, text);
  if (v > 1) Usage(flag + " needs a share from 0 to 1");
  return v;
}

Args Parse(int argc, char** argv) {
  Args a;
  // The set is applied first, whatever its place on the line, so that the
  // other options refine it.
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--set") {
      const auto set = ng::ParseSampleSet(argv[i + 1]);
      if (!set) Usage(std::string("unknown set '") + argv[i + 1] + "'");
      a.options = ng::PresetOptions(*set);
    }
  ng::GenerationOptions& o = a.options;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--help" || flag == "-h") {
      std::fputs(kHelp, stdout);
      std::exit(0);
    }
    if (flag == "--grey8") { o.grey8 = true; continue; }
    if (flag == "--list") { a.list = true; continue; }
    if (i + 1 >= argc) Usage("unknown option or missing value: " + flag);
    const std::string value = argv[++i];
    if (flag == "--out") a.out = value;
    else if (flag == "--count") a.count = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--first") a.first = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--seed") a.seed = static_cast<std::uint64_t>(ParseInt(flag, value));
    else if (flag == "--set") continue;
    else if (flag == "--dpi-min") o.dpiMin = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--dpi-max") o.dpiMax = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--dpi") o.dpiMin = o.dpiMax = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--tilt") o.maxTiltDegrees = ParseReal(flag, value);
    else if (flag == "--offset") o.maxOffsetMm = ParseReal(flag, value);
    else if (flag == "--blur") { const double r = ParseReal(flag, value); o.blurSigma = {r / 2, r}; }
    else if (flag == "--noise") { const double s = ParseReal(flag, value); o.noiseSigma = {s / 2, s}; }
    else if (flag == "--background") { const double b = ParseReal(flag, value); o.backgroundLevel = {b, b}; }
    else if (flag == "--back-side-share") o.backSideShare = ParseShare(flag, value);
    else if (flag == "--upside-down-share") o.upsideDownShare = ParseShare(flag, value);
    else if (flag == "--supersample") o.supersample = static_cast<int>(ParseInt(flag, value));
    else if (flag == "--font") a.font = value;
    else if (flag == "--jobs") a.jobs = static_cast<int>(ParseInt(flag, value));
    else Usage("unknown option: " + flag);
  }
  if (a.out.empty()) Usage("--out DIR is required");
  if (a.count < 0 || a.first < 0) Usage("--count and --first must not be negative");
  if (o.dpiMin < 50 || o.dpiMax > 1200 || o.dpiMin > o.dpiMax) Usage("resolutions must satisfy 50 <= dpi-min <= dpi-max <= 1200");
  if (o.maxTiltDegrees > 45) Usage("--tilt is at most 45 degrees");
  if (o.supersample < 1 || o.supersample > 8) Usage("--supersample is 1 to 8");
  if (a.jobs < 1) Usage("--jobs is at least 1");
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  const Args a = Parse(argc, argv);
  try {
    std::filesystem::create_directories(a.out);
    std::vector<ng::NotePlan> plans;
    std::set<std::string> names;
    for (int i = 0; i < a.count; ++i) {
      plans.push_back(ng::DrawNotePlan(a.options, a.seed, a.first + i));
      if (!names.insert(ng::NoteFileName(plans.back())).second)
        throw std::runtime_error("two notes of this set share the name " + ng::NoteFileName(plans.back()) +
                                 "; choose another seed");
    }
    std::atomic<int> next{0};
    std::mutex report;
    std::exception_ptr failure;
    auto work = [&] {
      try {
        const ng::NoteRenderer renderer(a.font);
        for (int i = next++; i < a.count; i = next++) {
          const std::string name = ng::NoteFileName(plans[static_cast<std::size_t>(i)]);
          morvex::SaveBmpFile(a.out / name, renderer.render(plans[static_cast<std::size_t>(i)]));
          if (a.list) {
            const std::lock_guard<std::mutex> lock(report);
            std::printf("%s\n", name.c_str());
          }
        }
      } catch (...) {
        const std::lock_guard<std::mutex> lock(report);
        if (!failure) failure = std::current_exception();
        next = a.count;
      }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < std::min(a.jobs, std::max(a.count, 1)); ++t) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
    if (!a.list) std::printf("wrote %d notes to %s\n", a.count, a.out.string().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvex-notegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
