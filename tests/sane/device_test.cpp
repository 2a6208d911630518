// The device layer over SANE's test backend: every frame format compared with
// what scanimage makes of it, every forced status, cancelling, the feeder and
// options of every type.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "morvex/sane/device.h"
#include "morvex/sane/error.h"
#include "morvex/sane/option_text.h"
#include "sane_fixtures.h"
#include "temp_folder.h"

namespace morvex::sane {
namespace {

using morvex::testing::Apply;
using morvex::testing::Settings;
using morvex::testing::TempFolder;

// A small, quick picture with something in it.
const Settings kBase = {{"resolution", "25"}, {"test-picture", "Color pattern"}};

Settings With(Settings more) {
  Settings s = kBase;
  s.insert(s.end(), more.begin(), more.end());
  return s;
}

struct FrameCase {
  const char* name;
  Settings settings;
  int bits;
  // scanimage's settings for the same picture when it cannot take ours
  // (it refuses three-pass at 16 bits); empty: the same settings.
  Settings reference = {};
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class FrameFormats : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameFormats, GiveScanimagesPicture) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, GetParam().settings);
  HeapDibStorage dib;
  const ScannedImage image = device.scan(dib, nullptr);
  EXPECT_EQ(image.bitsPerPixel, GetParam().bits);
  EXPECT_EQ(OptionValue(std::vector<double>{static_cast<double>(image.dpiX)}), device.get("resolution"));
  TempFolder folder;
  const Settings& settings = GetParam().reference.empty() ? GetParam().settings : GetParam().reference;
  const auto reference = morvex::testing::ScanimagePicture("test:0", settings, folder.path());
  morvex::testing::ExpectSamePicture(dib.bytes().first(image.dibSize), reference);
}

INSTANTIATE_TEST_SUITE_P(
    TestBackend, FrameFormats,
    ::testing::Values(
        FrameCase{"Gray1", With({{"mode", "Gray"}, {"depth", "1"}}), 1},
        FrameCase{"Gray8", With({{"mode", "Gray"}, {"depth", "8"}}), 8},
        FrameCase{"Gray16", With({{"mode", "Gray"}, {"depth", "16"}}), 8},
        FrameCase{"Color8", With({{"mode", "Color"}, {"depth", "8"}}), 24},
        FrameCase{"Color16", With({{"mode", "Color"}, {"depth", "16"}}), 24},
        FrameCase{"ThreePassRGB", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "RGB"}}), 24},
        FrameCase{"ThreePassRBG", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "RBG"}}), 24},
        FrameCase{"ThreePassGBR", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "GBR"}}), 24},
        FrameCase{"ThreePassGRB", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "GRB"}}), 24},
        FrameCase{"ThreePassBRG", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "BRG"}}), 24},
        FrameCase{"ThreePassBGR", With({{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "BGR"}}), 24},
        FrameCase{"ThreePass16", With({{"mode", "Color"}, {"depth", "16"}, {"three-pass", "yes"}}), 24,
                  With({{"mode", "Color"}, {"depth", "16"}})},
        FrameCase{"HandScannerGray8", With({{"mode", "Gray"}, {"hand-scanner", "yes"}}), 8},
        FrameCase{"HandScannerColor16", With({{"mode", "Color"}, {"depth", "16"}, {"hand-scanner", "yes"}}), 24},
        FrameCase{"HandScannerThreePass", With({{"mode", "Color"}, {"hand-scanner", "yes"}, {"three-pass", "yes"}}), 24},
        FrameCase{"OneByteReads", With({{"mode", "Color"}, {"resolution", "10"}, {"read-limit", "yes"}, {"read-limit-size", "1"}}), 24},
        FrameCase{"OddSizedReads", With({{"mode", "Gray"}, {"depth", "16"}, {"read-limit", "yes"}, {"read-limit-size", "7"}}), 8},
        FrameCase{"PixelsLostAtLineEndsGray8", With({{"mode", "Gray"}, {"ppl-loss", "3"}}), 8},
        FrameCase{"PixelsLostAtLineEndsColor", With({{"mode", "Color"}, {"ppl-loss", "5"}}), 24},
        FrameCase{"FuzzyParameters", With({{"mode", "Color"}, {"fuzzy-parameters", "yes"}}), 24},
        FrameCase{"NonBlocking", With({{"mode", "Gray"}, {"non-blocking", "yes"}}), 8},
        FrameCase{"GridGray1", {{"resolution", "30"}, {"test-picture", "Grid"}, {"mode", "Gray"}, {"depth", "1"}}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct Fault {
  const char* name;
  const char* forced;  // read-return-value
  Status status;
  const char* says;
};
void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

class ForcedStatus : public ::testing::TestWithParam<Fault> {};

TEST_P(ForcedStatus, EndsTheScanNamingItAndTheNextScanWorks) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, kBase);
  HeapDibStorage before;
  const ScannedImage first = device.scan(before, nullptr);
  Apply(device, {{"read-return-value", GetParam().forced}});
  HeapDibStorage dib;
  try {
    device.scan(dib, nullptr);
    FAIL() << "scan succeeded";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), GetParam().status);
    const std::string what = e.what();
    EXPECT_NE(what.find("scan of test:0"), std::string::npos) << what;
    EXPECT_NE(what.find(GetParam().says), std::string::npos) << what;
  }
  Apply(device, {{"read-return-value", "Default"}});
  const ScannedImage image = device.scan(dib, nullptr);
  ASSERT_EQ(image.dibSize, first.dibSize);
  EXPECT_TRUE(std::equal(before.bytes().begin(), before.bytes().end(), dib.bytes().begin()));
}

INSTANTIATE_TEST_SUITE_P(
    TestBackend, ForcedStatus,
    ::testing::Values(Fault{"Busy", "SANE_STATUS_DEVICE_BUSY", Status::DeviceBusy, "(busy)"},
                      Fault{"Jammed", "SANE_STATUS_JAMMED", Status::Jammed, "Document feeder jammed (jammed)"},
                      Fault{"NoDocuments", "SANE_STATUS_NO_DOCS", Status::NoDocuments, "(no documents)"},
                      Fault{"CoverOpen", "SANE_STATUS_COVER_OPEN", Status::CoverOpen, "Scanner cover is open (cover open)"},
                      Fault{"IoError", "SANE_STATUS_IO_ERROR", Status::IoError, "(I/O error)"},
                      Fault{"OutOfMemory", "SANE_STATUS_NO_MEM", Status::NoMemory, "(out of memory)"},
                      Fault{"AccessDenied", "SANE_STATUS_ACCESS_DENIED", Status::AccessDenied, "(access denied)"},
                      Fault{"Unsupported", "SANE_STATUS_UNSUPPORTED", Status::Unsupported, "(unsupported)"},
                      Fault{"Invalid", "SANE_STATUS_INVAL", Status::Invalid, "(invalid argument)"},
                      Fault{"Cancelled", "SANE_STATUS_CANCELLED", Status::Cancelled, "(cancelled)"},
                      Fault{"EndAtOnce", "SANE_STATUS_EOF", Status::Invalid, "the scanner sent no image data"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Feeder, RunsEmptyAfterTenScansWithNoDocuments) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, {{"resolution", "10"}, {"source", "Automatic Document Feeder"}});
  HeapDibStorage dib;
  for (int i = 0; i < 10; ++i) EXPECT_NO_THROW(device.scan(dib, nullptr)) << "scan " << i + 1;
  try {
    device.scan(dib, nullptr);
    FAIL() << "an eleventh page";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::NoDocuments);
    EXPECT_NE(std::string(e.what()).find("(no documents)"), std::string::npos) << e.what();
  }
}

// A slow scan: the backend pauses 0.1 s after each of some 70 buffers, so
// the whole scan takes about 7 s.
const Settings kSlow = {{"resolution", "600"}, {"read-limit", "yes"}, {"read-limit-size", "4096"},
                        {"read-delay", "yes"}, {"read-delay-duration", "100000"}};

// A scan after a cancelled one gives the whole picture: the one scanimage
// gives for `reference` when that is given.
void ExpectScansAgain(Device& device, const Settings& reference = {}) {
  Apply(device, {{"read-delay", "no"}, {"resolution", "50"}});
  const FrameParameters expected = device.estimatedParameters();
  HeapDibStorage dib;
  const ScannedImage image = device.scan(dib, nullptr);
  EXPECT_EQ(image.width, expected.pixelsPerLine);
  EXPECT_EQ(image.height, expected.lines);
  if (!reference.empty()) {
    TempFolder folder;
    morvex::testing::ExpectSamePicture(dib.bytes().first(image.dibSize),
                                       morvex::testing::ScanimagePicture("test:0", reference, folder.path()));
  }
}

TEST(Cancel, FromAnotherThreadEndsASlowScanAndTheDeviceScansAgain) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, kSlow);
  std::stop_source stop;
  std::promise<void> started;
  std::atomic<bool> signalled{false};
  HeapDibStorage dib;
  auto scan = std::async(std::launch::async, [&] {
    device.scan(
        dib, [&](const ScanProgress& p) {
          if (p.rowsDone > 0 && !signalled.exchange(true)) started.set_value();
        },
        stop.get_token());
  });
  started.get_future().wait();
  const auto before = std::chrono::steady_clock::now();
  stop.request_stop();
  try {
    scan.get();
    FAIL() << "the scan was not cancelled";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::Cancelled);
    EXPECT_NE(std::string(e.what()).find("(cancelled)"), std::string::npos);
  }
  // The whole slow scan takes many seconds; a cancel ends it within a few reads.
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
  ExpectScansAgain(device);
}

TEST(Cancel, FromTheProgressCallbackItself) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, {{"resolution", "50"}, {"read-limit", "yes"}, {"read-limit-size", "500"}});
  std::stop_source stop;
  HeapDibStorage dib;
  int calls = 0;
  try {
    device.scan(
        dib, [&](const ScanProgress& p) {
          ++calls;
          if (p.rowsDone >= 10) stop.request_stop();
        },
        stop.get_token());
    FAIL() << "the scan was not cancelled";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::Cancelled);
  }
  EXPECT_LT(calls, 50);
  ExpectScansAgain(device);
}

TEST(Cancel, RequestedBeforeTheScanStartsNothing) {
  Session session;
  Device device = session.open("test:0");
  std::stop_source stop;
  stop.request_stop();
  HeapDibStorage dib;
  bool called = false;
  try {
    device.scan(dib, [&](const ScanProgress&) { called = true; }, stop.get_token());
    FAIL() << "the scan was not cancelled";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::Cancelled);
  }
  EXPECT_FALSE(called);
  ExpectScansAgain(device);
}

class CancelAtAnyMoment : public ::testing::TestWithParam<int> {};

TEST_P(CancelAtAnyMoment, NeverHangsAndLeavesTheDeviceReady) {
  Session session;
  Device device = session.open("test:0");
  // Three frames of some 17 buffers, 20 ms apart: about a second in all, so
  // every moment below falls inside the scan, in one frame or between two.
  Apply(device, {{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "GBR"}, {"test-picture", "Color pattern"},
                 {"resolution", "300"}, {"read-limit", "yes"}, {"read-limit-size", "3000"}, {"read-delay", "yes"},
                 {"read-delay-duration", "20000"}});
  std::stop_source stop;
  HeapDibStorage dib;
  auto scan = std::async(std::launch::async, [&] { return device.scan(dib, nullptr, stop.get_token()); });
  std::this_thread::sleep_for(std::chrono::milliseconds(GetParam()));
  stop.request_stop();
  ASSERT_EQ(scan.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "the scan hangs";
  try {
    scan.get();
    FAIL() << "a stop request ends the scan as cancelled";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::Cancelled);
  }
  // A three-pass scan cancelled between colours: the next one is still whole.
  ExpectScansAgain(device, {{"mode", "Color"}, {"three-pass", "yes"}, {"three-pass-order", "GBR"},
                            {"test-picture", "Color pattern"}, {"resolution", "50"}});
}

INSTANTIATE_TEST_SUITE_P(Milliseconds, CancelAtAnyMoment, ::testing::Values(0, 1, 3, 10, 30, 100, 300, 500),
                         [](const auto& info) { return std::to_string(info.param) + "ms"; });

TEST(Progress, CountsRowsOfEveryFrame) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, With({{"mode", "Color"}, {"three-pass", "yes"}}));
  HeapDibStorage dib;
  std::vector<ScanProgress> seen;
  device.scan(dib, [&](const ScanProgress& p) { seen.push_back(p); });
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().frame, 3);
  EXPECT_EQ(seen.back().frames, 3);
  EXPECT_EQ(seen.back().rowsDone, 98);
  EXPECT_EQ(seen.back().rowsTotal, 98);
  EXPECT_DOUBLE_EQ(seen.back().fraction(), 1.0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end(), [](const ScanProgress& a, const ScanProgress& b) {
    return a.fraction() < b.fraction();
  }));
}

const OptionDescriptor& Find(const Device& device, const std::string& name) {
  const OptionDescriptor* o = device.find(name);
  if (!o) throw std::runtime_error("no option " + name);
  return *o;
}

TEST(Options, DescribeEveryTypeConstraintAndUnit) {
  Session session;
  Device device = session.open("test:0");
  EXPECT_FALSE(Find(device, "int").active);  // the test options start inactive
  const SetResult enabled = device.set("enable-test-options", true);
  EXPECT_TRUE(enabled.reloadOptions);
  EXPECT_TRUE(Find(device, "int").active);

  EXPECT_TRUE(std::any_of(device.options().begin(), device.options().end(),
                          [](const OptionDescriptor& o) { return o.type == OptionType::Group && !o.title.empty(); }));
  const OptionDescriptor& range = Find(device, "int-constraint-range");
  EXPECT_EQ(range.type, OptionType::Int);
  EXPECT_EQ(range.unit, OptionUnit::Pixel);
  EXPECT_EQ(range.constraint, ConstraintKind::Range);
  EXPECT_EQ(range.range.min, 4);
  EXPECT_EQ(range.range.max, 192);
  EXPECT_EQ(range.range.quant, 2);
  const OptionDescriptor& words = Find(device, "int-constraint-word-list");
  EXPECT_EQ(words.unit, OptionUnit::Bit);
  EXPECT_EQ(words.constraint, ConstraintKind::WordList);
  EXPECT_EQ(words.words.front(), -42);
  EXPECT_EQ(words.words.back(), 1073741824);
  const OptionDescriptor& array = Find(device, "int-constraint-array");
  EXPECT_EQ(array.unit, OptionUnit::Mm);
  EXPECT_GT(array.count, 1);
  const OptionDescriptor& fixed = Find(device, "fixed-constraint-range");
  EXPECT_EQ(fixed.type, OptionType::Fixed);
  EXPECT_EQ(fixed.unit, OptionUnit::Microsecond);
  EXPECT_NEAR(fixed.range.min, -42.17, 1e-4);
  EXPECT_EQ(Find(device, "string-constraint-string-list").constraint, ConstraintKind::StringList);
  EXPECT_EQ(Find(device, "string-constraint-string-list").strings.front(), "First entry");
  EXPECT_EQ(Find(device, "button").type, OptionType::Button);
  EXPECT_EQ(Find(device, "bool-soft-select-soft-detect").type, OptionType::Bool);
  EXPECT_TRUE(Find(device, "bool-soft-select-soft-detect-auto").automatic);
  EXPECT_EQ(Find(device, "resolution").unit, OptionUnit::Dpi);
  EXPECT_EQ(Find(device, "tl-x").unit, OptionUnit::Mm);
}

TEST(Options, SetAndReadBackEveryType) {
  Session session;
  Device device = session.open("test:0");
  device.set("enable-test-options", true);
  const std::vector<std::pair<std::string, OptionValue>> values = {
      {"bool-soft-select-soft-detect", true},
      {"int", std::vector<std::int32_t>{-7}},
      {"int-constraint-range", std::vector<std::int32_t>{100}},
      {"int-constraint-word-list", std::vector<std::int32_t>{65536}},
      {"fixed", std::vector<double>{-3.25}},
      {"fixed-constraint-word-list", std::vector<double>{129.5}},
      {"string", std::string("hello")},
      {"string-constraint-string-list", std::string("Second entry")}};
  for (const auto& [name, value] : values) {
    const SetResult r = device.set(name, value);
    EXPECT_FALSE(r.inexact) << name;
    EXPECT_EQ(device.get(name), value) << name;
  }
  const OptionDescriptor& array = Find(device, "int-constraint-array");
  std::vector<std::int32_t> many(static_cast<std::size_t>(array.count));
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::int32_t>(i * 3);
  device.set("int-constraint-array", many);
  EXPECT_EQ(device.get("int-constraint-array"), OptionValue(many));
  EXPECT_NO_THROW(device.set("button", std::monostate{}));
  EXPECT_NO_THROW(device.setAuto("bool-soft-select-soft-detect-auto"));
}

TEST(Options, InexactAndReloadAreReported) {
  Session session;
  Device device = session.open("test:0");
  device.set("enable-test-options", true);
  const SetResult inexact = device.set("int-inexact", std::vector<std::int32_t>{17});
  EXPECT_TRUE(inexact.inexact);
  EXPECT_EQ(inexact.value, device.get("int-inexact"));
  EXPECT_NE(inexact.value, OptionValue(std::vector<std::int32_t>{17}));

  EXPECT_FALSE(Find(device, "three-pass").active);
  const SetResult colour = device.set("mode", std::string("Color"));
  EXPECT_TRUE(colour.reloadOptions);
  EXPECT_TRUE(colour.reloadParameters);
  EXPECT_TRUE(Find(device, "three-pass").active);  // the descriptors were read again
  EXPECT_EQ(colour.value, OptionValue(std::string("Color")));
}

TEST(Options, WrongNamesKindsAndValuesAreRefused) {
  Session session;
  Device device = session.open("test:0");
  EXPECT_THROW(device.set("no-such-option", true), OptionError);
  EXPECT_THROW(device.get("no-such-option"), OptionError);
  EXPECT_THROW(device.set("three-pass", true), OptionError);          // inactive in grey mode
  EXPECT_THROW(device.set("resolution", std::string("300")), OptionError);  // wrong kind
  try {
    device.set("mode", std::string("Line"));
    FAIL() << "accepted";
  } catch (const SaneError& e) {
    EXPECT_EQ(e.status(), Status::Invalid);
  }
}

TEST(Options, EstimatedParametersFollowTheOptions) {
  Session session;
  Device device = session.open("test:0");
  Apply(device, {{"mode", "Color"}, {"resolution", "100"}});
  const FrameParameters p = device.estimatedParameters();
  EXPECT_EQ(p.format, FrameFormat::Rgb);
  HeapDibStorage dib;
  const ScannedImage image = device.scan(dib, nullptr);
  EXPECT_EQ(p.pixelsPerLine, image.width);
  EXPECT_EQ(p.lines, image.height);
  EXPECT_GT(image.width, 300);  // 80 mm at 100 dpi
}

TEST(Session, ListsTheVirtualDevicesAndOutlivesOtherSessions) {
  std::optional<Session> first(std::in_place);
  Session second;
  const std::vector<DeviceInfo> devices = second.devices();
  const auto test0 = std::find_if(devices.begin(), devices.end(), [](const DeviceInfo& d) { return d.name == "test:0"; });
  ASSERT_NE(test0, devices.end());
  EXPECT_EQ(test0->vendor, "Noname");
  EXPECT_EQ(test0->model, "frontend-tester");
  EXPECT_EQ(test0->type, "virtual device");
  Device device = first->open("test:1");
  first.reset();  // the device keeps SANE up, and so does the second session
  HeapDibStorage dib;
  EXPECT_NO_THROW(device.scan(dib, nullptr));
  EXPECT_NO_THROW(second.open("pnm:0"));
}

TEST(Session, AnUnknownDeviceCannotBeOpened) {
  Session session;
  try {
    session.open("test:99");
    FAIL() << "opened";
  } catch (const SaneError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot open scanner test:99"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace morvex::sane
