// Renaming a note file after its own result.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "morvex/engine.h"

namespace morvex::app {

// Characters a Windows file name cannot hold; a base name with one of them is
// not renamed to.
bool IsPortableBaseName(std::string_view baseName);

// Renames folder/listedName to TemplateName(result) + ".bmp", appending "_0"
// to the base name while a file of that name exists (a file that already has
// its template name therefore gets "_0"). Never replaces an existing file,
// not even one that appears between the test and the rename. Returns the new
// name, or nullopt when the file keeps its name (a base name that a file name
// cannot hold, or a rename the file system refuses); no error is raised.
std::optional<std::string> RenameAfterResult(const std::filesystem::path& folder, std::string_view listedName,
                                             const AnalisysResult& result);

// The same for a given base name. `beforeRename`, when set, is called with the
// chosen name right before the rename (tests put a file in the way there).
std::optional<std::string> RenameToFreeName(const std::filesystem::path& folder, std::string_view listedName,
                                            std::string baseName,
                                            const std::function<void(const std::string&)>& beforeRename = {});

}  // namespace morvex::app
