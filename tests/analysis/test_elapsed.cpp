#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "morvex/elapsed.h"
#include "case_name.h"

namespace morvex {
namespace {

struct ElapsedCase {
  std::uint32_t t0, t1;
  int form;
  const char* text;
};

class Elapsed : public ::testing::TestWithParam<ElapsedCase> {};

TEST_P(Elapsed, Text) {
  const ElapsedCase c = GetParam();
  EXPECT_EQ(ElapsedText(c.t0, c.t1, c.form), std::string(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Elapsed,
    ::testing::Values(ElapsedCase{1000, 4005, 1, "03,05 сек"}, ElapsedCase{0, 3123, 1, "03,123 сек"},
                      ElapsedCase{500, 500 + 75200, 1, "15,200 сек"},
                      ElapsedCase{0, 2 * 60000 + 5 * 1000 + 40, 2, "02:05:40 (мин:сек:мсек)"},
                      ElapsedCase{0, 2 * 60000 + 5 * 1000 + 40, 0, "02:05:40 (мин:сек:мсек)"},
                      ElapsedCase{0xFFFFFFFFu - 5, 10, 1, "00,16 сек"},
                      ElapsedCase{0, 3600000 + 61001, 2, "01:01:01 (мин:сек:мсек)"},
                      ElapsedCase{7, 7, 1, "00,00 сек"}),
    [](const auto& info) {
      const auto& c = info.param;
      return "from_" + std::to_string(c.t0) + "_to_" + std::to_string(c.t1) + "_form_" + std::to_string(c.form);
    });

}  // namespace
}  // namespace morvex
