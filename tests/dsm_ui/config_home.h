// XDG_CONFIG_HOME pointed at a scratch folder for the life of a test, so that
// remembered settings never touch the user's own.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "temp_folder.h"

namespace morvex::testing {

class ConfigHome {
 public:
  ConfigHome() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
    setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1);
  }
  ~ConfigHome() {
    if (old_) {
      setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  TempFolder folder_;
  std::optional<std::string> old_;
};

}  // namespace morvex::testing
