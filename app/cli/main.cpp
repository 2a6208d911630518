// morvex: reads rouble banknotes from scanned .bmp images on the command line.
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

namespace {

constexpr const char* kHelp =
    "Usage:\n"
    "  morvex analyse FILE... [--json] [--marked OUT.bmp] [--robust]\n"
    "      Analyse each note image and print its zone 1 and zone 2 numbers, face\n"
    "      value, orientation, resolution and the three detail lines (note size,\n"
    "      processing time, tilt). --json prints one JSON object per file instead.\n"
    "      --marked writes the marked picture of the one input file to OUT.bmp.\n"
    "      --robust reads damaged scans more surely and adds each zone's confidence\n"
    "      (0 to 1) to the output.\n"
    "  morvex batch DIR [--rename] [--report FILE] [--results FILE] [--jobs N] [--robust]\n"
    "      Analyse every .bmp file of DIR, compare each result with the truth in a\n"
    "      file name of the form Note-dpi-s-o-vvvv-SSnnnnnnn.bmp and print the\n"
    "      success counts. --report writes the HTML report (Windows-1251) to FILE.\n"
    "      --results writes one row per file to FILE: JSON lines when FILE ends in\n"
    "      .json or .jsonl, CSV otherwise. --rename renames each file after its own\n"
    "      result instead of comparing. --jobs analyses N files at once (default:\n"
    "      all cores); the output is the same for any N. --robust reads in the\n"
    "      robust mode and adds zone1_confidence and zone2_confidence to each row.\n"
    "  morvex generate --out DIR [--count N] [--seed S] [--set clean|typical|hard|stress] ...\n"
    "      Render synthetic note scans named after that template (the options are\n"
    "      those of morvex-notegen; see 'morvex generate --help').\n"
    "  morvex --help\n"
    "\n"
    "Exit status: 0 success, 1 a file or the run failed, 2 a wrong command line.\n";

}  // namespace

namespace morvex::cli {

int UsageError(std::string_view message) {
  std::fprintf(stderr, "morvex: %.*s\nTry 'morvex --help'.\n", static_cast<int>(message.size()), message.data());
  return kExitUsage;
}

}  // namespace morvex::cli

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return morvex::cli::UsageError("no command given");
  const std::string_view command = args[0];
  const std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kHelp, stdout);
    return morvex::cli::kExitOk;
  }
  if (command == "analyse" || command == "analyze") return morvex::cli::AnalyseCommand(rest);
  if (command == "batch") return morvex::cli::BatchCommand(rest);
  if (command == "generate") return morvex::cli::GenerateCommand(rest);
  return morvex::cli::UsageError("unknown command '" + std::string(command) + "'");
}
