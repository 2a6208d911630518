// morvex: reads rouble banknotes from scanned .bmp images on the command line.
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

namespace {

// Every command's usage, then the help lines themselves.
int PrintHelp() {
  std::string usage;
  for (const std::string_view command : {morvex::cli::kAnalyseUsage, morvex::cli::kBatchUsage,
                                         morvex::cli::kScanUsage, morvex::cli::kGenerateUsage}) {
    usage += command;
  }
  usage += "  morvex --help, morvex COMMAND --help\n";
  return morvex::cli::PrintUsage(usage);
}

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
  if (command == "--help" || command == "-h" || command == "help") return PrintHelp();
  if (command == "analyse" || command == "analyze") return morvex::cli::AnalyseCommand(rest);
  if (command == "batch") return morvex::cli::BatchCommand(rest);
  if (command == "scan") return morvex::cli::ScanCommand(rest);
  if (command == "generate") return morvex::cli::GenerateCommand(rest);
  return morvex::cli::UsageError("unknown command '" + std::string(command) + "'");
}
