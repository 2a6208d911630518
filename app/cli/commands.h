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

}  // namespace morvex::cli
