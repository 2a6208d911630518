// The window's scanner platform for the scan tests: the program's own Qt
// platform, with the Source Manager looked for in a folder the test names.
#pragma once

#include <string>

#include "morvex/twain_qt/qt_platform.h"

namespace morvex::gui::test {

class ScanPlatform : public twain::QtPlatform {
 public:
  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string windowsDirectory;
};

}  // namespace morvex::gui::test
