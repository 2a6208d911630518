// The files a folder run works on.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morvex::app {

// The names (without folder) of the folder's ordinary files matching "*.bmp"
// without regard to case, hidden files (a leading ".") and anything that is
// not a regular file left out, sorted alphabetically without regard to case.
// Throws std::system_error when the folder cannot be read.
std::vector<std::string> ListNoteFiles(const std::filesystem::path& folder);

}  // namespace morvex::app
