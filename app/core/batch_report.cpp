#include "morvex/app/batch_report.h"

#include "morvex/app/cp1251.h"
#include "morvex/app/html.h"
#include "morvex/app/note_template.h"
#include "morvex/elapsed.h"

namespace morvex::app {

namespace {

std::string_view CellText(int mask, int bit) { return (mask & bit) != 0 ? "Да" : "Нет"; }

constexpr std::string_view kReportEnd = "<hr>";

}  // namespace

void CountMatches(BatchCounts& counts, int mask) {
  if (mask & Zone1Match) ++counts.Zone1Correct;
  if (mask & Zone2Match) ++counts.Zone2Correct;
  if (mask & (Zone1Match | Zone2Match)) ++counts.EitherCorrect;
  if (mask & DenominationMatch) ++counts.DenominationCorrect;
}

std::optional<std::string> BatchFolderText(std::string_view folderPath) {
  if (folderPath.empty() || folderPath.front() != '/') return std::nullopt;
  return std::string(folderPath) + "/";
}

std::string FolderStatusText(std::string_view folderText) {
  return "Обрабатывается каталог " + std::string(folderText);
}

std::string BatchTimeText(std::uint32_t startTick, std::uint32_t endTick) {
  constexpr int kLongForm = 2;
  return "Время анализа: " + ElapsedText(startTick, endTick, kLongForm);
}

std::string BatchPageHead() { return ToCp1251(std::string(kCharsetMeta) + BodyTag()); }

std::string FileTableStart() {
  return ToCp1251(
      "<table align=center border=1><tr bgcolor=\"C5C5D0\"><td align=center><b>Параметр</b></td>"
      "<td align=center><b>Значение</b></td><td align=center><b>+/-</b></td></tr>");
}

std::string FileRows(std::string_view listedName, const AnalisysResult& result, int mask) {
  std::string s = "<tr bgcolor=\"E0E0EC\"><td align=center width=100>Имя файла</td><td align=center>";
  s += HtmlEscape(listedName);
  s += "</td><td></td> </tr>";
  s += "<tr><td align=center>Зона1</td><td align=center>";
  s += result.Zone1Number;
  s += "</td><td>";
  s += CellText(mask, Zone1Match);
  s += "</td></tr>";
  s += "<tr><td align=center>Зона2</td><td align=center>";
  s += result.Zone2Number;
  s += "</td><td>";
  s += CellText(mask, Zone2Match);
  s += "</td></tr>";
  s += "<tr><td align=center>Достоинство</td><td align=center>";
  s += std::to_string(result.Denomination);
  s += "</td><td>";
  s += CellText(mask, DenominationMatch);
  s += "</td></tr>";
  return ToCp1251(s);
}

std::string FileTableEnd() { return "</table><br>"; }

std::string BatchSummary(std::int32_t total, const BatchCounts& counts) {
  std::string s = "<center><b>Результаты</b><br><table border=1>";
  auto row = [&s](std::string_view label, std::int32_t value, bool first) {
    s += first ? "<tr><td width=180>" : "<tr><td>";
    s += label;
    s += first ? "</td><td width=50>" : "</td><td>";
    s += std::to_string(value);
    s += "</td></tr>";
  };
  row(kTotalLabel, total, true);
  row(kEitherLabel, counts.EitherCorrect, false);
  row(kZone1Label, counts.Zone1Correct, false);
  row(kZone2Label, counts.Zone2Correct, false);
  row(kDenominationLabel, counts.DenominationCorrect, false);
  s += "</table></center>";
  return ToCp1251(s);
}

std::string ReportPage(std::string_view fileTable, std::string_view summary) {
  return BatchPageHead() + std::string(fileTable) + std::string(summary) + std::string(kReportEnd);
}

std::string SummaryPage(std::string_view summary) {
  return BatchPageHead() + std::string(summary) + std::string(kReportEnd);
}

}  // namespace morvex::app
