#include "morvex/app/html.h"

#include <gtest/gtest.h>

#include "morvex/app/cp1251.h"
#include "temp_folder.h"
#include "case_name.h"

namespace morvex::app {
namespace {

struct EscapeCase {
  const char* text;
  const char* escaped;
};

class Escaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, EscapesMarkupCharacters) { EXPECT_EQ(HtmlEscape(GetParam().text), GetParam().escaped); }

INSTANTIATE_TEST_SUITE_P(Table, Escaping,
                         ::testing::Values(EscapeCase{"Note-200-1-1-0100-АА1234567.bmp", "Note-200-1-1-0100-АА1234567.bmp"},
                                           EscapeCase{"a&b", "a&amp;b"},
                                           EscapeCase{"<script>", "&lt;script&gt;"},
                                           EscapeCase{"say \"hi\"", "say &quot;hi&quot;"},
                                           EscapeCase{"&amp;", "&amp;amp;"},
                                           EscapeCase{"it's", "it's"},
                                           EscapeCase{"", ""}),
                         [](const auto& info) { return ::morvex::testing::CaseName(info.param.text); });

TEST(Html, BackgroundUrlNamesTheRunningExecutable) {
  const std::string exe = morvex::testing::ProcSelfExe();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.front(), '/');
  EXPECT_EQ(BackgroundUrl(), "res://" + exe + "/RT_RCDATA/bgimg");
}

TEST(Html, BlankPageIsTheEmptyBackgroundPage) {
  EXPECT_EQ(BlankPage(), ToCp1251("<body background=\"res://" + morvex::testing::ProcSelfExe() + "/RT_RCDATA/bgimg\"></body>"));
}

}  // namespace
}  // namespace morvex::app
