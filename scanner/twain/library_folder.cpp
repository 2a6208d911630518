// Where the program's library folder is: beside the installed program, or
// in the build tree.
#include "morvex/twain/library_folder.h"

#include <filesystem>
#include <system_error>

namespace morvex::twain {

std::string LibraryFolderFor(const std::string& programPath, const std::string& buildTreeFolder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path installed = fs::path(programPath).parent_path().parent_path() / "lib" / "morvex";
  if (!programPath.empty() && fs::is_directory(installed, error)) return installed.string();
  if (!buildTreeFolder.empty() && fs::is_directory(buildTreeFolder, error)) return buildTreeFolder;
  return programPath.empty() ? buildTreeFolder : installed.string();
}

std::string ProgramLibraryFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
#ifdef MORVEX_BUILD_LIBRARY_FOLDER
  const std::string buildTree = MORVEX_BUILD_LIBRARY_FOLDER;
#else
  const std::string buildTree;
#endif
  return LibraryFolderFor(error ? std::string() : program.string(), buildTree);
}

}  // namespace morvex::twain
