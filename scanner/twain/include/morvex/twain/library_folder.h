// The program's library folder, which holds the TWAIN Source Manager
// (TWAIN_32.DLL) and the shared libraries the program and it share.
//
// Installed, it is <prefix>/lib/morvex beside <prefix>/bin, found from the
// running program's own path (/proc/self/exe): <folder of the program>/../lib/morvex.
// When that folder does not exist (a program run from the build tree), it is
// the build tree's library folder, <build>/lib/morvex, compiled in.
#pragma once

#include <string>

namespace morvex::twain {

std::string ProgramLibraryFolder();

// The same rule for a given program path and build-tree folder.
std::string LibraryFolderFor(const std::string& programPath, const std::string& buildTreeFolder);

}  // namespace morvex::twain
