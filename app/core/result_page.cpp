#include "morvex/app/result_page.h"

#include "morvex/app/cp1251.h"
#include "morvex/app/html.h"

namespace morvex::app {

std::string BitDepthLabel(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: case 4: case 8: case 15: case 16: case 24: case 32:
      return std::to_string(bitsPerPixel);
    default:
      return "??";
  }
}

std::string BitDepthLabel(const Bitmap& bitmap) { return BitDepthLabel(bitmap.sourceBitDepth()); }

std::string FileStatusText(std::string_view displayName) {
  return "Обрабатывается файл " + std::string(displayName);
}

std::string AnalysisStatusText(const Bitmap& picture, std::string_view bitDepthLabel,
                               const std::vector<std::string>& details) {
  auto line = [&](std::size_t i) { return i < details.size() ? details[i] : std::string(); };
  constexpr std::string_view sep = "  |  ";
  std::string s = "Изображение: ";
  s += std::to_string(picture.height());
  s += 'x';
  s += std::to_string(picture.width());
  s += 'x';
  s += bitDepthLabel;
  s += sep;
  s += "Банкнота: " + line(0);
  s += sep;
  s += "Наклон: " + line(2) + "°";
  s += sep;
  s += "Время обработки: " + line(1);
  return s;
}

std::string FileResultTitle(std::string_view fileName) {
  return "Результат анализа файла " + std::string(fileName);
}

std::string ResultPage(std::string_view title, const AnalisysResult& result) {
  std::string page = BodyTag();
  page += kCharsetMeta;
  page += "<p align=center><b>";
  page += HtmlEscape(title);
  page += "</b></p><table align=center>";
  page += "<tr align=center><td width=130 bgcolor=FFC4C4>&nbsp;Красная зона (1)</td><td width=60>";
  page += result.Zone1Number;
  page += "</td></tr>";
  page += "<tr align=center><td bgcolor=AAD2FF>&nbsp;Синяя зона (2)</td><td>";
  page += result.Zone2Number;
  page += "</td></tr>";
  page += "<tr align=center><td bgcolor=C0FFC0>&nbsp;Достоинство</td><td>";
  page += std::to_string(result.Denomination);
  page += "</td></tr></table>";
  return ToCp1251(page);
}

}  // namespace morvex::app
