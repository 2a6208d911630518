// `morvex scan` run as a process against SANE's virtual devices.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "morvex/bmp.h"
#include "notegen.h"
#include "sane_fixtures.h"
#include "temp_folder.h"

extern char** environ;

namespace morvex::testing {
namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

using Env = std::vector<std::pair<std::string, std::string>>;

// Runs `morvex` with the arguments, the test's environment plus `env` (a
// value replaces the variable's), standard output and error into files.
class MorvexProcess {
 public:
  MorvexProcess(const std::vector<std::string>& args, const Env& env = {}) {
    std::vector<std::string> argv = {MORVEX_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envs;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      const std::string name = entry.substr(0, entry.find('='));
      if (std::none_of(env.begin(), env.end(), [&](const auto& kv) { return kv.first == name; })) envs.push_back(entry);
    }
    for (const auto& [name, value] : env) envs.push_back(name + "=" + value);
    std::vector<char*> a, e;
    for (std::string& s : argv) a.push_back(s.data());
    for (std::string& s : envs) e.push_back(s.data());
    a.push_back(nullptr);
    e.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, (dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, (dir_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid_, a[0], &files, nullptr, a.data(), e.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&files);
  }

  void signal(int number) const { kill(pid_, number); }

  // Waits at most `limit`; a process still running then is killed and the
  // test fails.
  Outcome wait(std::chrono::seconds limit = std::chrono::seconds(60)) {
    Outcome o;
    const auto end = std::chrono::steady_clock::now() + limit;
    int rc = 0;
    while (pid_ > 0 && waitpid(pid_, &rc, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &rc, 0);
        ADD_FAILURE() << "morvex hangs";
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    o.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    o.out = dir_.read("out");
    o.err = dir_.read("err");
    return o;
  }

 private:
  TempFolder dir_;
  pid_t pid_ = -1;
};

Outcome Morvex(const std::vector<std::string>& args, const Env& env = {}) { return MorvexProcess(args, env).wait(); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ScanCli, HelpDocumentsEveryOption) {
  for (const char* flag : {"--help", "-h"}) {
    const Outcome r = Morvex({"scan", flag});
    EXPECT_EQ(r.status, 0);
    for (const char* part : {"morvex scan --list [--json]", "--device NAME", "--option NAME=VALUE", "--save OUT.bmp",
                             "--json", "Ctrl-C", "dark background"}) {
      EXPECT_TRUE(Has(r.out, part)) << part;
    }
  }
}

TEST(ScanCli, ListsTheDevicesAsTextAndJson) {
  const Outcome text = Morvex({"scan", "--list"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(Has(text.out, "test:0\tNoname\tfrontend-tester\tvirtual device\n")) << text.out;
  EXPECT_TRUE(Has(text.out, "pnm:1\tNoname\tPNM file reader\tvirtual device\n")) << text.out;
  const Outcome json = Morvex({"scan", "--list", "--json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_TRUE(Has(json.out, "{\"name\":\"test:1\",\"vendor\":\"Noname\",\"model\":\"frontend-tester\",\"type\":\"virtual device\"}\n"))
      << json.out;
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  const char* says;
};
void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class ScanUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ScanUsage, ExitsWithTwoSayingWhy) {
  std::vector<std::string> args = {"scan"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const Outcome r = Morvex(args);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_TRUE(r.err.starts_with("morvex: ")) << r.err;
  EXPECT_TRUE(Has(r.err, GetParam().says)) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanUsage,
    ::testing::Values(
        UsageCase{"UnknownFlag", {"--fast"}, "unknown option '--fast'"},
        UsageCase{"DeviceWithoutName", {"--device"}, "--device needs"},
        UsageCase{"OptionWithoutValue", {"--option", "mode"}, "--option needs NAME=VALUE"},
        UsageCase{"ListWithDevice", {"--list", "--device", "test:0"}, "--list takes no other option"},
        UsageCase{"UnknownOptionName", {"--device", "test:0", "--option", "colour=yes"}, "scanner test:0 has no option 'colour'"},
        UsageCase{"WordNotInList", {"--device", "test:0", "--option", "mode=Colour"}, "option 'mode' does not accept 'Colour'"},
        UsageCase{"ValueOutOfRange", {"--device", "test:0", "--option", "resolution=5000"}, "from 1 to 1200 dpi"},
        UsageCase{"TextForANumber", {"--device", "test:0", "--option", "depth=eight"}, "one of 1, 8, 16"},
        UsageCase{"NoForABool", {"--device", "test:0", "--option", "hand-scanner=maybe"}, "yes or no"},
        UsageCase{"InactiveOption", {"--device", "test:0", "--option", "three-pass=yes"}, "is inactive"},
        UsageCase{"SeveralDevicesNoChoice", {}, "several scanners found, choose one with --device: pnm:0, pnm:1, test:0, test:1"}),
    [](const auto& info) { return std::string(info.param.name); });

// A rendered note, as .bmp and as the PPM the pnm device reads.
class NoteFiles {
 public:
  NoteFiles() {
    namespace ng = morvex::notegen;
    ng::GenerationOptions options = ng::PresetOptions(ng::SampleSet::Clean);
    options.dpiMin = options.dpiMax = 150;
    options.backSideShare = 0;
    options.supersample = 1;
    const ng::NoteRenderer renderer;
    note_ = renderer.render(ng::DrawNotePlan(options, 11, 0));
    SaveBmpFile(bmp(), note_);
    WritePpm(ppm(), note_);
  }
  std::filesystem::path bmp() const { return dir_ / "note.bmp"; }
  std::filesystem::path ppm() const { return dir_ / "note.ppm"; }
  const TempFolder& dir() const { return dir_; }
  const Bitmap& note() const { return note_; }

 private:
  TempFolder dir_;
  Bitmap note_;
};

// The answer without the parts that differ by nature: the source's name and
// the processing time.
std::string WithoutNameAndTime(const std::string& answer, const std::string& name) {
  std::string s = answer;
  const std::size_t at = s.find(name);
  if (at != std::string::npos) s.erase(at, name.size());
  // The processing time, "00,85 сек", differs from run to run.
  return std::regex_replace(s, std::regex("[0-9]+,[0-9]+ сек"), "T сек");
}

struct PnmCase {
  const char* name;
  std::vector<std::string> options;  // --option values for pnm:0
};
void PrintTo(const PnmCase& c, std::ostream* os) { *os << c.name; }

class PnmNote : public ::testing::TestWithParam<PnmCase> {};

TEST_P(PnmNote, ScanReadsTheNumbersAnalyseReadsAndSavesThePixels) {
  const NoteFiles files;
  const Outcome analysed = Morvex({"analyse", "--json", files.bmp().string()});
  ASSERT_EQ(analysed.status, 0) << analysed.err;
  ASSERT_TRUE(Has(analysed.out, "\"Denomination\":")) << analysed.out;
  ASSERT_FALSE(Has(analysed.out, "\"Denomination\":-1")) << "the note must be readable: " << analysed.out;

  const std::filesystem::path saved = files.dir() / "scanned.bmp";
  std::vector<std::string> args = {"scan", "--device", "pnm:0", "--option", "filename=" + files.ppm().string(),
                                   "--json", "--save", saved.string()};
  for (const std::string& o : GetParam().options) {
    args.push_back("--option");
    args.push_back(o);
  }
  const Outcome scanned = Morvex(args);
  ASSERT_EQ(scanned.status, 0) << scanned.err;
  EXPECT_EQ(WithoutNameAndTime(scanned.out, "pnm:0"), WithoutNameAndTime(analysed.out, files.bmp().string()));

  // The saved image is the note's pixels, unchanged.
  const Bitmap back = LoadBmpFile(saved);
  ASSERT_EQ(back.width(), files.note().width());
  ASSERT_EQ(back.height(), files.note().height());
  for (int y = 0; y < back.height(); y += 7) {
    for (int x = 0; x < back.width(); ++x) ASSERT_EQ(back.pixel(x, y), files.note().pixel(x, y)) << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PnmNote,
                         ::testing::Values(PnmCase{"OneFrame", {}}, PnmCase{"ThreePass", {"three-pass=yes"}},
                                           PnmCase{"HandScanner", {"hand-scanner=yes"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScanCli, TextAnswerIsAnalysesText) {
  const NoteFiles files;
  const Outcome analysed = Morvex({"analyse", files.bmp().string()});
  const Outcome scanned = Morvex({"scan", "--device", "pnm:0", "--option", "filename=" + files.ppm().string()});
  ASSERT_EQ(scanned.status, 0) << scanned.err;
  EXPECT_TRUE(scanned.out.starts_with("pnm:0\n")) << scanned.out;
  EXPECT_EQ(WithoutNameAndTime(scanned.out, "pnm:0"), WithoutNameAndTime(analysed.out, files.bmp().string()));
}

TEST(ScanCli, RobustAnswerIsAnalysesRobustAnswerWithConfidences) {
  const NoteFiles files;
  const Outcome analysed = Morvex({"analyse", "--robust", "--json", files.bmp().string()});
  const Outcome scanned =
      Morvex({"scan", "--robust", "--json", "--device", "pnm:0", "--option", "filename=" + files.ppm().string()});
  ASSERT_EQ(scanned.status, 0) << scanned.err;
  EXPECT_TRUE(Has(scanned.out, "\"Zone1Confidence\":")) << scanned.out;
  EXPECT_TRUE(Has(scanned.out, "\"Zone2Confidence\":")) << scanned.out;
  EXPECT_EQ(WithoutNameAndTime(scanned.out, "pnm:0"), WithoutNameAndTime(analysed.out, files.bmp().string()));
}

TEST(ScanCli, SaveNeverOverwritesAFile) {
  TempFolder dir;
  dir.write("taken.bmp", "keep me");
  const Outcome r = Morvex({"scan", "--device", "test:0", "--save", (dir / "taken.bmp").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "taken.bmp: the file exists and is not overwritten")) << r.err;
  EXPECT_EQ(dir.read("taken.bmp"), "keep me");
  EXPECT_TRUE(r.out.empty());
}

struct FailedScan {
  const char* name;
  std::vector<std::string> args;
  const char* says;
};
void PrintTo(const FailedScan& c, std::ostream* os) { *os << c.name; }

class ScanFailure : public ::testing::TestWithParam<FailedScan> {};

TEST_P(ScanFailure, ExitsWithOneAndLeavesNoFile) {
  TempFolder dir;
  WritePpm(dir / "in.ppm", SolidBitmap(16, 8, MakeColour(200, 100, 50)));  // what pnm:0 reads
  std::vector<std::string> args = {"scan", "--save", (dir / "out.bmp").string()};
  for (const std::string& a : GetParam().args) args.push_back(a == "{ppm}" ? "filename=" + (dir / "in.ppm").string() : a);
  const Outcome r = Morvex(args);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, GetParam().says)) << r.err;
  EXPECT_FALSE(dir.exists("out.bmp"));
  EXPECT_TRUE(r.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanFailure,
    ::testing::Values(
        FailedScan{"Jammed", {"--device", "test:0", "--option", "read-return-value=SANE_STATUS_JAMMED"}, "Document feeder jammed (jammed)"},
        FailedScan{"CoverOpen", {"--device", "pnm:0", "--option", "{ppm}", "--option", "status-coveropen=yes"}, "(cover open)"},
        FailedScan{"IoError", {"--device", "pnm:0", "--option", "{ppm}", "--option", "status-ioerror=yes"}, "(I/O error)"},
        FailedScan{"NoSuchFileForPnm", {"--device", "pnm:0", "--option", "filename=/nonexistent/in.ppm"}, "(invalid argument)"},
        FailedScan{"NoSuchDevice", {"--device", "test:7"}, "cannot open scanner test:7"},
        FailedScan{"ColourAtOneBit", {"--device", "test:0", "--option", "mode=Color", "--option", "depth=1"},
                   "colour at 1 bit per sample cannot be turned into a bitmap"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScanCli, AnImageWithoutANoteGivesTheFailureAnswer) {
  TempFolder dir;
  // The test picture is solid black: nothing to find, which is no error.
  const Outcome r = Morvex({"scan", "--device", "test:0", "--save", (dir / "black.bmp").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("test:0\n  Zone1Number   #######\n  Zone2Number   #######\n  Denomination  -1\n")) << r.out;
  const Bitmap saved = LoadBmpFile(dir / "black.bmp");
  EXPECT_EQ(saved.sourceBitDepth(), 8);  // grey, as scanned
  EXPECT_EQ(saved.pixel(5, 5), MakeColour(0, 0, 0));
}

TEST(ScanCli, CtrlCCancelsTheScanAndLeavesNoFile) {
  TempFolder dir;
  MorvexProcess run({"scan", "--device", "test:0", "--option", "resolution=600", "--option", "read-delay=yes", "--option",
           "read-delay-duration=100000", "--save", (dir / "out.bmp").string()});
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const auto sent = std::chrono::steady_clock::now();
  run.signal(SIGINT);
  const Outcome r = run.wait(std::chrono::seconds(30));
  EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(3));  // the whole scan takes about 7 s
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "scan of test:0: ")) << r.err;
  EXPECT_TRUE(Has(r.err, "(cancelled)")) << r.err;
  EXPECT_TRUE(dir.names().empty());
}

// SANE with only the devices of the given dll.conf (and test.conf).
class OwnSaneConfig {
 public:
  OwnSaneConfig(const std::string& dll, const std::string& test = "") {
    dir_.write("dll.conf", dll);
    if (!test.empty()) dir_.write("test.conf", test);
  }
  // No trailing colon: the system's folder is left out altogether.
  std::pair<std::string, std::string> env() const { return {"SANE_CONFIG_DIR", dir_.path().string()}; }

 private:
  TempFolder dir_;
};

TEST(DefaultDevice, TheRememberedScannerIsUsed) {
  TempFolder config;
  std::filesystem::create_directories(config / "morvex");
  config.write("morvex/scanner", "test:1\n");
  const Outcome r = Morvex({"scan"}, {{"XDG_CONFIG_HOME", config.path().string()}});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("test:1\n")) << r.out;
}

TEST(DefaultDevice, AGoneScannerWithSeveralLeftIsAnErrorListingThem) {
  TempFolder config;
  std::filesystem::create_directories(config / "morvex");
  config.write("morvex/scanner", "epson2:libusb:001:004\n");
  const Outcome r = Morvex({"scan"}, {{"XDG_CONFIG_HOME", config.path().string()}});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "choose one with --device: pnm:0, pnm:1, test:0, test:1")) << r.err;
}

TEST(DefaultDevice, TheOnlyScannerIsUsed) {
  TempFolder config;
  const OwnSaneConfig sane("test\n", "number_of_devices 1\n");
  const Outcome r = Morvex({"scan", "--json"}, {{"XDG_CONFIG_HOME", config.path().string()}, sane.env()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("{\"file\":\"test:0\",\"Zone1Number\":\"#######\"")) << r.out;
}

TEST(DefaultDevice, NoScannerAtAllIsAFailure) {
  TempFolder config;
  const OwnSaneConfig sane("");
  const Outcome r = Morvex({"scan"}, {{"XDG_CONFIG_HOME", config.path().string()}, sane.env()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "morvex: no scanner found")) << r.err;
  const Outcome list = Morvex({"scan", "--list"}, {sane.env()});
  EXPECT_EQ(list.status, 0);
  EXPECT_TRUE(list.out.empty());
}

}  // namespace
}  // namespace morvex::testing
