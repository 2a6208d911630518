// The folder report: success counters, the per-file table, the summary and
// the two pages built from them, plus the folder command's status texts.
// Pages come out as Windows-1251 bytes, status texts as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "morvex/engine.h"

namespace morvex::app {

// The four success counters of one run.
struct BatchCounts {
  std::int32_t Zone1Correct = 0;
  std::int32_t Zone2Correct = 0;
  std::int32_t EitherCorrect = 0;
  std::int32_t DenominationCorrect = 0;
  friend bool operator==(const BatchCounts&, const BatchCounts&) = default;
};

// Adds one file's CompareWithTemplate mask to the counters.
void CountMatches(BatchCounts& counts, int mask);

// The labels of the summary's rows, in the order they appear.
inline constexpr std::string_view kTotalLabel = "Всего банкнот";
inline constexpr std::string_view kEitherLabel = "Верно в зоне1 и/или зоне2";
inline constexpr std::string_view kZone1Label = "Верно в зоне1";
inline constexpr std::string_view kZone2Label = "Верно в зоне2";
inline constexpr std::string_view kDenominationLabel = "Верно достоинство";

// The folder as the run names it: the absolute path with "/" appended (a
// root folder thus ends in "//"). Folders that are not given by an absolute
// local path are not processed: nullopt.
std::optional<std::string> BatchFolderText(std::string_view folderPath);

// "Обрабатывается каталог " + the folder text.
std::string FolderStatusText(std::string_view folderText);

// "Время анализа: " + the time between two tick counts in the long form
// "mi:ss:mmm (мин:сек:мсек)".
std::string BatchTimeText(std::uint32_t startTick, std::uint32_t endTick);

// The folder pages' head: charset declaration, then the body tag.
std::string BatchPageHead();

// The per-file table: its start with the header row, the four rows of one
// file (the name as listed, escaped) and its end.
std::string FileTableStart();
std::string FileRows(std::string_view listedName, const AnalisysResult& result, int mask);
std::string FileTableEnd();

// The summary table for `total` files.
std::string BatchSummary(std::int32_t total, const BatchCounts& counts);

// The "Отчёт" page: head + per-file table (start, rows, end) + summary + "<hr>".
std::string ReportPage(std::string_view fileTable, std::string_view summary);
// The "Результаты" page after a run: head + summary + "<hr>".
std::string SummaryPage(std::string_view summary);

}  // namespace morvex::app
