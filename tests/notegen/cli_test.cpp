// The morvex-notegen command: the files it writes and its argument checks.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "morvex/bmp.h"
#include "notegen.h"
#include "case_name.h"

namespace fs = std::filesystem;
namespace ng = morvex::notegen;

namespace {

struct CommandRun {
  int status = -1;
  std::string out;
};

CommandRun Command(const std::string& args) {
  CommandRun r;
  const std::string line = std::string(MORVEX_NOTEGEN_EXE) + " " + args + " 2>&1";
  FILE* p = popen(line.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("notegen-cli-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }
  fs::path dir_;
};

TEST_F(CliTest, WritesTheSetItsSeedDescribes) {
  const CommandRun r = Command("--out " + dir_.string() + " --count 3 --seed 11 --set typical --dpi 150 --grey8 --jobs 2");
  ASSERT_EQ(r.status, 0) << r.out;
  ng::GenerationOptions o = ng::PresetOptions(ng::SampleSet::Typical);
  o.dpiMin = o.dpiMax = 150;
  o.grey8 = true;
  const ng::NoteRenderer renderer;
  std::set<std::string> expected;
  for (int i = 0; i < 3; ++i) {
    const ng::NotePlan plan = ng::DrawNotePlan(o, 11, i);
    expected.insert(ng::NoteFileName(plan));
    const morvex::Bitmap file = morvex::LoadBmpFile(dir_ / ng::NoteFileName(plan));
    const morvex::Bitmap memory = renderer.render(plan);
    EXPECT_EQ(file.sourceBitDepth(), 8);
    ASSERT_EQ(file.width(), memory.width());
    ASSERT_EQ(file.height(), memory.height());
    int differ = 0;
    for (int y = 0; y < file.height(); ++y)
      for (int x = 0; x < file.width(); ++x) differ += file.pixel(x, y) != memory.pixel(x, y);
    EXPECT_EQ(differ, 0) << ng::NoteFileName(plan);
  }
  EXPECT_EQ(Files(), expected);
}

TEST_F(CliTest, FirstIndexExtendsASet) {
  ASSERT_EQ(Command("--out " + dir_.string() + " --count 2 --seed 4 --dpi 150").status, 0);
  ASSERT_EQ(Command("--out " + dir_.string() + " --count 1 --first 2 --seed 4 --dpi 150 --list").status, 0);
  const std::set<std::string> two = Files();
  fs::remove_all(dir_);
  ASSERT_EQ(Command("--out " + dir_.string() + " --count 3 --seed 4 --dpi 150").status, 0);
  EXPECT_EQ(Files(), two);
}

struct BadArgs {
  const char* args;
  const char* message;
};

class CliRejectsTest : public ::testing::TestWithParam<BadArgs> {};

TEST_P(CliRejectsTest, WithUsageExitCode) {
  const CommandRun r = Command(GetParam().args);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find(GetParam().message), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Args, CliRejectsTest,
                         ::testing::Values(BadArgs{"--count 3", "--out DIR is required"},
                                           BadArgs{"--out /tmp/x --set easy", "unknown set"},
                                           BadArgs{"--out /tmp/x --count three", "whole number"},
                                           BadArgs{"--out /tmp/x --tilt 50", "at most 45"},
                                           BadArgs{"--out /tmp/x --dpi-min 300 --dpi-max 200", "resolutions"},
                                           BadArgs{"--out /tmp/x --back-side-share 1.5", "share"},
                                           BadArgs{"--out /tmp/x --frobnicate 1", "unknown option"}),
                         [](const auto& info) { return ::morvex::testing::CaseName(info.param.args); });

TEST(CliHelpTest, DescribesTheTemplateAndSets) {
  const CommandRun r = Command("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Note-dpi-s-o-vvvv-SSnnnnnnn.bmp"), std::string::npos);
  for (const char* word : {"clean", "typical", "hard", "--grey8", "--tilt", "--back-side-share"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

}  // namespace
