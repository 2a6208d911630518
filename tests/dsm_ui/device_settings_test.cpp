// Settings remembered per device across runs.
#include "device_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "config_home.h"
#include "morvex/sane/option_text.h"
#include "morvex/sane/session.h"
#include "sane_fixtures.h"

namespace morvex::dsm {
namespace {

std::string Value(const sane::Device& device, const std::string& name) { return sane::FormatValue(device.get(name)); }

class DeviceSettingsTest : public ::testing::Test {
 protected:
  morvex::testing::ConfigHome home_;
  sane::Session session_;
};

TEST_F(DeviceSettingsTest, RememberedSettingsComeBack) {
  sane::Device device = session_.open("test:0");
  testing::Apply(device, {{"enable-test-options", "yes"},
                          {"mode", "Color"},
                          {"three-pass", "yes"},  // active only in colour: must come after the mode
                          {"resolution", "123"},
                          {"tl-x", "10"},
                          {"br-y", "150"},
                          {"int-constraint-array", "1,2,3,4,5,6"},
                          {"string", "a\\b\nsecond line, with a comma"}});
  RememberSettings(device);
  // Everything changed back (the test device keeps its values while SANE
  // stays initialised, so reopening would show nothing).
  testing::Apply(device, {{"int-constraint-array", "0,0,0,0,0,0"},
                          {"string", "x"},
                          {"enable-test-options", "no"},
                          {"three-pass", "no"},
                          {"mode", "Gray"},
                          {"resolution", "50"},
                          {"tl-x", "0"},
                          {"br-y", "100"}});
  ApplyRememberedSettings(device);
  EXPECT_EQ(Value(device, "mode"), "Color");
  EXPECT_EQ(Value(device, "three-pass"), "yes");
  EXPECT_EQ(Value(device, "resolution"), "123");
  EXPECT_EQ(Value(device, "tl-x"), "10");
  EXPECT_EQ(Value(device, "br-y"), "150");
  EXPECT_EQ(Value(device, "int-constraint-array"), "1,2,3,4,5,6");
  EXPECT_EQ(Value(device, "string"), "a\\b\nsecond line, with a comma");
}

TEST_F(DeviceSettingsTest, EachDeviceKeepsItsOwnSettings) {
  {
    sane::Device first = session_.open("test:0");
    testing::Apply(first, {{"resolution", "300"}});
    RememberSettings(first);
  }
  sane::Device second = session_.open("test:1");
  ApplyRememberedSettings(second);
  EXPECT_EQ(Value(second, "resolution"), "50");
}

TEST_F(DeviceSettingsTest, WhatNoLongerFitsIsSkippedAndTheRestApplied) {
  const auto file = SettingsFile("test:0");
  ASSERT_TRUE(file);
  std::filesystem::create_directories(file->parent_path());
  std::ofstream(*file) << "no-such-option=1\n"
                          "resolution=not a number\n"
                          "three-pass=yes\n"  // inactive in grey
                          "garbage line without equals\n"
                          "=5\n"
                          "depth=16\n";
  sane::Device device = session_.open("test:0");
  EXPECT_NO_THROW(ApplyRememberedSettings(device));
  EXPECT_EQ(Value(device, "depth"), "16");
  EXPECT_EQ(Value(device, "resolution"), "50");
}

TEST_F(DeviceSettingsTest, NoFileChangesNothing) {
  sane::Device device = session_.open("test:0");
  EXPECT_NO_THROW(ApplyRememberedSettings(device));
  EXPECT_EQ(Value(device, "mode"), "Gray");
}

TEST_F(DeviceSettingsTest, TheFileLivesInTheConfigFolderUnderANameSafeForAnyDevice) {
  const auto file = SettingsFile("epson2:libusb:001:004");
  ASSERT_TRUE(file);
  EXPECT_EQ(*file, home_.path() / "morvex" / "device-epson2%3Alibusb%3A001%3A004.conf");
  // No path can be formed from a device name.
  EXPECT_EQ(SettingsFile("../../x/y")->filename(), "device-..%2F..%2Fx%2Fy.conf");
  EXPECT_EQ(SettingsFile("../../x/y")->parent_path(), home_.path() / "morvex");
}

TEST_F(DeviceSettingsTest, AFolderThatCannotBeWrittenLeavesTheSettingsUnrememberedWithoutFailing) {
  // "morvex" is a file here, so no folder of that name can be made.
  std::ofstream(home_.path() / "morvex") << "in the way\n";
  sane::Device device = session_.open("test:0");
  EXPECT_NO_THROW(RememberSettings(device));
}

}  // namespace
}  // namespace morvex::dsm
