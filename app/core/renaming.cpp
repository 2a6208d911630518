#include "morvex/app/renaming.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "morvex/app/note_template.h"

namespace morvex::app {

namespace {

constexpr std::string_view kExtension = ".bmp";
constexpr std::string_view kCollisionSuffix = "_0";

class DirFd {
 public:
  explicit DirFd(const std::filesystem::path& folder) : fd_(open(folder.c_str(), O_DIRECTORY | O_PATH | O_CLOEXEC)) {}
  ~DirFd() {
    if (fd_ >= 0) close(fd_);
  }
  DirFd(const DirFd&) = delete;
  DirFd& operator=(const DirFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

enum class Outcome { Renamed, Taken, Failed };

// Moves `from` to `to` inside one folder unless `to` exists. Where the file
// system has no RENAME_NOREPLACE, a hard link (which refuses an existing name
// as well) followed by removing the old name does the same.
Outcome MoveNoReplace(int dirFd, const std::string& from, const std::string& to) {
  if (renameat2(dirFd, from.c_str(), dirFd, to.c_str(), RENAME_NOREPLACE) == 0) return Outcome::Renamed;
  if (errno == EEXIST) return Outcome::Taken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return Outcome::Failed;
  if (linkat(dirFd, from.c_str(), dirFd, to.c_str(), 0) != 0) return errno == EEXIST ? Outcome::Taken : Outcome::Failed;
  if (unlinkat(dirFd, from.c_str(), 0) != 0) {
    unlinkat(dirFd, to.c_str(), 0);
    return Outcome::Failed;
  }
  return Outcome::Renamed;
}

}  // namespace

bool IsPortableBaseName(std::string_view baseName) {
  return baseName.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

std::optional<std::string> RenameToFreeName(const std::filesystem::path& folder, std::string_view listedName,
                                            std::string baseName,
                                            const std::function<void(const std::string&)>& beforeRename) {
  if (!IsPortableBaseName(baseName)) return std::nullopt;
  const DirFd dir(folder);
  if (dir.get() < 0) return std::nullopt;
  const std::string from(listedName);
  for (;;) {
    const std::string to = baseName + std::string(kExtension);
    struct stat st;
    if (fstatat(dir.get(), to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      // A folder of that name is no file: the rename onto it just fails.
      if (S_ISDIR(st.st_mode)) return std::nullopt;
      baseName += kCollisionSuffix;
      continue;
    }
    if (beforeRename) beforeRename(to);
    switch (MoveNoReplace(dir.get(), from, to)) {
      case Outcome::Renamed: return to;
      case Outcome::Taken: baseName += kCollisionSuffix; break;  // appeared after the test
      case Outcome::Failed: return std::nullopt;
    }
  }
}

std::optional<std::string> RenameAfterResult(const std::filesystem::path& folder, std::string_view listedName,
                                             const AnalisysResult& result) {
  return RenameToFreeName(folder, listedName, TemplateName(result));
}

}  // namespace morvex::app
