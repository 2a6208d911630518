#include "morvex/app/html.h"

#include <filesystem>
#include <system_error>

#include "morvex/app/cp1251.h"

namespace morvex::app {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

const std::string& ExecutablePath() {
  static const std::string path = [] {
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
  }();
  return path;
}

std::string BackgroundUrl() { return "res://" + ExecutablePath() + "/RT_RCDATA/bgimg"; }

// The path goes into an attribute value, so it is escaped like any text; an
// ordinary path is unchanged by that.
std::string BodyTag() { return "<body background=\"" + HtmlEscape(BackgroundUrl()) + "\">"; }

std::string BlankPage() { return ToCp1251(BodyTag() + "</body>"); }

}  // namespace morvex::app
