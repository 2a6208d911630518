// The sub-commands of `morvex`. Each takes the arguments after its own name
// and returns the process's exit status: 0 success, 1 a file or run failed,
// 2 the command line was wrong.
#pragma once

#include <span>
#include <string_view>

namespace morvex::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int AnalyseCommand(std::span<const std::string_view> args);
int BatchCommand(std::span<const std::string_view> args);
// Scans one image with a SANE scanner and analyses it.
int ScanCommand(std::span<const std::string_view> args);
// Runs morvex-notegen with the arguments; returns only when it cannot.
int GenerateCommand(std::span<const std::string_view> args);

// Prints "morvex: <message>" and the hint to --help on standard error; returns kExitUsage.
int UsageError(std::string_view message);

// Each command's usage text: its command lines, each followed by what it
// does, indented as "morvex --help" lists them all. Defined beside the command.
extern const std::string_view kAnalyseUsage;
extern const std::string_view kBatchUsage;
extern const std::string_view kScanUsage;
extern const std::string_view kGenerateUsage;

// True when the arguments hold --help or -h: the command prints its usage
// (PrintUsage) and does nothing else.
bool WantsHelp(std::span<const std::string_view> args);

// Prints "Usage:", the usage text and the exit statuses to standard output;
// returns kExitOk.
int PrintUsage(std::string_view usage);

}  // namespace morvex::cli
