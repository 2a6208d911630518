// The remembered scanner and the choice of a device without --device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "morvex/sane/default_device.h"
#include "temp_folder.h"

namespace morvex::sane {
namespace {

using morvex::testing::TempFolder;

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(RememberedDevice, LivesUnderXdgConfigHome) {
  TempFolder dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
  EXPECT_EQ(RememberedDeviceFile(), dir.path() / "morvex" / "scanner");
  EXPECT_EQ(ReadRememberedDevice(), std::nullopt);
  WriteRememberedDevice("epson2:libusb:001:004");
  EXPECT_EQ(ReadRememberedDevice(), "epson2:libusb:001:004");
  WriteRememberedDevice("test:1");  // replaces the name before
  EXPECT_EQ(ReadRememberedDevice(), "test:1");
  EXPECT_EQ(dir.read("morvex/scanner"), "test:1\n");
  EXPECT_EQ(std::vector<std::string>{"scanner"}, [&] {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / "morvex")) names.push_back(e.path().filename());
    return names;
  }());  // no temporary file left beside it
}

TEST(RememberedDevice, FallsBackToDotConfigUnderHome) {
  TempFolder dir;
  ScopedEnv home("HOME", dir.path().c_str());
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
  EXPECT_EQ(RememberedDeviceFile(), dir.path() / ".config" / "morvex" / "scanner");
  WriteRememberedDevice("pnm:0");
  EXPECT_EQ(dir.read(".config/morvex/scanner"), "pnm:0\n");
}

TEST(RememberedDevice, WithoutAnyFolderNothingIsRememberedAndWritingSaysSo) {
  ScopedEnv home("HOME", nullptr);
  ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(RememberedDeviceFile(), std::nullopt);
  EXPECT_EQ(ReadRememberedDevice(), std::nullopt);
  EXPECT_THROW(WriteRememberedDevice("test:0"), std::runtime_error);
}

TEST(RememberedDevice, ANameWithALineBreakIsRefused) {
  TempFolder dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
  EXPECT_THROW(WriteRememberedDevice("a\nb"), std::runtime_error);
  EXPECT_THROW(WriteRememberedDevice(""), std::runtime_error);
}

struct Choice {
  const char* name;
  std::vector<std::string> devices;
  std::optional<std::string> remembered;
  std::optional<std::string> chosen;
};
void PrintTo(const Choice& c, std::ostream* os) { *os << c.name; }

class ChooseDeviceTable : public ::testing::TestWithParam<Choice> {};

TEST_P(ChooseDeviceTable, PrefersTheRememberedThenTheOnlyOne) {
  std::vector<DeviceInfo> devices;
  for (const std::string& n : GetParam().devices) devices.push_back({n, "v", "m", "t"});
  EXPECT_EQ(ChooseDevice(devices, GetParam().remembered), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChooseDeviceTable,
    ::testing::Values(Choice{"RememberedAmongSeveral", {"pnm:0", "test:0", "test:1"}, "test:1", "test:1"},
                      Choice{"RememberedGoneOnlyOneLeft", {"pnm:0"}, "test:1", "pnm:0"},
                      Choice{"RememberedGoneSeveralLeft", {"pnm:0", "test:0"}, "test:1", std::nullopt},
                      Choice{"NothingRememberedOneDevice", {"test:0"}, std::nullopt, "test:0"},
                      Choice{"NothingRememberedSeveral", {"test:0", "test:1"}, std::nullopt, std::nullopt},
                      Choice{"NoDevices", {}, "test:0", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvex::sane
