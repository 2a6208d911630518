// The single-file report: the bit-depth label, the analysis status line and
// the result page, shared by the file command and the scan command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "morvex/bitmap.h"
#include "morvex/engine.h"

namespace morvex::app {

// "1", "4", "8", "15", "16", "24" or "32" for the bit depth the bitmap was
// loaded with, "??" for anything else.
std::string BitDepthLabel(const Bitmap& bitmap);
std::string BitDepthLabel(int bitsPerPixel);

// The status line while a file is analysed: "Обрабатывается файл " + the
// name the file list shows (UTF-8).
std::string FileStatusText(std::string_view displayName);

// The status line after an analysis (UTF-8): the picture's height x width x
// bit-depth label, then the note size, the tilt and the processing time from
// the three detail lines (note size, time, tilt). Missing lines read as empty.
std::string AnalysisStatusText(const Bitmap& picture, std::string_view bitDepthLabel,
                               const std::vector<std::string>& details);

// The heading of a file's result page: "Результат анализа файла " + the file
// name with its extension (UTF-8).
std::string FileResultTitle(std::string_view fileName);

// The heading of a scanned image's result page (UTF-8).
inline constexpr std::string_view kScanResultTitle = "Результат анализа изображения со сканера";

// The result page for a heading (plain UTF-8 text, escaped here) and a
// result: Windows-1251 bytes.
std::string ResultPage(std::string_view title, const AnalisysResult& result);

}  // namespace morvex::app
