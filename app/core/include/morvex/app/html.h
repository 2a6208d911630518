// Pieces every HTML page of the program shares.
#pragma once

#include <string>
#include <string_view>

namespace morvex::app {

// Escapes text for an HTML page: & < > and " become entities. Text without
// those characters comes back unchanged.
std::string HtmlEscape(std::string_view text);

// The absolute path of the running executable (UTF-8), read once.
const std::string& ExecutablePath();

// "res://" + the executable's path + "/RT_RCDATA/bgimg": the tiled background
// image of every page.
std::string BackgroundUrl();

// The charset declaration every page carries.
inline constexpr std::string_view kCharsetMeta =
    R"(<META http-equiv=Content-Type content="text/html; charset=windows-1251">)";

// The body tag with the background image (UTF-8).
std::string BodyTag();

// The empty page on the tiled background that both views show at start
// (Windows-1251 bytes).
std::string BlankPage();

}  // namespace morvex::app
