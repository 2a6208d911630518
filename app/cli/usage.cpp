// Usage texts of the sub-commands: asking for them and printing them.
#include <algorithm>
#include <cstdio>

#include "commands.h"

namespace morvex::cli {

namespace {

// The closing line of every usage text.
constexpr std::string_view kExitStatusText =
    "Exit status: 0 success, 1 a file or the run failed, 2 a wrong command line.\n";

}  // namespace

bool WantsHelp(std::span<const std::string_view> args) {
  return std::any_of(args.begin(), args.end(), [](std::string_view a) { return a == "--help" || a == "-h"; });
}

int PrintUsage(std::string_view usage) {
  std::printf("Usage:\n%.*s\n%.*s", static_cast<int>(usage.size()), usage.data(),
              static_cast<int>(kExitStatusText.size()), kExitStatusText.data());
  return kExitOk;
}

}  // namespace morvex::cli
