// The files a folder run works on.
#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace morvex::app {

// The names (without folder) of the folder's ordinary files matching "*.bmp"
// without regard to case, hidden files (a leading ".") and anything that is
// not a regular file left out, sorted alphabetically without regard to case.
// Throws std::system_error when the folder cannot be read.
std::vector<std::string> ListNoteFiles(const std::filesystem::path& folder);

// The paths of a file list, one a line, in list order. Empty lines are left
// out and a line's trailing carriage return is dropped (lists written on
// Windows); every other line is a path exactly as written, relative ones
// meaning the current folder. The same path may come more than once.
std::vector<std::string> ReadNoteList(std::istream& list);

// Throws std::system_error naming the first path that is not a regular file
// (missing, a folder, unreadable folder on the way), so that a run over a
// list stops before it analyses anything.
void CheckListedFiles(const std::vector<std::string>& paths);

}  // namespace morvex::app
