// morvex generate: hands over to the sample-note generator, morvex-notegen,
// found beside this executable or in the build tree's tools folder.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "commands.h"
#include "morvex/app/html.h"

namespace morvex::cli {

extern const std::string_view kGenerateUsage =
    "  morvex generate --out DIR [--count N] [--seed S] [--set clean|typical|hard|stress] ...\n"
    "      Render synthetic note scans named Note-dpi-s-o-vvvv-SSnnnnnnn.bmp with\n"
    "      the note generator morvex-notegen; the options are its own, listed below\n"
    "      when it is installed.\n";

namespace {

std::filesystem::path FindNoteGenerator() {
  const std::filesystem::path self = app::ExecutablePath();
  const std::filesystem::path dir = self.parent_path();
  for (const auto& candidate : {dir / "morvex-notegen", dir / ".." / ".." / "tools" / "notegen" / "morvex-notegen"}) {
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

}  // namespace

int GenerateCommand(std::span<const std::string_view> args) {
  const std::filesystem::path generator = FindNoteGenerator();
  if (WantsHelp(args)) {
    PrintUsage(kGenerateUsage);
    if (generator.empty()) return kExitOk;
    // The generator's own text follows with the full list of options.
    std::printf("\n");
    static constexpr std::string_view kHelpArg[] = {"--help"};
    args = kHelpArg;
  }
  if (generator.empty()) {
    std::fprintf(stderr, "morvex: the note generator morvex-notegen is not installed beside %s\n",
                 app::ExecutablePath().c_str());
    return kExitFailed;
  }
  std::vector<std::string> owned = {generator.string()};
  for (const auto a : args) owned.emplace_back(a);
  std::vector<char*> argv;
  for (auto& s : owned) argv.push_back(s.data());
  argv.push_back(nullptr);
  std::fflush(stdout);
  execv(argv[0], argv.data());
  std::fprintf(stderr, "morvex: cannot run %s: %s\n", argv[0], std::strerror(errno));
  return kExitFailed;
}

}  // namespace morvex::cli
